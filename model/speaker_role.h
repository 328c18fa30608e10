// Speaker roles: what each output drives, and the table that derives crossover defaults,
// channel linking and role conflicts from it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "model/crossover.h"
#include "model/limits.h"

namespace model {

// Index into kRoleTable (0..24); 0 means no speaker.
using SpeakerRole = std::int32_t;

inline constexpr SpeakerRole kRoleEmpty = 0;
inline constexpr SpeakerRole kRoleSubwooferLeft = 22;
inline constexpr SpeakerRole kRoleSubwooferRight = 23;

// Position of a role in the car. Two roles of one group conflict when their coverage overlaps.
enum class RoleGroup { FrontLeft, FrontRight, RearLeft, RearRight, Centre, Subwoofer };

// Default filter of one side of the crossover.
struct RoleFilter {
  std::int32_t hz = 0;
  std::int32_t slope = 0;  // 0 = filter off
};

struct RoleInfo {
  std::string_view itemName;     // name of the role's item in the role menu
  std::string_view menuLabel;    // language key shown in the role menu
  std::string_view buttonLabel;  // language key shown on the output's role button
  RoleFilter hp;
  RoleFilter lp;
  std::int32_t type = 0;            // default filter type of both filters
  SpeakerRole mirror = kRoleEmpty;  // the same speaker on the other side, 0 = none
  RoleGroup group = RoleGroup::FrontLeft;
  // Frequency bands the role covers within its group: 4 high, 2 mid, 1 low.
  std::int32_t coverageMask = 0;
};

// clang-format off
inline constexpr std::array<RoleInfo, kRoleCount> kRoleTable = {{
  {"output_item_empty",                     "${empty}",            "${empty}",                {20, 0},   {20000, 0}, 3, 0,  RoleGroup::FrontLeft,  0},
  {"output_menu_front_left_high_freq",      "${tweeter}",          "${front_left_tweeter}",   {3400, 2}, {20000, 0}, 3, 7,  RoleGroup::FrontLeft,  4},
  {"output_menu_front_left_mid_freq",       "${midrange}",         "${front_left_midrange}",  {600, 2},  {1900, 2},  3, 8,  RoleGroup::FrontLeft,  2},
  {"output_menu_front_left_low_freq",       "${woofer}",           "${front_left_woofer}",    {70, 3},   {320, 2},   3, 9,  RoleGroup::FrontLeft,  1},
  {"output_menu_front_left_mid_high_freq",  "${midrange_tweeter}", "${front_left_mid_twee}",  {600, 2},  {20000, 0}, 3, 10, RoleGroup::FrontLeft,  6},
  {"output_menu_front_left_mid_low_freq",   "${midrange_woofer}",  "${front_left_mid_woof}",  {70, 2},   {1900, 2},  3, 11, RoleGroup::FrontLeft,  3},
  {"output_menu_front_left_all_freq",       "${full}",             "${front_left_full}",      {20, 0},   {20000, 0}, 3, 12, RoleGroup::FrontLeft,  7},
  {"output_menu_front_right_high_freq",     "${tweeter}",          "${front_right_tweeter}",  {3400, 2}, {20000, 0}, 3, 1,  RoleGroup::FrontRight, 4},
  {"output_menu_front_right_mid_freq",      "${midrange}",         "${front_right_midrange}", {600, 2},  {1900, 2},  3, 2,  RoleGroup::FrontRight, 2},
  {"output_menu_front_right_low_freq",      "${woofer}",           "${front_right_woofer}",   {70, 3},   {320, 2},   3, 3,  RoleGroup::FrontRight, 1},
  {"output_menu_front_right_mid_high_freq", "${midrange_tweeter}", "${front_right_mid_twee}", {600, 2},  {20000, 0}, 3, 4,  RoleGroup::FrontRight, 6},
  {"output_menu_front_right_mid_low_freq",  "${midrange_woofer}",  "${front_right_mid_woof}", {70, 2},   {1900, 2},  3, 5,  RoleGroup::FrontRight, 3},
  {"output_menu_front_right_all_freq",      "${full}",             "${front_right_full}",     {20, 0},   {20000, 0}, 3, 6,  RoleGroup::FrontRight, 7},
  {"output_menu_rear_left_high_freq",       "${tweeter}",          "${rear_left_tweeter}",    {3400, 2}, {20000, 0}, 3, 16, RoleGroup::RearLeft,   4},
  {"output_menu_rear_left_low_freq",        "${woofer}",           "${rear_left_woofer}",     {70, 3},   {320, 2},   3, 17, RoleGroup::RearLeft,   1},
  {"output_menu_rear_left_all_freq",        "${full}",             "${rear_left_full}",       {20, 0},   {20000, 0}, 3, 18, RoleGroup::RearLeft,   7},
  {"output_menu_rear_right_high_freq",      "${tweeter}",          "${rear_right_tweeter}",   {3400, 2}, {20000, 0}, 3, 13, RoleGroup::RearRight,  4},
  {"output_menu_rear_right_low_freq",       "${woofer}",           "${rear_right_woofer}",    {70, 3},   {320, 2},   3, 14, RoleGroup::RearRight,  1},
  {"output_menu_rear_right_all_freq",       "${full}",             "${rear_right_full}",      {20, 0},   {20000, 0}, 3, 15, RoleGroup::RearRight,  7},
  {"output_menu_center_high_freq",          "${tweeter}",          "${center_tweeter}",       {3400, 2}, {20000, 0}, 3, 0,  RoleGroup::Centre,     4},
  {"output_menu_center_low_freq",           "${midrange}",         "${center_woofer}",        {350, 3},  {3500, 2},  3, 0,  RoleGroup::Centre,     1},
  {"output_menu_center_all_freq",           "${full}",             "${center_full}",          {20, 0},   {20000, 0}, 3, 0,  RoleGroup::Centre,     7},
  {"output_menu_subwoof_left",              "${left_subwoofer}",   "${left_subwoofer_freq}",  {20, 0},   {55, 4},    1, 23, RoleGroup::Subwoofer,  4},
  {"output_menu_subwoof_right",             "${right_subwoofer}",  "${right_subwoofer_freq}", {20, 0},   {55, 4},    1, 22, RoleGroup::Subwoofer,  2},
  {"output_menu_subwoof_low",               "${woofer}",           "${subwoofer_freq}",       {20, 0},   {55, 4},    1, 0,  RoleGroup::Subwoofer,  7},
}};
// clang-format on

// Entries of the role menu that open a sub-menu instead of choosing a role.
struct RoleMenuGroup {
  std::string_view itemName;
  std::string_view menuLabel;
};

inline constexpr std::array<RoleMenuGroup, 8> kRoleMenuGroups = {{
    {"output_menu_front", "${front}"},
    {"output_menu_front_left", "${left}"},
    {"output_menu_front_right", "${right}"},
    {"output_menu_rear", "${rear}"},
    {"output_menu_rear_left", "${left}"},
    {"output_menu_rear_right", "${right}"},
    {"output_menu_center", "${center}"},
    {"output_menu_subwoof", "${subwoofer}"},
}};

// The table row of `role`; a role outside 0..24 reads as role 0.
const RoleInfo& RoleInfoOf(SpeakerRole role);

// The crossover a role starts with; a role outside 0..24 gives that of role 0 (both filters off).
Crossover DefaultCrossoverForRole(SpeakerRole role);

// The role on the other side of the car (left <-> right), or 0 when the role has no mirror.
SpeakerRole MirrorRole(SpeakerRole role);

// Look-ups by menu item name.
// The role of a menu item, or -1 for an unknown name (group entries are not roles).
SpeakerRole RoleFromItemName(std::string_view itemName);
// The menu item of a role, or nothing for a role outside 0..24.
std::optional<std::string_view> ItemNameOfRole(SpeakerRole role);
// The menu label of a role item or group entry, or nothing for an unknown name.
std::optional<std::string_view> MenuLabelOfItem(std::string_view itemName);
// The role-button label of a role item, or nothing for an unknown name.
std::optional<std::string_view> ButtonLabelOfItem(std::string_view itemName);

}  // namespace model
