// Small shared steps of the virtual unit's parameter handlers.
#pragma once

#include <cstddef>
#include <cstdint>

#include "device/command_record.h"
#include "device/frame.h"
#include "device/value_encoding.h"
#include "sim/unit_state.h"

namespace sim {

// The scene a command addresses: 0 the working scene, 1..10 a stored one; null for any other.
inline SceneState* SceneAt(UnitState& state, int scene) {
  if (scene == 0) {
    return &state.working;
  }
  if (scene >= 1 && scene <= device::kStoredScenes) {
    return &state.stored[static_cast<std::size_t>(scene - 1)];
  }
  return nullptr;
}

inline device::Bytes AckBody(std::uint8_t code, std::uint8_t status) {
  return {code, device::kOpAck, status};
}

// A reply about a range: `body` holds the header (code, op, ..., first, last) and gets one entry
// per index from first on, as long as the index is below `limit`, at most `last`, and the entry
// still fits one frame. The header's last byte (at `lastAt`) is set to the last index answered.
template <typename Put>
device::Bytes RangeReply(device::Bytes body, std::size_t lastAt, int first, int last, int limit,
                         std::size_t stride, Put put) {
  int answered = -1;
  for (int index = first; index <= last && index < limit; ++index) {
    if (body.size() + stride > device::kMaxReplyBody) {
      break;
    }
    put(body, index);
    answered = index;
  }
  if (answered >= first) {
    body[lastAt] = device::LowByte(answered);
  }
  return body;
}

// Writes a band as the unit reports it.
inline void PutBand(device::Bytes& out, const BandState& band) {
  device::PutU16(out, band.freq);
  out.insert(out.end(), {band.q, band.qHundredths, band.gain, band.gainTenths});
}

}  // namespace sim
