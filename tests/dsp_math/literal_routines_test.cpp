// Grid, section evaluation and peaking bands, checked against independent arithmetic.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "dsp_math/curve_constants.h"
#include "dsp_math/frequency_grid.h"
#include "dsp_math/peaking_filter.h"
#include "dsp_math/section_evaluation.h"

namespace dsp_math {
namespace {

std::vector<double> Grid() {
  std::vector<double> grid(kCurvePoints);
  BuildFrequencyGrid(kSampleRate, grid);
  return grid;
}

// |H(e^jw)|^2 of one biquad from the real and imaginary parts of each polynomial written out
// (b0 + b1 cos w + b2 cos 2w, b1 sin w + b2 sin 2w), in long double: a different formula and a
// different precision from the Horner evaluation under test.
long double ClosedFormSquared(const Biquad& q, double frequency) {
  const long double w = 2.0L * std::numbers::pi_v<long double> * frequency / kSampleRate;
  const auto squared = [w](long double x0, long double x1, long double x2) {
    const long double re = x0 + x1 * std::cos(w) + x2 * std::cos(2.0L * w);
    const long double im = x1 * std::sin(w) + x2 * std::sin(2.0L * w);
    return re * re + im * im;
  };
  return squared(q.numerator[0], q.numerator[1], q.numerator[2]) /
         squared(1.0L, q.denominator[1], q.denominator[2]);
}

TEST(FrequencyGrid, RunsLogarithmicallyFromOneHertzToNyquistThenSampleRate) {
  const std::vector<double> grid = Grid();
  EXPECT_NEAR(grid[0], 1.0199, 1e-4);
  EXPECT_NEAR(grid[510], 24000.0, 1e-6);
  EXPECT_EQ(grid[511], 48000.0);
  for (std::size_t k = 1; k < 511; ++k) {
    EXPECT_NEAR(grid[k] / grid[k - 1], grid[1] / grid[0], 1e-12) << k;
  }
}

TEST(EvaluateSections, WritesDecibelsAndPhaseAndFloorsSilentPoints) {
  std::vector<double> frequency = Grid();
  std::vector<double> db(kCurvePoints);
  // A pure one-sample delay: 0 dB, phase equal to the point's angle -2*pi*f/fs.
  const double delay[] = {0.0, 1.0, 0.0};
  // The stored leading denominator coefficient (5) is ignored: it counts as 1.
  const double unit[] = {5.0, 0.0, 0.0};
  ASSERT_TRUE(
      EvaluateSections(delay, unit, 2, 1, db, frequency, EvaluationMode::kDecibelsAndPhase));
  const std::vector<double> grid = Grid();
  for (std::size_t k = 0; k < 510; ++k) {
    EXPECT_NEAR(db[k], 0.0, 1e-12);
    EXPECT_NEAR(frequency[k], -2.0 * std::numbers::pi * grid[k] / kSampleRate, 1e-9) << k;
  }

  // A cascade whose second section is silent is floored as a whole, with phase 0.
  frequency = Grid();
  const double numerators[] = {1.0, 0.5, 0.0, 1e-5, 0.0, 0.0};
  const double denominators[] = {1.0, 0.0, 0.0, 1.0, 0.0, 0.0};
  ASSERT_TRUE(EvaluateSections(numerators, denominators, 2, 2, db, frequency,
                               EvaluationMode::kDecibelsAndPhase));
  for (std::size_t k = 0; k < kCurvePoints; ++k) {
    EXPECT_EQ(db[k], kFloorDb);
    EXPECT_EQ(frequency[k], 0.0);
  }

  // Arrays too short for the counts are refused untouched.
  std::vector<double> shortDb(3, 7.0);
  EXPECT_FALSE(
      EvaluateSections(delay, unit, 2, 2, shortDb, frequency, EvaluationMode::kDecibelsAndPhase));
  EXPECT_EQ(shortDb[0], 7.0);
}

TEST(PeakingBand, FlatAtZeroGainAndCutIsExactInverseOfBoost) {
  std::vector<double> grid = Grid();
  const std::vector<double> original = grid;
  std::vector<double> flat(kCurvePoints);
  std::vector<double> boost(kCurvePoints);
  std::vector<double> cut(kCurvePoints);
  // Narrow bands far down (20 Hz, Q 20) are sensitive to the rounding of their coefficients at
  // the 1e-9 level, so the exactness is checked on ordinary bands.
  for (const double frequency : {100.0, 1000.0, 15000.0}) {
    for (const double q : {0.4, 2.0, 10.0}) {
      PeakingResponse(kSampleRate, frequency, 0.0, q, grid, flat);
      for (const double gain : {0.5, 6.0, 18.0}) {
        PeakingResponse(kSampleRate, frequency, gain, q, grid, boost);
        PeakingResponse(kSampleRate, frequency, -gain, q, grid, cut);
        for (std::size_t k = 0; k < kCurvePoints; ++k) {
          ASSERT_EQ(flat[k], 0.0);
          ASSERT_NEAR(boost[k] + cut[k], 0.0, 1e-9) << frequency << " " << q << " " << k;
          ASSERT_LE(boost[k], gain + 1e-9);
          ASSERT_GE(boost[k], -1e-9);
        }
      }
    }
  }
  EXPECT_EQ(grid, original);
}

TEST(PeakingBand, MatchesClosedFormMagnitudeAtEveryPoint) {
  std::vector<double> grid = Grid();
  std::vector<double> db(kCurvePoints);
  for (const double frequency : {20.0, 250.0, 4000.0, 20000.0}) {
    for (const double q : {0.3, 1.0, 12.0}) {
      for (const double gain : {-24.0, -3.0, 9.0}) {
        PeakingResponse(kSampleRate, frequency, gain, q, grid, db);
        const Biquad band = DesignPeakingFilter(kSampleRate, frequency, gain, q);
        for (std::size_t k = 0; k < kCurvePoints; ++k) {
          const double expected =
              10.0 * std::log10(static_cast<double>(ClosedFormSquared(band, grid[k])));
          ASSERT_NEAR(db[k], expected, 1e-8) << frequency << " " << q << " " << gain << " " << k;
        }
      }
    }
  }
}

}  // namespace
}  // namespace dsp_math
