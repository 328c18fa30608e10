#include "model/scene_rules.h"

#include <memory>

#include <gtest/gtest.h>

namespace model {
namespace {

class SceneRulesTest : public ::testing::Test {
 protected:
  std::unique_ptr<SceneRecord> record = std::make_unique<SceneRecord>();
};

TEST_F(SceneRulesTest, FullRangeRoleExcludesEveryOtherRoleOfItsSide) {
  // Output 0 holds role 6, front left full.
  EXPECT_FALSE(IsRoleAllowed(*record, 1, 2));
  EXPECT_FALSE(IsRoleAllowed(*record, 3, 2));
  // Front left mid-low (mask 3) leaves the tweeter (mask 4) free.
  record->outputs[0] = 5;
  EXPECT_TRUE(IsRoleAllowed(*record, 1, 2));
  EXPECT_FALSE(IsRoleAllowed(*record, 2, 2));  // midrange overlaps mid-low
}

TEST_F(SceneRulesTest, RoleAllowanceIgnoresTheTargetOutputAndOtherGroups) {
  // Output 0's own role does not block a new role for output 0.
  EXPECT_TRUE(IsRoleAllowed(*record, 1, 0));
  // Role 0 is always allowed, even where it is already in use.
  record->outputs[3] = 0;
  EXPECT_TRUE(IsRoleAllowed(*record, 0, 5));
  // Front right roles are not limited by front left ones.
  record->outputs[1] = 0;
  EXPECT_TRUE(IsRoleAllowed(*record, 7, 2));
  // Left and right subwoofer (masks 4 and 2) coexist; role 24 (mask 7) conflicts with both.
  EXPECT_FALSE(IsRoleAllowed(*record, 24, 3));
  record->outputs[6] = 0;
  record->outputs[7] = 0;
  EXPECT_TRUE(IsRoleAllowed(*record, 24, 3));
}

TEST_F(SceneRulesTest, RoleInUseLooksAtEveryOutput) {
  EXPECT_TRUE(IsRoleInUse(*record, 23));
  EXPECT_FALSE(IsRoleInUse(*record, 1));
  EXPECT_FALSE(IsRoleInUse(*record, 0));
  record->outputs[7] = 0;
  EXPECT_TRUE(IsRoleInUse(*record, 0));
}

TEST_F(SceneRulesTest, DefaultRolesLinkFrontRearAndSubwooferPairs) {
  EXPECT_TRUE(HasLinkablePair(*record));
  EXPECT_EQ(ComputeLinkPartners(*record), (PerOutput<std::int32_t>{1, 0, 3, 2, -1, -1, 7, 6}));
}

TEST_F(SceneRulesTest, PartnersMustSitInTheSameHalf) {
  // Left subwoofer on output 5, right subwoofer on output 6: mirrored, but across the halves.
  record->outputs = {6, 0, 0, 0, 0, 22, 23, 0};
  EXPECT_FALSE(HasLinkablePair(*record));
  EXPECT_EQ(ComputeLinkPartners(*record),
            (PerOutput<std::int32_t>{-1, -1, -1, -1, -1, -1, -1, -1}));

  // The first matching output wins.
  record->outputs = {1, 7, 7, 0, 0, 0, 0, 0};
  EXPECT_EQ(ComputeLinkPartners(*record), (PerOutput<std::int32_t>{1, 0, 0, -1, -1, -1, -1, -1}));
}

TEST_F(SceneRulesTest, CopyChannelConfigCopiesSoundButNotMuteDelayPhase) {
  OutputChannel& from = record->channels[0];
  from.Bands()[5] = {4.5f, 2.0f, 777, 0};
  from.crossover.hp = CrossoverFilter(150, 2, 4);
  from.crossover.lp = CrossoverFilter(5000, 1, 0);
  from.gain = -7.0f;
  from.bypass = 0;
  from.mute = 1;
  from.delay = 3.0f;
  from.phase = 1;
  const std::int32_t targetBpType = record->channels[1].crossover.bpType;

  ASSERT_TRUE(CopyChannelConfig(*record, 0, 1));

  const OutputChannel& to = record->channels[1];
  EXPECT_EQ(to.Bands()[5], (EqBand{4.5f, 2.0f, 777, 0}));
  EXPECT_EQ(to.crossover.hp, CrossoverFilter(150, 2, 4));
  EXPECT_EQ(to.crossover.lp, CrossoverFilter(5000, 1, 0));
  EXPECT_EQ(to.crossover.lp.bypass(), 1);
  EXPECT_EQ(to.crossover.bpType, targetBpType);
  EXPECT_EQ(to.gain, -7.0f);
  EXPECT_EQ(to.bypass, 0);
  EXPECT_EQ(to.mute, 0);
  EXPECT_EQ(to.delay, 0.0f);
  EXPECT_EQ(to.phase, 0);
}

TEST_F(SceneRulesTest, CopyFromASmallChannelWritesOnlyTheBandsItHas) {
  record->Bands(6)[10].eqGain = 5.0f;
  record->Bands(1)[11].eqGain = -2.0f;
  ASSERT_TRUE(CopyChannelConfig(*record, 6, 1));
  EXPECT_EQ(record->Bands(1)[10].eqGain, 5.0f);
  EXPECT_EQ(record->Bands(1)[11].eqGain, -2.0f);

  // Into a small channel: only its 11 bands change.
  record->Bands(0)[20].eqGain = 9.0f;
  ASSERT_TRUE(CopyChannelConfig(*record, 0, 7));
  EXPECT_EQ(record->channels[7].eqSize(), 11);
}

TEST_F(SceneRulesTest, CopyChannelConfigRefusesOutputsOutsideTheScene) {
  const float trim = record->channels[0].gain;
  record->channels[3].gain = -20.0f;
  EXPECT_FALSE(CopyChannelConfig(*record, 3, 8));
  EXPECT_FALSE(CopyChannelConfig(*record, -1, 0));
  EXPECT_EQ(record->channels[0].gain, trim);
}

}  // namespace
}  // namespace model
