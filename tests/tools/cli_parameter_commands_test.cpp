// vexaro-cli's parameter commands against the virtual unit: reading, writing in the model's
// units, and refusing out-of-range values before anything is sent.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "device/dsp_commands.h"
#include "device/parameter_codes.h"
#include "device/scene_commands.h"
#include "platform/queued_poster.h"
#include "sim/virtual_unit.h"
#include "sim/virtual_unit_transport.h"
#include "tools/cli/info_command.h"
#include "tools/cli/mute_command.h"
#include "tools/cli/names_command.h"
#include "tools/cli/output_command.h"
#include "tools/cli/source_command.h"
#include "tools/cli/volume_command.h"

namespace cli {
namespace {

constexpr platform::WindowHandle kWindow = 1;

class CliCommandTest : public ::testing::Test {
 protected:
  CliCommandTest() {
    poster->OpenWindow(kWindow);
    platform::InstallPoster(poster);
    for (auto role :
         {device::DspDevice::WindowRole::Main, device::DspDevice::WindowRole::Scene,
          device::DspDevice::WindowRole::AutoCal, device::DspDevice::WindowRole::Tool}) {
      device.SetWindow(role, kWindow);
    }
    device.OpenHIDDevice();
  }
  ~CliCommandTest() override { platform::InstallPoster(nullptr); }

  int Run(int (*command)(CliContext&, CommandArgs), std::vector<std::string> args) {
    out.str({});
    err.str({});
    CliContext context{&device, poster.get(), kWindow, out, err, json};
    return command(context, args);
  }
  // Parameter commands (group 1) the unit received.
  std::size_t DspCommands() const {
    std::size_t count = 0;
    for (const auto& command : unit->ReceivedCommands()) {
      count += command.group == device::kGroupDsp ? 1 : 0;
    }
    return count;
  }

  std::shared_ptr<sim::VirtualUnit> unit = std::make_shared<sim::VirtualUnit>();
  std::shared_ptr<platform::QueuedPoster> poster = std::make_shared<platform::QueuedPoster>();
  device::DspDevice device{std::make_unique<sim::VirtualUnitTransport>(unit)};
  std::ostringstream out;
  std::ostringstream err;
  bool json = false;
};

TEST_F(CliCommandTest, OutOfRangeValuesAreRefusedWithTheRangeAndNothingIsSent) {
  EXPECT_EQ(Run(RunVolumeCommand, {"7"}), kExitUsage);
  EXPECT_EQ(err.str(), "vexaro-cli: volume must be -60..6 dB\n");
  EXPECT_EQ(Run(RunOutputCommand, {"2", "trim", "-61"}), kExitUsage);
  EXPECT_EQ(err.str(), "vexaro-cli: trim must be -60..0 dB\n");
  EXPECT_EQ(Run(RunOutputCommand, {"3", "delay", "15.5"}), kExitUsage);
  EXPECT_EQ(err.str(), "vexaro-cli: delay must be 0..15 ms\n");
  EXPECT_EQ(Run(RunOutputCommand, {"7", "eq", "12", "--gain", "1"}), kExitUsage);
  EXPECT_EQ(err.str(), "vexaro-cli: band must be 1..11\n");
  EXPECT_EQ(Run(RunOutputCommand, {"1", "eq", "1", "--q", "9.5"}), kExitUsage);
  EXPECT_EQ(Run(RunOutputCommand, {"1", "crossover", "hp", "--type", "4"}), kExitUsage);
  EXPECT_EQ(Run(RunSourceCommand, {"seven"}), kExitUsage);
  EXPECT_TRUE(unit->ReceivedCommands().empty());
}

TEST_F(CliCommandTest, WritesInTheModelsUnitsAndPrintsWhatTheUnitReports) {
  EXPECT_EQ(Run(RunVolumeCommand, {"-20"}), kExitOk);
  EXPECT_EQ(out.str(), "volume: -20 dB\n");
  EXPECT_EQ(unit->State().mainVolume, -20);

  EXPECT_EQ(Run(RunOutputCommand, {"2", "trim", "-6"}), kExitOk);
  EXPECT_EQ(out.str(), "output 2 trim: -6 dB\n");
  EXPECT_EQ(unit->State().working.outputs[1].trim, -6);

  EXPECT_EQ(Run(RunOutputCommand, {"4", "delay", "2.5"}), kExitOk);
  EXPECT_EQ(out.str(), "output 4 delay: 2.500 ms\n");

  EXPECT_EQ(Run(RunMuteCommand, {"on"}), kExitOk);
  EXPECT_EQ(out.str(), "mute: on\n");
  EXPECT_EQ(Run(RunSourceCommand, {}), kExitOk);
  EXPECT_EQ(out.str(), "source: 0\n");
}

TEST_F(CliCommandTest, EqBandShowsTheWiresResolutionAndLeavesBypass) {
  EXPECT_EQ(Run(RunOutputCommand, {"2", "eq", "6"}), kExitOk);
  EXPECT_EQ(out.str(), "output 2 band 6: 63 Hz, Q 5.80, gain 0.0 dB (equaliser bypassed)\n");
  EXPECT_EQ(
      Run(RunOutputCommand, {"2", "eq", "6", "--freq", "1000", "--q", "1.47", "--gain", "-3.5"}),
      kExitOk);
  EXPECT_EQ(out.str(), "output 2 band 6: 1000 Hz, Q 1.40, gain -3.5 dB\n");
  EXPECT_EQ(Run(RunOutputCommand, {"2", "eq", "6", "--disable"}), kExitOk);
  EXPECT_EQ(out.str(), "output 2 band 6: 1000 Hz, Q 1.40, gain 0.0 dB\n");
}

TEST_F(CliCommandTest, CrossoverKeepsTheHighPassBelowTheLowPass) {
  const std::size_t before = DspCommands();
  EXPECT_EQ(Run(RunOutputCommand, {"5", "crossover", "lp", "--freq", "1000"}), kExitUsage);
  EXPECT_NE(err.str().find("must not be above the low-pass"), std::string::npos);
  EXPECT_EQ(DspCommands(), before + 1);  // the filters were read, nothing was written

  EXPECT_EQ(Run(RunOutputCommand, {"1", "crossover", "hp", "--freq", "80", "--slope", "3"}),
            kExitOk);
  EXPECT_EQ(out.str(), "output 1 high-pass: 80 Hz, slope 3, type 3\n");
}

TEST_F(CliCommandTest, NamesListsTheTenStoredScenes) {
  const std::array<std::uint8_t, 4> name{'C', 'l', 'u', 'b'};
  device::SetSceneName(device, 3, name, 4);
  EXPECT_EQ(Run(RunNamesCommand, {}), kExitOk);
  const std::string text = out.str();
  EXPECT_NE(text.find("1: (empty)\n"), std::string::npos);
  EXPECT_NE(text.find("3: Club\n"), std::string::npos);
  EXPECT_NE(text.find("10: (empty)\n"), std::string::npos);
}

TEST_F(CliCommandTest, WithJsonEveryReadingCommandPrintsOneObject) {
  json = true;
  const std::pair<std::vector<std::string>, std::string> outputs[] = {
      {{"2", "trim"}, R"({"output":2,"trim":0})"},
      {{"4", "delay", "2.521"}, R"({"output":4,"delay":2.521})"},
      {{"3", "phase"}, R"({"output":3,"phase":"normal"})"},
      {{"1", "role"}, R"({"output":1,"role":6,"roleName":"output_menu_front_left_all_freq"})"},
      {{"2", "eq", "6"}, R"({"output":2,"band":6,"freq":63,"q":5.8,"gain":0,"bypassed":true})"},
      {{"5", "crossover", "hp"},
       R"({"output":5,"filter":"hp","freq":3400,"slope":2,"type":3,"off":false})"},
  };
  for (const auto& [args, object] : outputs) {
    EXPECT_EQ(Run(RunOutputCommand, args), kExitOk) << err.str();
    EXPECT_EQ(out.str(), object + "\n");
  }
  EXPECT_EQ(Run(RunVolumeCommand, {"-7"}), kExitOk);
  EXPECT_EQ(out.str(), "{\"volume\":-7}\n");
  EXPECT_EQ(Run(RunMuteCommand, {}), kExitOk);
  EXPECT_EQ(out.str(), "{\"mute\":false}\n");
  EXPECT_EQ(Run(RunSourceCommand, {}), kExitOk);
  EXPECT_EQ(out.str(), "{\"source\":0}\n");
  EXPECT_EQ(Run(RunInfoCommand, {}), kExitOk);
  EXPECT_EQ(out.str(), R"({"model":23,"masterVersion":16,"slaveVersion":2,"handshake":"accepted"})"
                       "\n");
  EXPECT_EQ(Run(RunNamesCommand, {}), kExitOk);
  EXPECT_EQ(out.str(), R"({"names":["","","","","","","","","",""]})"
                       "\n");
  // A refusal prints no object, only its message.
  EXPECT_EQ(Run(RunVolumeCommand, {"9"}), kExitUsage);
  EXPECT_TRUE(out.str().empty());
  EXPECT_FALSE(err.str().empty());
}

TEST_F(CliCommandTest, RefusedHandshakeStopsBeforeAnySetting) {
  unit->SetRefuseHandshake(true);
  EXPECT_EQ(Run(RunVolumeCommand, {"-10"}), kExitFailure);
  EXPECT_NE(err.str().find("refused"), std::string::npos);
  EXPECT_EQ(DspCommands(), 0u);
}

}  // namespace
}  // namespace cli
