// Group 3 (MCU) command and reply codes and the limits of their fields, shared by the encoders,
// the decoder and the virtual unit.
#pragma once

#include <cstddef>
#include <cstdint>

namespace device {

// The model code of the TRZ62C, which its handshake reports and its firmware images carry.
inline constexpr std::uint8_t kUnitModel = 23;

inline constexpr std::uint8_t kMcuHandshake = 0x08;
inline constexpr std::uint8_t kMcuFlashVersion = 0x0B;
inline constexpr std::uint8_t kMcuBootloaderVersion = 0x0C;
inline constexpr std::uint8_t kMcuPassword = 0x0D;
inline constexpr std::uint8_t kMcuPcConnect = 0x1F;
inline constexpr std::uint8_t kMcuText = 0x41;
inline constexpr std::uint8_t kMcuInit = 0x60;

// PC_Connect values.
inline constexpr std::uint8_t kPcConnected = 1;
inline constexpr std::uint8_t kPcLeaving = 0;

// Handshake status byte of a unit in an abnormal state.
inline constexpr std::uint8_t kHandshakeRefusal = 0xF0;

inline constexpr std::size_t kMaxPasswordBytes = 12;
inline constexpr std::size_t kMaxRemarkBytes = 20;
inline constexpr std::size_t kMaxMcuTextBytes = 16;
inline constexpr std::size_t kFlashVersionBytes = 4;

// How long the version requests wait for their reply.
inline constexpr int kVersionTimeoutMs = 500;

}  // namespace device
