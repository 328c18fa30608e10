#include "model/channel_curve.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include <gtest/gtest.h>

namespace model {
namespace {

TEST(CurveInput, CarriesTheChannelsOwnBandsAndFilters) {
  auto record = std::make_unique<SceneRecord>();
  record->Bands(6)[3] = {-4.0f, 1.5f, 40, 0};
  record->channels[6].bypass = 0;

  const CurveInput input = CurveInputOf(record->channels[6]);
  ASSERT_EQ(input.Bands().size(), 11u);
  EXPECT_EQ(input.Bands()[3].freq, 40);
  EXPECT_EQ(input.Bands()[3].eqGain, -4.0f);
  EXPECT_EQ(input.Bands()[3].eqFactor, 1.5f);
  EXPECT_EQ(input.Bands()[3].enable, 0);
  EXPECT_FALSE(input.eqBypass);
  EXPECT_EQ(input.lowPass.fs, 55);
  EXPECT_EQ(input.lowPass.slope, 4);
  EXPECT_EQ(input.lowPass.type, 1);
  EXPECT_EQ(input.lowPass.bypass, 0);
  EXPECT_EQ(input.highPass.bypass, 1);
}

TEST(ChannelCurve, BypassedEqualiserDrawsFlatAndActiveBandsShow) {
  auto record = std::make_unique<SceneRecord>();
  // Output 0 plays full range: no crossover, and a fresh channel's equaliser is bypassed.
  record->Bands(0)[17].eqGain = 6.0f;  // 1000 Hz
  ComputeChannelCurve(*record, 0);
  const ChannelCurve& curve = record->curves[0];
  EXPECT_NEAR(curve.frequencyGrid[510], 24000.0, 1e-6);
  for (const double db : curve.responseCurve) {
    EXPECT_NEAR(db, 0.0, 1e-9);
  }

  record->channels[0].bypass = 0;
  ComputeChannelCurve(*record, 0);
  const double peak = *std::ranges::max_element(curve.responseCurve);
  EXPECT_NEAR(peak, 6.0, 0.2);
}

TEST(ChannelCurve, OutputOutsideTheSceneChangesNothing) {
  auto record = std::make_unique<SceneRecord>();
  const auto before = record->curves;
  ComputeChannelCurve(*record, 8);
  ComputeChannelCurve(*record, -1);
  EXPECT_EQ(record->curves, before);
}

}  // namespace
}  // namespace model
