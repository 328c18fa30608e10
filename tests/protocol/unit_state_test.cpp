// Settings that no reply brings back to the program, seen in the virtual unit's state after they
// were sent, and the link settings that do come back.
#include <gtest/gtest.h>

#include <array>

#include "device/dsp_commands.h"
#include "device/dsp_commands_get.h"
#include "device/dsp_records.h"
#include "device/parameter_codes.h"
#include "tests/protocol/protocol_fixture.h"

namespace device::testing {
namespace {

using platform::msg::kDspNotify;

class UnitStateTest : public ProtocolFixture {};

TEST_F(UnitStateTest, TrimAndDelayLinksComeBackAsLinkedPairs) {
  // Outputs 2 and 3 form pair 1; 4 and 6 lie in different pairs and link nothing.
  const std::array<ChannelPair, 2> pairs{{{2, 3}, {4, 6}}};
  const std::array<ChannelPair, 1> last{{{6, 7}}};
  CH_Trim_Link_Ctrl(*device, 0, 1, pairs, true);
  CH_Delay_Link_Ctrl(*device, 0, 0, last, true);
  poster->TakeAll();
  ASSERT_TRUE(Get_CH_Trim_Link(*device, 0));
  ASSERT_TRUE(Get_CH_Delay_Link(*device, 0));
  const auto trim = Records<LinkRecord>(kDspNotify, dsp::kTrimLink);
  const auto delay = Records<LinkRecord>(kDspNotify, dsp::kDelayLink);
  ASSERT_EQ(trim.size(), 1u);
  ASSERT_EQ(delay.size(), 1u);
  EXPECT_EQ(trim[0].link, 1);
  EXPECT_EQ(trim[0].pairs, (std::array<std::uint8_t, 4>{0, 1, 0, 0}));
  EXPECT_EQ(delay[0].link, 0);
  EXPECT_EQ(delay[0].pairs, (std::array<std::uint8_t, 4>{0, 0, 0, 1}));
}

TEST_F(UnitStateTest, RoutingBypassAndMixLevelsOfOneSource) {
  const std::array<int, 2> inputs{3, 1};
  Remap_Ch_Ctrl(*device, 0, 5, 7, inputs, true);
  DSP_Bypass_Ctrl(*device, 0, 6, 1, true);
  // Inputs 2 and 3 into output 4 of source 5.
  const std::array<int, 2> levels{40, 70};
  Output_Mix_Trim_Ctrl(*device, 0, 5, 2, 3, 4, levels, true);
  const sim::UnitState state = unit->State();
  const sim::SceneState& scene = state.working;
  EXPECT_EQ(scene.remap[5][7], (std::vector<std::uint8_t>{3, 1}));
  EXPECT_EQ(scene.dspBypass, (std::array<std::uint8_t, 7>{0, 0, 0, 0, 0, 0, 1}));
  EXPECT_EQ(scene.mixLevels[5][2][4], 40);
  EXPECT_EQ(scene.mixLevels[5][3][4], 70);
  EXPECT_EQ(scene.mixLevels[5][1][4], sim::FactoryScene().mixLevels[5][1][4]);  // outside the range
  // The unit answers these gets, though the program does not decode their replies.
  EXPECT_TRUE(Get_Remap_Ch(*device, 0, 5, 7));
  EXPECT_TRUE(Get_All_Bypass(*device, 0, 6));
}

TEST_F(UnitStateTest, BandResetRestoresTheNamedChannelsOnly) {
  EQ_Ctrl(*device, 0, 0, 1, 4, 1000, 2.0f, 6.0f, true);
  EQ_Ctrl(*device, 0, 0, 2, 4, 1000, 2.0f, 6.0f, true);
  const std::array<int, 1> channels{1};
  PEQ_Reset_Ctrl(*device, 0, 0, channels, true);
  EXPECT_TRUE(Get_PEQ_Reset(*device, 0));
  const sim::UnitState state = unit->State();
  const sim::SceneState& scene = state.working;
  EXPECT_EQ(scene.outputs[1].bands[4].freq, sim::FactoryBands()[4].freq);
  EXPECT_EQ(scene.outputs[2].bands[4].freq, 1000);
}

TEST_F(UnitStateTest, CalibrationSwitchesAndCommand51) {
  IRC_Set_Test_Mic(*device, 1, true);
  EXPECT_EQ(unit->ReceivedCommands().back().command, dsp::kIrcTestMic);
  EXPECT_EQ(LastPayload(), (Bytes{1}));
  IRC_Sel_Test_Module(*device, 2, true);
  EXPECT_EQ(unit->ReceivedCommands().back().command, dsp::kIrcTestModule);
  EXPECT_EQ(LastPayload(), (Bytes{2}));
  DSP_Cmd51_Ctrl(*device, 0x33, true);
  EXPECT_EQ(unit->State().command51, 0x33);
}

}  // namespace
}  // namespace device::testing
