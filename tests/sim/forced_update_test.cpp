// The forced update's path below its window: the built-in images written to a private folder,
// the MCU image, the unit's restart, the flash image, another restart, and the unit re-read at
// the built-in version.
#include <gtest/gtest.h>

#include "device/built_in_firmware.h"
#include "device/mcu_records.h"
#include "device/upgrade_worker.h"
#include "platform/firmware_files.h"
#include "platform/window_messages.h"
#include "tests/sim/upgrade_fixture.h"

namespace sim::testing {
namespace {

class ForcedUpdateTest : public UpgradeFixture {
 protected:
  // A unit at `master`.`slave`, connected and identified.
  void UnitAt(std::uint8_t master, std::uint8_t slave) {
    UnitIdentity identity;
    identity.masterVersion = master;
    identity.slaveVersion = slave;
    device.reset();
    unit = std::make_shared<VirtualUnit>(identity);
    unit->SetReenumerationTime(20ms);
    device = std::make_unique<device::DspDevice>(std::make_unique<VirtualUnitTransport>(unit));
    device->SetWindow(device::DspDevice::WindowRole::Main, kMainWindow);
    device->SetUpgradeTiming(kFastTiming);
  }

  // Connects again as the program does when the unit comes back; the version it reports.
  device::FirmwareVersion Reconnect() {
    device->CloseHIDDevice(false);
    device->OpenHIDDevice();
    EXPECT_TRUE(device::Hand_Connect(*device, kShortTimeoutMs));
    device::FirmwareVersion version;
    for (const auto& message : poster->TakeAll()) {
      if (const auto* record = platform::RecordAs<device::HandshakeRecord>(message)) {
        version = {static_cast<std::uint8_t>(record->masterVersion),
                   static_cast<std::uint8_t>(record->slaveVersion)};
      }
    }
    return version;
  }

  void Upgrade(const std::filesystem::path& image, int restartsAfter) {
    std::atomic<bool> cancel{false};
    EXPECT_EQ(device::RunUpgrade(*device, image, cancel, [](device::UpgradeEvent, int) {}),
              device::kUpgradeFinished);
    ASSERT_TRUE(unit->WaitForRestarts(restartsAfter, kRestartWait));
  }
};

TEST_F(ForcedUpdateTest, BuiltInImagesBringAnOldUnitToTheBuiltInVersion) {
  const device::BuiltInFirmware& images = device::BuiltInFirmwareImages();
  if (!images.demo) {
    GTEST_SKIP() << "this build carries the maker's images; the virtual unit cannot run them";
  }
  UnitAt(15, 5);
  const auto before = Reconnect();
  ASSERT_EQ(before.slave, 5);
  ASSERT_TRUE(device::MayForceUpdate(images, *device));

  std::unique_ptr<platform::FirmwareFiles> files;
  ASSERT_EQ(platform::PrepareFirmwareFiles(images.mcu, images.flash, files),
            platform::prepare::kOk);
  // Into the loader and back, then the restart after the MCU image.
  Upgrade(files->McuPath(), 2);
  const auto middle = Reconnect();
  EXPECT_EQ(middle.master, 15);
  EXPECT_EQ(middle.slave, 5);
  Upgrade(files->FlashPath(), 4);
  const auto after = Reconnect();
  EXPECT_EQ(after.master, device::kBuiltInFirmwareVersion.master);
  EXPECT_EQ(after.slave, device::kBuiltInFirmwareVersion.slave);

  const auto folder = files->Directory();
  files.reset();
  EXPECT_FALSE(std::filesystem::exists(folder));
}

}  // namespace
}  // namespace sim::testing
