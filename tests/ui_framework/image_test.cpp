// Images as layouts describe them: SVG drawings rendered at the size they are drawn, nine-patch
// borders that keep their width at every scale, and the buttons' fore images.
#include <gtest/gtest.h>

#include <QImage>
#include <QTest>

#include "tests/ui_framework/test_window.h"
#include "ui/framework/image_cache.h"
#include "ui/framework/image_draw.h"

namespace {

using namespace DuiLib;

constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kGreen = 0xFF00FF00;
constexpr QRgb kBlue = 0xFF0000FF;

class ImageTest : public testing::Test {
 protected:
  void SetUp() override {
    uitest::App();
    ASSERT_TRUE(mWindow.Open());
  }

  void AtDpi(int dpi) {
    mWindow.GetPaintManager().SetDPI(dpi);
    mWindow.GetPaintManager().UpdateLayout();
  }

  QImage Picture(std::wstring_view name) {
    CControlUI* control = mWindow.GetPaintManager().FindControl(name);
    return control != nullptr ? control->GetWidget()->grab().toImage() : QImage();
  }

  uitest::TestWindow mWindow{L"XML_IMAGES"};
};

// The frame a nine-patch draws: `border` pixels of red on every side, green inside.
void ExpectFrame(const QImage& picture, int border, const char* what) {
  ASSERT_FALSE(picture.isNull()) << what;
  const int w = picture.width();
  const int h = picture.height();
  const int midX = w / 2;
  const int midY = h / 2;
  struct Probe {
    int x;
    int y;
    QRgb colour;
  };
  for (const Probe& probe :
       {Probe{0, 0, kRed}, Probe{border - 1, midY, kRed}, Probe{border, midY, kGreen},
        Probe{midX, border - 1, kRed}, Probe{midX, border, kGreen}, Probe{w - border, midY, kRed},
        Probe{w - border - 1, midY, kGreen}, Probe{midX, h - border, kRed},
        Probe{midX, h - border - 1, kGreen}, Probe{w - 1, h - 1, kRed}}) {
    EXPECT_EQ(picture.pixel(probe.x, probe.y), probe.colour)
        << what << " at " << probe.x << "," << probe.y << " of " << w << "x" << h;
  }
}

struct PatchCase {
  int dpi;
  int pngBorder;  // 3 px files: the base at 100 %, the @200 variant (6 px) at 200 %
  int svgBorder;  // 4 view box units, at the window's scale
};

class NinePatchScales : public ImageTest, public testing::WithParamInterface<PatchCase> {};

TEST_P(NinePatchScales, BordersKeepTheirWidthWhileTheMiddleStretches) {
  AtDpi(GetParam().dpi);
  const int scale = mWindow.GetPaintManager().GetScale();
  const QImage png = Picture(L"png_patch");
  EXPECT_EQ(png.size(), QSize(60 * scale / 100, 30 * scale / 100));
  ExpectFrame(png, GetParam().pngBorder, "png");
  ExpectFrame(Picture(L"svg_patch"), GetParam().svgBorder, "svg");
}

INSTANTIATE_TEST_SUITE_P(Scales, NinePatchScales,
                         testing::Values(PatchCase{96, 3, 4}, PatchCase{192, 6, 8}));

TEST_F(ImageTest, SvgIsRenderedAtTheDrawnSizeAndKeptPerSize) {
  // Stretched as a whole: the 4-unit border of a 20-unit drawing becomes a fifth of each side.
  AtDpi(192);
  const QImage plain = Picture(L"svg_plain");
  ASSERT_EQ(plain.size(), QSize(80, 40));
  EXPECT_EQ(plain.pixel(15, 20), kRed);
  EXPECT_EQ(plain.pixel(16, 20), kGreen);
  EXPECT_EQ(plain.pixel(40, 7), kRed);
  EXPECT_EQ(plain.pixel(40, 8), kGreen);

  EXPECT_EQ(SkinImageSize(L"image/frame.svg"), QSizeF(20, 20));
  EXPECT_EQ(SkinImageSize(L"frame"), QSizeF(20, 20));  // by resource id
  EXPECT_TRUE(SkinImageSize(L"image/missing.svg").isEmpty());
  DrawingRendering small{L"image/frame.svg", QRectF(0, 0, 20, 20), QRectF(), 1.0, QSize(20, 20)};
  DrawingRendering large = small;
  large.pixels = QSize(60, 60);
  const QPixmap* first = RenderSkinDrawing(small);
  const QPixmap* second = RenderSkinDrawing(large);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(first->size(), QSize(20, 20));
  EXPECT_EQ(second->size(), QSize(60, 60));
  EXPECT_EQ(RenderSkinDrawing(small)->cacheKey(), first->cacheKey());
}

TEST_F(ImageTest, ForeImageLiesOverTheStateImageAndSelectedForeReplacesIt) {
  AtDpi(96);
  // The state image is the red-framed patch; the fore image a blue square in its middle.
  const QImage button = Picture(L"fore_btn");
  EXPECT_EQ(button.pixel(15, 10), kBlue);
  EXPECT_EQ(button.pixel(1, 1), kRed);
  EXPECT_EQ(button.pixel(25, 10), kGreen);

  auto* option = mWindow.GetPaintManager().FindControl<COptionUI>(L"fore_opt");
  ASSERT_NE(option, nullptr);
  EXPECT_EQ(Picture(L"fore_opt").pixel(15, 10), kBlue);
  option->Selected(true, false);
  // Selected: the drawing (red frame, green inside) takes the fore image's place.
  const QImage selected = Picture(L"fore_opt");
  EXPECT_EQ(selected.pixel(10, 5), kRed);
  EXPECT_EQ(selected.pixel(15, 10), kGreen);
}

TEST(NinePatchGeometry, BordersThatDoNotFitShrinkInProportion) {
  const auto pieces =
      NinePatch(QRectF(0, 0, 10, 40), QRectF(8, 4, 8, 4), QRectF(0, 0, 20, 20), QRectF(5, 5, 5, 5));
  // Left and right borders of 8 + 8 in 10 pixels: 5 each, no middle column.
  EXPECT_EQ(pieces[0].target, QRectF(0, 0, 5, 4));
  EXPECT_EQ(pieces[1].target.width(), 0);
  EXPECT_EQ(pieces[2].target, QRectF(5, 0, 5, 4));
  EXPECT_EQ(pieces[4].source, QRectF(5, 5, 10, 10));
  EXPECT_EQ(pieces[8].target, QRectF(5, 36, 5, 4));
}

}  // namespace
