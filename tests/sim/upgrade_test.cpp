// The firmware upgrade against the virtual unit: the chunks on the wire, the acknowledgement
// rules, every result of UpgradeStart, and the unit vanishing in the middle of a transfer.
#include <gtest/gtest.h>

#include <functional>
#include <mutex>

#include "device/demo_firmware.h"
#include "device/upgrade_worker.h"
#include "platform/window_messages.h"
#include "tests/device/scoped_log.h"
#include "tests/sim/upgrade_fixture.h"

namespace sim::testing {
namespace {

using device::testing::ImageFile;
using device::testing::MergedFile;
using device::testing::Pattern;
namespace upg = device::upg;

std::uint32_t Offset(const device::CommandRecord& command) {
  return device::BigEndian32(command.payload);
}

class UpgradeTest : public UpgradeFixture {};

TEST_F(UpgradeTest, McuImageGoesFromItsEndTowardOffsetZero) {
  ConnectAndShakeHands();
  std::mutex eventsMutex;
  std::vector<bool> plugEvents;
  const int listener = unit->AddPlugListener([&](bool pluggedIn) {
    std::lock_guard lock(eventsMutex);
    plugEvents.push_back(pluggedIn);
  });
  const Bytes image = Pattern(100);
  ASSERT_EQ(device->UpgradeStart(Write("MCU_UPG.BIN", ImageFile(1, image))),
            device::kUpgradeStarted);
  EXPECT_EQ(device->UpgradeState(), device::UPG_DATA_READY);
  EXPECT_EQ(Distinct(StepToEnd()), (std::vector<int>{4, 36, 68, 100, device::kUpgradeFinished}));
  EXPECT_EQ(device->UpgradeState(), device::UPG_IDLE);

  const auto commands = UpgradeCommands();
  ASSERT_EQ(commands.size(), 7u);
  EXPECT_EQ(commands[0].command, upg::kMcuEnter);
  EXPECT_EQ(commands[1].command, upg::kMcuStart);
  EXPECT_EQ(commands[1].payload,
            Bytes(device::testing::kTestHeader.begin(), device::testing::kTestHeader.end()));
  const std::uint32_t offsets[] = {96, 64, 32, 0};
  for (int i = 0; i < 4; ++i) {
    const auto& chunk = commands[static_cast<std::size_t>(2 + i)];
    EXPECT_EQ(chunk.group, device::kGroupMcu);
    EXPECT_EQ(chunk.command, upg::kMcuData);
    ASSERT_EQ(chunk.payload.size(), 36u);
    EXPECT_EQ(Offset(chunk), offsets[i]);
  }
  // The short first chunk carries the last 4 bytes, zero-filled to 32.
  Bytes first(image.begin() + 96, image.end());
  first.resize(32, 0);
  EXPECT_EQ(Bytes(commands[2].payload.begin() + 4, commands[2].payload.end()), first);
  EXPECT_EQ(commands[6].command, upg::kMcuFinish);
  EXPECT_TRUE(commands[6].payload.empty());

  const auto received = unit->LastUpgrade();
  ASSERT_TRUE(received);
  EXPECT_TRUE(received->finished);
  EXPECT_EQ(Bytes(received->image.begin(), received->image.begin() + 100), image);

  // Into the loader and back, then the restart with the new program: two unplug/replug pairs.
  EXPECT_TRUE(unit->WaitForRestarts(2, kRestartWait));
  unit->RemovePlugListener(listener);
  EXPECT_EQ(plugEvents, (std::vector<bool>{false, true, false, true}));
}

TEST_F(UpgradeTest, FlashImageGoesUpwardInChunksOfFifty) {
  ConnectAndShakeHands();
  const Bytes image = Pattern(120);
  ASSERT_EQ(device->UpgradeStart(Write("TRZ62C_FLASH_UPG.bin", ImageFile(2, image))),
            device::kUpgradeStarted);
  EXPECT_EQ(Distinct(StepToEnd()), (std::vector<int>{41, 83, 100, device::kUpgradeFinished}));

  const auto commands = UpgradeCommands();
  ASSERT_EQ(commands.size(), 7u);
  EXPECT_EQ(commands[0].group, device::kGroupMcu);
  EXPECT_EQ(commands[0].command, upg::kMcuEnter);
  EXPECT_EQ(commands[1].group, device::kGroupScene);
  EXPECT_EQ(commands[1].command, upg::kFlashStart);
  const std::pair<std::uint32_t, std::size_t> chunks[] = {{0, 50}, {50, 50}, {100, 20}};
  for (int i = 0; i < 3; ++i) {
    const auto& chunk = commands[static_cast<std::size_t>(2 + i)];
    EXPECT_EQ(chunk.command, upg::kFlashData);
    EXPECT_EQ(Offset(chunk), chunks[i].first);
    EXPECT_EQ(chunk.payload[4], chunks[i].second);
    EXPECT_EQ(chunk.payload.size(), 5 + chunks[i].second);
  }
  EXPECT_EQ(commands[5].command, upg::kFlashFinish);
  // The new DSP image runs after the reboot the PC asks for.
  EXPECT_EQ(commands[6].group, device::kGroupMcu);
  EXPECT_EQ(commands[6].command, device::kMcuReboot);
  EXPECT_EQ(unit->LastUpgrade()->image, image);
  EXPECT_TRUE(unit->WaitForRestarts(2, kRestartWait));
  EXPECT_TRUE(unit->LastUpgrade()->installed);
}

TEST_F(UpgradeTest, CombinedFileSendsItsDspImageAsAFlashUpgrade) {
  ConnectAndShakeHands();
  const Bytes mcu = ImageFile(1, Pattern(64));
  const Bytes dsp = ImageFile(2, Pattern(77));
  const auto size = [](const Bytes& block) { return static_cast<std::uint32_t>(block.size()); };
  ASSERT_EQ(device->UpgradeStart(
                Write("UPG_FW.bin", MergedFile({0x73, 0x73}, {size(mcu), size(dsp)}, {mcu, dsp}))),
            device::kUpgradeStarted);
  EXPECT_EQ(StepToEnd().back(), device::kUpgradeFinished);
  int mcuChunks = 0;
  for (const auto& command : UpgradeCommands()) {
    mcuChunks += command.group == device::kGroupMcu && command.command == upg::kMcuData ? 1 : 0;
  }
  EXPECT_EQ(mcuChunks, 0);
  EXPECT_EQ(unit->LastUpgrade()->target, device::UpgradeTarget::DspFlash);
  EXPECT_EQ(unit->LastUpgrade()->image, Pattern(77));
}

TEST_F(UpgradeTest, LowerCaseNameIsAnMcuProgramFile) {
  ConnectAndShakeHands();
  ASSERT_EQ(device->UpgradeStart(Write("mcu_upg.bin", ImageFile(1, Pattern(40)))),
            device::kUpgradeStarted);
  EXPECT_EQ(device->UpgradeTargetKind(), device::UpgradeTarget::McuProgram);
  EXPECT_EQ(StepToEnd().back(), device::kUpgradeFinished);
}

TEST_F(UpgradeTest, NotReadyAcknowledgementHoldsTheNextChunkUntilReady) {
  device::testing::ScopedLog log;
  ConnectAndShakeHands();
  unit->SetUpgradeNotReady(1);
  ASSERT_EQ(device->UpgradeStart(Write("MCU_UPG.BIN", ImageFile(1, Pattern(64)))),
            device::kUpgradeStarted);
  const auto dataChunks = [&] {
    int count = 0;
    for (const auto& command : UpgradeCommands()) {
      count += command.command == upg::kMcuData ? 1 : 0;
    }
    return count;
  };
  device->UpgradeStep();  // sends chunk 1
  device->UpgradeStep();  // next: read
  device->UpgradeStep();  // reads "not ready"
  EXPECT_EQ(device->UpgradeState(), device::UPG_WAITING_BIN_DATA_ACK);
  device->UpgradeStep();
  EXPECT_EQ(dataChunks(), 1);
  device->UpgradeStep();  // reads "ready"
  EXPECT_EQ(device->UpgradeState(), device::UPG_DATA_READY);
  EXPECT_EQ(dataChunks(), 1);
  device->UpgradeStep();  // sends chunk 2
  EXPECT_EQ(dataChunks(), 2);
  EXPECT_EQ(StepToEnd().back(), device::kUpgradeFinished);
  EXPECT_NE(log.Finish().find("MCU !!!!! NOT_READY !!!!!!"), std::string::npos);
}

// Every refusal of UpgradeStart: its result, nothing of the image on the wire, and no upgrade
// left behind.
struct StartCase {
  const char* what;
  std::function<std::filesystem::path(UpgradeFixture&)> setUp;
  int result;
  device::ImageError error = device::ImageError::None;
};

class UpgradeStartTest : public UpgradeTest, public ::testing::WithParamInterface<StartCase> {};

std::filesystem::path McuFile(UpgradeFixture& f) {
  return f.Write("MCU_UPG.BIN", ImageFile(1, Pattern(64)));
}

TEST_P(UpgradeStartTest, RefusesAndLeavesNothingBehind) {
  device::testing::ScopedLog log;
  ConnectAndShakeHands();
  const StartCase& c = GetParam();
  const auto path = c.setUp(*this);
  EXPECT_EQ(device->UpgradeStart(path), c.result);
  EXPECT_EQ(device->UpgradeState(), device::UPG_IDLE);
  EXPECT_EQ(device->UpgradeTargetKind(), device::UpgradeTarget::None);
  EXPECT_EQ(device->LastUpgradeError(), c.error);
  EXPECT_EQ(device->UpgradeStep(), device::kUpgradeFailed);  // nothing left to drive
  for (const auto& command : UpgradeCommands()) {
    const auto codes = device::CommandsOf(command.group == device::kGroupScene
                                              ? device::UpgradeTarget::DspFlash
                                              : device::UpgradeTarget::McuProgram);
    EXPECT_NE(command.command, codes.data);
  }
  const std::string lines = log.Finish();
  if (c.error == device::ImageError::WrongModel) {
    EXPECT_NE(lines.find("UPG_FILE_INVALIE!"), std::string::npos);
  }
}

INSTANTIATE_TEST_SUITE_P(
    EveryResult, UpgradeStartTest,
    ::testing::Values(
        StartCase{"missing file", [](UpgradeFixture& f) { return f.mDir / "gone" / "MCU_UPG.BIN"; },
                  device::kUpgradeCannotOpen, device::ImageError::CannotOpen},
        StartCase{"a folder",
                  [](UpgradeFixture& f) {
                    std::filesystem::create_directory(f.mDir / "MCU_UPG.BIN");
                    return f.mDir / "MCU_UPG.BIN";
                  },
                  device::kUpgradeCannotOpen, device::ImageError::CannotOpen},
        StartCase{
            "unknown name",
            [](UpgradeFixture& f) { return f.Write("firmware.bin", ImageFile(1, Pattern(64))); },
            device::kUpgradeFileRefused, device::ImageError::NameNotRecognised},
        StartCase{"flash image for model 22",
                  [](UpgradeFixture& f) {
                    return f.Write("FLASH_UPG.BIN", ImageFile(2, Pattern(64), 22));
                  },
                  device::kUpgradeFileRefused, device::ImageError::WrongModel},
        StartCase{"1 048 577 bytes",
                  [](UpgradeFixture& f) {
                    return f.Write("MCU_UPG.BIN", Bytes(device::kMaxImageFileBytes + 1, 0x5A));
                  },
                  device::kUpgradeFileRefused, device::ImageError::FileTooLarge},
        StartCase{
            "combined file listing six sizes",
            [](UpgradeFixture& f) {
              const Bytes mcu = ImageFile(1, Pattern(40));
              const Bytes dsp = ImageFile(2, Pattern(40));
              return f.Write("UPG_FW.bin", MergedFile({0x73, 0}, {54, 54, 0, 0, 0, 0}, {mcu, dsp}));
            },
            device::kUpgradeFileRefused, device::ImageError::TooManySizes},
        StartCase{"unit not connected",
                  [](UpgradeFixture& f) {
                    f.device->CloseHIDDevice(false);
                    return McuFile(f);
                  },
                  device::kUpgradeNoUnit},
        StartCase{"unit not back after re-enumeration",
                  [](UpgradeFixture& f) {
                    f.unit->SetReenumerationTime(-1ms);
                    f.device->SetUpgradeTiming({2000, 0, 3, 5, 50});
                    return McuFile(f);
                  },
                  device::kUpgradeNoUnit},
        StartCase{"upgrade mode refused",
                  [](UpgradeFixture& f) {
                    f.unit->SetRefuseUpgradeEnter(true);
                    return McuFile(f);
                  },
                  device::kUpgradeUnitRefused},
        StartCase{"MCU start refused",
                  [](UpgradeFixture& f) {
                    f.unit->SetRefuseUpgradeStart(true);
                    return McuFile(f);
                  },
                  device::kUpgradeUnitRefused},
        StartCase{"flash start refused",
                  [](UpgradeFixture& f) {
                    f.unit->SetRefuseUpgradeStart(true);
                    return f.Write("FLASH_UPG.BIN", ImageFile(2, Pattern(64)));
                  },
                  device::kUpgradeUnitRefused}),
    [](const ::testing::TestParamInfo<StartCase>& info) { return std::to_string(info.index); });

TEST_F(UpgradeTest, ImageForAnotherModelThanTheUnitReportedIsRefused) {
  UnitIdentity identity;
  identity.model = 22;
  device.reset();
  unit = std::make_shared<VirtualUnit>(identity);
  device = std::make_unique<device::DspDevice>(std::make_unique<VirtualUnitTransport>(unit));
  ConnectAndShakeHands();
  EXPECT_EQ(device->UpgradeStart(Write("MCU_UPG.BIN", ImageFile(1, Pattern(64)))),
            device::kUpgradeFileRefused);
  EXPECT_EQ(device->LastUpgradeError(), device::ImageError::NotForThisUnit);
  EXPECT_TRUE(UpgradeCommands().empty());
}

TEST_F(UpgradeTest, RefusedBootloaderStartIsReportedByTheFirstStep) {
  ConnectAndShakeHands();
  unit->SetRefuseUpgradeStart(true);
  ASSERT_EQ(device->UpgradeStart(Write("BL_UPG.BIN", ImageFile(1, Pattern(64)))),
            device::kUpgradeStarted);
  EXPECT_EQ(device->UpgradeStep(), device::kUpgradeFailed);
  EXPECT_EQ(device->UpgradeState(), device::UPG_IDLE);
}

TEST_F(UpgradeTest, BootloaderIsReplacedWithoutReEnumeration) {
  ConnectAndShakeHands();
  ASSERT_EQ(device->UpgradeStart(Write("BL_UPG.BIN", ImageFile(1, Pattern(70)))),
            device::kUpgradeStarted);
  EXPECT_EQ(Distinct(StepToEnd()).back(), device::kUpgradeFinished);
  const auto commands = UpgradeCommands();
  EXPECT_EQ(commands.front().command, upg::kBootloaderEnter);
  EXPECT_EQ(commands.back().command, upg::kBootloaderFinish);
  EXPECT_EQ(unit->LastUpgrade()->target, device::UpgradeTarget::Bootloader);
  EXPECT_FALSE(unit->WaitForRestarts(1, 0ms));  // the enter command restarted nothing
}

// The unit vanishes while a chunk is written: the worker reports the failure and ends, the
// device is free again, and the next connection works.
struct UnplugCase {
  const char* name;
  int imageBytes;
  int chunk;
};

class UnplugTest : public UpgradeTest, public ::testing::WithParamInterface<UnplugCase> {};

TEST_P(UnplugTest, FailsTheUpgradeAndTheNextConnectionWorks) {
  ConnectAndShakeHands();
  const UnplugCase& c = GetParam();
  unit->UnplugAtChunk(c.chunk);
  const Bytes image = Pattern(static_cast<std::size_t>(c.imageBytes));
  const bool flash = std::string(c.name).starts_with("FLASH");
  const auto path = Write(c.name, ImageFile(flash ? 2 : 1, image));

  device::UpgradeWorker worker;
  ASSERT_TRUE(worker.Start(*device, path, kMainWindow, device::UpgradeStage::File));
  std::optional<platform::PostedMessage> last;
  while (auto message = poster->WaitNext(kRestartWait)) {
    const bool end = message->id == platform::msg::kUpgradeDone ||
                     message->id == platform::msg::kUpgradeFailed ||
                     message->id == platform::msg::kUpgradeLoadFailed;
    if (end) {
      last = std::move(message);
      break;
    }
  }
  ASSERT_TRUE(last);
  EXPECT_EQ(last->id, platform::msg::kUpgradeFailed);
  EXPECT_EQ(last->value, device::kUpgradeFailed);
  worker.Join();
  EXPECT_FALSE(worker.Running());
  EXPECT_EQ(device->UpgradeState(), device::UPG_IDLE);
  EXPECT_FALSE(device->IsDeviceOpen());
  EXPECT_FALSE(unit->LastUpgrade()->finished);

  unit->PlugIn();
  device->OpenHIDDevice();
  ASSERT_TRUE(device->IsDeviceOpen());
  EXPECT_TRUE(device::Hand_Connect(*device, kShortTimeoutMs));
  EXPECT_TRUE(device->HandshakeOk());
}

INSTANTIATE_TEST_SUITE_P(
    MiddleOfAChunk, UnplugTest,
    ::testing::Values(UnplugCase{"MCU_UPG.BIN", 200, 0}, UnplugCase{"MCU_UPG.BIN", 200, 3},
                      UnplugCase{"MCU_UPG.BIN", 200, 6}, UnplugCase{"FLASH_UPG.BIN", 230, 0},
                      UnplugCase{"FLASH_UPG.BIN", 230, 2}, UnplugCase{"FLASH_UPG.BIN", 230, 4}),
    [](const ::testing::TestParamInfo<UnplugCase>& info) { return std::to_string(info.index); });

TEST_F(UpgradeTest, WorkerPostsStageProgressAndOneEnd) {
  ConnectAndShakeHands();
  device::UpgradeWorker worker;
  ASSERT_TRUE(worker.Start(*device, Write("FLASH_UPG.BIN", ImageFile(2, Pattern(500))), kMainWindow,
                           device::UpgradeStage::ForcedFlash));
  EXPECT_FALSE(worker.Start(*device, mDir / "FLASH_UPG.BIN", kMainWindow,
                            device::UpgradeStage::ForcedFlash));
  std::vector<platform::PostedMessage> messages;
  while (auto message = poster->WaitNext(kRestartWait)) {
    messages.push_back(std::move(*message));
    if (messages.back().id == platform::msg::kUpgradeDone ||
        messages.back().id == platform::msg::kUpgradeFailed) {
      break;
    }
  }
  worker.Join();
  ASSERT_GE(messages.size(), 3u);
  EXPECT_EQ(messages.front().id, platform::msg::kUpgradeFlashStarted);
  EXPECT_EQ(messages.back().id, platform::msg::kUpgradeDone);
  int previous = -1;
  for (std::size_t i = 1; i + 1 < messages.size(); ++i) {
    EXPECT_EQ(messages[i].id, platform::msg::kUpgradeProgress);
    EXPECT_GT(static_cast<int>(messages[i].wParam), previous);
    previous = static_cast<int>(messages[i].wParam);
  }
  EXPECT_EQ(previous, 100);
  EXPECT_TRUE(poster->TakeAll().empty());

  // A refused file ends the run with its result.
  ASSERT_TRUE(
      worker.Start(*device, Write("notes.txt", {}), kMainWindow, device::UpgradeStage::ForcedMcu));
  worker.Join();
  const auto refused = poster->TakeAll();
  ASSERT_EQ(refused.size(), 1u);
  EXPECT_EQ(refused[0].id, platform::msg::kUpgradeLoadFailed);
  EXPECT_EQ(refused[0].value, device::kUpgradeFileRefused);
}

TEST_F(UpgradeTest, CancelLeavesNoUpgradeBehind) {
  ConnectAndShakeHands();
  std::atomic<bool> cancel{false};
  std::vector<device::UpgradeEvent> events;
  const int result =
      device::RunUpgrade(*device, Write("MCU_UPG.BIN", ImageFile(1, Pattern(640))), cancel,
                         [&](device::UpgradeEvent event, int value) {
                           events.push_back(event);
                           if (event == device::UpgradeEvent::Progress && value >= 50) {
                             cancel = true;
                           }
                         });
  EXPECT_EQ(result, device::kUpgradeCancelled);
  EXPECT_EQ(events.back(), device::UpgradeEvent::Cancelled);
  EXPECT_EQ(device->UpgradeState(), device::UPG_IDLE);
  EXPECT_FALSE(unit->LastUpgrade()->finished);
  EXPECT_EQ(device->UpgradeStep(), device::kUpgradeFailed);
}

}  // namespace
}  // namespace sim::testing
