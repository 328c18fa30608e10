// The two images the program carries for the forced update: the MCU program, then the DSP flash.
//
// They are linked in at build time: the unit maker's files when the build is configured with
// -DVEXARO_FIRMWARE_DIR=..., otherwise this project's demo images (device/demo_firmware.h), which
// only the virtual unit may receive. The images themselves are defined by the generated source of
// the library vexaro_builtin_firmware; the rest of this header by the device library.
#pragma once

#include <cstdint>
#include <span>

#include "device/firmware_version.h"

namespace device {

class DspDevice;

struct BuiltInFirmware {
  std::span<const std::uint8_t> mcu;
  std::span<const std::uint8_t> flash;
  // True when these are the demo images.
  bool demo = true;
};

// Shown instead of the forced update when the images may not go to the connected unit.
inline constexpr const char* kNoRealFirmwareMessage =
    "this build carries no firmware for a real unit; use Firmware upgrade with the files from the "
    "unit's maker";

// The images of this build (vexaro_builtin_firmware).
const BuiltInFirmware& BuiltInFirmwareImages();

// Whether `images` may be sent to `device`'s unit: the maker's images always, demo images only
// to the virtual unit. Where this says no, the forced update shows kNoRealFirmwareMessage instead
// (and UpgradeStart would refuse the demo images anyway).
bool MayForceUpdate(const BuiltInFirmware& images, const DspDevice& device);

}  // namespace device
