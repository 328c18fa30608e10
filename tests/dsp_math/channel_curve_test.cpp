// The fast channel curve: what bands and filters contribute, and agreement with the direct
// evaluation of every section.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "bench/dsp_math/reference_channel_curve.h"
#include "dsp_math/channel_curve.h"
#include "dsp_math/crossover_design.h"
#include "dsp_math/crossover_response.h"
#include "dsp_math/frequency_grid.h"
#include "dsp_math/peaking_filter.h"

namespace dsp_math {
namespace {

constexpr CurveFilter kBypassed{1000, kCrossoverButterworth, 4, 1};

struct Channel {
  std::vector<CurveBand> bands;
  CurveFilter highPass = kBypassed;
  CurveFilter lowPass = kBypassed;
  bool eqBypass = false;
};

CurveArray Curve(const Channel& c) {
  CurveArray grid{};
  CurveArray curve{};
  ComputeChannelCurve(c.bands, c.highPass, c.lowPass, c.eqBypass, grid, curve);
  EXPECT_EQ(grid, ChannelFrequencyGrid());
  return curve;
}

CurveArray ReferenceCurve(const Channel& c) {
  CurveArray grid{};
  CurveArray curve{};
  reference::ComputeChannelCurve(c.bands, c.highPass, c.lowPass, c.eqBypass, grid, curve);
  return curve;
}

// Largest difference, and whether the two curves agree on which points show the floor.
void ExpectSameCurve(const CurveArray& actual, const CurveArray& expected, double tolerance) {
  for (std::size_t k = 0; k < kCurvePoints; ++k) {
    ASSERT_EQ(actual[k] <= -300.0, expected[k] <= -300.0) << k;
    ASSERT_NEAR(actual[k], expected[k], tolerance) << k;
  }
}

TEST(ChannelCurve, SwitchedOffBandsAndBypassedFiltersAddNothing) {
  Channel channel;
  channel.bands = {{100, 0.0f, 1.0f, 1}, {1000, 6.0f, 2.0f, 0}, {5000, -9.0f, 4.0f, 2}};
  for (const auto& curve : {Curve(channel), ReferenceCurve(channel)}) {
    for (const double db : curve) {
      ASSERT_EQ(db, 0.0);
    }
  }
  // Every band of a bypassed channel is flat, enabled or not.
  channel.bands = {{100, 12.0f, 1.0f, 1}, {3000, -6.0f, 2.0f, 1}};
  channel.eqBypass = true;
  for (const double db : Curve(channel)) {
    ASSERT_EQ(db, 0.0);
  }
  // With bypassed filters the curve is the band alone.
  channel.eqBypass = false;
  channel.bands = {{250, -4.5f, 0.7f, 1}};
  std::vector<double> grid(ChannelFrequencyGrid().begin(), ChannelFrequencyGrid().end());
  std::vector<double> band(kCurvePoints);
  PeakingResponse(kSampleRate, 250, -4.5, 0.7f, grid, band);
  const CurveArray curve = Curve(channel);
  for (std::size_t k = 0; k < kCurvePoints; ++k) {
    ASSERT_NEAR(curve[k], band[k], 1e-10) << k;
  }
}

TEST(ChannelCurve, NoBandsLeavesArraysAsTheyWere) {
  CurveArray grid;
  CurveArray curve;
  grid.fill(7.0);
  curve.fill(-3.0);
  const CurveFilter active{100, kCrossoverLinkwitzRiley, 4, 0};
  ComputeChannelCurve({}, active, active, false, grid, curve);
  ComputeAutoCalCurve({}, grid, curve);
  reference::ComputeChannelCurve({}, active, active, false, grid, curve);
  EXPECT_TRUE(std::all_of(grid.begin(), grid.end(), [](double v) { return v == 7.0; }));
  EXPECT_TRUE(std::all_of(curve.begin(), curve.end(), [](double v) { return v == -3.0; }));
}

TEST(ChannelCurve, LastPointIsTheValueAtZeroHertz) {
  Channel channel;
  channel.bands = {{40, 6.0f, 1.5f, 1}, {8000, -3.0f, 0.8f, 1}};
  channel.highPass = {30, kCrossoverButterworth, 2, 0};
  channel.lowPass = {16000, kCrossoverBessel, 5, 0};
  // The same sections evaluated directly at 0 Hz (24000 Hz, second to last, is the Nyquist
  // reference point).
  std::vector<double> frequencies = {0.0, 24000.0, 48000.0};
  std::vector<double> db(3);
  double atZero = 0.0;
  HighPassResponse(30, 2, kCrossoverButterworth, frequencies, db);
  atZero += db[0];
  LowPassResponse(16000, 5, kCrossoverBessel, frequencies, db);
  atZero += db[0];
  for (const CurveBand& band : channel.bands) {
    PeakingResponse(kSampleRate, band.freq, band.eqGain, band.eqFactor, frequencies, db);
    atZero += db[0];
  }
  EXPECT_NEAR(Curve(channel)[511], atZero, 1e-9);
  EXPECT_LT(atZero, -300.0);  // the high-pass is floored there
}

TEST(ChannelCurve, AutoCalibrationIgnoresEnableFlagsAndCrossover) {
  const std::vector<CurveBand> bands = {{60, 4.0f, 2.0f, 0}, {900, -7.0f, 5.0f, 1}};
  CurveArray grid{};
  CurveArray autoCal{};
  ComputeAutoCalCurve(bands, grid, autoCal);
  Channel enabled;
  enabled.bands = {{60, 4.0f, 2.0f, 1}, {900, -7.0f, 5.0f, 1}};
  ExpectSameCurve(autoCal, Curve(enabled), 1e-12);
  CurveArray referenceGrid{};
  CurveArray referenceCurve{};
  reference::ComputeAutoCalCurve(bands, referenceGrid, referenceCurve);
  ExpectSameCurve(autoCal, referenceCurve, 1e-6);
}

// Varied channels as the editor produces them: up to 31 bands, any filter family, order and
// cut-off, switches on and off.
Channel RandomChannel(std::mt19937& rng) {
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  const auto logUniform = [&](double lo, double hi) { return lo * std::pow(hi / lo, unit(rng)); };
  const auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  Channel c;
  c.bands.resize(static_cast<std::size_t>(pick(1, 31)));
  for (CurveBand& band : c.bands) {
    band.freq = static_cast<int>(logUniform(20, 20000));
    band.eqGain = pick(0, 5) == 0 ? 0.0f : static_cast<float>(unit(rng) * 48.0 - 24.0);
    band.eqFactor = static_cast<float>(logUniform(0.3, 20));
    band.enable = static_cast<std::uint8_t>(pick(0, 6) == 0 ? 0 : 1);
  }
  for (CurveFilter* filter : {&c.highPass, &c.lowPass}) {
    *filter = {static_cast<int>(logUniform(10, 25000)), pick(0, 3), pick(-1, 10),
               pick(0, 3) == 0 ? 1 : 0};
  }
  c.eqBypass = pick(0, 9) == 0;
  return c;
}

TEST(ChannelCurve, AgreesWithDirectEvaluationOfEverySection) {
  std::mt19937 rng(20240607);
  for (int i = 0; i < 300; ++i) {
    const Channel channel = RandomChannel(rng);
    SCOPED_TRACE(i);
    ExpectSameCurve(Curve(channel), ReferenceCurve(channel), 1e-6);
  }
  // Gains whose total could leave the range of a running product (31 x 70 dB), and undamped
  // sections from unknown family codes, take the section-by-section path: still the same curve.
  for (int i = 0; i < 20; ++i) {
    Channel channel = RandomChannel(rng);
    channel.bands.resize(31, {1000, 0.0f, 1.0f, 1});
    for (CurveBand& band : channel.bands) {
      band.eqGain = (band.eqGain < 0.0f ? -70.0f : 70.0f);
      band.enable = 1;
    }
    channel.eqBypass = false;
    channel.lowPass.type = i % 2 == 0 ? 5 : channel.lowPass.type;
    SCOPED_TRACE(i);
    ExpectSameCurve(Curve(channel), ReferenceCurve(channel), 1e-6);
  }
}

}  // namespace
}  // namespace dsp_math
