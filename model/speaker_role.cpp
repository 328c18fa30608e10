#include "model/speaker_role.h"

namespace model {
namespace {

bool IsKnownRole(SpeakerRole role) {
  return kRoleIndex.Contains(role);
}

CrossoverFilter DefaultFilter(RoleFilter filter, std::int32_t type) {
  return CrossoverFilter(filter.hz, type, filter.slope);
}

}  // namespace

const RoleInfo& RoleInfoOf(SpeakerRole role) {
  return kRoleTable[static_cast<std::size_t>(IsKnownRole(role) ? role : kRoleEmpty)];
}

Crossover DefaultCrossoverForRole(SpeakerRole role) {
  const RoleInfo& info = RoleInfoOf(role);
  Crossover crossover;
  crossover.hp = DefaultFilter(info.hp, info.type);
  crossover.lp = DefaultFilter(info.lp, info.type);
  const bool hpActive = info.hp.slope != 0;
  const bool lpActive = info.lp.slope != 0;
  crossover.bpType = hpActive && lpActive ? kBpBoth
                     : hpActive           ? kBpHighPass
                     : lpActive           ? kBpLowPass
                                          : kBpNone;
  return crossover;
}

SpeakerRole MirrorRole(SpeakerRole role) {
  return RoleInfoOf(role).mirror;
}

SpeakerRole RoleFromItemName(std::string_view itemName) {
  for (SpeakerRole role = 0; role < kRoleCount; ++role) {
    if (kRoleTable[static_cast<std::size_t>(role)].itemName == itemName) {
      return role;
    }
  }
  return -1;
}

std::optional<std::string_view> ItemNameOfRole(SpeakerRole role) {
  if (!IsKnownRole(role)) {
    return std::nullopt;
  }
  return RoleInfoOf(role).itemName;
}

std::optional<std::string_view> MenuLabelOfItem(std::string_view itemName) {
  if (const SpeakerRole role = RoleFromItemName(itemName); role >= 0) {
    return RoleInfoOf(role).menuLabel;
  }
  for (const RoleMenuGroup& group : kRoleMenuGroups) {
    if (group.itemName == itemName) {
      return group.menuLabel;
    }
  }
  return std::nullopt;
}

std::optional<std::string_view> ButtonLabelOfItem(std::string_view itemName) {
  if (const SpeakerRole role = RoleFromItemName(itemName); role >= 0) {
    return RoleInfoOf(role).buttonLabel;
  }
  return std::nullopt;
}

}  // namespace model
