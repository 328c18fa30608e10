// The calibration display, the selectable button and the round progress indicator, and how the
// controls answer the framework's questions about their kind.
#include <QImage>
#include <array>
#include <cmath>
#include <numbers>

#include <gtest/gtest.h>

#include "tests/ui_controls/control_harness.h"
#include "tests/ui_controls/test_skin.h"
#include "ui/controls/circle_progress.h"
#include "ui/controls/custom_controls.h"
#include "ui/controls/sbutton.h"
#include "ui/controls/ui_equalizer_ac.h"
#include "ui/framework/button.h"
#include "ui/framework/qt_convert.h"

namespace {

constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kBlue = 0xFF0000FF;
constexpr QRgb kGreen = 0xFF00FF00;
constexpr QRgb kWhite = 0xFFFFFFFF;

TEST(CustomControls, AnswerTheirClassAndInterfaceNames) {
  struct Expected {
    const wchar_t* tag;
    const wchar_t* className;
    const wchar_t* interfaceName;
  };
  for (const Expected& expected : {Expected{L"Curve", L"UIEqualizer", L"Curve"},
                                   Expected{L"CurveAc", L"UIEqualizerAc", L"Curve"},
                                   Expected{L"SButton", L"SButtonUI", L"SButton"},
                                   Expected{L"CircleProgress", L"CircleProgress", L"Control"}}) {
    const auto control = ui::CreateCustomControl(expected.tag);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->GetClass(), expected.className);
    EXPECT_EQ(control->GetInterface(expected.interfaceName), control.get());
    EXPECT_EQ(control->GetInterface(L"Control"), control.get());
    EXPECT_EQ(control->GetInterface(L"Slider"), nullptr);
  }
  EXPECT_EQ(ui::CreateCustomControl(L"Knob"), nullptr);
  // Tags are matched without regard to case, as layouts written by hand spell them.
  for (const wchar_t* tag : {L"curve", L"CURVEAC", L"sbutton", L"circleProgress"}) {
    EXPECT_NE(ui::CreateCustomControl(tag), nullptr) << DuiLib::ToUtf8(tag);
  }
}

class CalibrationDisplayTest : public testing::Test {
 protected:
  void SetUp() override {
    harness.Attach(display, 600, 300);
    display.SetAttribute(L"bkcolor", L"#FF101010");
  }
  ui_test::Harness harness;
  ui::UIEqualizerAc display;
};

TEST_F(CalibrationDisplayTest, WithoutChannelsOnlyTheGrid) {
  const QImage image = ui_test::Render(display);
  int gridPixels = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QRgb pixel = image.pixel(x, y);
      ASSERT_TRUE(pixel == 0xFF101010 || pixel == ui::kFrameColor) << x << "," << y;
      gridPixels += pixel == ui::kFrameColor;
    }
  }
  // Frame, the 0 line and 27 frequency lines at least.
  EXPECT_GT(gridPixels, 2 * 600 + 27 * 300);
}

TEST_F(CalibrationDisplayTest, MeasuredPointsOutsideTheRangeAreSkipped) {
  // 121 points from 10 Hz to 40 kHz at +10 dB, channel 2, shown.
  std::array<double, ui::kResponsePoints> frequencies{};
  std::array<double, ui::kResponsePoints> levels{};
  for (int k = 0; k < ui::kResponsePoints; ++k) {
    frequencies[k] = 10.0 * std::pow(4000.0, k / 120.0);
    levels[k] = 10.0;
  }
  std::array<ui::CurveInput, 3> channels{};
  channels[2] = ui::CurveInput{frequencies, levels, true};
  display.SetResponseCurves(channels);
  constexpr int kMargin = 100;
  const QImage image = ui_test::Render(display, kMargin, 0xFF000000);
  const int y = 150 - 150 * 10 / 20;
  const QRgb color = ui::kAcResponseColors[2];
  EXPECT_TRUE(image.pixel(kMargin + 300, y) == color || image.pixel(kMargin + 300, y - 1) == color);
  for (int x = 0; x < image.width(); ++x) {
    if (x >= kMargin && x < kMargin + 600) {
      continue;
    }
    for (int row = 0; row < image.height(); ++row) {
      ASSERT_EQ(image.pixel(x, row), 0xFF000000u) << x << "," << row;
    }
  }
  // A hidden channel is not drawn.
  channels[2].shown = false;
  display.SetResponseCurves(channels);
  const QImage hidden = ui_test::Render(display, kMargin, 0xFF000000);
  EXPECT_NE(hidden.pixel(kMargin + 300, y), color);
}

TEST_F(CalibrationDisplayTest, EqualiserCurvesInTheirChannelColours) {
  // Flat equalisers at +5 dB (channel 0) and -10 dB (channel 1) on a 512-point grid.
  std::array<double, ui::kCurvePoints> frequencies{};
  std::array<double, ui::kCurvePoints> up{};
  std::array<double, ui::kCurvePoints> down{};
  for (int k = 0; k < ui::kCurvePoints; ++k) {
    frequencies[k] = std::pow(10.0, std::log10(24000.0) * (k + 1) / ui::kCurvePoints);
    up[k] = 5.0;
    down[k] = -10.0;
  }
  const std::array<ui::CurveInput, 2> channels = {ui::CurveInput{frequencies, up, true},
                                                  ui::CurveInput{frequencies, down, true}};
  display.SetEqCurves(channels);
  const QImage image = ui_test::Render(display);
  const auto onRow = [&](int x, int y, QRgb color) {
    return image.pixel(x, y) == color || image.pixel(x, y - 1) == color;
  };
  for (const int x : {50, 300, 550}) {
    EXPECT_TRUE(onRow(x, 150 - 150 * 5 / 20, ui::kAcEqualizerColors[0])) << x;
    EXPECT_TRUE(onRow(x, 150 + 150 * 10 / 20, ui::kAcEqualizerColors[1])) << x;
  }
}

class SelectableButtonTest : public testing::Test {
 protected:
  void SetUp() override {
    ui_test::UseTestSkin();
    harness.Attach(button, 40, 20);
    button.SetAttribute(L"selectedstateimage", L"image/state.png");
  }
  ui_test::Harness harness;
  ui::CSButtonUI button;
};

TEST_F(SelectableButtonTest, OneStripUsesTheWholeStateImage) {
  button.SetAttribute(L"selectedstatecount", L"1");
  button.Selected(true);
  const QImage image = ui_test::Render(button);
  EXPECT_EQ(image.pixel(5, 10), kRed);
  EXPECT_EQ(image.pixel(35, 10), kBlue);
}

TEST_F(SelectableButtonTest, SeveralStripsUseTheFirstForTheSelectedLook) {
  button.SetAttribute(L"selectedstatecount", L"2");
  button.Selected(true);
  const QImage image = ui_test::Render(button);
  EXPECT_EQ(image.pixel(5, 10), kRed);
  EXPECT_EQ(image.pixel(35, 10), kRed);

  const ui::StateImageStrips strips = ui::CutStateImage(L"image/state.png", 30, 10, 3);
  EXPECT_EQ(strips.normal, L"file='image/state.png' source='0,0,10,10'");
  EXPECT_EQ(strips.hot, L"file='image/state.png' source='10,0,20,10'");
  EXPECT_EQ(strips.pushed, L"file='image/state.png' source='20,0,30,10'");
  EXPECT_EQ(ui::CutStateImage(L"x.png", 30, 10, 2).pushed, L"file='x.png' source='15,0,30,10'");
}

TEST_F(SelectableButtonTest, UnselectedItPaintsAsAPlainButtonAndClicksDoNotSelect) {
  button.SetAttribute(L"selectedstatecount", L"1");
  button.SetAttribute(L"text", L"Go");
  DuiLib::CButtonUI plain;
  harness.Attach(plain, 40, 20);
  plain.SetAttribute(L"text", L"Go");
  EXPECT_EQ(ui_test::Render(button), ui_test::Render(plain));

  ui_test::Press(button, QPoint(10, 10));
  ui_test::Release(button, QPoint(10, 10));
  EXPECT_EQ(harness.Count(DuiLib::DUI_MSGTYPE_CLICK), 1);
  EXPECT_FALSE(button.IsSelected());
}

TEST_F(SelectableButtonTest, SelectedColoursWinWhileSelected) {
  button.SetAttribute(L"selectedbkcolor", L"#FF00FF00");
  button.Selected(true);
  EXPECT_EQ(ui_test::Render(button).pixel(2, 2), kGreen);
  button.Selected(false);
  EXPECT_NE(ui_test::Render(button).pixel(2, 2), kGreen);
}

class CircleProgressTest : public testing::Test {
 protected:
  void SetUp() override {
    harness.Attach(progress, 100, 100);
    progress.SetAttribute(L"bkcolor", L"#FF0000FF");
    progress.SetAttribute(L"forecolor", L"#FF00FF00");
    progress.SetAttribute(L"max", L"200");
  }

  // The colour on the ring (between the white centre and the edge) at `degrees` clockwise from
  // three o'clock.
  static QRgb RingAt(const QImage& image, double degrees) {
    const double radians = degrees * std::numbers::pi / 180.0;
    const double radius = 45.0;
    return image.pixel(static_cast<int>(50 + radius * std::cos(radians)),
                       static_cast<int>(50 + radius * std::sin(radians)));
  }

  ui_test::Harness harness;
  ui::CCircleProgressUI progress;
};

TEST_F(CircleProgressTest, FullValueDrawsAClosedRing) {
  progress.SetValue(200);
  EXPECT_EQ(progress.SweepDegrees(), 360);
  const QImage image = ui_test::Render(progress, 0, 0x00000000);
  for (int degrees = 0; degrees < 360; degrees += 3) {
    EXPECT_EQ(RingAt(image, degrees), kGreen) << degrees;
  }
  EXPECT_EQ(image.pixel(50, 50), kWhite);
  EXPECT_EQ(image.pixel(1, 1), 0x00000000u);
}

TEST_F(CircleProgressTest, PartialValueGrowsClockwiseFromTheBottom) {
  progress.SetValue(100);
  EXPECT_EQ(progress.SweepDegrees(), 180);
  const QImage image = ui_test::Render(progress, 0, 0x00000000);
  EXPECT_EQ(RingAt(image, 180), kGreen);  // nine o'clock: passed on the way up
  EXPECT_EQ(RingAt(image, 0), kBlue);     // three o'clock: not reached
  EXPECT_EQ(image.pixel(50, 50), kWhite);
  progress.SetValue(67);
  EXPECT_EQ(progress.SweepDegrees(), 120);  // 120.6 truncated
  progress.SetValue(0);
  const QImage empty = ui_test::Render(progress, 0, 0x00000000);
  EXPECT_EQ(RingAt(empty, 90), kBlue);
}

}  // namespace
