#include "model/speaker_role.h"

#include <set>
#include <string>

#include <gtest/gtest.h>

namespace model {
namespace {

// The mirror rule in its own words: left and right sides swap; centre, role 24 and role 0 have
// none.
SpeakerRole ExpectedMirror(SpeakerRole role) {
  if (role >= 1 && role <= 6)
    return role + 6;
  if (role >= 7 && role <= 12)
    return role - 6;
  if (role >= 13 && role <= 15)
    return role + 3;
  if (role >= 16 && role <= 18)
    return role - 3;
  if (role == 22)
    return 23;
  if (role == 23)
    return 22;
  return 0;
}

TEST(RoleTable, MirrorColumnMatchesTheSideSwapRule) {
  for (SpeakerRole role = -2; role <= 27; ++role) {
    EXPECT_EQ(MirrorRole(role), ExpectedMirror(role)) << "role " << role;
  }
}

TEST(RoleTable, MirroredRolesShareFiltersAndCoverage) {
  for (SpeakerRole role = 1; role < kRoleCount; ++role) {
    const SpeakerRole mirror = MirrorRole(role);
    if (mirror == kRoleEmpty) {
      continue;
    }
    EXPECT_EQ(MirrorRole(mirror), role);
    EXPECT_EQ(DefaultCrossoverForRole(role), DefaultCrossoverForRole(mirror)) << role;
    // The two subwoofers differ in label and coverage; every other pair is the same speaker.
    if (role < kRoleSubwooferLeft) {
      EXPECT_EQ(RoleInfoOf(role).menuLabel, RoleInfoOf(mirror).menuLabel) << role;
      EXPECT_EQ(RoleInfoOf(role).coverageMask, RoleInfoOf(mirror).coverageMask) << role;
    }
  }
}

TEST(RoleTable, GroupsFollowTheRoleRanges) {
  for (SpeakerRole role = 0; role < kRoleCount; ++role) {
    const RoleGroup expected = role <= 6    ? RoleGroup::FrontLeft
                               : role <= 12 ? RoleGroup::FrontRight
                               : role <= 15 ? RoleGroup::RearLeft
                               : role <= 18 ? RoleGroup::RearRight
                               : role <= 21 ? RoleGroup::Centre
                                            : RoleGroup::Subwoofer;
    EXPECT_EQ(RoleInfoOf(role).group, expected) << "role " << role;
  }
}

TEST(RoleLookups, ItemNamesAndRolesMapBothWays) {
  std::set<std::string_view> names;
  for (SpeakerRole role = 0; role < kRoleCount; ++role) {
    const auto name = ItemNameOfRole(role);
    ASSERT_TRUE(name.has_value());
    EXPECT_TRUE(names.insert(*name).second) << "duplicate item " << *name;
    EXPECT_EQ(RoleFromItemName(*name), role);
  }
  EXPECT_FALSE(ItemNameOfRole(25).has_value());
  EXPECT_FALSE(ItemNameOfRole(-1).has_value());
  EXPECT_EQ(RoleFromItemName("output_menu_nowhere"), -1);
  EXPECT_EQ(RoleFromItemName(""), -1);
}

TEST(RoleLookups, LabelsByItemName) {
  EXPECT_EQ(MenuLabelOfItem("output_menu_center_low_freq"), "${midrange}");
  EXPECT_EQ(ButtonLabelOfItem("output_menu_center_low_freq"), "${center_woofer}");
  EXPECT_EQ(ButtonLabelOfItem("output_menu_subwoof_right"), "${right_subwoofer_freq}");
  EXPECT_EQ(MenuLabelOfItem("output_item_empty"), "${empty}");
  // Group entries have a menu label but are neither roles nor buttons.
  EXPECT_EQ(MenuLabelOfItem("output_menu_rear_right"), "${right}");
  EXPECT_EQ(MenuLabelOfItem("output_menu_subwoof"), "${subwoofer}");
  EXPECT_EQ(RoleFromItemName("output_menu_front"), -1);
  EXPECT_FALSE(ButtonLabelOfItem("output_menu_front").has_value());
  EXPECT_FALSE(MenuLabelOfItem("output_menu_unknown").has_value());
}

}  // namespace
}  // namespace model
