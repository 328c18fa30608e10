// A DspDevice that has shaken hands with a virtual unit, ready to upgrade it, with a private
// folder for image files and the re-enumeration shortened to what the virtual unit needs.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "device/mcu_commands.h"
#include "device/upgrade_protocol.h"
#include "tests/device/firmware_files.h"
#include "tests/sim/sim_fixture.h"

namespace sim::testing {

using device::testing::Bytes;
using namespace std::chrono_literals;

// The virtual unit is back within milliseconds; the PC looks for it every 5 ms for up to 5 s.
inline constexpr device::UpgradeTiming kFastTiming{2000, 0, 1000, 5, 50};
// Long enough for any restart of the virtual unit, even under a sanitizer.
inline constexpr auto kRestartWait = 10s;

class UpgradeFixture : public SimFixture {
 public:
  // Open to the set-up steps of table-driven cases.
  using SimFixture::device;
  using SimFixture::unit;

  UpgradeFixture() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vexaro-upg-XXXXXX").string();
    mDir = ::mkdtemp(pattern.data());
    device->SetUpgradeTiming(kFastTiming);
    unit->SetReenumerationTime(20ms);
  }
  ~UpgradeFixture() override {
    std::error_code ignored;
    std::filesystem::remove_all(mDir, ignored);
  }

  // Opens the unit and shakes hands, as the program does before it offers an upgrade.
  void ConnectAndShakeHands() {
    Connect();
    device::PC_Connect(*device, device::kPcConnected);
    ASSERT_TRUE(device::Hand_Connect(*device, kShortTimeoutMs));
    ASSERT_TRUE(device->HandshakeOk());
    poster->TakeAll();
  }

  std::filesystem::path Write(const std::string& name, const Bytes& bytes) {
    const auto path = mDir / name;
    device::testing::WriteBytes(path, bytes);
    return path;
  }

  // Steps until the upgrade ends; every result in order. Bounded, so a transfer that never ends
  // fails the test instead of hanging it.
  std::vector<int> StepToEnd(int maxSteps = 100000) {
    std::vector<int> results;
    for (int i = 0; i < maxSteps; ++i) {
      results.push_back(device->UpgradeStep());
      if (results.back() > device::kUpgradeProgressMax) {
        break;
      }
    }
    return results;
  }

  // The upgrade commands the unit received (groups 2 and 3 without the connection commands).
  std::vector<device::CommandRecord> UpgradeCommands() const {
    std::vector<device::CommandRecord> found;
    for (const auto& command : unit->ReceivedCommands()) {
      const bool connection =
          command.group == device::kGroupMcu &&
          (command.command == device::kMcuHandshake || command.command == device::kMcuPcConnect);
      if (!connection) {
        found.push_back(command);
      }
    }
    return found;
  }

  // The distinct values of `results`, in order.
  static std::vector<int> Distinct(const std::vector<int>& results) {
    std::vector<int> values;
    for (int value : results) {
      if (values.empty() || values.back() != value) {
        values.push_back(value);
      }
    }
    return values;
  }

  std::filesystem::path mDir;
};

}  // namespace sim::testing
