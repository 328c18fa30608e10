#include "model/scene_rules.h"

#include <algorithm>

#include "platform/debug_log.h"

namespace model {
namespace {

bool IsOutput(int index) {
  return index >= 0 && index < kOutputCount;
}

SpeakerRole RoleAt(const SceneRecord& record, int output) {
  return record.outputs[static_cast<std::size_t>(output)];
}

}  // namespace

bool IsRoleInUse(const SceneRecord& record, SpeakerRole role) {
  return std::ranges::find(record.outputs, role) != record.outputs.end();
}

bool IsRoleAllowed(const SceneRecord& record, SpeakerRole role, int output) {
  const RoleInfo& wanted = RoleInfoOf(role);
  for (int other = 0; other < kOutputCount; ++other) {
    if (other == output) {
      continue;
    }
    const RoleInfo& held = RoleInfoOf(RoleAt(record, other));
    if (held.group == wanted.group && (held.coverageMask & wanted.coverageMask) != 0) {
      return false;
    }
  }
  return true;
}

bool HasLinkablePair(const SceneRecord& record) {
  for (int i = 0; i < kOutputCount; ++i) {
    const SpeakerRole mirror = MirrorRole(RoleAt(record, i));
    if (mirror == kRoleEmpty) {
      continue;
    }
    for (int j = 0; j < kOutputCount; ++j) {
      if (j != i && InSameLinkHalf(i, j) && RoleAt(record, j) == mirror) {
        return true;
      }
    }
  }
  return false;
}

PerOutput<std::int32_t> ComputeLinkPartners(const SceneRecord& record) {
  PerOutput<std::int32_t> partners;
  partners.fill(kNoLinkPartner);
  for (int u = 0; u < kOutputCount; ++u) {
    const SpeakerRole mirror = MirrorRole(RoleAt(record, u));
    if (RoleAt(record, u) == kRoleEmpty || mirror == kRoleEmpty) {
      continue;
    }
    for (int v = 0; v < kOutputCount; ++v) {
      if (v != u && InSameLinkHalf(u, v) && RoleAt(record, v) == mirror) {
        partners[static_cast<std::size_t>(u)] = v;
        break;
      }
    }
  }
  return partners;
}

bool CopyChannelConfig(SceneRecord& record, int from, int to) {
  if (!IsOutput(from) || !IsOutput(to)) {
    return false;
  }
  DebugLogA("copy out config from %d to %d\n", from, to);
  const OutputChannel& source = record.channels[static_cast<std::size_t>(from)];
  OutputChannel& target = record.channels[static_cast<std::size_t>(to)];

  // Only the bands both channels have: an 11-band output has nothing to give for bands 11..30.
  const auto sourceBands = source.Bands();
  const auto targetBands = target.Bands();
  const std::size_t count = std::min(sourceBands.size(), targetBands.size());
  std::copy_n(sourceBands.begin(), count, targetBands.begin());

  const Crossover& src = source.crossover;
  Crossover& dst = target.crossover;
  dst.hp.SetType(src.hp.type());
  dst.lp.SetType(src.lp.type());
  dst.hp.SetFs(src.hp.fs());
  dst.lp.SetFs(src.lp.fs());
  dst.hp.SetSlope(src.hp.slope());
  dst.lp.SetSlope(src.lp.slope());

  target.bypass = source.bypass;
  target.gain = source.gain;
  return true;
}

bool IsWithinStorage(const SceneRecord& record) {
  for (int output = 0; output < kOutputCount; ++output) {
    const auto o = static_cast<std::size_t>(output);
    if (!BandCountRange(output).Contains(record.channels[o].eqSize()) ||
        !kRoleIndex.Contains(record.outputs[o]) || !kLinkPartner.Contains(record.linkOutputs[o])) {
      return false;
    }
  }
  return kOutputIndex.Contains(record.currChannel);
}

}  // namespace model
