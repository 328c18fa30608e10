// The built-in firmware images written out as files for the forced update, in a directory of
// this run's own (platform/private_temp_dir.h), and removed again when the update is over.
//
// Each failing step has the error code the forced update shows in "File prepare error. error
// code %d": for the MCU image 1 missing, 3 empty, 5 file not created (this includes a temporary
// folder that cannot be written), 6 short write; for the flash image 7, 9, 11, 12. Codes 2 and 4
// (loading and locking a resource) keep their numbers but cannot occur for images linked into the
// program.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>

#include "platform/private_temp_dir.h"

namespace platform {

inline constexpr const char* kPrepareErrorFormat = "File prepare error. error code %d";
inline constexpr const char* kMcuImageFileName = "MCU_UPG.bin";
inline constexpr const char* kFlashImageFileName = "FLASH_UPG.bin";

namespace prepare {
inline constexpr int kOk = 0;
// Per image; the flash image's codes are these plus kFlashOffset.
inline constexpr int kImageMissing = 1;
inline constexpr int kImageEmpty = 3;
inline constexpr int kFileNotCreated = 5;
inline constexpr int kShortWrite = 6;
inline constexpr int kFlashOffset = 6;
}  // namespace prepare

// The two files while they exist; destruction removes them and their directory.
class FirmwareFiles {
 public:
  explicit FirmwareFiles(std::unique_ptr<PrivateTempDir> dir);

  std::filesystem::path McuPath() const;
  std::filesystem::path FlashPath() const;
  const std::filesystem::path& Directory() const { return mDir->Path(); }

 private:
  std::unique_ptr<PrivateTempDir> mDir;
};

// An image the program carries; nullopt when it lacks one.
using EmbeddedImage = std::optional<std::span<const std::uint8_t>>;

// Writes the MCU image, then the flash image. Returns prepare::kOk with `files` set, or the
// error code of the first failing step with nothing left on disk.
int PrepareFirmwareFiles(EmbeddedImage mcu, EmbeddedImage flash,
                         std::unique_ptr<FirmwareFiles>& files);

}  // namespace platform
