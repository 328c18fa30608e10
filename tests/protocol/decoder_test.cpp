// Replies of the parameter groups turned into notifications, including replies whose ranges run
// past what a record, the model or the reply itself holds.
#include <gtest/gtest.h>

#include <string>

#include "device/dsp_records.h"
#include "device/parameter_codes.h"
#include "device/scene_records.h"
#include "tests/device/scoped_log.h"
#include "tests/protocol/protocol_fixture.h"

namespace device::testing {
namespace {

using platform::msg::kAutoCalNotify;
using platform::msg::kDspNotify;

class DecoderTest : public ProtocolFixture {};

TEST_F(DecoderTest, EqBandDecodesQInHundredthsAndGainInTenths) {
  Dispatch(kGroupDsp, {dsp::kEq, kOpReply, 0, 0, 3, 4, 4, 0x03, 0xE8, 0x01, 0x28, 0x0E, 0x05});
  const auto bands = Records<EqRecord>(kDspNotify, dsp::kEq);
  ASSERT_EQ(bands.size(), 1u);
  EXPECT_EQ(bands[0].channel, 3);
  EXPECT_EQ(bands[0].band, 4);
  EXPECT_EQ(bands[0].freq, 1000);
  EXPECT_FLOAT_EQ(bands[0].q, 1.4f);
  EXPECT_FLOAT_EQ(bands[0].gain, -3.5f);
}

TEST_F(DecoderTest, BandRangeBecomesOneMessagePerBandInAscendingOrder) {
  Bytes body{dsp::kEq, kOpReply, 0, 0, 3, 0, 7};
  for (int band = 0; band < 8; ++band) {
    body.insert(body.end(), {0x00, static_cast<std::uint8_t>(20 + band), 5, 80, 18, 0});
  }
  Dispatch(kGroupDsp, body);
  const auto bands = Records<EqRecord>(kDspNotify, dsp::kEq);
  ASSERT_EQ(bands.size(), 8u);
  for (int band = 0; band < 8; ++band) {
    EXPECT_EQ(bands[band].band, band);
    EXPECT_EQ(bands[band].freq, 20 + band);
    EXPECT_EQ(bands[band].channel, 3);
  }
}

TEST_F(DecoderTest, DelayAndPerChannelValues) {
  Dispatch(kGroupDsp, {dsp::kDelay, kOpReply, 2, 0, 5, 5, 0x02, 0x01, 0xF4});
  const auto delays = Records<DelayRecord>(kDspNotify, dsp::kDelay);
  ASSERT_EQ(delays.size(), 1u);
  EXPECT_EQ(delays[0].scene, 2);
  EXPECT_EQ(delays[0].channel, 5);
  EXPECT_FLOAT_EQ(delays[0].delay, 2.5f);

  Dispatch(kGroupDsp, {dsp::kPhase, kOpReply, 0, 0, 0, 1, 0xFF, 0x01});
  const auto phases = Records<ChannelValueRecord>(kDspNotify, dsp::kPhase);
  ASSERT_EQ(phases.size(), 2u);
  EXPECT_EQ(phases[0].value, -1);  // phase is signed
  EXPECT_EQ(phases[1].value, 1);
}

TEST_F(DecoderTest, PlainValueCodesPostTheValueItself) {
  Dispatch(kGroupDsp, {dsp::kMainVolume, kOpReply, 0xEC});
  Dispatch(kGroupDsp, {dsp::kRemoteChannel, kOpReply, 0x01, 0x02});
  const auto messages = poster->TakeAll();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0].value, -20);
  EXPECT_EQ(messages[1].value, 0x0102);
  EXPECT_EQ(messages[1].record, nullptr);
}

TEST_F(DecoderTest, SceneNameOfErasedBytesIsEmpty) {
  Bytes body{scene::kName, kOpReply, 4};
  body.insert(body.end(), 16, 0xFF);
  Dispatch(kGroupScene, body);
  const auto names = Records<SceneNameRecord>(platform::msg::kSceneNotify, scene::kName);
  ASSERT_EQ(names.size(), 1u);
  EXPECT_EQ(names[0].index, 3);
  EXPECT_EQ(names[0].name, (std::array<std::uint8_t, 16>{}));
}

TEST_F(DecoderTest, SceneNameKeepsItsBytesWhenOneIsEven) {
  Bytes body{scene::kName, kOpReply, 1, 'C', 'l', 'u', 'b'};
  body.insert(body.end(), 12, 0);
  Dispatch(kGroupScene, body);
  const auto names = Records<SceneNameRecord>(platform::msg::kSceneNotify, scene::kName);
  ASSERT_EQ(names.size(), 1u);
  EXPECT_EQ(names[0].index, 0);
  EXPECT_EQ(names[0].name[0], 'C');
  EXPECT_EQ(names[0].name[3], 'b');
}

TEST_F(DecoderTest, SceneAcknowledgementsReachTheSceneWindowOnlyWhenReady) {
  Dispatch(kGroupScene, {scene::kSave, kOpAck, kAckNotReady, 5});
  Dispatch(kGroupScene, {scene::kSave, kOpAck, kAckReady, 5});
  Dispatch(kGroupScene, {scene::kDelete, kOpAck, kAckReady, 6});
  Dispatch(kGroupScene, {scene::kCurrent, kOpReply, 3});
  const auto messages = poster->TakeAll();
  ASSERT_EQ(messages.size(), 3u);
  EXPECT_EQ(messages[0].window, kSceneWindow);
  EXPECT_EQ(messages[0].id, platform::msg::kSceneNotify);
  EXPECT_EQ(messages[0].wParam, 5u);
  EXPECT_EQ(messages[1].id, platform::msg::kSceneDeleteAck);
  EXPECT_EQ(messages[1].wParam, 6u);
  EXPECT_EQ(messages[2].window, kMainWindow);
  EXPECT_EQ(messages[2].wParam, scene::kCurrent);
  EXPECT_EQ(messages[2].value, 3);
}

TEST_F(DecoderTest, CalibrationStatusesAndFailureCodes) {
  ScopedLog log;
  Dispatch(kGroupDsp, {dsp::kIrc, kOpReply, 11, 0, 0, 40, 7});  // unknown failure
  Dispatch(kGroupDsp, {dsp::kIrc, kOpReply, 13, 0, 0, 40, 0});  // unknown status
  EXPECT_TRUE(poster->TakeAll().empty());
  Dispatch(kGroupDsp, {dsp::kIrc, kOpReply, 11, 0, 0, 40, 1});
  Dispatch(kGroupDsp, {dsp::kIrc, kOpReply, 7, 3, 0, 40, 0});
  Dispatch(kGroupDsp, {dsp::kIrc, kOpReply, 2, 3, 0, 40, 0});
  const auto messages = poster->TakeAll();
  ASSERT_EQ(messages.size(), 3u);
  EXPECT_EQ(messages[0].window, kAutoCalWindow);
  EXPECT_EQ(messages[0].id, kAutoCalNotify);
  EXPECT_EQ(messages[0].wParam, 11u);
  EXPECT_EQ(messages[0].value, 1);   // the failure code
  EXPECT_EQ(messages[1].value, 3);   // the channel of the RTA update
  EXPECT_EQ(messages[2].value, 40);  // the progress
  const std::string text = log.Finish();
  EXPECT_NE(text.find("IRC_RET_TEST_FAIL->IRC_FAIL_NO_MIC"), std::string::npos);
  EXPECT_NE(text.find("IRC_RET_LEVEL_TEST"), std::string::npos);
}

TEST_F(DecoderTest, SpeakerTypeAcknowledgementIsOnlyLogged) {
  ScopedLog log;
  Dispatch(kGroupDsp, {dsp::kChType, kOpAck, kAckReady});
  EXPECT_TRUE(poster->TakeAll().empty());
  EXPECT_NE(log.Finish().find("DSP_CH_TYPE OP_ACK"), std::string::npos);
}

TEST_F(DecoderTest, EqResetLogReadsAStatusFromAnAcknowledgementAndASceneFromAReply) {
  ScopedLog log;
  Dispatch(kGroupDsp, {dsp::kPeqReset, kOpAck, kAckReady});
  Dispatch(kGroupDsp, {dsp::kPeqReset, kOpReply, 3});
  EXPECT_TRUE(poster->TakeAll().empty());
  const std::string text = log.Finish();
  EXPECT_NE(text.find("DSP_EQ_RESET OP=0xee, status =0x0a, "), std::string::npos);
  EXPECT_NE(text.find("DSP_EQ_RESET OP=0xdd, scene =3, "), std::string::npos);
  EXPECT_EQ(text.find("scene =10"), std::string::npos);
}

TEST_F(DecoderTest, WrongOpAndReversedRangePostNothing) {
  Dispatch(kGroupDsp, {dsp::kTrim, kOpAck, 0, 0, 0, 0, 0xFA});
  Dispatch(kGroupDsp, {dsp::kTrim, kOpReply, 0, 0, 5, 4, 0xFA, 0xFA});
  Dispatch(kGroupKtv, {ktv::kMicVolume, kOpAck, 5});
  EXPECT_TRUE(poster->TakeAll().empty());
}

TEST_F(DecoderTest, KtvAndPowerOffValues) {
  Dispatch(kGroupKtv, {ktv::kBassGain, kOpReply, 0xFA});
  Dispatch(kGroupKtv, {ktv::kEchoDelay, kOpReply, 0x01, 0x2C});
  Dispatch(kGroupMcu, {kMcuPowerOffDelay, kOpReply, 0x05, 0xDC});
  const auto messages = poster->TakeAll();
  ASSERT_EQ(messages.size(), 3u);
  EXPECT_EQ(messages[0].id, platform::msg::kKtvNotify);
  EXPECT_EQ(messages[0].value, -6);
  EXPECT_EQ(messages[1].value, 300);
  EXPECT_EQ(messages[2].id, platform::msg::kMcuNotify);
  EXPECT_EQ(messages[2].wParam, kMcuPowerOffDelay);
  EXPECT_EQ(messages[2].value, 1500);
}

// ---- Ranges that run past the outputs, the records or the reply --------------------------

TEST_F(DecoderTest, ChannelsPastTheOutputsAreLeftOut) {
  Dispatch(kGroupDsp, {dsp::kTrim, kOpReply, 0, 0, 6, 9, 1, 2, 3, 4});
  const auto trims = Records<TrimRecord>(kDspNotify, dsp::kTrim);
  ASSERT_EQ(trims.size(), 2u);
  EXPECT_EQ(trims[0].channel, 6);
  EXPECT_EQ(trims[1].channel, 7);
  Dispatch(kGroupDsp, {dsp::kMuteCh, kOpReply, 0, 0, 250, 255, 1, 1, 1, 1, 1, 1});
  EXPECT_TRUE(poster->TakeAll().empty());
}

TEST_F(DecoderTest, EntriesPastTheReplysBytesAreLeftOut) {
  // Eight channels announced, two carried.
  Dispatch(kGroupDsp, {dsp::kDelay, kOpReply, 0, 0, 0, 7, 1, 0, 0, 2, 0, 0, 3});
  EXPECT_EQ(Records<DelayRecord>(kDspNotify, dsp::kDelay).size(), 2u);
  Dispatch(kGroupDsp, {dsp::kFilter, kOpReply, 0, 0, 0, 3, 3, 0, 20, 0});
  EXPECT_TRUE(poster->TakeAll().empty());
}

TEST_F(DecoderTest, BandsPastTheBandStorageAndUnknownChannelsAreLeftOut) {
  Bytes body{dsp::kEq, kOpReply, 0, 0, 1, 29, 33};
  for (int k = 0; k < 5; ++k) {
    body.insert(body.end(), {0x03, 0xE8, 1, 0, 18, 0});
  }
  Dispatch(kGroupDsp, body);
  const auto bands = Records<EqRecord>(kDspNotify, dsp::kEq);
  ASSERT_EQ(bands.size(), 2u);
  EXPECT_EQ(bands[1].band, 30);
  body[4] = 8;  // no output 8
  Dispatch(kGroupDsp, body);
  Dispatch(kGroupDsp, {dsp::kIrcEq, kOpReply, 9, 0, 0, 0x03, 0xE8, 1, 0, 18, 0});
  EXPECT_TRUE(poster->TakeAll().empty());
}

TEST_F(DecoderTest, ScenesSourcesAndInputsPastTheModelPostNothing) {
  Dispatch(kGroupDsp, {dsp::kTrim, kOpReply, 11, 0, 0, 0, 0xFA});
  Dispatch(kGroupDsp, {dsp::kMix, kOpReply, 0, 7, 0, 0, 1});
  Dispatch(kGroupDsp, {dsp::kInputMixTrim, kOpReply, 0, 2, 8, 0, 0, 100});
  Bytes name{scene::kName, kOpReply, 11};
  name.insert(name.end(), 16, 'a');
  Dispatch(kGroupScene, name);
  name[2] = 0;
  Dispatch(kGroupScene, name);
  EXPECT_TRUE(poster->TakeAll().empty());
}

TEST_F(DecoderTest, WholeRangeRecordsKeepOnlyThePartThatFits) {
  Bytes inputs{dsp::kInputTrim, kOpReply, 0, 2, 10, 20};
  inputs.insert(inputs.end(), 11, 0xF6);
  Dispatch(kGroupDsp, inputs);
  const auto trims = Records<InputChannelsRecord>(kDspNotify, dsp::kInputTrim);
  ASSERT_EQ(trims.size(), 1u);
  EXPECT_EQ(trims[0].chX, 10);
  EXPECT_EQ(trims[0].chY, 15);
  EXPECT_EQ(trims[0].values[15], 0xF6);
  EXPECT_EQ(trims[0].values[9], 0);

  Bytes mix{dsp::kInputMixTrim, kOpReply, 0, 5, 3, 6, 30};
  mix.insert(mix.end(), 25, 50);
  Dispatch(kGroupDsp, mix);
  const auto levels = Records<InputMixTrimRecord>(kDspNotify, dsp::kInputMixTrim);
  ASSERT_EQ(levels.size(), 1u);
  EXPECT_EQ(levels[0].outX, 6);
  EXPECT_EQ(levels[0].outY, 7);
  EXPECT_EQ(levels[0].trims[1], 50);
  EXPECT_EQ(levels[0].trims[2], 0);

  Dispatch(kGroupDsp, {dsp::kInputNoise, kOpReply, 14, 20, 30, 5, 40, 0, 50, 0});
  const auto messages = poster->TakeAll();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].window, kToolWindow);
  const auto* noise = platform::RecordAs<InputNoiseRecord>(messages[0]);
  ASSERT_NE(noise, nullptr);
  EXPECT_EQ(noise->chY, 15);
  EXPECT_FLOAT_EQ(noise->levels[14], -69.5f);
  EXPECT_FLOAT_EQ(noise->levels[15], -60.0f);
}

TEST_F(DecoderTest, TruncatedBodiesPostNothing) {
  for (std::uint8_t code = 0; code <= 60; ++code) {
    Dispatch(kGroupDsp, {code, kOpReply});
    Dispatch(kGroupDsp, {code});
    Dispatch(kGroupScene, {code, kOpReply});
    Dispatch(kGroupKtv, {code, kOpReply});
  }
  Dispatch(kGroupDsp, {});
  EXPECT_TRUE(poster->TakeAll().empty());
}

}  // namespace
}  // namespace device::testing
