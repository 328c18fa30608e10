// Reading and checking an image file as UpgradeStart does, before anything is sent to the unit.
// The command line uses it to refuse a file before it touches the unit.
#pragma once

#include <cstdint>
#include <filesystem>

#include "device/firmware_image.h"

namespace device {

struct FirmwareFile {
  FirmwareKind kind = FirmwareKind::Mcu;
  FirmwareCheck check;
};

// Reads `path` (a regular file, not larger than its kind allows: a larger one is refused
// unread) and runs the parser of its kind for `model`. Returns kUpgradeStarted (0) when the file
// passed, kUpgradeCannotOpen (1) or kUpgradeFileRefused (2) with out.check.error saying why.
int ReadFirmwareFile(const std::filesystem::path& path, std::uint8_t model, FirmwareFile& out);

}  // namespace device
