// Firmware image files: their names, layouts and checks, as pure functions over the file's bytes.
// Nothing here opens a file or talks to the unit, so every rule is testable and fuzzable alone.
//
// Single image file (MCU program, bootloader, DSP flash), N = file size - 14:
//   0      type (1 for MCU program and bootloader; 2 for a DSP image inside a combined file)
//   1      model code, must be the unit's (23)
//   2..5   image header, sent unchanged in the start command
//   6      N image bytes, sent exactly as stored
//   6+N    4 trailer bytes, covered by the checksum, never sent
//   10+N   checksum, 32-bit big-endian: the sum of every byte before it
// Combined file: 2 head bytes (one of them 0x73), n (at most 5), n sizes (32-bit big-endian),
// then the MCU block (size 0, a single image file of type 1) and the DSP block (size 1, type 2).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace device {

inline constexpr std::size_t kMaxImageFileBytes = 1048576;
inline constexpr std::size_t kMaxMergedFileBytes = 2097152;
inline constexpr std::size_t kImageHeaderBytes = 4;
inline constexpr std::size_t kImageTrailerBytes = 4;
// Type, model and header before the image bytes; trailer and checksum after them.
inline constexpr std::size_t kImageFrameBytes = 2 + kImageHeaderBytes + kImageTrailerBytes + 4;
inline constexpr std::uint8_t kImageTypeMcu = 1;
inline constexpr std::uint8_t kImageTypeDsp = 2;
inline constexpr std::uint8_t kMergedHeadMark = 0x73;
inline constexpr std::size_t kMaxMergedSizes = 5;

// The kinds in the order their names are tested.
enum class FirmwareKind { Bootloader, Flash, Mcu, Merged };

// The file names as the unit's maker ships them.
inline constexpr std::string_view kBootloaderFileName = "BL_UPG.BIN";
inline constexpr std::string_view kFlashFileName = "FLASH_UPG.BIN";
inline constexpr std::string_view kMcuFileName = "MCU_UPG.BIN";
inline constexpr std::string_view kMergedFileName = "UPG_FW.bin";

// The kind of a file by its name (the part after the last '/' or '\'): the first of the four
// names, in the order above, that the name contains regardless of case. Nullopt for none.
std::optional<FirmwareKind> FirmwareKindOfName(std::string_view path);
// The largest file of a kind that is read at all.
std::size_t MaxFileBytes(FirmwareKind kind);

enum class ImageError {
  None,
  CannotOpen,         // the file cannot be opened or is not a regular file
  ReadFailed,         // fewer bytes could be read than the file holds
  NameNotRecognised,  // the name contains none of the four names
  FileTooLarge,
  TooShort,      // shorter than the layout's fixed fields
  NoImageBytes,  // the layout holds no byte to send
  WrongType,
  WrongModel,
  BadChecksum,
  BadMergedHead,     // neither head byte is 0x73
  TooManySizes,      // a combined file lists more than 5 sizes
  TooFewSizes,       // a combined file lists fewer than the 2 it needs
  BlocksBeyondFile,  // the sizes add up to more than the file holds
  NotForThisUnit,    // the unit said in its handshake that it is another model
  DemoImage,         // a demo image, made for the virtual unit only
};

// Which part of the file an error is about.
enum class ImagePart { File, McuBlock, DspBlock };

// One image as it goes to the unit.
struct FirmwareImage {
  std::uint8_t type = 0;
  std::uint8_t model = 0;
  std::array<std::uint8_t, kImageHeaderBytes> header{};
  std::vector<std::uint8_t> bytes;
  std::array<std::uint8_t, kImageTrailerBytes> trailer{};
  std::uint32_t storedChecksum = 0;
  std::uint32_t computedChecksum = 0;
};

// The outcome of checking one file. With no error, `mcu` holds the MCU program or bootloader
// image (and a combined file's MCU block), `dsp` the DSP flash image (and a combined file's DSP
// block). With an error, the fields parsed before it stay filled for the log.
struct FirmwareCheck {
  ImageError error = ImageError::None;
  ImagePart part = ImagePart::File;
  FirmwareImage mcu;
  FirmwareImage dsp;
  // Combined files: the head bytes and the sizes listed.
  std::array<std::uint8_t, 2> head{};
  std::vector<std::uint32_t> sizes;

  bool Ok() const { return error == ImageError::None; }
};

// The four parsers. `model` is the model code the image must carry.
FirmwareCheck MCUUpgParsingFile(std::span<const std::uint8_t> file, std::uint8_t model);
FirmwareCheck MCUUpgBLParsingFile(std::span<const std::uint8_t> file, std::uint8_t model);
// The type byte of a DSP flash file is not checked.
FirmwareCheck FlashUpgParsingFile(std::span<const std::uint8_t> file, std::uint8_t model);
FirmwareCheck MergedUpgParsingFile(std::span<const std::uint8_t> file, std::uint8_t model);
// The parser of `kind`.
FirmwareCheck ParseFirmwareFile(FirmwareKind kind, std::span<const std::uint8_t> file,
                                std::uint8_t model);

// The checksum of the layout: the 32-bit sum of `bytes`.
std::uint32_t ImageChecksum(std::span<const std::uint8_t> bytes);
// A single image file around `image`, with its checksum; the inverse of the parsers, used by the
// build-time image generator and by tests.
std::vector<std::uint8_t> BuildImageFile(std::uint8_t type, std::uint8_t model,
                                         std::span<const std::uint8_t, kImageHeaderBytes> header,
                                         std::span<const std::uint8_t> image,
                                         std::span<const std::uint8_t, kImageTrailerBytes> trailer);

// A short English description of an error, for messages and logs.
const char* ImageErrorText(ImageError error);
const char* ImagePartText(ImagePart part);

}  // namespace device
