#include "device/demo_firmware.h"

#include <algorithm>
#include <string_view>

namespace device {
namespace {

constexpr std::size_t kVersionMasterByte = 2;
constexpr std::size_t kVersionSlaveByte = 3;
constexpr std::string_view kBanner = "Vexaro demo firmware for the virtual TRZ62C; not for a unit";

}  // namespace

std::vector<std::uint8_t> MakeDemoImageFile(FirmwareKind kind, std::size_t imageBytes,
                                            FirmwareVersion version, std::uint8_t model) {
  const std::array<std::uint8_t, kImageHeaderBytes> header{kDemoHeaderMark[0], kDemoHeaderMark[1],
                                                           version.master, version.slave};
  // The banner, then a xorshift pattern: every byte matters, so a chunk sent to the wrong offset
  // shows in what the virtual unit assembled.
  std::vector<std::uint8_t> image(imageBytes);
  std::uint32_t state = 0x9E3779B9u ^ static_cast<std::uint32_t>(kind);
  for (std::uint8_t& byte : image) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    byte = static_cast<std::uint8_t>(state);
  }
  std::copy_n(kBanner.begin(), std::min(kBanner.size(), image.size()), image.begin());
  const std::uint8_t type = kind == FirmwareKind::Flash ? kImageTypeDsp : kImageTypeMcu;
  return BuildImageFile(type, model, header, image, kDemoTrailer);
}

bool IsDemoImage(const FirmwareImage& image) {
  return DemoHeaderVersion(image.header).has_value() && image.trailer == kDemoTrailer;
}

std::optional<FirmwareVersion> DemoHeaderVersion(std::span<const std::uint8_t> header) {
  if (header.size() != kImageHeaderBytes ||
      !std::equal(kDemoHeaderMark.begin(), kDemoHeaderMark.end(), header.begin())) {
    return std::nullopt;
  }
  return FirmwareVersion{header[kVersionMasterByte], header[kVersionSlaveByte]};
}

}  // namespace device
