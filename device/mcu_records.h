// Records the MCU decoder posts to the main window with platform::msg::kMcuNotify; the message's
// wParam is the reply code and the receiving window owns the record. Every record starts
// zero-filled.
#pragma once

#include <array>
#include <cstdint>

#include "device/mcu_protocol.h"
#include "platform/post_message.h"

namespace device {

// Code 8: the unit accepted the handshake.
struct HandshakeRecord : platform::NotificationRecord {
  std::uint32_t reserved = 0;
  std::uint32_t model = 0;
  std::uint32_t masterVersion = 0;
  std::uint32_t slaveVersion = 0;
};

// Code 11: the DSP flash version, one byte per field.
struct FlashVersionRecord : platform::NotificationRecord {
  std::array<std::uint32_t, 4> reserved{};
  std::array<std::uint32_t, kFlashVersionBytes> version{};
};

// Code 13: the stored password and its remark. The lengths count the bytes kept.
struct PasswordRecord : platform::NotificationRecord {
  std::uint32_t passwordLength = 0;
  std::array<std::uint8_t, kMaxPasswordBytes> password{};
  std::uint32_t remarkLength = 0;
  std::array<std::uint8_t, kMaxRemarkBytes> remark{};
};

// Code 65: a short text from the MCU.
struct McuTextRecord : platform::NotificationRecord {
  std::uint8_t length = 0;
  std::array<std::uint8_t, kMaxMcuTextBytes> text{};
};

}  // namespace device
