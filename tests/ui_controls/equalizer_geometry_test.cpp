// The curve editor's coordinate conversions and layout rules, at several scales and on plots that
// do not start at the origin.
#include <cmath>

#include <gtest/gtest.h>

#include "ui/controls/curve_constants.h"
#include "ui/controls/equalizer_geometry.h"

namespace {

using DuiLib::POINT;
using DuiLib::RECT;
using ui::EqualizerGeometry;

struct Plot {
  RECT rect;
  int scale;
};

class GeometryTest : public testing::TestWithParam<Plot> {
 protected:
  EqualizerGeometry geometry = EqualizerGeometry::For(GetParam().rect, GetParam().scale);
};

TEST_P(GeometryTest, ZeroLineAndEndsOfTheScales) {
  const RECT& plot = GetParam().rect;
  EXPECT_EQ(geometry.y0, plot.top + plot.Height() * 12 / 30);
  EXPECT_EQ(geometry.FrequencyToX(20), plot.left);
  EXPECT_EQ(geometry.XToFrequency(plot.left), 20);
  EXPECT_EQ(geometry.XToFrequency(plot.right), 20000);
  EXPECT_DOUBLE_EQ(geometry.GainToY(12.0), plot.top);
  EXPECT_DOUBLE_EQ(geometry.GainToY(-18.0), plot.bottom);
  EXPECT_DOUBLE_EQ(geometry.GainToY(0.0), geometry.y0);
  EXPECT_DOUBLE_EQ(geometry.YToGain(plot.top), 12.0);
  EXPECT_DOUBLE_EQ(geometry.YToGain(plot.bottom), -18.0);
}

TEST_P(GeometryTest, FrequencyRoundTripsWithinAPixel) {
  const double pixelRatio = std::pow(10.0, 3.0 / GetParam().rect.Width());
  for (double f = 20; f <= 20000; f *= 1.07) {
    const int frequency = static_cast<int>(f);
    const int x = geometry.FrequencyToX(frequency);
    const int back = geometry.XToFrequency(x);
    // x is truncated, so the frequency of x lies at most one pixel's step below.
    EXPECT_LE(back, frequency + 1) << frequency;
    EXPECT_GE(back, frequency / pixelRatio - 1) << frequency;
  }
  // Frequencies are whole hertz: half a hertz is several pixels at the low end.
  const double pixelsPerDecade = GetParam().rect.Width() / 3.0;
  for (int x = GetParam().rect.left; x <= GetParam().rect.right; x += 7) {
    const int frequency = geometry.XToFrequency(x);
    const double tolerance = pixelsPerDecade * std::log10((frequency + 0.5) / frequency) + 1.0;
    EXPECT_LE(std::abs(geometry.FrequencyToX(frequency) - x), tolerance) << x;
  }
}

TEST_P(GeometryTest, GainRoundTripsWithinTheRounding) {
  const RECT& plot = GetParam().rect;
  for (int y = plot.top; y <= plot.bottom; ++y) {
    EXPECT_NEAR(geometry.GainToY(geometry.YToGain(y)), y, 1e-9) << y;
  }
  // GainToY rounds (y0 - edge)·g to whole numbers before dividing: half a unit of that.
  const double upper = geometry.y0 - plot.top;
  const double lower = plot.bottom - geometry.y0;
  for (double g = -18.0; g <= 12.0; g += 0.1) {
    const double tolerance = 0.5 / (g > 0 ? upper : lower) + 1e-9;
    EXPECT_NEAR(geometry.YToGain(geometry.GainToY(g)), g, tolerance) << g;
  }
}

TEST_P(GeometryTest, QRoundTripsThroughTheHandleDistance) {
  for (const double q : {0.5, 0.7, 1.0, 1.41, 2.0, 4.3, 9.0}) {
    const int offset = geometry.QHandleOffset(q);
    // 81/Q is rounded before scaling (half a unit, times the scale), the distance after.
    const double tolerance = q * (0.5 * GetParam().scale / 100.0 + 1.0) / offset;
    EXPECT_NEAR(geometry.QFromDistance(offset), q, tolerance) << q;
  }
}

TEST_P(GeometryTest, QFromDistanceFollowsTheScale) {
  const int s = GetParam().scale;
  EXPECT_DOUBLE_EQ(geometry.QFromDistance(s * 81 / 100), 1.0);
  EXPECT_DOUBLE_EQ(geometry.QFromDistance(-(s * 81 / 100)), 1.0);
  EXPECT_DOUBLE_EQ(geometry.QFromDistance(s * 9 / 100 - 1), ui::kHighestQ);
  EXPECT_DOUBLE_EQ(geometry.QFromDistance(0), ui::kHighestQ);
  EXPECT_DOUBLE_EQ(geometry.QFromDistance(s * 162 / 100 + 1), ui::kLowestQ);
  EXPECT_DOUBLE_EQ(geometry.QFromDistance(100000), ui::kLowestQ);
}

TEST_P(GeometryTest, RectanglesArePinnedInsideThePlot) {
  const RECT& plot = GetParam().rect;
  const int s = GetParam().scale;
  const int side = s * 16 / 100;
  const RECT corner = geometry.BandHitRect(POINT{plot.left + 1, plot.bottom});
  EXPECT_EQ(corner, (RECT{plot.left, plot.bottom - side, plot.left + side, plot.bottom}));
  const POINT middle{(plot.left + plot.right) / 2, (plot.top + plot.bottom) / 2};
  const RECT centred = geometry.BandHitRect(middle);
  EXPECT_EQ(centred, (RECT{middle.x - s * 8 / 100, middle.y - s * 8 / 100, middle.x + s * 8 / 100,
                           middle.y + s * 8 / 100}));
  // Labels: below the point in the middle, pinned to the edges at the sides.
  const RECT below = geometry.SelectedLabelRect(middle, true);
  EXPECT_EQ(below.top, middle.y + s * 14 / 100);
  EXPECT_EQ(below.Width(), 2 * (s * 75 / 100));
  const RECT right = geometry.SelectedLabelRect(POINT{plot.right - 2, middle.y}, false);
  EXPECT_EQ(right.right, plot.right);
  EXPECT_EQ(right.Width(), 2 * (s * 25 / 100));
  const RECT nearBottom = geometry.SelectedLabelRect(POINT{middle.x, plot.bottom}, true);
  EXPECT_EQ(nearBottom.top, plot.bottom - s * 37 / 100);
  const RECT nearTop = geometry.SelectedLabelRect(POINT{middle.x, plot.top}, true);
  EXPECT_EQ(nearTop.top, plot.top + s * 22 / 100);
  // Markers: 14 % wide, from the height of their gain down by 10 %.
  const RECT marker = geometry.MarkerRect(20000, ui::kLowPassMarkerGainDb);
  EXPECT_EQ(marker.right, plot.right);
  EXPECT_EQ(marker.Width(), 2 * (s * 7 / 100));
  EXPECT_EQ(marker.top, std::lround(geometry.GainToY(-11.0)));
  EXPECT_EQ(marker.Height(), s * 10 / 100);
}

TEST_P(GeometryTest, QHandlesSitBesideThePoint) {
  const int s = GetParam().scale;
  const POINT point{(GetParam().rect.left + GetParam().rect.right) / 2,
                    static_cast<int>(geometry.y0)};
  const auto [left, right] = geometry.QHandleRects(point, 1.0);
  const int offset = 81 * s / 100;
  EXPECT_EQ((left.left + left.right) / 2, point.x - offset);
  EXPECT_EQ((right.left + right.right) / 2, point.x + offset);
  EXPECT_EQ(left.top, point.y + s * 4 / 100);
  EXPECT_EQ(left.bottom, point.y + s * 12 / 100);
}

INSTANTIATE_TEST_SUITE_P(Scales, GeometryTest,
                         testing::Values(Plot{RECT{0, 0, 1230, 420}, 100},
                                         Plot{RECT{15, 40, 815, 340}, 80},
                                         Plot{RECT{0, 0, 1845, 630}, 150},
                                         Plot{RECT{30, 10, 2490, 850}, 200},
                                         Plot{RECT{0, 0, 3690, 1260}, 300}));

}  // namespace
