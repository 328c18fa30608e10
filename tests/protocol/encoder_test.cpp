// Payloads of the parameter commands, byte by byte, as the unit receives them.
#include <gtest/gtest.h>

#include <array>

#include "device/dsp_commands.h"
#include "device/ktv_commands.h"
#include "device/mcu_action_commands.h"
#include "device/parameter_codes.h"
#include "device/scene_commands.h"
#include "tests/protocol/protocol_fixture.h"

namespace device::testing {
namespace {

class EncoderTest : public ProtocolFixture {};

TEST_F(EncoderTest, EqBandCarriesQAndGainInTenthsWithGainOffset) {
  EQ_Ctrl(*device, 0, 0, 2, 5, 1000, 1.4f, -3.5f, true);
  //                   scene source ch band freq(1000)  Q 1 . 4   gain+18 14 . 5
  EXPECT_EQ(LastPayload(), (Bytes{0x00, 0x00, 0x02, 0x05, 0x03, 0xE8, 0x01, 0x04, 0x0E, 0x05}));
  const Bytes frame = transport->LastFrame();
  ASSERT_GE(frame.size(), 7u);
  EXPECT_EQ(frame[3], 0x0D);  // LEN: group, command, op and ten payload bytes
  EXPECT_EQ((Bytes{frame[4], frame[5], frame[6]}), (Bytes{kGroupDsp, dsp::kEq, kOpSet}));
}

TEST_F(EncoderTest, EqBandEdgesOfTheGainAndQRanges) {
  EQ_Ctrl(*device, 3, 0, 7, 10, 20000, 0.5f, 12.0f, true);
  EXPECT_EQ(LastPayload(), (Bytes{3, 0, 7, 10, 0x4E, 0x20, 0, 5, 30, 0}));
  EQ_Ctrl(*device, 0, 0, 0, 0, 20, 9.0f, -18.0f, true);
  EXPECT_EQ(LastPayload(), (Bytes{0, 0, 0, 0, 0x00, 0x14, 9, 0, 0, 0}));
}

TEST_F(EncoderTest, DelayCarriesWholeMillisecondsAndThousandths) {
  const std::array<float, 2> delays{2.5f, 15.0f};
  Delay_Ctrl(*device, 0, 0, 3, 4, delays, true);
  EXPECT_EQ(LastPayload(), (Bytes{0, 0, 3, 4, 0x02, 0x01, 0xF4, 0x0F, 0x00, 0x00}));
}

TEST_F(EncoderTest, TrimIsTruncatedTowardZeroAsASignedByte) {
  const std::array<float, 3> trims{-6.0f, -6.9f, 12.7f};
  Trim_Ctrl(*device, 0, 0, 0, 2, trims, true);
  EXPECT_EQ(LastPayload(), (Bytes{0, 0, 0, 2, 0xFA, 0xFA, 0x0C}));
}

TEST_F(EncoderTest, RangeEndingBeforeItsStartSendsOnlyTheHeader) {
  Mute_Ch_Ctrl(*device, 1, 0, 5, 4, {}, true);
  EXPECT_EQ(LastPayload(), (Bytes{1, 0, 5, 4}));
  Delay_Ctrl(*device, 0, 0, 7, 0, {}, true);
  EXPECT_EQ(LastPayload(), (Bytes{0, 0, 7, 0}));
}

TEST_F(EncoderTest, ValuesThatDoNotCoverTheRangeAreNotSent) {
  const std::array<int, 2> mutes{1, 1};
  const std::size_t before = unit->ReceivedCommands().size();
  Mute_Ch_Ctrl(*device, 0, 0, 0, 7, mutes, true);
  // 60 delays need 184 bytes: more than one frame carries.
  const std::vector<float> delays(60, 1.0f);
  Delay_Ctrl(*device, 0, 0, 0, 59, delays, true);
  EXPECT_EQ(unit->ReceivedCommands().size(), before);
}

TEST_F(EncoderTest, ChannelLinkWithAndWithoutPairs) {
  CH_Link_Ctrl(*device, 0, 0, {}, true);
  EXPECT_EQ(LastPayload(), (Bytes{0, 0, 0}));
  const std::array<ChannelPair, 2> pairs{{{0, 1}, {6, 7}}};
  CH_Link_Ctrl(*device, 2, 1, pairs, true);
  EXPECT_EQ(LastPayload(), (Bytes{2, 1, 2, 0, 1, 6, 7}));
}

TEST_F(EncoderTest, FilterOrdersTypeBeforeFrequencyAndSlopeLast) {
  Filter_Ctrl(*device, 1, 0, 4, kHighPassFilter, 3400, 2, 3, true);
  EXPECT_EQ(LastPayload(), (Bytes{1, 0, 4, 2, 3, 0x0D, 0x48, 2}));
}

TEST_F(EncoderTest, MixMasksTakeOneByteOnAFourInputUnit) {
  const std::array<std::uint32_t, 2> masks{0x0F, 0x103};
  Mix_Ch_Ctrl(*device, 0, 5, 2, 3, masks, true);
  EXPECT_EQ(LastPayload(), (Bytes{0, 5, 2, 3, 0x0F, 0x03}));
}

TEST_F(EncoderTest, SixteenBitValuesAreBigEndian) {
  IRC_Ctrl(*device, 1, 0x01FF, 2, true);
  EXPECT_EQ(LastPayload(), (Bytes{1, 0x01, 0xFF, 2}));
  KTV_Ctrl(*device, ktv::kEchoDelay, 300, true);
  EXPECT_EQ(LastPayload(), (Bytes{0x01, 0x2C}));
  KTV_Ctrl(*device, ktv::kBassGain, -6, true);
  EXPECT_EQ(LastPayload(), (Bytes{0xFA}));
  EXPECT_TRUE(Set_Power_Off_Time(*device, 1500, true));
  EXPECT_EQ(LastPayload(), (Bytes{0x05, 0xDC}));
}

TEST_F(EncoderTest, InputEqCarriesABandRangeOfSixByteGroups) {
  const std::array<EqBandValue, 2> bands{{{100, 1.0f, 0.0f}, {1000, 2.5f, -1.5f}}};
  Input_EQ_Ctrl(*device, 0, 2, 1, 3, 4, bands, true);
  EXPECT_EQ(LastPayload(), (Bytes{0, 2, 1, 3, 4, 0, 100, 1, 0, 18, 0, 0x03, 0xE8, 2, 5, 16, 5}));
}

TEST_F(EncoderTest, QueuedCommandIsDroppedWhileTheQueueIsDisabled) {
  device->DisableQueue();
  const std::size_t before = unit->ReceivedCommands().size();
  Source_Switch_Ctrl(*device, SourceId(3), false);
  EQ_Ctrl(*device, 0, 0, 0, 0, 1000, 1.0f, 0.0f, false);
  EXPECT_EQ(unit->ReceivedCommands().size(), before);
}

TEST_F(EncoderTest, SceneCommandsReturnTheReplyWait) {
  EXPECT_TRUE(SaveScene(*device, 5, 0));
  EXPECT_EQ(LastPayload(), (Bytes{5, 0}));
  device->CloseHIDDevice(false);
  EXPECT_FALSE(DeleteScene(*device, 5));
}

TEST_F(EncoderTest, SceneNameNeverReadsPastTheCallersBuffer) {
  const std::array<std::uint8_t, 4> name{'C', 'l', 'u', 'b'};
  SetSceneName(*device, 5, name, 16);
  EXPECT_EQ(LastPayload(), (Bytes{5, 4, 'C', 'l', 'u', 'b'}));
}

TEST_F(EncoderTest, SceneProfileDataLongerThanAFrameIsRefused) {
  const std::vector<std::uint8_t> data(54, 0x11);
  const std::size_t before = unit->ReceivedCommands().size();
  EXPECT_FALSE(SetSceneProfile(*device, 1, 0, data));
  EXPECT_EQ(unit->ReceivedCommands().size(), before);
  EXPECT_TRUE(SetSceneProfile(*device, 1, 0x0102, std::span(data).first(53)));
  const Bytes payload = LastPayload();
  ASSERT_EQ(payload.size(), 57u);
  //                                              scene offset(0x0102) length
  EXPECT_EQ(Bytes(payload.begin(), payload.begin() + 4), (Bytes{1, 0x01, 0x02, 53}));
}

TEST_F(EncoderTest, SceneProfileRequestCarriesASixteenBitOffset) {
  EXPECT_TRUE(GetSceneProfile(*device, 7, 0x0135, 40));
  const CommandRecord sent = unit->ReceivedCommands().back();
  EXPECT_EQ((Bytes{sent.group, sent.command, sent.op}),
            (Bytes{kGroupScene, scene::kProfile, kOpGet}));
  //                        scene offset(0x0135) length
  EXPECT_EQ(sent.payload, (Bytes{7, 0x01, 0x35, 40}));
}

}  // namespace
}  // namespace device::testing
