// Records posted by the scene reply decoder (group 2).
#pragma once

#include <array>
#include <cstdint>

#include "device/protocol_limits.h"
#include "platform/post_message.h"

namespace device {

// Code 11, to the main window: the name of one stored scene.
struct SceneNameRecord : platform::NotificationRecord {
  std::int32_t reserved = 0;
  std::int32_t index = 0;                            // 0..9 for scenes 1..10
  std::array<std::uint8_t, kSceneNameBytes> name{};  // not terminated; all zero when unnamed
};

// Erased flash reads as bytes with the lowest bit set (typically 0xFF): such a name is no name.
inline bool IsErasedName(const std::array<std::uint8_t, kSceneNameBytes>& name) {
  for (std::uint8_t byte : name) {
    if ((byte & 1) == 0) {
      return false;
    }
  }
  return true;
}

}  // namespace device
