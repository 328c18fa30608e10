// Crossover design rules and the responses they give.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <numbers>
#include <vector>

#include "dsp_math/crossover_design.h"
#include "dsp_math/crossover_response.h"
#include "dsp_math/frequency_grid.h"

namespace dsp_math {
namespace {

double Omega(double frequency) {
  return 2.0 * std::numbers::pi * frequency / kSampleRate;
}

// The damping a second-order section was designed with, recovered from its beta and gamma.
double DampingOf(const CrossoverSection& section) {
  const double sn = std::sin(std::acos(section.gamma));
  return 2.0 * (1.0 - section.beta) / ((1.0 + section.beta) * sn);
}

int CountKind(const CrossoverSections& sections, SectionKind kind) {
  int count = 0;
  for (const CrossoverSection& section : sections) {
    count += section.kind == kind ? 1 : 0;
  }
  return count;
}

TEST(CrossoverDesign, OrderRulesPerFamily) {
  // Linkwitz-Riley rounds an odd slope up: slope 3 is two sections of damping 1.414214.
  const CrossoverSections lr = DesignCrossover(false, 1000, 3, kCrossoverLinkwitzRiley);
  ASSERT_EQ(CountKind(lr, SectionKind::kSecondOrder), 2);
  EXPECT_EQ(lr[2].kind, SectionKind::kEmpty);
  EXPECT_NEAR(DampingOf(lr[0]), 1.414214, 1e-9);
  EXPECT_NEAR(DampingOf(lr[1]), 1.414214, 1e-9);

  // Slope 0 or below is order 1, above 8 is order 8 (also where rounding up could overflow).
  for (const int slope : {0, -1, -7, INT_MIN}) {
    const CrossoverSections s = DesignCrossover(true, 1000, slope, kCrossoverButterworth);
    EXPECT_EQ(s[0].kind, SectionKind::kFirstOrder) << slope;
    EXPECT_EQ(CountKind(s, SectionKind::kEmpty), 3) << slope;
  }
  for (const int type : {kCrossoverButterworth, kCrossoverLinkwitzRiley, kCrossoverBessel}) {
    for (const int slope : {9, 100, INT_MAX}) {
      EXPECT_EQ(CountKind(DesignCrossover(true, 1000, slope, type), SectionKind::kSecondOrder), 4);
    }
  }
  // Odd orders end with a first-order section after the second-order ones.
  const CrossoverSections bw5 = DesignCrossover(false, 1000, 5, kCrossoverButterworth);
  EXPECT_EQ(bw5[1].kind, SectionKind::kSecondOrder);
  EXPECT_EQ(bw5[2].kind, SectionKind::kFirstOrder);
  EXPECT_EQ(bw5[3].kind, SectionKind::kEmpty);

  // Type 0 ignores the slope: always one second-order section of damping 1.
  for (const int slope : {-3, 1, 2, 8, 50}) {
    const CrossoverSections s = DesignCrossover(false, 500, slope, kCrossoverSingleSection);
    EXPECT_EQ(CountKind(s, SectionKind::kSecondOrder), 1) << slope;
    EXPECT_EQ(CountKind(s, SectionKind::kEmpty), 3) << slope;
    EXPECT_NEAR(DampingOf(s[0]), 1.0, 1e-9);
  }
}

TEST(CrossoverDesign, CutOffClampsAndBesselFrequencyFactors) {
  // Above 22000 Hz the design is the one at 22000 Hz; at or below 0 Hz the lowest cut-off's.
  EXPECT_EQ(DesignCrossover(true, 30000, 4, 1)[1].beta, DesignCrossover(true, 22000, 4, 1)[1].beta);
  EXPECT_NEAR(DesignCrossover(false, 30000, 2, 1)[0].gamma, std::cos(kMaxCutoffOmega), 1e-15);
  EXPECT_NEAR(DesignCrossover(false, -5, 2, 1)[0].gamma, std::cos(kMinCutoffOmega), 1e-15);

  // Bessel order 3: the second-order section moves by the normalisation and its own factor, the
  // first-order section (index 1) by its factor; down for a high-pass, up for a low-pass.
  const CrossoverSections hp = DesignCrossover(false, 1000, 3, kCrossoverBessel);
  EXPECT_NEAR(hp[0].gamma, std::cos(Omega(1000) / 0.403008 / 2.541541), 1e-12);
  EXPECT_NEAR(DampingOf(hp[0]), 1.447080, 1e-9);
  EXPECT_EQ(hp[1].kind, SectionKind::kFirstOrder);
  EXPECT_NEAR(hp[1].gamma, std::cos(Omega(1000) / 0.403008 / 2.322185), 1e-12);
  const CrossoverSections lp = DesignCrossover(true, 1000, 3, kCrossoverBessel);
  EXPECT_NEAR(lp[0].gamma, std::cos(Omega(1000) * 0.403008 * 2.541541), 1e-12);
  // An order 8 low-pass at 20 kHz moves its last section past the top clamp.
  const CrossoverSections high = DesignCrossover(true, 20000, 8, kCrossoverBessel);
  EXPECT_NEAR(high[3].gamma, std::cos(kMaxCutoffOmega), 1e-15);
  EXPECT_NEAR(DampingOf(high[0]), 1.976319, 1e-9);
}

// Response at the cut-off (index 0), at Nyquist (index 1, the grid's reference point) and at the
// sample rate (index 2, the same point as 0 Hz).
std::vector<double> ResponseAtCutoff(int kind, double cutoff, int slope, int type) {
  std::vector<double> frequencies = {cutoff, 24000.0, 48000.0};
  std::vector<double> db(3);
  CrossoverResponse(kind, cutoff, slope, type, frequencies, db);
  EXPECT_EQ(frequencies[0], cutoff);
  return db;
}

TEST(CrossoverResponse, UnityInPassBandAndNominalLossAtCutoff) {
  for (const double cutoff : {50.0, 1000.0, 12000.0}) {
    for (int order = 1; order <= 8; ++order) {
      const auto hp = ResponseAtCutoff(kCrossoverHighPass, cutoff, order, kCrossoverButterworth);
      EXPECT_NEAR(hp[0], -3.0103, 1e-3) << cutoff << " " << order;
      EXPECT_NEAR(hp[1], 0.0, 1e-9);
      const auto lp = ResponseAtCutoff(kCrossoverLowPass, cutoff, order, kCrossoverButterworth);
      EXPECT_NEAR(lp[0], -3.0103, 1e-3) << cutoff << " " << order;
      EXPECT_NEAR(lp[2], 0.0, 1e-9);
    }
    for (const int order : {2, 4, 6, 8}) {
      const auto hp = ResponseAtCutoff(kCrossoverHighPass, cutoff, order, kCrossoverLinkwitzRiley);
      EXPECT_NEAR(hp[0], -6.0206, 1e-3) << cutoff << " " << order;
      const auto lp = ResponseAtCutoff(kCrossoverLowPass, cutoff, order, kCrossoverLinkwitzRiley);
      EXPECT_NEAR(lp[0], -6.0206, 1e-3) << cutoff << " " << order;
      EXPECT_NEAR(lp[2], 0.0, 1e-9);
    }
  }
  // Kind codes other than 1 mean high-pass.
  EXPECT_EQ(ResponseAtCutoff(7, 1000, 4, 1), ResponseAtCutoff(kCrossoverHighPass, 1000, 4, 1));
}

TEST(CrossoverResponse, EachSectionIsFlooredOnItsOwn) {
  std::vector<double> grid(kCurvePoints);
  BuildFrequencyGrid(kSampleRate, grid);
  std::vector<double> db(kCurvePoints);
  // Far above a 100 Hz 8th-order low-pass every one of its four sections is below the floor.
  LowPassResponse(100, 8, kCrossoverButterworth, grid, db);
  EXPECT_EQ(db[505], 4 * kFloorDb);
  EXPECT_EQ(db[510], 4 * kFloorDb);
  // Just above the cut-off nothing is floored yet.
  EXPECT_GT(db[300], -300.0);
  // The high-pass at the sample-rate point (0 Hz) is floored, section by section.
  HighPassResponse(1000, 3, kCrossoverButterworth, grid, db);
  EXPECT_EQ(db[511], 2 * kFloorDb);
}

}  // namespace
}  // namespace dsp_math
