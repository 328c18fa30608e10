// Small shared steps of the virtual unit's parameter handlers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

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

// A stored scene's settings are answered only after ReadScene(n, 255) prepared that scene; the
// working scene always is.
inline bool IsReadable(const UnitState& state, int scene) {
  return scene == 0 || scene == state.preparedScene;
}

// A band as a set command carries it (see device::PutEqBand); the unit keeps Q in hundredths, the
// command carries only its tenths.
inline BandState BandFromCommand(std::span<const std::uint8_t, device::kEqBandBytes> bytes) {
  return {static_cast<std::uint16_t>(device::BigEndian16(bytes[0], bytes[1])), bytes[2],
          device::LowByte(bytes[3] * 10), bytes[4], bytes[5]};
}

// A delay as a set command carries it (see device::PutDelay).
inline void SetDelayFromCommand(OutputState& output,
                                std::span<const std::uint8_t, device::kDelayBytes> bytes) {
  output.delayMs = bytes[0];
  output.delayThousandths = static_cast<std::uint16_t>(device::BigEndian16(bytes[1], bytes[2]));
}

// A trim arrives as its attenuation and is kept and reported as the trim.
inline std::int8_t TrimFromAttenuation(std::uint8_t attenuation) {
  return static_cast<std::int8_t>(-device::SignedByte(attenuation));
}

// Writes a band as the unit reports it.
inline void PutBand(device::Bytes& out, const BandState& band) {
  device::PutU16(out, band.freq);
  out.insert(out.end(), {band.q, band.qHundredths, band.gain, band.gainTenths});
}

}  // namespace sim
