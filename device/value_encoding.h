// How parameter values are laid out as payload bytes, in both directions.
//
// The encoders, the reply decoders and the virtual unit all go through these functions, so the
// scaling and truncation rules exist once. Numbers are big-endian; conversions from floating point
// run in single precision and truncate toward zero (1.4f * 10 must give 14, not 13.999...).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace device {

using Bytes = std::vector<std::uint8_t>;

// The low byte of a number; a negative value becomes its 8-bit two's complement.
constexpr std::uint8_t LowByte(int value) {
  return static_cast<std::uint8_t>(value & 0xFF);
}
constexpr int SignedByte(std::uint8_t byte) {
  return static_cast<std::int8_t>(byte);
}
constexpr int BigEndian16(std::uint8_t high, std::uint8_t low) {
  return high << 8 | low;
}

inline void PutU16(Bytes& out, int value) {
  out.push_back(LowByte(value >> 8));
  out.push_back(LowByte(value));
}

// 32-bit numbers (image offsets, sizes and checksums of the firmware upgrade).
inline constexpr std::size_t kU32Bytes = 4;

inline void PutU32(Bytes& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) {
    out.push_back(static_cast<std::uint8_t>(value >> shift));
  }
}

// The first four bytes of `bytes`, which must hold them.
inline std::uint32_t BigEndian32(std::span<const std::uint8_t> bytes) {
  return static_cast<std::uint32_t>(bytes[0]) << 24 | static_cast<std::uint32_t>(bytes[1]) << 16 |
         static_cast<std::uint32_t>(bytes[2]) << 8 | bytes[3];
}

// Truncation toward zero in single precision.
inline int TruncSingle(float value) {
  return static_cast<int>(value);
}

// The EQ gain travels offset by +18 dB, so -18 dB is sent as 0.
inline constexpr float kEqGainOffsetDb = 18.0f;

// Writes the 6 bytes of one band as the unit takes them: frequency (16-bit), Q as integer and
// tenths digit, offset gain as integer and tenths digit.
inline void PutEqBand(Bytes& out, int freqHz, float q, float gainDb) {
  const float offsetGain = gainDb + kEqGainOffsetDb;
  const float qTenths = q * 10.0f;
  const float gainTenths = offsetGain * 10.0f;
  PutU16(out, freqHz);
  out.push_back(LowByte(TruncSingle(q)));
  out.push_back(LowByte(TruncSingle(qTenths)) % 10);
  out.push_back(LowByte(TruncSingle(offsetGain)));
  out.push_back(LowByte(TruncSingle(gainTenths) % 10));
}

// One band as the unit reports it: Q comes back in hundredths, the gain in tenths.
struct EqBandValue {
  int freqHz = 0;
  float q = 0.0f;
  float gainDb = 0.0f;
};
inline constexpr std::size_t kEqBandBytes = 6;

inline EqBandValue ReadEqBand(std::span<const std::uint8_t, kEqBandBytes> bytes) {
  return {BigEndian16(bytes[0], bytes[1]), bytes[2] + bytes[3] / 100.0f,
          bytes[4] + bytes[5] / 10.0f - kEqGainOffsetDb};
}

// Delay: whole milliseconds, then the thousandths as a 16-bit number (0..999).
inline constexpr std::size_t kDelayBytes = 3;

inline void PutDelay(Bytes& out, float delayMs) {
  const float microseconds = delayMs * 1000.0f;
  out.push_back(LowByte(TruncSingle(delayMs)));
  PutU16(out, (TruncSingle(microseconds) & 0xFFFF) % 1000);
}

inline float ReadDelay(std::span<const std::uint8_t, kDelayBytes> bytes) {
  return bytes[0] + BigEndian16(bytes[1], bytes[2]) / 1000.0f;
}

}  // namespace device
