// Firmware versions as the handshake reports them: master and slave.
#pragma once

#include <cstdint>

namespace device {

struct FirmwareVersion {
  std::uint8_t master = 0;
  std::uint8_t slave = 0;
};

// The version the firmware images built into the program bring. A unit reporting an older one
// must be upgraded before use and is offered the forced update.
inline constexpr FirmwareVersion kBuiltInFirmwareVersion{15, 6};

}  // namespace device
