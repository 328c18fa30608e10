// A set followed by a get through the virtual unit returns what was set, at the wire's
// resolution.
#include <gtest/gtest.h>

#include <array>

#include "device/dsp_commands.h"
#include "device/dsp_commands_get.h"
#include "device/dsp_records.h"
#include "device/ktv_commands.h"
#include "device/mcu_action_commands.h"
#include "device/parameter_codes.h"
#include "device/scene_commands.h"
#include "tests/protocol/protocol_fixture.h"

namespace device::testing {
namespace {

using platform::msg::kDspNotify;

class RoundTripTest : public ProtocolFixture {
 protected:
  // The plain value of the one notification of `code`.
  std::intptr_t ValueOf(std::uint32_t id, std::uintptr_t code) {
    const auto messages = Take(id, code);
    EXPECT_EQ(messages.size(), 1u);
    return messages.empty() ? -1000 : messages[0].value;
  }
};

TEST_F(RoundTripTest, QGoesOutInTenthsAndComesBackInHundredths) {
  EQ_Ctrl(*device, 0, 0, 1, 4, 1000, 1.47f, -3.55f, true);
  ASSERT_TRUE(Get_EQ(*device, 0, 0, 1, 4, 4));
  const auto bands = Records<EqRecord>(kDspNotify, dsp::kEq);
  ASSERT_EQ(bands.size(), 1u);
  EXPECT_EQ(bands[0].freq, 1000);
  EXPECT_FLOAT_EQ(bands[0].q, 1.4f);  // the hundredths were lost on the way out
  // The gain travels as gain + 18 truncated to tenths: 14.45 becomes 14.4, that is -3.6 dB.
  EXPECT_FLOAT_EQ(bands[0].gain, -3.6f);
  // The unit keeps the tenths digit as hundredths: 4 tenths are reported as 40 hundredths.
  const sim::UnitState state = unit->State();
  const auto& band = state.working.outputs[1].bands[4];
  EXPECT_EQ(band.q, 1);
  EXPECT_EQ(band.qHundredths, 40);
}

TEST_F(RoundTripTest, CrossoverFilters) {
  Filter_Ctrl(*device, 0, 0, 2, kHighPassFilter, 80, 3, 2, true);
  Filter_Ctrl(*device, 0, 0, 2, kLowPassFilter, 12000, 4, 1, true);
  ASSERT_TRUE(Get_Filter(*device, 0, 0, 2, 2));
  const auto filters = Records<FilterRecord>(kDspNotify, dsp::kFilter);
  ASSERT_EQ(filters.size(), 1u);
  const FilterRecord& f = filters[0];
  EXPECT_EQ((std::array{f.channel, f.hpType, f.hpFreq, f.hpSlope, f.lpType, f.lpFreq, f.lpSlope}),
            (std::array{2, 2, 80, 3, 1, 12000, 4}));
}

TEST_F(RoundTripTest, DelaysKeepThousandthsOfAMillisecond) {
  const std::array<float, 3> delays{2.5f, 7.0219f, 15.0f};
  Delay_Ctrl(*device, 0, 0, 5, 7, delays, true);
  ASSERT_TRUE(Get_Delay(*device, 0, 0, 5, 7));
  const auto records = Records<DelayRecord>(kDspNotify, dsp::kDelay);
  ASSERT_EQ(records.size(), 3u);
  EXPECT_FLOAT_EQ(records[0].delay, 2.5f);
  EXPECT_FLOAT_EQ(records[1].delay, 7.021f);
  EXPECT_FLOAT_EQ(records[2].delay, 15.0f);
}

TEST_F(RoundTripTest, TrimTravelsAsAttenuationAndComesBackAsWholeDecibels) {
  const std::array<float, 2> attenuations{TrimAttenuation(-6.5f), TrimAttenuation(-60.0f)};
  Trim_Ctrl(*device, 0, 0, 0, 1, attenuations, true);
  ASSERT_TRUE(Get_Trim(*device, 0, 0, 0, 1));
  const auto trims = Records<TrimRecord>(kDspNotify, dsp::kTrim);
  ASSERT_EQ(trims.size(), 2u);
  EXPECT_FLOAT_EQ(trims[0].trim, -6.0f);
  EXPECT_FLOAT_EQ(trims[1].trim, -60.0f);
}

TEST_F(RoundTripTest, OneByteChannelSettings) {
  struct Kind {
    std::uint8_t code;
    void (*set)(DspDevice&, int, int, int, int, std::span<const int>, bool);
    bool (*get)(DspDevice&, int, int, int, int);
    std::array<int, 2> values;
  };
  const std::array<Kind, 4> kinds{{{dsp::kMuteCh, Mute_Ch_Ctrl, Get_Mute_Ch, {1, 0}},
                                   {dsp::kPhase, Phase_Ctrl, Get_Phase, {0, 1}},
                                   {dsp::kChType, CH_Type_Ctrl, Get_CH_Type, {24, 3}},
                                   {dsp::kPeqBypass, PEQ_Bypass_Ctrl, Get_PEQ_Bypass, {0, 1}}}};
  for (const Kind& kind : kinds) {
    kind.set(*device, 0, 0, 3, 4, kind.values, true);
    ASSERT_TRUE(kind.get(*device, 0, 0, 3, 4));
    const auto records = Records<ChannelValueRecord>(kDspNotify, kind.code);
    ASSERT_EQ(records.size(), 2u) << "code " << int{kind.code};
    EXPECT_EQ(records[0].channel, 3);
    EXPECT_EQ(records[0].value, kind.values[0]) << "code " << int{kind.code};
    EXPECT_EQ(records[1].value, kind.values[1]) << "code " << int{kind.code};
  }
}

TEST_F(RoundTripTest, RoutingLinkAndLock) {
  const std::array<std::uint32_t, 1> masks{0x0C};
  Mix_Ch_Ctrl(*device, 0, 5, 6, 6, masks, true);
  ASSERT_TRUE(Get_Mix_Ch(*device, 0, 5, 6, 6));
  const auto mix = Records<MixRecord>(kDspNotify, dsp::kMix);
  ASSERT_EQ(mix.size(), 1u);
  EXPECT_EQ((std::array{mix[0].source, mix[0].output, mix[0].mask}), (std::array{5, 6, 0x0C}));

  const std::array<ChannelPair, 2> pairs{{{0, 1}, {6, 7}}};
  CH_Link_Ctrl(*device, 0, 1, pairs, true);
  CH_Lock_Ctrl(*device, 0, 1, true);
  ASSERT_TRUE(Get_CH_Link(*device, 0));
  ASSERT_TRUE(Get_CH_Lock(*device, 0));
  const auto links = Records<LinkRecord>(kDspNotify, dsp::kChLink);
  ASSERT_EQ(links.size(), 1u);
  EXPECT_EQ(links[0].link, 1);
  EXPECT_EQ(links[0].pairs, (std::array<std::uint8_t, 4>{1, 0, 0, 1}));
  const auto locks = Records<LockRecord>(kDspNotify, dsp::kChLock);
  ASSERT_EQ(locks.size(), 1u);
  EXPECT_EQ(locks[0].lock, 1);
}

TEST_F(RoundTripTest, UnitWideValues) {
  Source_Switch_Ctrl(*device, SourceId(5), true);
  Main_Volume_Ctrl(*device, MainVolumeCode(-20), true);
  Subwoofer_Volume_Ctrl(*device, -3, true);
  Mute_All_Ctrl(*device, 1, true);
  Input_Ch_Threshold_Ctrl(*device, -42, true);
  Sel_Remote_CH_Ctrl(*device, 0x0102, true);
  poster->TakeAll();
  Get_Source(*device);
  EXPECT_EQ(ValueOf(kDspNotify, dsp::kSource), 0x56);
  Get_Main_Volume(*device);
  EXPECT_EQ(ValueOf(kDspNotify, dsp::kMainVolume), -20);
  Get_Subwoofer_Volume(*device);
  EXPECT_EQ(ValueOf(kDspNotify, dsp::kSubVolume), -3);
  Get_Mute(*device);
  EXPECT_EQ(ValueOf(kDspNotify, dsp::kMuteAll), 1);
  Get_Input_Threshold(*device, 0, 0, true);
  EXPECT_EQ(ValueOf(kDspNotify, dsp::kInputThreshold), -42);
  Get_Remote_CH(*device);
  EXPECT_EQ(ValueOf(kDspNotify, dsp::kRemoteChannel), 0x0102);
}

TEST_F(RoundTripTest, KaraokeValuesAndPowerOffDelay) {
  const std::array<int, 10> values{70, 80, 3, 40, 1200, 50, 20, 2, -6, 5};
  for (int code = 1; code <= 10; ++code) {
    KTV_Ctrl(*device, code, values[static_cast<std::size_t>(code - 1)], true);
  }
  poster->TakeAll();
  for (int code = 1; code <= 10; ++code) {
    ASSERT_TRUE(Get_KTV(*device, code));
    EXPECT_EQ(ValueOf(platform::msg::kKtvNotify, static_cast<std::uintptr_t>(code)),
              values[static_cast<std::size_t>(code - 1)])
        << "code " << code;
  }
  Set_Power_Off_Time(*device, 2500, true);
  ASSERT_TRUE(Get_Delay_Power_Off_Time(*device));
  EXPECT_EQ(ValueOf(platform::msg::kMcuNotify, kMcuPowerOffDelay), 2500);
}

TEST_F(RoundTripTest, InputChannelSettings) {
  const std::array<int, 2> trims{-10, 5};
  Input_Trim_Ctrl(*device, 0, 2, 0, 1, trims, true);
  const std::array<int, 1> mutes{1};
  Mute_Input_Ch_Ctrl(*device, 0, 2, 3, 3, mutes, true);
  Input_Phase_Ctrl(*device, 0, 2, 1, 1, mutes, true);
  const std::array<EqBandValue, 1> band{{{250, 2.3f, 4.2f}}};
  Input_EQ_Ctrl(*device, 0, 2, 1, 6, 6, band, true);
  const std::array<int, 2> levels{0, 75};
  Input_Mix_Trim_Ctrl(*device, 0, 5, 3, 6, 7, levels, true);
  poster->TakeAll();

  Get_Input_Trim(*device, 0, 2, 0, 1);
  const auto trimRecords = Records<InputChannelsRecord>(kDspNotify, dsp::kInputTrim);
  ASSERT_EQ(trimRecords.size(), 1u);
  EXPECT_EQ(static_cast<std::int8_t>(trimRecords[0].values[0]), -10);
  EXPECT_EQ(trimRecords[0].values[1], 5);
  Get_Mute_Input_Ch(*device, 0, 2, 3, 3);
  const auto muteRecords = Records<InputChannelsRecord>(kDspNotify, dsp::kInputMute);
  ASSERT_EQ(muteRecords.size(), 1u);
  EXPECT_EQ(muteRecords[0].values[3], 1);
  Get_Input_Phase(*device, 0, 2, 1, 1);
  const auto phases = Records<ChannelValueRecord>(kDspNotify, dsp::kInputPhase);
  ASSERT_EQ(phases.size(), 1u);
  EXPECT_EQ(phases[0].value, 1);
  Get_Input_EQ(*device, 0, 2, 1, 6, 6);
  const auto bands = Records<EqRecord>(kDspNotify, dsp::kInputEq);
  ASSERT_EQ(bands.size(), 1u);
  EXPECT_EQ(bands[0].freq, 250);
  EXPECT_FLOAT_EQ(bands[0].q, 2.3f);
  EXPECT_FLOAT_EQ(bands[0].gain, 4.2f);
  Get_Input_Mix_CH_Trim(*device, 0, 5, 3, 6, 7);
  const auto mix = Records<InputMixTrimRecord>(kDspNotify, dsp::kInputMixTrim);
  ASSERT_EQ(mix.size(), 1u);
  EXPECT_EQ(mix[0].inCh, 3);
  EXPECT_EQ(mix[0].trims[0], 0);
  EXPECT_EQ(mix[0].trims[1], 75);
}

TEST_F(RoundTripTest, ConfiguredNoiseLevelsReachTheToolWindow) {
  unit->SetInputNoise(1, -70.5f);
  unit->SetInputNoise(2, -12.0f);
  ASSERT_TRUE(Get_Input_Noise(*device, 0, 3, true));
  const auto messages = Take(kDspNotify, dsp::kInputNoise);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].window, kToolWindow);
  const auto* noise = platform::RecordAs<InputNoiseRecord>(messages[0]);
  ASSERT_NE(noise, nullptr);
  EXPECT_FLOAT_EQ(noise->levels[1], -70.5f);
  EXPECT_FLOAT_EQ(noise->levels[2], -12.0f);
  EXPECT_FLOAT_EQ(noise->levels[0], -100.0f + 100.0f);  // fresh inputs measure 0 dB
}

TEST_F(RoundTripTest, StoredSceneIsAddressedByItsNumberOnceItIsPrepared) {
  EQ_Ctrl(*device, 3, 0, 0, 0, 440, 2.0f, 6.0f, true);
  // A stored scene is answered only while ReadScene(n, 255) has it prepared.
  Get_EQ(*device, 3, 0, 0, 0, 0);
  EXPECT_TRUE(Records<EqRecord>(kDspNotify, dsp::kEq).empty());
  ASSERT_TRUE(ReadScene(*device, 3, scene::kPrepareForReading));
  poster->TakeAll();
  Get_EQ(*device, 3, 0, 0, 0, 0);
  Get_EQ(*device, 0, 0, 0, 0, 0);
  const auto bands = Records<EqRecord>(kDspNotify, dsp::kEq);
  ASSERT_EQ(bands.size(), 2u);
  EXPECT_EQ(bands[0].scene, 3);
  EXPECT_EQ(bands[0].freq, 440);
  EXPECT_EQ(bands[1].scene, 0);
  EXPECT_EQ(bands[1].freq, 20);  // the working scene is untouched

  ASSERT_TRUE(ReadScene(*device, 4, scene::kPrepareForReading));
  poster->TakeAll();
  Get_EQ(*device, 3, 0, 0, 0, 0);
  Get_Delay(*device, 3, 0, 0, 7);
  EXPECT_TRUE(poster->TakeAll().empty());
}

TEST_F(RoundTripTest, LongRangesAreAnsweredInWhatOneFrameCarries) {
  ASSERT_TRUE(Get_Filter(*device, 0, 0, 0, 7));
  // 8 bytes per output after a 6-byte header: six outputs fit one reply.
  EXPECT_EQ(Records<FilterRecord>(kDspNotify, dsp::kFilter).size(), 6u);
  ASSERT_TRUE(Get_EQ(*device, 0, 0, 0, 0, 30));
  EXPECT_EQ(Records<EqRecord>(kDspNotify, dsp::kEq).size(), 8u);
}

}  // namespace
}  // namespace device::testing
