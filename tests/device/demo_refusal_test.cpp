// Demo firmware never reaches a unit that is not the virtual one: the transport decides, and
// nothing at all is written to it.
#include <gtest/gtest.h>

#include <filesystem>

#include "device/built_in_firmware.h"
#include "device/demo_firmware.h"
#include "tests/device/device_fixture.h"
#include "tests/device/firmware_files.h"

namespace device::testing {
namespace {

class DemoRefusalTest : public DeviceFixture {
 protected:
  DemoRefusalTest() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vexaro-demo-XXXXXX").string();
    mDir = ::mkdtemp(pattern.data());
  }
  ~DemoRefusalTest() override { std::filesystem::remove_all(mDir); }

  std::filesystem::path Write(const std::string& name, const Bytes& bytes) {
    WriteBytes(mDir / name, bytes);
    return mDir / name;
  }

  std::filesystem::path mDir;
};

TEST_F(DemoRefusalTest, DemoImagesAreRefusedBeforeAnythingIsWritten) {
  Open();
  const Bytes mcu = MakeDemoImageFile(FirmwareKind::Mcu, 300, {15, 6}, kUnitModel);
  const Bytes flash = MakeDemoImageFile(FirmwareKind::Flash, 300, {15, 6}, kUnitModel);
  const auto size = [](const Bytes& block) { return static_cast<std::uint32_t>(block.size()); };
  // A combined file whose DSP block alone is a demo image is refused as well.
  const Bytes makersMcu = ImageFile(kImageTypeMcu, Pattern(64));
  for (const auto& path :
       {Write("MCU_UPG.BIN", mcu), Write("FLASH_UPG.BIN", flash), Write("BL_UPG.BIN", mcu),
        Write("UPG_FW.bin",
              MergedFile({0x73, 0}, {size(makersMcu), size(flash)}, {makersMcu, flash}))}) {
    EXPECT_EQ(device->UpgradeStart(path), kUpgradeFileRefused) << path;
    EXPECT_EQ(device->LastUpgradeError(), ImageError::DemoImage) << path;
    EXPECT_EQ(device->UpgradeState(), UPG_IDLE);
  }
  EXPECT_TRUE(link->Writes().empty());
}

TEST_F(DemoRefusalTest, ForcedUpdateIsOfferedOnlyWhereTheImagesMayGo) {
  Open();
  EXPECT_FALSE(device->IsVirtualUnit());
  EXPECT_FALSE(MayForceUpdate(BuiltInFirmware{{}, {}, true}, *device));
  EXPECT_TRUE(MayForceUpdate(BuiltInFirmware{{}, {}, false}, *device));
}

}  // namespace
}  // namespace device::testing
