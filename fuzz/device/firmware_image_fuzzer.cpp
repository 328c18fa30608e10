// Untrusted firmware files through the four image parsers and the name rule.
//
// Every input goes through each parser as a whole file. An accepted file must describe itself
// consistently: what the parser hands out lies inside the file, and the checksum it vouches for
// is the sum of the bytes it covered. A broken promise aborts, so libFuzzer reports it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>

#include "device/firmware_image.h"
#include "device/mcu_protocol.h"

namespace {

void Require(bool condition) {
  if (!condition) {
    std::abort();
  }
}

void CheckSingle(const device::FirmwareCheck& check, const device::FirmwareImage& image,
                 std::size_t fileSize) {
  if (!check.Ok()) {
    return;
  }
  Require(!image.bytes.empty());
  Require(image.bytes.size() + device::kImageFrameBytes == fileSize);
  Require(image.storedChecksum == image.computedChecksum);
  Require(image.model == device::kUnitModel);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> file(data, size);
  const auto mcu = device::MCUUpgParsingFile(file, device::kUnitModel);
  CheckSingle(mcu, mcu.mcu, size);
  const auto bootloader = device::MCUUpgBLParsingFile(file, device::kUnitModel);
  CheckSingle(bootloader, bootloader.mcu, size);
  const auto flash = device::FlashUpgParsingFile(file, device::kUnitModel);
  CheckSingle(flash, flash.dsp, size);

  const auto merged = device::MergedUpgParsingFile(file, device::kUnitModel);
  if (merged.Ok()) {
    Require(merged.sizes.size() >= 2 && merged.sizes.size() <= device::kMaxMergedSizes);
    Require(merged.mcu.bytes.size() + device::kImageFrameBytes == merged.sizes[0]);
    Require(merged.dsp.bytes.size() + device::kImageFrameBytes == merged.sizes[1]);
    Require(3 + 4 * merged.sizes.size() + merged.sizes[0] + merged.sizes[1] <= size);
    Require(merged.mcu.type == device::kImageTypeMcu && merged.dsp.type == device::kImageTypeDsp);
  }

  const std::string_view name(reinterpret_cast<const char*>(data), size);
  if (const auto kind = device::FirmwareKindOfName(name)) {
    Require(device::MaxFileBytes(*kind) >= device::kMaxImageFileBytes);
  }
  return 0;
}
