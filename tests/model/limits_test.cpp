// The edges of the unit's shape and of the value ranges, each seen from both sides.
#include "model/limits.h"

#include <gtest/gtest.h>

#include <cmath>

namespace model {
namespace {

TEST(Limits, OutputHalvesAndSourcesWithInputsChangeAtTheirEdges) {
  EXPECT_EQ(BandCountOfOutput(5), 31);
  EXPECT_EQ(BandCountOfOutput(6), 11);
  EXPECT_TRUE(InSameLinkHalf(0, 5));
  EXPECT_FALSE(InSameLinkHalf(5, 6));
  EXPECT_TRUE(InSameLinkHalf(6, 7));
  const int inputs[kSourceCount] = {0, 0, 2, 0, 0, 4, 0};
  for (int source = 0; source < kSourceCount; ++source) {
    EXPECT_EQ(InputsPerSource(source), inputs[source]) << "source " << source;
  }
}

TEST(Limits, RangesHoldBothEndsAndClampFromBothSides) {
  EXPECT_FALSE(kTrimDb.Contains(-61));
  EXPECT_TRUE(kTrimDb.Contains(-60));
  EXPECT_TRUE(kTrimDb.Contains(0));
  EXPECT_FALSE(kTrimDb.Contains(1));
  EXPECT_EQ(kTrimDb.Clamp(-61), -60);
  EXPECT_EQ(kTrimDb.Clamp(1), 0);
  EXPECT_EQ(kTrimDb.Clamp(-7), -7);
  EXPECT_FALSE(kDelayMs.Contains(15.001));
  EXPECT_TRUE(kDelayMs.Contains(15.0));
  EXPECT_DOUBLE_EQ(kDelayMs.Clamp(-0.5), 0.0);
  EXPECT_DOUBLE_EQ(kDelayMs.Clamp(15.5), 15.0);
  EXPECT_DOUBLE_EQ(kDelayMs.Clamp(std::nan("")), 0.0);
}

}  // namespace
}  // namespace model
