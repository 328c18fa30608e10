// What the curve editor draws, read back from rendered images: curve colours, the frequency window
// of the curves, the all-bypass text and the logo.
#include <QImage>
#include <array>
#include <cmath>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

#include "tests/ui_controls/control_harness.h"
#include "tests/ui_controls/test_skin.h"
#include "ui/controls/ui_equalizer.h"

namespace {

using ui::CurveInput;
using ui::EqualizerBand;
using ui::UIEqualizer;

constexpr int kMargin = 200;
constexpr QRgb kBackdrop = 0xFF000000;
constexpr QRgb kPlotColor = 0xFF202020;
constexpr QRgb kOtherCurveColor = 0xFFFF00FF;

// A flat curve at `level` dB on a log grid from about 1 Hz to 48 kHz, like the computed ones.
struct FlatCurve {
  explicit FlatCurve(double level) {
    for (int k = 0; k < ui::kCurvePoints; ++k) {
      frequencies[k] = std::pow(10.0, std::log10(48000.0) * (k + 1) / ui::kCurvePoints);
      levels[k] = level;
    }
  }
  std::array<double, ui::kCurvePoints> frequencies{};
  std::array<double, ui::kCurvePoints> levels{};
};

class EditorPaintTest : public testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    harness.Attach(editor, scale * 1230 / 100, scale * 420 / 100);
    editor.SetAttribute(L"bkcolor", L"#FF202020");
    editor.SetAttribute(L"curvecolor", L"#FF00FF00 #FFFF00FF #FF0000FF");
  }

  // Whether the curve row at `y` (±1 for the pen) has exactly `color` at `x` (image coordinates).
  static bool CurveAt(const QImage& image, int x, int y, QRgb color) {
    for (int dy = -1; dy <= 1; ++dy) {
      if (image.pixel(x, y + dy) == color) {
        return true;
      }
    }
    return false;
  }

  const int scale = GetParam();
  ui_test::Harness harness{scale};
  UIEqualizer editor;
};

TEST_P(EditorPaintTest, CurvesInTheirColoursAndOnlyFrom10Hz) {
  const FlatCurve selected(6.0);
  const FlatCurve other(-9.0);
  const std::array<CurveInput, 2> curves = {CurveInput{selected.frequencies, selected.levels, true},
                                            CurveInput{other.frequencies, other.levels, true}};
  editor.SetCurves(curves, 0);
  const QImage image = ui_test::Render(editor, kMargin, kBackdrop);

  const auto& geometry = editor.GetGeometry();
  const int ySelected = static_cast<int>(std::lround(geometry.GainToY(6.0)));
  const int yOther = static_cast<int>(std::lround(geometry.GainToY(-9.0)));
  for (const double frequency : {35.0, 150.0, 1500.0, 15000.0}) {
    const int x = kMargin + geometry.FrequencyToX(frequency) + 3;
    EXPECT_TRUE(CurveAt(image, x, ySelected, ui::kSelectedCurveColor)) << frequency;
    EXPECT_TRUE(CurveAt(image, x, yOther, kOtherCurveColor)) << frequency;
  }
  // Left of the plot only the stretch from 10 Hz to 20 Hz is drawn; nothing left of 10 Hz.
  const int x10 = kMargin + geometry.FrequencyToX(10.0);
  EXPECT_TRUE(CurveAt(image, (x10 + kMargin) / 2, ySelected, ui::kSelectedCurveColor));
  for (int x = 0; x < x10 - 2; ++x) {
    for (int y = 0; y < image.height(); ++y) {
      ASSERT_EQ(image.pixel(x, y), kBackdrop) << x << "," << y;
    }
  }
}

TEST_P(EditorPaintTest, HiddenChannelsAreNotDrawnAndMissingColoursAreGrey) {
  const FlatCurve selected(6.0);
  const FlatCurve hidden(-3.0);
  const FlatCurve fourth(-12.0);
  const std::array<CurveInput, 4> curves = {CurveInput{selected.frequencies, selected.levels, true},
                                            CurveInput{hidden.frequencies, hidden.levels, false},
                                            CurveInput{hidden.frequencies, hidden.levels, false},
                                            CurveInput{fourth.frequencies, fourth.levels, true}};
  editor.SetCurves(curves, 0);
  const QImage image = ui_test::Render(editor, kMargin, kBackdrop);
  const auto& geometry = editor.GetGeometry();
  const int x = kMargin + geometry.FrequencyToX(450.0);
  EXPECT_FALSE(
      CurveAt(image, x, static_cast<int>(std::lround(geometry.GainToY(-3.0))), kOtherCurveColor));
  EXPECT_TRUE(CurveAt(image, x, static_cast<int>(std::lround(geometry.GainToY(-12.0))),
                      ui::kDefaultCurveColor));
}

TEST_P(EditorPaintTest, RepaintsFollowEveryChangeOfCurvesColoursAndLayout) {
  const FlatCurve high(6.0);
  const FlatCurve low(-9.0);
  const FlatCurve lower(-15.0);
  const auto& geometry = editor.GetGeometry();
  const auto row = [&](double level) {
    return static_cast<int>(std::lround(editor.GetGeometry().GainToY(level)));
  };
  std::array<CurveInput, 2> curves = {CurveInput{high.frequencies, high.levels, true},
                                      CurveInput{low.frequencies, low.levels, true}};
  editor.SetCurves(curves, 0);
  ui_test::Render(editor);

  // Another channel's curve moves.
  curves[1] = CurveInput{lower.frequencies, lower.levels, true};
  editor.SetCurves(curves, 0);
  QImage image = ui_test::Render(editor);
  const int x = geometry.FrequencyToX(700.0);
  EXPECT_FALSE(CurveAt(image, x, row(-9.0), kOtherCurveColor));
  EXPECT_TRUE(CurveAt(image, x, row(-15.0), kOtherCurveColor));

  // The selection moves to channel 1: the colours change places.
  editor.SetCurves(curves, 1);
  image = ui_test::Render(editor);
  EXPECT_TRUE(CurveAt(image, x, row(-15.0), ui::kSelectedCurveColor));
  EXPECT_TRUE(CurveAt(image, x, row(6.0), 0xFF00FF00));

  // New colours and a new background.
  editor.SetAttribute(L"curvecolor", L"#FFFFFF00");
  editor.SetBkColor(0xFF303030);
  image = ui_test::Render(editor);
  EXPECT_TRUE(CurveAt(image, x, row(6.0), 0xFFFFFF00));
  EXPECT_EQ(image.pixel(x + 5, row(3.0)), 0xFF303030u);

  // A new size: everything is laid out and drawn at the new size.
  harness.Attach(editor, scale * 800 / 100, scale * 300 / 100);
  image = ui_test::Render(editor);
  ASSERT_EQ(image.width(), scale * 800 / 100);
  EXPECT_TRUE(CurveAt(image, editor.GetGeometry().FrequencyToX(700.0), row(-15.0),
                      ui::kSelectedCurveColor));
}

TEST_P(EditorPaintTest, ValuesThatAreNotNumbersAreLeftOut) {
  FlatCurve broken(6.0);
  for (int k = 0; k < ui::kCurvePoints; k += 7) {
    broken.frequencies[k] = std::nan("");
    broken.levels[k + 3 < ui::kCurvePoints ? k + 3 : k] = -std::numeric_limits<double>::infinity();
  }
  broken.levels[200] = 1e300;
  const std::array<CurveInput, 2> curves = {CurveInput{broken.frequencies, broken.levels, true},
                                            CurveInput{broken.frequencies, broken.levels, true}};
  editor.SetCurves(curves, 0);
  const std::array<EqualizerBand, 2> bands = {
      {{std::nanf(""), std::nanf(""), 0, 1}, {3.0f, 1.0f, -5, 1}}};
  editor.SetBands(bands, 0);
  const QImage image = ui_test::Render(editor, kMargin, kBackdrop);
  const int x = kMargin + editor.GetGeometry().FrequencyToX(1000.0);
  EXPECT_TRUE(CurveAt(image, x, static_cast<int>(std::lround(editor.GetGeometry().GainToY(6.0))),
                      ui::kSelectedCurveColor));
  // Bands with impossible frequencies sit at the left edge.
  EXPECT_EQ(editor.GetBandHitRect(1).left, 0);
}

// Pixels of `a` that differ from `b`, as a bounding rectangle (empty when equal).
QRect Difference(const QImage& a, const QImage& b) {
  QRect changed;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      if (a.pixel(x, y) != b.pixel(x, y)) {
        changed |= QRect(x, y, 1, 1);
      }
    }
  }
  return changed;
}

// The curves of unselected channels are kept drawn between switches; a switch must still show
// every channel as its latest data has it.
TEST_P(EditorPaintTest, SwitchingChannelsDrawsEachCurveFromItsLatestData) {
  const FlatCurve high(6.0);
  const FlatCurve low(-9.0);
  const FlatCurve lower(-15.0);
  const auto row = [&](double level) {
    return static_cast<int>(std::lround(editor.GetGeometry().GainToY(level)));
  };
  std::array<CurveInput, 2> curves = {CurveInput{high.frequencies, high.levels, true},
                                      CurveInput{low.frequencies, low.levels, true}};
  editor.SetCurves(curves, 0);
  const QImage first = ui_test::Render(editor);
  editor.SetCurves(curves, 1);
  ui_test::Render(editor);
  editor.SetCurves(curves, 0);
  EXPECT_TRUE(Difference(first, ui_test::Render(editor)).isEmpty());

  // Channel 0 moves while selected, then loses the selection: its new level in its own colour.
  curves[0] = CurveInput{lower.frequencies, lower.levels, true};
  editor.SetCurves(curves, 0);
  ui_test::Render(editor);
  editor.SetCurves(curves, 1);
  const QImage image = ui_test::Render(editor);
  const int x = editor.GetGeometry().FrequencyToX(700.0);
  EXPECT_TRUE(CurveAt(image, x, row(-15.0), 0xFF00FF00));
  EXPECT_FALSE(CurveAt(image, x, row(6.0), 0xFF00FF00));
  EXPECT_TRUE(CurveAt(image, x, row(-9.0), ui::kSelectedCurveColor));
}

TEST_P(EditorPaintTest, AllBypassTextUnlessALogoIsSet) {
  ui_test::UseTestSkin();
  // Every gain exactly 0, against a gain too small to move the point.
  const std::array<EqualizerBand, 2> flat = {{{0.0f, 1.0f, 100, 1}, {0.0f, 1.0f, 1000, 1}}};
  const std::array<EqualizerBand, 2> almostFlat = {
      {{0.0f, 1.0f, 100, 1}, {0.0001f, 1.0f, 1000, 1}}};
  editor.SetBands(flat, -1);
  ASSERT_TRUE(editor.IsAllBypass());
  const QImage bypassed = ui_test::Render(editor);
  editor.SetBands(almostFlat, -1);
  ASSERT_FALSE(editor.IsAllBypass());
  const QImage active = ui_test::Render(editor);

  const QRect text = Difference(bypassed, active);
  ASSERT_FALSE(text.isEmpty()) << "no all-bypass text drawn";
  EXPECT_GE(text.top(), 40);
  int greyPixels = 0;
  for (int y = text.top(); y <= text.bottom(); ++y) {
    for (int x = text.left(); x <= text.right(); ++x) {
      greyPixels += bypassed.pixel(x, y) != active.pixel(x, y) &&
                    qGray(bypassed.pixel(x, y)) > qGray(kPlotColor);
    }
  }
  EXPECT_GT(greyPixels, 10);

  // With a logo the text is not drawn: the logo covers the plot instead.
  editor.SetAttribute(L"curvelogo", L"image/logo.png");
  editor.SetBands(flat, -1);
  const QImage withLogo = ui_test::Render(editor);
  const QPoint middle(withLogo.width() / 2, withLogo.height() / 2 + 7);
  EXPECT_EQ(withLogo.pixel(middle), 0xFF00FF00);
  editor.SetBands(almostFlat, -1);
  EXPECT_TRUE(Difference(withLogo, ui_test::Render(editor)).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Scales, EditorPaintTest, testing::Values(100, 200),
                         [](const testing::TestParamInfo<int>& info) {
                           return "Scale" + std::to_string(info.param);
                         });

}  // namespace
