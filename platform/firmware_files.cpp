#include "platform/firmware_files.h"

#include <cstring>

#include "platform/debug_log.h"

namespace platform {
namespace {

constexpr const char* kDirectoryPrefix = "vexaro-firmware-";

// The error code of writing one image; kOk when it was written.
int WriteImage(PrivateTempDir& dir, const char* name, EmbeddedImage image, int offset) {
  if (!image) {
    return prepare::kImageMissing + offset;
  }
  if (image->empty()) {
    return prepare::kImageEmpty + offset;
  }
  switch (dir.WriteFile(name, *image)) {
    case PrivateTempDir::WriteResult::Written:
      return prepare::kOk;
    case PrivateTempDir::WriteResult::NotCreated:
      return prepare::kFileNotCreated + offset;
    case PrivateTempDir::WriteResult::ShortWrite:
      return prepare::kShortWrite + offset;
  }
  return prepare::kShortWrite + offset;
}

}  // namespace

FirmwareFiles::FirmwareFiles(std::unique_ptr<PrivateTempDir> dir) : mDir(std::move(dir)) {}

std::filesystem::path FirmwareFiles::McuPath() const {
  return mDir->Path() / kMcuImageFileName;
}

std::filesystem::path FirmwareFiles::FlashPath() const {
  return mDir->Path() / kFlashImageFileName;
}

int PrepareFirmwareFiles(EmbeddedImage mcu, EmbeddedImage flash,
                         std::unique_ptr<FirmwareFiles>& files) {
  files.reset();
  DebugLogA("tmp dir is %s\n", PrivateTempDir::Root().c_str());
  int error = 0;
  auto dir = PrivateTempDir::Create(kDirectoryPrefix, error);
  if (!dir) {
    // No file can be created when the folder cannot hold a directory of ours.
    DebugLogA("cannot create a directory in %s: %s\n", PrivateTempDir::Root().c_str(),
              std::strerror(error));
    return prepare::kFileNotCreated;
  }
  int code = WriteImage(*dir, kMcuImageFileName, mcu, 0);
  if (code == prepare::kOk) {
    code = WriteImage(*dir, kFlashImageFileName, flash, prepare::kFlashOffset);
  }
  if (code != prepare::kOk) {
    return code;  // the directory goes with everything written into it
  }
  files = std::make_unique<FirmwareFiles>(std::move(dir));
  return prepare::kOk;
}

}  // namespace platform
