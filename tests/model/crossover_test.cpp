#include "model/crossover.h"

#include <gtest/gtest.h>

#include "model/speaker_role.h"

namespace model {
namespace {

TEST(CrossoverFilterSetters, CutOffOutsideTheAudibleRangeStoresTwentyHertz) {
  CrossoverFilter filter(1000, 2, 2);
  for (const int outside : {19, 20001, 0, -5}) {
    filter.SetFs(1000);
    filter.SetFs(outside);
    EXPECT_EQ(filter.fs(), 20) << outside;
  }
  filter.SetFs(20);
  EXPECT_EQ(filter.fs(), 20);
  filter.SetFs(20000);
  EXPECT_EQ(filter.fs(), 20000);
}

TEST(CrossoverFilterSetters, UnknownTypeStoresButterworth) {
  CrossoverFilter filter(1000, 3, 2);
  filter.SetType(0);
  EXPECT_EQ(filter.type(), 1);
  filter.SetType(3);
  EXPECT_EQ(filter.type(), 3);
  filter.SetType(4);
  EXPECT_EQ(filter.type(), 1);
}

TEST(CrossoverFilterSetters, SlopeDrivesTheBypassFlag) {
  CrossoverFilter filter;
  filter.SetSlope(3);
  EXPECT_EQ(filter.slope(), 3);
  EXPECT_EQ(filter.bypass(), 0);
  filter.SetSlope(-2);
  EXPECT_EQ(filter.slope(), 0);
  EXPECT_EQ(filter.bypass(), 1);
  filter.SetSlope(1);
  filter.SetSlope(0);
  EXPECT_EQ(filter.bypass(), 1);
}

TEST(CrossoverFilterSetters, ConstructorGoesThroughTheSetters) {
  const CrossoverFilter filter(15, 9, -1);
  EXPECT_EQ(filter.fs(), 20);
  EXPECT_EQ(filter.type(), 1);
  EXPECT_EQ(filter.slope(), 0);
  EXPECT_EQ(filter.bypass(), 1);
}

TEST(DefaultCrossoverForRole, UnknownRolesGiveTheEmptyRolesFiltersBothOff) {
  const Crossover empty = DefaultCrossoverForRole(0);
  EXPECT_EQ(empty.bpType, kBpNone);
  EXPECT_EQ(empty.hp.bypass(), 1);
  EXPECT_EQ(empty.lp.bypass(), 1);
  EXPECT_EQ(empty.hp.fs(), 20);
  EXPECT_EQ(empty.lp.fs(), 20000);
  EXPECT_EQ(DefaultCrossoverForRole(25), empty);
  EXPECT_EQ(DefaultCrossoverForRole(-1), empty);
}

TEST(DefaultCrossoverForRole, BandPassTypeFollowsWhichSlopesAreSet) {
  const Crossover tweeter = DefaultCrossoverForRole(1);  // high-pass only
  EXPECT_EQ(tweeter.bpType, kBpHighPass);
  EXPECT_EQ(tweeter.hp, CrossoverFilter(3400, 3, 2));
  EXPECT_EQ(tweeter.lp.bypass(), 1);

  const Crossover midrange = DefaultCrossoverForRole(2);  // both
  EXPECT_EQ(midrange.bpType, kBpBoth);
  EXPECT_EQ(midrange.hp, CrossoverFilter(600, 3, 2));
  EXPECT_EQ(midrange.lp, CrossoverFilter(1900, 3, 2));

  const Crossover subwoofer = DefaultCrossoverForRole(24);  // low-pass only, Butterworth
  EXPECT_EQ(subwoofer.bpType, kBpLowPass);
  EXPECT_EQ(subwoofer.lp, CrossoverFilter(55, 1, 4));
  EXPECT_EQ(subwoofer.hp.type(), 1);
  EXPECT_EQ(subwoofer.hp.bypass(), 1);
}

}  // namespace
}  // namespace model
