// The image file parsers and the name rule, over bytes made here: every layout rule, and the
// malformed files a user or a damaged download hands over.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "device/demo_firmware.h"
#include "device/firmware_image.h"
#include "tests/device/firmware_files.h"

namespace device::testing {
namespace {

TEST(FirmwareName, KindIsTheFirstNameContainedRegardlessOfCase) {
  const std::vector<std::pair<std::string, std::optional<FirmwareKind>>> cases = {
      {"MCU_UPG.BIN", FirmwareKind::Mcu},
      {"mcu_upg.bin", FirmwareKind::Mcu},
      {"/home/me/TRZ62C_MCU_UPG.bin", FirmwareKind::Mcu},
      {"C:\\firmware\\TRZ62C_MCU_UPG.bin", FirmwareKind::Mcu},
      {"TRZ62C_FLASH_UPG.bin", FirmwareKind::Flash},
      {"BL_UPG.BIN", FirmwareKind::Bootloader},
      {"upg_fw.BIN", FirmwareKind::Merged},
      // Several matches: bootloader, flash, MCU, combined is the order.
      {"BL_UPG.BIN.MCU_UPG.BIN", FirmwareKind::Bootloader},
      {"MCU_UPG.BIN+FLASH_UPG.BIN", FirmwareKind::Flash},
      {"MCU_UPG.BIN+UPG_FW.bin", FirmwareKind::Mcu},
      // Only the file's own name counts, not its folder.
      {"/MCU_UPG.BIN/other.bin", std::nullopt},
      {"MCU_UPG.BI", std::nullopt},
      {"firmware.bin", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& [name, kind] : cases) {
    EXPECT_EQ(FirmwareKindOfName(name), kind) << name;
  }
}

struct SingleCase {
  const char* what;
  std::function<Bytes()> file;
  ImageError mcu;    // MCUUpgParsingFile and MCUUpgBLParsingFile
  ImageError flash;  // FlashUpgParsingFile
};

TEST(SingleImage, LayoutRules) {
  const std::vector<SingleCase> cases = {
      {"good MCU image", [] { return ImageFile(kImageTypeMcu, Pattern(100)); }, ImageError::None,
       ImageError::None},
      {"empty file", [] { return Bytes{}; }, ImageError::TooShort, ImageError::TooShort},
      {"one byte short of an empty image", [] { return Bytes(13, 0); }, ImageError::TooShort,
       ImageError::TooShort},
      {"header and checksum, no image", [] { return ImageFile(kImageTypeMcu, {}); },
       ImageError::NoImageBytes, ImageError::NoImageBytes},
      {"DSP type in an MCU file", [] { return ImageFile(kImageTypeDsp, Pattern(40)); },
       ImageError::WrongType, ImageError::None},
      {"unknown type", [] { return ImageFile(9, Pattern(40)); }, ImageError::WrongType,
       ImageError::None},
      {"model 22", [] { return ImageFile(kImageTypeMcu, Pattern(40), 22); }, ImageError::WrongModel,
       ImageError::WrongModel},
      {"image byte damaged",
       [] {
         Bytes file = ImageFile(kImageTypeMcu, Pattern(40));
         file[20] ^= 0x01;
         return file;
       },
       ImageError::BadChecksum, ImageError::BadChecksum},
      {"trailer damaged",
       [] {
         Bytes file = ImageFile(kImageTypeMcu, Pattern(40));
         file[file.size() - 6] ^= 0x80;
         return file;
       },
       ImageError::BadChecksum, ImageError::BadChecksum},
      {"largest file", [] { return ImageFile(kImageTypeMcu, Pattern(kMaxImageFileBytes - 14)); },
       ImageError::None, ImageError::None},
      {"one byte too large",
       [] { return ImageFile(kImageTypeMcu, Pattern(kMaxImageFileBytes - 13)); },
       ImageError::FileTooLarge, ImageError::FileTooLarge},
  };
  for (const SingleCase& c : cases) {
    const Bytes file = c.file();
    EXPECT_EQ(MCUUpgParsingFile(file, kUnitModel).error, c.mcu) << c.what;
    EXPECT_EQ(MCUUpgBLParsingFile(file, kUnitModel).error, c.mcu) << c.what;
    EXPECT_EQ(FlashUpgParsingFile(file, kUnitModel).error, c.flash) << c.what;
  }
}

TEST(SingleImage, FieldsAreTakenAsStored) {
  const Bytes image = Pattern(100);
  const FirmwareCheck check = MCUUpgParsingFile(ImageFile(kImageTypeMcu, image), kUnitModel);
  ASSERT_TRUE(check.Ok());
  EXPECT_EQ(check.mcu.bytes, image);
  EXPECT_EQ(check.mcu.header, kTestHeader);
  EXPECT_EQ(check.mcu.trailer, kTestTrailer);
  EXPECT_EQ(check.mcu.storedChecksum, check.mcu.computedChecksum);
  const FirmwareCheck flash = FlashUpgParsingFile(ImageFile(kImageTypeDsp, image), kUnitModel);
  ASSERT_TRUE(flash.Ok());
  EXPECT_EQ(flash.dsp.bytes, image);
  EXPECT_TRUE(flash.mcu.bytes.empty());
}

struct MergedCase {
  const char* what;
  std::function<Bytes()> file;
  ImageError error;
  ImagePart part = ImagePart::File;
};

TEST(MergedImage, LayoutRules) {
  const Bytes mcu = ImageFile(kImageTypeMcu, Pattern(70));
  const Bytes dsp = ImageFile(kImageTypeDsp, Pattern(130));
  const auto u32 = [](std::uint32_t value) { return value; };
  const std::vector<MergedCase> cases = {
      {"good file",
       [&] {
         return MergedFile({0x73, 0x00}, {u32(mcu.size()), u32(dsp.size())}, {mcu, dsp});
       },
       ImageError::None},
      {"mark in the second head byte",
       [&] {
         return MergedFile({0x00, 0x73}, {u32(mcu.size()), u32(dsp.size())}, {mcu, dsp});
       },
       ImageError::None},
      {"five sizes, three unused",
       [&] {
         return MergedFile({0x73, 0x73}, {u32(mcu.size()), u32(dsp.size()), 1, 2, 3},
                           {mcu, dsp, Bytes{1, 2, 3, 4, 5, 6}});
       },
       ImageError::None},
      {"empty file", [] { return Bytes{}; }, ImageError::TooShort},
      {"head only",
       [] {
         return Bytes{0x73, 0x73};
       },
       ImageError::TooShort},
      {"no mark",
       [&] {
         return MergedFile({0x72, 0x37}, {u32(mcu.size()), u32(dsp.size())}, {mcu, dsp});
       },
       ImageError::BadMergedHead},
      {"six sizes",
       [&] {
         return MergedFile({0x73, 0}, {u32(mcu.size()), u32(dsp.size()), 0, 0, 0, 0}, {mcu, dsp});
       },
       ImageError::TooManySizes},
      {"255 sizes",
       [] {
         return Bytes{0x73, 0, 255, 0, 0};
       },
       ImageError::TooManySizes},
      {"one size",
       [&] {
         return MergedFile({0x73, 0}, {u32(mcu.size())}, {mcu});
       },
       ImageError::TooFewSizes},
      {"no sizes",
       [] {
         return Bytes{0x73, 0, 0};
       },
       ImageError::TooFewSizes},
      {"sizes cut off", [] { return Bytes{0x73, 0, 2, 0, 0, 0, 20, 0, 0}; }, ImageError::TooShort},
      {"sizes wrapping past 32 bits",
       [&] {
         return MergedFile({0x73, 0}, {0xFFFFFFFFu, 2}, {mcu, dsp});
       },
       ImageError::BlocksBeyondFile},
      {"DSP block longer than the file",
       [&] {
         return MergedFile({0x73, 0}, {u32(mcu.size()), u32(dsp.size() + 1)}, {mcu, dsp});
       },
       ImageError::BlocksBeyondFile},
      {"MCU block of DSP type",
       [&] {
         return MergedFile({0x73, 0}, {u32(dsp.size()), u32(dsp.size())}, {dsp, dsp});
       },
       ImageError::WrongType, ImagePart::McuBlock},
      {"DSP block of MCU type",
       [&] {
         return MergedFile({0x73, 0}, {u32(mcu.size()), u32(mcu.size())}, {mcu, mcu});
       },
       ImageError::WrongType, ImagePart::DspBlock},
      {"DSP block damaged",
       [&] {
         Bytes file = MergedFile({0x73, 0}, {u32(mcu.size()), u32(dsp.size())}, {mcu, dsp});
         file[file.size() - 20] ^= 0x10;
         return file;
       },
       ImageError::BadChecksum, ImagePart::DspBlock},
      {"MCU block for model 22",
       [&] {
         const Bytes other = ImageFile(kImageTypeMcu, Pattern(70), 22);
         return MergedFile({0x73, 0}, {u32(other.size()), u32(dsp.size())}, {other, dsp});
       },
       ImageError::WrongModel, ImagePart::McuBlock},
      {"zero-sized blocks",
       [&] {
         return MergedFile({0x73, 0}, {0, 0}, {});
       },
       ImageError::TooShort, ImagePart::McuBlock},
      {"larger than 2 MiB",
       [&] {
         Bytes file = MergedFile({0x73, 0}, {u32(mcu.size()), u32(dsp.size())}, {mcu, dsp});
         file.resize(kMaxMergedFileBytes + 1);
         return file;
       },
       ImageError::FileTooLarge},
  };
  for (const MergedCase& c : cases) {
    const FirmwareCheck check = MergedUpgParsingFile(c.file(), kUnitModel);
    EXPECT_EQ(check.error, c.error) << c.what;
    EXPECT_EQ(check.part, c.part) << c.what;
  }
  const FirmwareCheck good = MergedUpgParsingFile(
      MergedFile({0x73, 0}, {u32(mcu.size()), u32(dsp.size())}, {mcu, dsp}), kUnitModel);
  EXPECT_EQ(good.mcu.bytes, Pattern(70));
  EXPECT_EQ(good.dsp.bytes, Pattern(130));
}

TEST(DemoImage, RecognisedByHeaderAndTrailerOnly) {
  const Bytes demo = MakeDemoImageFile(FirmwareKind::Flash, 500, {15, 6}, kUnitModel);
  const FirmwareCheck check = FlashUpgParsingFile(demo, kUnitModel);
  ASSERT_TRUE(check.Ok());
  EXPECT_TRUE(IsDemoImage(check.dsp));
  EXPECT_EQ(check.dsp.type, kImageTypeDsp);
  const auto version = DemoHeaderVersion(check.dsp.header);
  ASSERT_TRUE(version);
  EXPECT_EQ(version->master, 15);
  EXPECT_EQ(version->slave, 6);

  // A maker's image is no demo image, whatever its contents.
  EXPECT_FALSE(
      IsDemoImage(MCUUpgParsingFile(ImageFile(kImageTypeMcu, Pattern(64)), kUnitModel).mcu));
  FirmwareImage halfMarked = check.dsp;
  halfMarked.trailer = kTestTrailer;
  EXPECT_FALSE(IsDemoImage(halfMarked));
}

}  // namespace
}  // namespace device::testing
