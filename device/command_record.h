// The unit of work every encoder produces and the command queue carries: one command frame's
// group, command and op bytes with its payload, plus the byte values those fields take on the wire.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace device {

// The largest payload that fits one 65-byte output report (checksum at offset 64).
inline constexpr std::size_t kMaxPayload = 57;

// Op bytes.
inline constexpr std::uint8_t kOpSet = 0xBB;    // PC -> unit: write a parameter or start an action
inline constexpr std::uint8_t kOpGet = 0x66;    // PC -> unit: ask for a value
inline constexpr std::uint8_t kOpReply = 0xDD;  // unit -> PC: reply carrying data
inline constexpr std::uint8_t kOpAck = 0xEE;    // unit -> PC: acknowledgement, status first

// Groups.
inline constexpr std::uint8_t kGroupDsp = 1;    // DSP parameters and auto calibration
inline constexpr std::uint8_t kGroupScene = 2;  // scenes and DSP-flash upgrade
inline constexpr std::uint8_t kGroupMcu = 3;    // connection, versions, passwords, MCU upgrade
inline constexpr std::uint8_t kGroupKtv = 7;    // KTV effects

// First payload byte of an acknowledgement.
inline constexpr std::uint8_t kAckReady = 0x0A;
inline constexpr std::uint8_t kAckNotReady = 0x60;

struct CommandRecord {
  std::uint8_t group = 0;
  std::uint8_t command = 0;
  std::uint8_t op = 0;
  std::vector<std::uint8_t> payload;  // at most kMaxPayload bytes reach the wire
};

}  // namespace device
