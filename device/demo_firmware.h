// Demo firmware: images this project makes itself, valid for the virtual unit only.
//
// A build without the unit maker's images carries demo images instead, so the forced update can
// be tried against the virtual unit. Their header is "VX" and the version they bring (master,
// slave); their trailer is "DEMO". The device layer refuses to send such an image to anything but
// the virtual unit, and the virtual unit takes the new version from the header.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "device/firmware_image.h"
#include "device/firmware_version.h"

namespace device {

inline constexpr std::array<std::uint8_t, 2> kDemoHeaderMark{'V', 'X'};
inline constexpr std::array<std::uint8_t, kImageTrailerBytes> kDemoTrailer{'D', 'E', 'M', 'O'};

inline constexpr const char* kDemoImageRefusal =
    "demo firmware is made for the virtual unit only and is never sent to a real unit";

// A single image file of `kind` (MCU program, bootloader or DSP flash) holding `imageBytes`
// bytes of a fixed pattern, for `model`, bringing `version`.
std::vector<std::uint8_t> MakeDemoImageFile(FirmwareKind kind, std::size_t imageBytes,
                                            FirmwareVersion version, std::uint8_t model);
// Whether an image that passed its checks is a demo image.
bool IsDemoImage(const FirmwareImage& image);
// The version a start command's header announces, when it is a demo image's header.
std::optional<FirmwareVersion> DemoHeaderVersion(std::span<const std::uint8_t> header);

}  // namespace device
