#include "model/delay_units.h"

#include <cmath>

#include <gtest/gtest.h>

namespace model {
namespace {

TEST(DelayUnits, FullSpanIsFiveHundredNineteenCentimetresOrTwoHundredFourInches) {
  EXPECT_EQ(FormatDelay(15.0, DelayUnit::Centimetres), "519 cm");
  EXPECT_EQ(FormatDelay(15.0, DelayUnit::Inches), "204 in");
  EXPECT_EQ(FormatDelay(0.0, DelayUnit::Centimetres), "0 cm");
  EXPECT_DOUBLE_EQ(MsToCentimetres(1.0), 34.6);
  EXPECT_DOUBLE_EQ(MsToInches(1.0), 13.6);
}

TEST(DelayUnits, DistancesAreRoundedFromWholeMicroseconds) {
  EXPECT_EQ(FormatDelay(1.0, DelayUnit::Centimetres), "35 cm");  // 34.6
  EXPECT_EQ(FormatDelay(1.0, DelayUnit::Inches), "14 in");       // 13.6
  // 2.5009 ms is 2500 whole microseconds: 86.5 cm rounds up.
  EXPECT_EQ(FormatDelay(2.5009, DelayUnit::Centimetres), "87 cm");
  EXPECT_EQ(FormatDelay(2.5, DelayUnit::Milliseconds), "2.500 ms");
  EXPECT_EQ(DelayToMicroseconds(2.5009), 2500);
}

TEST(DelayUnits, TypedDistancesAreLimitedAndTruncatedBeforeConversion) {
  EXPECT_DOUBLE_EQ(DelayMsFromUnits(600.0, DelayUnit::Centimetres), 15.0);
  EXPECT_DOUBLE_EQ(DelayMsFromUnits(10.9, DelayUnit::Inches), 10.0 * 15.0 / 204.0);
  EXPECT_DOUBLE_EQ(DelayMsFromUnits(-3.0, DelayUnit::Inches), 0.0);
  EXPECT_DOUBLE_EQ(DelayMsFromUnits(16.2, DelayUnit::Milliseconds), 15.0);
  EXPECT_DOUBLE_EQ(DelayMsFromUnits(7.25, DelayUnit::Milliseconds), 7.25);
}

TEST(DelayUnits, UnreadableOrHugeValuesStayInsideTheRange) {
  EXPECT_DOUBLE_EQ(DelayMsFromUnits(std::nan(""), DelayUnit::Milliseconds), 0.0);
  EXPECT_DOUBLE_EQ(DelayMsFromUnits(std::nan(""), DelayUnit::Centimetres), 0.0);
  EXPECT_DOUBLE_EQ(DelayMsFromUnits(INFINITY, DelayUnit::Centimetres), 15.0);
  EXPECT_EQ(DelayToMicroseconds(std::nan("")), 0);
  EXPECT_GT(DelayToMicroseconds(1e300), 0);
}

}  // namespace
}  // namespace model
