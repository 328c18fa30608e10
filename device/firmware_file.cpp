#include "device/firmware_file.h"

#include <fstream>
#include <vector>

#include "device/upgrade_protocol.h"
#include "platform/debug_log.h"

namespace device {
namespace {

// The bytes of `file`, at most `limit` of them; ImageError::None when they were all read.
ImageError ReadBytes(const std::filesystem::path& file, std::size_t limit,
                     std::vector<std::uint8_t>& bytes) {
  std::error_code error;
  // Only a regular file: a device or a pipe could block the read or never end.
  if (!std::filesystem::is_regular_file(file, error)) {
    return ImageError::CannotOpen;
  }
  std::ifstream in(file, std::ios::binary | std::ios::ate);
  if (!in) {
    return ImageError::CannotOpen;
  }
  DebugLogA("Open file %s success!\n", file.c_str());
  const std::streamoff size = in.tellg();
  DebugLogA("%s file size is %ld\n", file.c_str(), static_cast<long>(size));
  if (size < 0) {
    return ImageError::ReadFailed;
  }
  // Too large a file is refused before a byte of it is read.
  if (static_cast<std::uintmax_t>(size) > limit) {
    return ImageError::FileTooLarge;
  }
  bytes.resize(static_cast<std::size_t>(size));
  in.seekg(0);
  in.read(reinterpret_cast<char*>(bytes.data()), size);
  if (in.gcount() != size) {
    DebugLogA("read FW error!\n");
    return ImageError::ReadFailed;
  }
  return ImageError::None;
}

void LogCheck(FirmwareKind kind, const FirmwareCheck& check) {
  switch (kind) {
    case FirmwareKind::Bootloader:
    case FirmwareKind::Mcu:
      DebugLogA("cal MCU encrypt_checksum=0x%x!\n", check.mcu.computedChecksum);
      DebugLogA("encrypt_checksum=0x%x!\n", check.mcu.storedChecksum);
      break;
    case FirmwareKind::Flash:
      DebugLogA("cal FLASH checksum=0x%x!\n", check.dsp.computedChecksum);
      DebugLogA("encrypt_checksum=0x%x!\n", check.dsp.storedChecksum);
      if (!check.Ok()) {
        DebugLogA("UPG_FILE_INVALIE!\n");
      }
      break;
    case FirmwareKind::Merged:
      DebugLogA("head is 0x%x, 0x%x\n", check.head[0], check.head[1]);
      DebugLogA("totalFW=%zu\n", check.sizes.size());
      for (std::size_t i = 0; i < check.sizes.size(); ++i) {
        DebugLogA("FWSize[%zu]=0x%x\n", i, check.sizes[i]);
      }
      if (check.error == ImageError::BadMergedHead) {
        DebugLogA("upg FW not match!\n");
      } else if (check.part == ImagePart::McuBlock) {
        DebugLogA("MCU checksum error!\n");
      } else if (check.part == ImagePart::DspBlock) {
        DebugLogA("DSP checksum error!\n");
      } else if (check.Ok()) {
        DebugLogA("MCU cal encrypt_checksum=0x%x!\n", check.mcu.computedChecksum);
        DebugLogA("MCU encrypt_checksum=0x%x!\n", check.mcu.storedChecksum);
        DebugLogA("cal DSP encrypt_checksum=0x%x!\n", check.dsp.computedChecksum);
        DebugLogA("dsp encrypt_checksum=0x%x!\n", check.dsp.storedChecksum);
      }
      break;
  }
  if (!check.Ok()) {
    DebugLogA("%s: %s\n", ImagePartText(check.part), ImageErrorText(check.error));
  }
}

const char* ParserName(FirmwareKind kind) {
  switch (kind) {
    case FirmwareKind::Bootloader:
      return "MCUUpgBLParsingFile!";
    case FirmwareKind::Flash:
      return "FlashUpgParsingFile!";
    case FirmwareKind::Mcu:
      return "MCUUpgParsingFile!";
    case FirmwareKind::Merged:
      return "MergedUpgParsingFile!";
  }
  return "";
}

}  // namespace

int ReadFirmwareFile(const std::filesystem::path& path, std::uint8_t model, FirmwareFile& out) {
  out = {};
  const auto kind = FirmwareKindOfName(path.string());
  if (!kind) {
    out.check.error = ImageError::NameNotRecognised;
    return kUpgradeFileRefused;
  }
  out.kind = *kind;
  DebugLogA("%s\n", ParserName(*kind));
  std::vector<std::uint8_t> bytes;
  if (const ImageError error = ReadBytes(path, MaxFileBytes(*kind), bytes);
      error != ImageError::None) {
    out.check.error = error;
    return error == ImageError::CannotOpen ? kUpgradeCannotOpen : kUpgradeFileRefused;
  }
  out.check = ParseFirmwareFile(*kind, bytes, model);
  LogCheck(*kind, out.check);
  return out.check.Ok() ? kUpgradeStarted : kUpgradeFileRefused;
}

}  // namespace device
