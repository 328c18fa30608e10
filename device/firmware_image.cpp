#include "device/firmware_image.h"

#include <algorithm>
#include <cctype>
#include <numeric>

#include "device/value_encoding.h"

namespace device {
namespace {

constexpr std::size_t kTypeOffset = 0;
constexpr std::size_t kModelOffset = 1;
constexpr std::size_t kHeaderOffset = 2;
constexpr std::size_t kImageOffset = kHeaderOffset + kImageHeaderBytes;
constexpr std::size_t kChecksumBytes = kU32Bytes;

// Combined file: head, count, sizes.
constexpr std::size_t kMergedCountOffset = 2;
constexpr std::size_t kMergedSizesOffset = 3;
constexpr std::size_t kMergedSizeBytes = kU32Bytes;
constexpr std::size_t kMergedBlocks = 2;

bool ContainsIgnoringCase(std::string_view text, std::string_view part) {
  const auto lower = [](char c) { return std::tolower(static_cast<unsigned char>(c)); };
  return std::search(text.begin(), text.end(), part.begin(), part.end(),
                     [&](char a, char b) { return lower(a) == lower(b); }) != text.end();
}

// Checks one single image layout. `type` is the type byte it must carry, if any. Fills `out` with
// what it could read before an error.
ImageError CheckSingleImage(std::span<const std::uint8_t> file, std::uint8_t model,
                            std::optional<std::uint8_t> type, FirmwareImage& out) {
  if (file.size() < kImageFrameBytes) {
    return ImageError::TooShort;
  }
  const std::size_t imageBytes = file.size() - kImageFrameBytes;
  const std::size_t trailerOffset = kImageOffset + imageBytes;
  const std::size_t checksumOffset = trailerOffset + kImageTrailerBytes;
  out.type = file[kTypeOffset];
  out.model = file[kModelOffset];
  std::copy_n(file.begin() + kHeaderOffset, kImageHeaderBytes, out.header.begin());
  out.bytes.assign(file.begin() + kImageOffset, file.begin() + trailerOffset);
  std::copy_n(file.begin() + trailerOffset, kImageTrailerBytes, out.trailer.begin());
  out.storedChecksum = BigEndian32(file.subspan(checksumOffset, kChecksumBytes));
  out.computedChecksum = ImageChecksum(file.first(checksumOffset));
  if (type && out.type != *type) {
    return ImageError::WrongType;
  }
  if (out.model != model) {
    return ImageError::WrongModel;
  }
  if (out.storedChecksum != out.computedChecksum) {
    return ImageError::BadChecksum;
  }
  // A layout without image bytes would have the unit finish an upgrade that sent nothing.
  if (imageBytes == 0) {
    return ImageError::NoImageBytes;
  }
  return ImageError::None;
}

FirmwareCheck SingleFile(std::span<const std::uint8_t> file, std::uint8_t model,
                         std::optional<std::uint8_t> type, bool dsp) {
  FirmwareCheck check;
  check.error = file.size() > kMaxImageFileBytes
                    ? ImageError::FileTooLarge
                    : CheckSingleImage(file, model, type, dsp ? check.dsp : check.mcu);
  return check;
}

}  // namespace

std::optional<FirmwareKind> FirmwareKindOfName(std::string_view path) {
  const std::size_t separator = path.find_last_of("/\\");
  const std::string_view name =
      separator == std::string_view::npos ? path : path.substr(separator + 1);
  constexpr std::pair<std::string_view, FirmwareKind> kNames[] = {
      {kBootloaderFileName, FirmwareKind::Bootloader},
      {kFlashFileName, FirmwareKind::Flash},
      {kMcuFileName, FirmwareKind::Mcu},
      {kMergedFileName, FirmwareKind::Merged},
  };
  for (const auto& [pattern, kind] : kNames) {
    if (ContainsIgnoringCase(name, pattern)) {
      return kind;
    }
  }
  return std::nullopt;
}

std::size_t MaxFileBytes(FirmwareKind kind) {
  return kind == FirmwareKind::Merged ? kMaxMergedFileBytes : kMaxImageFileBytes;
}

FirmwareCheck MCUUpgParsingFile(std::span<const std::uint8_t> file, std::uint8_t model) {
  return SingleFile(file, model, kImageTypeMcu, false);
}

FirmwareCheck MCUUpgBLParsingFile(std::span<const std::uint8_t> file, std::uint8_t model) {
  return SingleFile(file, model, kImageTypeMcu, false);
}

FirmwareCheck FlashUpgParsingFile(std::span<const std::uint8_t> file, std::uint8_t model) {
  return SingleFile(file, model, std::nullopt, true);
}

FirmwareCheck MergedUpgParsingFile(std::span<const std::uint8_t> file, std::uint8_t model) {
  FirmwareCheck check;
  auto fail = [&](ImageError error, ImagePart part = ImagePart::File) {
    check.error = error;
    check.part = part;
    return check;
  };
  if (file.size() > kMaxMergedFileBytes) {
    return fail(ImageError::FileTooLarge);
  }
  if (file.size() < kMergedSizesOffset) {
    return fail(ImageError::TooShort);
  }
  check.head = {file[0], file[1]};
  if (file[0] != kMergedHeadMark && file[1] != kMergedHeadMark) {
    return fail(ImageError::BadMergedHead);
  }
  const std::size_t count = file[kMergedCountOffset];
  if (count > kMaxMergedSizes) {
    return fail(ImageError::TooManySizes);
  }
  const std::size_t blocksOffset = kMergedSizesOffset + kMergedSizeBytes * count;
  if (file.size() < blocksOffset) {
    return fail(ImageError::TooShort);
  }
  for (std::size_t i = 0; i < count; ++i) {
    check.sizes.push_back(
        BigEndian32(file.subspan(kMergedSizesOffset + kMergedSizeBytes * i, kMergedSizeBytes)));
  }
  if (count < kMergedBlocks) {
    return fail(ImageError::TooFewSizes);
  }
  // Added in 64 bits: two 32-bit sizes cannot wrap around and pass as a small total.
  const std::uint64_t mcuSize = check.sizes[0];
  const std::uint64_t dspSize = check.sizes[1];
  if (blocksOffset + mcuSize + dspSize > file.size()) {
    return fail(ImageError::BlocksBeyondFile);
  }
  const auto mcuBlock = file.subspan(blocksOffset, static_cast<std::size_t>(mcuSize));
  const auto dspBlock =
      file.subspan(blocksOffset + mcuBlock.size(), static_cast<std::size_t>(dspSize));
  if (const auto error = CheckSingleImage(mcuBlock, model, kImageTypeMcu, check.mcu);
      error != ImageError::None) {
    return fail(error, ImagePart::McuBlock);
  }
  if (const auto error = CheckSingleImage(dspBlock, model, kImageTypeDsp, check.dsp);
      error != ImageError::None) {
    return fail(error, ImagePart::DspBlock);
  }
  return check;
}

FirmwareCheck ParseFirmwareFile(FirmwareKind kind, std::span<const std::uint8_t> file,
                                std::uint8_t model) {
  switch (kind) {
    case FirmwareKind::Bootloader:
      return MCUUpgBLParsingFile(file, model);
    case FirmwareKind::Flash:
      return FlashUpgParsingFile(file, model);
    case FirmwareKind::Mcu:
      return MCUUpgParsingFile(file, model);
    case FirmwareKind::Merged:
      return MergedUpgParsingFile(file, model);
  }
  FirmwareCheck unknown;
  unknown.error = ImageError::NameNotRecognised;
  return unknown;
}

std::uint32_t ImageChecksum(std::span<const std::uint8_t> bytes) {
  return std::accumulate(bytes.begin(), bytes.end(), std::uint32_t{0});
}

std::vector<std::uint8_t> BuildImageFile(
    std::uint8_t type, std::uint8_t model, std::span<const std::uint8_t, kImageHeaderBytes> header,
    std::span<const std::uint8_t> image,
    std::span<const std::uint8_t, kImageTrailerBytes> trailer) {
  std::vector<std::uint8_t> file{type, model};
  file.insert(file.end(), header.begin(), header.end());
  file.insert(file.end(), image.begin(), image.end());
  file.insert(file.end(), trailer.begin(), trailer.end());
  PutU32(file, ImageChecksum(file));
  return file;
}

const char* ImageErrorText(ImageError error) {
  switch (error) {
    case ImageError::None:
      return "no error";
    case ImageError::CannotOpen:
      return "the file cannot be opened";
    case ImageError::ReadFailed:
      return "the file could not be read to its end";
    case ImageError::NameNotRecognised:
      return "the file name is not one of BL_UPG.BIN, FLASH_UPG.BIN, MCU_UPG.BIN, UPG_FW.bin";
    case ImageError::FileTooLarge:
      return "the file is larger than any image of this unit";
    case ImageError::TooShort:
      return "the file is too short to be an image";
    case ImageError::NoImageBytes:
      return "the file holds no image bytes";
    case ImageError::WrongType:
      return "the image is of the wrong type for its name";
    case ImageError::WrongModel:
      return "the image is made for another model";
    case ImageError::BadChecksum:
      return "the image checksum does not match (damaged file)";
    case ImageError::BadMergedHead:
      return "the combined file has no valid head";
    case ImageError::TooManySizes:
      return "the combined file lists more than 5 images";
    case ImageError::TooFewSizes:
      return "the combined file lists fewer than 2 images";
    case ImageError::BlocksBeyondFile:
      return "the combined file's image sizes run past its end";
    case ImageError::NotForThisUnit:
      return "the connected unit reports another model than the image is made for";
    case ImageError::DemoImage:
      return "the image is a demo image, made for the virtual unit only";
  }
  return "unknown error";
}

const char* ImagePartText(ImagePart part) {
  switch (part) {
    case ImagePart::File:
      return "file";
    case ImagePart::McuBlock:
      return "MCU block";
    case ImagePart::DspBlock:
      return "DSP block";
  }
  return "file";
}

}  // namespace device
