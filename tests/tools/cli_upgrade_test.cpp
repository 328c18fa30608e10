// vexaro-cli upgrade against the virtual unit: progress on a terminal and in a pipe, a message
// and exit code for each outcome, and no start while another program holds the unit.
#include <gtest/gtest.h>

#include <sstream>

#include "sim/virtual_unit_transport.h"
#include "tests/device/firmware_files.h"
#include "tests/sim/upgrade_fixture.h"
#include "tools/cli/upgrade_command.h"

namespace cli {
namespace {

using device::testing::ImageFile;
using device::testing::Pattern;

class CliUpgradeTest : public sim::testing::UpgradeFixture {
 protected:
  CliUpgradeTest() {
    for (auto role : {device::DspDevice::WindowRole::Scene, device::DspDevice::WindowRole::AutoCal,
                      device::DspDevice::WindowRole::Tool}) {
      device->SetWindow(role, sim::testing::kMainWindow);
    }
    Connect();
  }

  int Run(const std::string& file, bool terminal = false) {
    out.str({});
    err.str({});
    CliContext context{device.get(), poster.get(), sim::testing::kMainWindow, out, err};
    context.terminal = terminal;
    const std::vector<std::string> args{file};
    return RunUpgradeCommand(context, args);
  }

  std::ostringstream out;
  std::ostringstream err;
};

TEST_F(CliUpgradeTest, PipedOutputPrintsEachPercentOnItsOwnLine) {
  EXPECT_EQ(Run(Write("MCU_UPG.BIN", ImageFile(1, Pattern(100))).string()), kExitOk);
  EXPECT_EQ(out.str(), "upgrading the MCU program firmware from " +
                           (mDir / "MCU_UPG.BIN").string() +
                           " (the unit restarts into upgrade mode; this takes a few seconds)\n"
                           "sending the image\n4%\n36%\n68%\n100%\n"
                           "upgrade finished; the unit restarts with its new firmware\n");
  EXPECT_TRUE(err.str().empty());
}

TEST_F(CliUpgradeTest, TerminalOutputDrawsABarInPlace) {
  EXPECT_EQ(Run(Write("FLASH_UPG.BIN", ImageFile(2, Pattern(100))).string(), true), kExitOk);
  const std::string text = out.str();
  EXPECT_NE(text.find("sending the image\r[####################--------------------] 50%"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("\r[########################################] 100%\nupgrade finished"),
            std::string::npos)
      << text;
}

TEST_F(CliUpgradeTest, EachFailureHasItsMessageAndExitsWithOne) {
  struct Case {
    const char* what;
    std::function<std::string()> setUp;
    const char* message;
  };
  const std::vector<Case> cases = {
      {"missing file", [&] { return (mDir / "MCU_UPG.BIN.missing" / "MCU_UPG.BIN").string(); },
       "vexaro-cli: cannot open"},
      {"unknown name", [&] { return Write("image.bin", ImageFile(1, Pattern(64))).string(); },
       "refused: the file name is not one of"},
      {"damaged image",
       [&] {
         auto bytes = ImageFile(1, Pattern(64));
         bytes[10] ^= 1;
         return Write("MCU_UPG.BIN", bytes).string();
       },
       "refused: the image checksum does not match"},
      {"unit refuses upgrade mode",
       [&] {
         unit->SetRefuseUpgradeEnter(true);
         return Write("MCU_UPG.BIN", ImageFile(1, Pattern(64))).string();
       },
       "the unit did not enter upgrade mode"},
      {"unit vanishes mid-transfer",
       [&] {
         unit->SetRefuseUpgradeEnter(false);
         unit->UnplugAtChunk(1);
         return Write("MCU_UPG.BIN", ImageFile(1, Pattern(64))).string();
       },
       "the transfer failed"},
  };
  for (const Case& c : cases) {
    const std::string file = c.setUp();
    if (!device->IsDeviceOpen()) {
      unit->PlugIn();
      device->OpenHIDDevice();
    }
    EXPECT_EQ(Run(file), kExitFailure) << c.what;
    EXPECT_NE(err.str().find(c.message), std::string::npos) << c.what << ": " << err.str();
  }
}

TEST_F(CliUpgradeTest, RefusedFileNeverReachesTheUnit) {
  EXPECT_EQ(Run(Write("MCU_UPG.BIN", ImageFile(1, Pattern(64), 22)).string()), kExitFailure);
  EXPECT_NE(err.str().find("made for another model"), std::string::npos);
  EXPECT_TRUE(unit->ReceivedCommands().empty());
}

TEST_F(CliUpgradeTest, AnotherProgramHoldingTheUnitStopsTheUpgrade) {
  sim::VirtualUnitTransport other(unit);
  ASSERT_TRUE(other.Open(device::kUnitVendorId, device::kUnitProductId));
  EXPECT_EQ(Run(Write("MCU_UPG.BIN", ImageFile(1, Pattern(64))).string()), kExitFailure);
  EXPECT_EQ(err.str(),
            "vexaro-cli: another program holds the unit (another connection to the virtual "
            "unit); close it before upgrading\n");
  EXPECT_TRUE(unit->ReceivedCommands().empty());
  other.Close();
  EXPECT_EQ(Run((mDir / "MCU_UPG.BIN").string()), kExitOk);
}

TEST_F(CliUpgradeTest, UnitOfAnotherModelIsNotUpgraded) {
  sim::UnitIdentity identity;
  identity.model = 22;
  device.reset();
  unit = std::make_shared<sim::VirtualUnit>(identity);
  device = std::make_unique<device::DspDevice>(std::make_unique<sim::VirtualUnitTransport>(unit));
  Connect();
  EXPECT_EQ(Run(Write("MCU_UPG.BIN", ImageFile(1, Pattern(64))).string()), kExitFailure);
  EXPECT_EQ(err.str(), "vexaro-cli: the unit is model 22, not 23; not upgrading\n");
}

}  // namespace
}  // namespace cli
