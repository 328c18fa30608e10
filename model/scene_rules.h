// Rules over a whole scene: which speaker roles may be chosen, which outputs pair up when linked,
// and copying one output's settings onto another.
#pragma once

#include "model/scene_record.h"
#include "model/speaker_role.h"

namespace model {

// True when any output of the scene plays `role`.
bool IsRoleInUse(const SceneRecord& record, SpeakerRole role);

// True when `role` may be given to output `output`: no other output may hold a role of the same
// group whose coverage overlaps it (so a full-range role excludes every other role of its side).
// Role 0 is always allowed.
bool IsRoleAllowed(const SceneRecord& record, SpeakerRole role, int output);

// True when two outputs of the same half (0..5 or 6..7) hold mirrored roles.
bool HasLinkablePair(const SceneRecord& record);

// The link partner of each output: the first other output of the same half holding the mirror of
// its role, or -1. Roles without a mirror never get a partner.
PerOutput<std::int32_t> ComputeLinkPartners(const SceneRecord& record);

// Copies bands, crossover, equaliser bypass and trim of output `from` onto output `to` (mute,
// delay and phase stay). Only the bands `to` has are written. Returns false, changing nothing,
// when either index is outside 0..7.
bool CopyChannelConfig(SceneRecord& record, int from, int to);

// True when every value the record uses as an index lies within the storage it indexes: each
// output's band count, the speaker roles, the link partners and the selected channel. Whatever
// fills a record from outside (a profile file, a reply) must keep this true.
bool IsWithinStorage(const SceneRecord& record);

}  // namespace model
