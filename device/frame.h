// The wire format of the unit's frames, as pure functions and a byte-wise parser.
//
// Command frame (one output report, PC -> unit):
//   0x00 (report id), 0xAA, 0x55, LEN, group, command, op, payload..., checksum, zero fill to 65.
//   LEN = payload length + 3; the checksum makes LEN..checksum sum to 0 modulo 256.
// Reply frame (unit -> PC, anywhere inside a 64-byte input report):
//   0xAA, 0x55, LEN, group, body (LEN - 1 bytes: reply code, op, payload...), checksum.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "device/command_record.h"
#include "device/hid_transport.h"

namespace device {

inline constexpr std::uint8_t kFrameSync1 = 0xAA;
inline constexpr std::uint8_t kFrameSync2 = 0x55;
// LEN counts group, command and op besides the payload.
inline constexpr std::size_t kFrameHeaderLength = 3;
// The longest reply body (LEN = 61): the parser keeps at most this many bytes after the group
// byte. Such a frame is longer than one report and always arrives in two.
inline constexpr std::size_t kMaxReplyBody = 60;

using CommandFrame = std::array<std::uint8_t, kOutputReportSize>;

// The two's complement of the 8-bit sum of `bytes`.
std::uint8_t FrameChecksum(std::span<const std::uint8_t> bytes);

// The 65-byte command frame; nullopt when the payload is longer than kMaxPayload.
std::optional<CommandFrame> BuildCommandFrame(std::uint8_t group, std::uint8_t command,
                                              std::uint8_t op,
                                              std::span<const std::uint8_t> payload);

// The command carried by an output report; nullopt unless it is a well-formed command frame.
std::optional<CommandRecord> ParseCommandFrame(std::span<const std::uint8_t> report);

// The bytes of one reply frame; nullopt when the body is longer than kMaxReplyBody.
std::optional<std::vector<std::uint8_t>> BuildReplyFrame(std::uint8_t group,
                                                         std::span<const std::uint8_t> body);

// Reassembles reply frames one byte at a time. The state survives between calls, so a frame may
// arrive in pieces; bytes outside frames are skipped, corrupt and over-long frames dropped.
class FrameParser {
 public:
  // True when `byte` completed a frame with a good checksum; Group() and Body() then describe it
  // until the next call.
  bool Feed(std::uint8_t byte);

  std::uint8_t Group() const { return mGroup; }
  std::span<const std::uint8_t> Body() const;

 private:
  std::uint8_t mState = 0;
  std::uint8_t mLength = 0;
  std::uint8_t mGroup = 0;
  std::array<std::uint8_t, kMaxReplyBody> mData{};
};

}  // namespace device
