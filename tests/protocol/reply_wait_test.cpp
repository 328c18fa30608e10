// Every request sent at once goes out with its group and command and then waits for the reply as
// long as that request allows: the time-out of the read that follows it.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <ostream>
#include <string>

#include "device/dsp_commands.h"
#include "device/dsp_commands_get.h"
#include "device/ktv_commands.h"
#include "device/mcu_action_commands.h"
#include "device/mcu_commands.h"
#include "device/mcu_protocol.h"
#include "device/parameter_codes.h"
#include "device/scene_commands.h"
#include "tests/protocol/protocol_fixture.h"

namespace device::testing {
namespace {

struct Request {
  const char* name;
  std::function<void(DspDevice&)> send;
  std::uint8_t group;
  std::uint8_t command;
  int timeoutMs;
};

void PrintTo(const Request& request, std::ostream* out) {
  *out << request.name;
}

const std::array<std::uint8_t, 3> kName{'A', 'B', 'C'};
const std::array<std::uint8_t, 2> kProfileBytes{1, 2};

// Parameters and settings: 10 s. Stored scenes, which the unit writes to flash: 20 s. A factory
// reset, which rewrites all of it: 30 s. Quick questions: 0.5 s.
const Request kRequests[] = {
    {"Handshake", [](DspDevice& d) { Hand_Connect(d); }, kGroupMcu, kMcuHandshake, 10000},
    {"McuText", [](DspDevice& d) { Get_Mcu_Text(d); }, kGroupMcu, kMcuText, 10000},
    {"Password", [](DspDevice& d) { Get_Password(d); }, kGroupMcu, kMcuPassword, 10000},
    {"Source", [](DspDevice& d) { Get_Source(d); }, kGroupDsp, dsp::kSource, 10000},
    {"SourceSwitch", [](DspDevice& d) { Source_Switch_Ctrl(d, SourceId(2), true); }, kGroupDsp,
     dsp::kSource, 10000},
    {"Eq", [](DspDevice& d) { Get_EQ(d, 0, 0, 1, 0, 30); }, kGroupDsp, dsp::kEq, 10000},
    {"Ktv", [](DspDevice& d) { Get_KTV(d, ktv::kEchoDelay); }, kGroupKtv, ktv::kEchoDelay, 10000},
    {"Reboot", [](DspDevice& d) { MCU_Reboot_Ctrl(d); }, kGroupMcu, kMcuReboot, 10000},
    {"SceneName", [](DspDevice& d) { Get_Scene_Name(d, 3); }, kGroupScene, scene::kName, 10000},
    {"SetSceneName", [](DspDevice& d) { SetSceneName(d, 3, kName, 3); }, kGroupScene, scene::kName,
     10000},
    {"CurrentScene", [](DspDevice& d) { Get_Current_Scene(d); }, kGroupScene, scene::kCurrent,
     10000},
    {"SceneRequest13", [](DspDevice& d) { Scene_Cmd13_Request(d, 1); }, kGroupScene,
     scene::kRequest13, 10000},
    {"SaveScene", [](DspDevice& d) { SaveScene(d, 2, 0); }, kGroupScene, scene::kSave, 20000},
    {"ReadScene", [](DspDevice& d) { ReadScene(d, 2, scene::kLoadIntoWorking); }, kGroupScene,
     scene::kRead, 20000},
    {"DeleteScene", [](DspDevice& d) { DeleteScene(d, 2); }, kGroupScene, scene::kDelete, 20000},
    {"SetSceneProfile", [](DspDevice& d) { SetSceneProfile(d, 2, 0x0100, kProfileBytes); },
     kGroupScene, scene::kProfile, 20000},
    {"GetSceneProfile", [](DspDevice& d) { GetSceneProfile(d, 2, 0x0100, 2); }, kGroupScene,
     scene::kProfile, 20000},
    {"FactoryDefault", [](DspDevice& d) { Factory_Default_Ctrl(d); }, kGroupMcu, kMcuFactoryDefault,
     30000},
    {"SourceConfig", [](DspDevice& d) { Get_Source_Config(d); }, kGroupDsp, dsp::kSourceConfig,
     500},
    {"PowerOffDelay", [](DspDevice& d) { Get_Delay_Power_Off_Time(d); }, kGroupMcu,
     kMcuPowerOffDelay, 500},
    {"FlashVersion", [](DspDevice& d) { Get_Flash_Version(d); }, kGroupMcu, kMcuFlashVersion, 500},
    {"BootloaderVersion", [](DspDevice& d) { Get_Bootloader_Version(d); }, kGroupMcu,
     kMcuBootloaderVersion, 500},
};

class ReplyWaitTest : public ProtocolFixture, public ::testing::WithParamInterface<Request> {};

TEST_P(ReplyWaitTest, RequestGoesOutAndItsReadWaitsItsTimeOut) {
  const Request& request = GetParam();
  const std::size_t reads = transport->ReadTimeouts().size();
  request.send(*device);
  const auto sent = unit->ReceivedCommands();
  ASSERT_FALSE(sent.empty());
  EXPECT_EQ(sent.back().group, request.group);
  EXPECT_EQ(sent.back().command, request.command);
  const auto timeouts = transport->ReadTimeouts();
  ASSERT_EQ(timeouts.size(), reads + 1);
  EXPECT_EQ(timeouts.back(), request.timeoutMs);
}

INSTANTIATE_TEST_SUITE_P(Requests, ReplyWaitTest, ::testing::ValuesIn(kRequests),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace device::testing
