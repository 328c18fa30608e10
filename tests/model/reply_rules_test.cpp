#include "model/reply_rules.h"

#include <memory>
#include <utility>

#include <gtest/gtest.h>

#include "device/dsp_records.h"
#include "device/mcu_records.h"
#include "device/parameter_codes.h"
#include "device/scene_records.h"
#include "platform/window_messages.h"

namespace model {
namespace {

namespace dsp = device::dsp;

class ReplyRulesTest : public ::testing::Test {
 protected:
  ModelChange Dsp(std::uintptr_t code, const platform::NotificationRecord& record) {
    return ApplyDspNotification(*model, code, 0, &record);
  }
  ModelChange DspValue(std::uintptr_t code, std::intptr_t value) {
    return ApplyDspNotification(*model, code, value, nullptr);
  }

  SceneRecord& working() { return model->workingScene; }

  std::unique_ptr<ParameterModel> model = std::make_unique<ParameterModel>();
};

template <typename Record>
Record Make(auto fill) {
  Record record;
  fill(record);
  return record;
}

TEST_F(ReplyRulesTest, SourceIdsMapToSourcesAndUnknownIdsToSourceFour) {
  EXPECT_TRUE(DspValue(dsp::kSource, 0x51).ChangedWorkingScene());
  EXPECT_EQ(working().inputSource, 0);
  // Both edges of the known ids, and the ids just outside them; each case starts from source 1.
  const std::pair<std::intptr_t, int> cases[] = {{0x50, 4}, {0x51, 0}, {0x55, 4},
                                                 {0x57, 6}, {0x58, 4}, {0x99, 4}};
  for (const auto& [id, source] : cases) {
    DspValue(dsp::kSource, 0x52);
    DspValue(dsp::kSource, id);
    EXPECT_EQ(working().inputSource, source) << std::hex << id;
  }
}

TEST_F(ReplyRulesTest, PlainValuesGoToTheWorkingScene) {
  DspValue(dsp::kMainVolume, -20);
  DspValue(dsp::kMuteAll, 1);
  DspValue(dsp::kInputThreshold, -42);
  EXPECT_EQ(working().mainVolume, -20);
  EXPECT_EQ(working().mainVolumeMute, 1);
  EXPECT_EQ(working().inputThreshold, -42);
  // The subwoofer volume and unknown codes have no model rule.
  EXPECT_FALSE(DspValue(dsp::kSubVolume, 3).Changed());
  EXPECT_EQ(working().subVolume, 0);
  EXPECT_FALSE(DspValue(12, 1).Changed());
  EXPECT_FALSE(DspValue(50, 1).Changed());
}

TEST_F(ReplyRulesTest, CrossoverRepliesGoThroughTheSetters) {
  const auto record = Make<device::FilterRecord>([](auto& r) {
    r.channel = 2;
    r.hpType = 0;
    r.hpFreq = 15;
    r.hpSlope = 3;
    r.lpType = 2;
    r.lpFreq = 4000;
    r.lpSlope = 0;
  });
  const ModelChange change = Dsp(dsp::kFilter, record);
  EXPECT_EQ(change.scene, 0);
  EXPECT_EQ(change.channel, 2);
  const Crossover& crossover = working().channels[2].crossover;
  EXPECT_EQ(crossover.hp, CrossoverFilter(20, 1, 3));
  EXPECT_EQ(crossover.lp, CrossoverFilter(4000, 2, 0));
  EXPECT_EQ(crossover.lp.bypass(), 1);
}

TEST_F(ReplyRulesTest, BandRepliesStoreBandsInsideTheChannel) {
  auto band = Make<device::EqRecord>([](auto& r) {
    r.channel = 3;
    r.band = 30;
    r.freq = 18000;
    r.q = 1.4f;
    r.gain = -3.5f;
  });
  working().Bands(3)[30].enable = 0;
  EXPECT_TRUE(Dsp(dsp::kEq, band).ChangedWorkingScene());
  EXPECT_EQ(working().Bands(3)[30], (EqBand{-3.5f, 1.4f, 18000, 1}));

  // Stored scenes keep their enable flag.
  band.scene = 4;
  model->storedScenes[3].Bands(3)[30].enable = 0;
  EXPECT_EQ(Dsp(dsp::kEq, band).scene, 4);
  EXPECT_EQ(model->storedScenes[3].Bands(3)[30], (EqBand{-3.5f, 1.4f, 18000, 0}));
}

TEST_F(ReplyRulesTest, BandBeyondTheChannelsBandCountChangesNothing) {
  const auto before = std::make_unique<SceneRecord>(working());
  for (const int bandIndex : {11, 12, 30, 31, -1}) {
    const auto band = Make<device::EqRecord>([bandIndex](auto& r) {
      r.channel = 6;  // 11 bands
      r.band = bandIndex;
      r.freq = 1000;
      r.gain = 6.0f;
    });
    EXPECT_FALSE(Dsp(dsp::kEq, band).Changed()) << bandIndex;
  }
  // The bands of the neighbouring output were not touched either.
  EXPECT_EQ(working().channels[7], before->channels[7]);
  EXPECT_EQ(working().channels[6], before->channels[6]);
}

TEST_F(ReplyRulesTest, PerChannelValues) {
  auto delay = Make<device::DelayRecord>([](auto& r) {
    r.channel = 1;
    r.delay = 2.5f;
  });
  auto trim = Make<device::TrimRecord>([](auto& r) {
    r.channel = 7;
    r.trim = -6.0f;
  });
  auto value = Make<device::ChannelValueRecord>([](auto& r) {
    r.channel = 5;
    r.value = 1;
  });
  Dsp(dsp::kDelay, delay);
  Dsp(dsp::kTrim, trim);
  Dsp(dsp::kMuteCh, value);
  value.value = -1;
  Dsp(dsp::kPhase, value);
  value.value = 0;
  Dsp(dsp::kPeqBypass, value);
  EXPECT_EQ(working().channels[1].delay, 2.5f);
  EXPECT_EQ(working().channels[7].gain, -6.0f);
  EXPECT_EQ(working().channels[5].mute, 1);
  EXPECT_EQ(working().channels[5].phase, -1);
  EXPECT_EQ(working().channels[5].bypass, 0);
}

TEST_F(ReplyRulesTest, RecordsOutsideTheModelChangeNothing) {
  const auto workingBefore = std::make_unique<SceneRecord>(working());
  const auto storedBefore = std::make_unique<SceneRecord>(model->storedScenes[9]);

  auto trim = Make<device::TrimRecord>([](auto& r) { r.trim = -30.0f; });
  for (const auto& [scene, channel] : {std::pair{0, 8}, {0, -1}, {11, 0}, {-1, 0}, {255, 3}}) {
    trim.scene = scene;
    trim.channel = channel;
    EXPECT_FALSE(Dsp(dsp::kTrim, trim).Changed()) << scene << "/" << channel;
  }
  auto mix = Make<device::MixRecord>([](auto& r) { r.mask = 0x3F; });
  for (const auto& [source, output] : {std::pair{7, 0}, {-1, 0}, {0, 8}}) {
    mix.source = source;
    mix.output = output;
    EXPECT_FALSE(Dsp(dsp::kMix, mix).Changed()) << source << "/" << output;
  }
  auto role = Make<device::ChannelValueRecord>([](auto& r) { r.channel = 9; });
  EXPECT_FALSE(Dsp(dsp::kChType, role).Changed());
  role.channel = 0;
  role.value = 25;  // no such role
  EXPECT_FALSE(Dsp(dsp::kChType, role).Changed());
  auto link = Make<device::LinkRecord>([](auto& r) {
    r.scene = 11;
    r.link = 1;
  });
  EXPECT_FALSE(Dsp(dsp::kChLink, link).Changed());
  // A record of the wrong kind, or none, for a record code.
  EXPECT_FALSE(Dsp(dsp::kTrim, link).Changed());
  EXPECT_FALSE(DspValue(dsp::kTrim, 5).Changed());

  EXPECT_EQ(working().channels, workingBefore->channels);
  EXPECT_EQ(working().inputs, workingBefore->inputs);
  EXPECT_EQ(working().outputs, workingBefore->outputs);
  EXPECT_EQ(model->storedScenes[9].channels, storedBefore->channels);
  EXPECT_EQ(model->storedScenes[9].linkMode, 0);
}

TEST_F(ReplyRulesTest, StoredSceneRepliesLeaveTheWorkingSceneAlone) {
  const auto role = Make<device::ChannelValueRecord>([](auto& r) {
    r.scene = 10;
    r.channel = 4;
    r.value = 21;
  });
  const ModelChange change = Dsp(dsp::kChType, role);
  EXPECT_EQ(change.scene, 10);
  EXPECT_FALSE(change.ChangedWorkingScene());
  EXPECT_EQ(model->storedScenes[9].outputs[4], 21);
  EXPECT_EQ(working().outputs[4], 19);
}

TEST_F(ReplyRulesTest, RoutingMasksArePerSourceAndOutput) {
  const auto mix = Make<device::MixRecord>([](auto& r) {
    r.source = 5;
    r.output = 3;
    r.mask = 0x0C;
  });
  EXPECT_EQ(Dsp(dsp::kMix, mix).channel, 3);
  EXPECT_EQ(working().inputs[5][3], 0x0C);
  EXPECT_EQ(working().inputs[4][3], 8);
}

TEST_F(ReplyRulesTest, LinkOnLocksAndPairsTheWorkingScene) {
  const auto link = Make<device::LinkRecord>([](auto& r) { r.link = 1; });
  Dsp(dsp::kChLink, link);
  EXPECT_EQ(working().linkMode, 1);
  EXPECT_EQ(working().lockMode, 1);
  EXPECT_EQ(working().linkOutputs, (PerOutput<std::int32_t>{1, 0, 3, 2, -1, -1, 7, 6}));

  const auto off = Make<device::LinkRecord>([](auto& r) { r.link = 0; });
  Dsp(dsp::kChLink, off);
  EXPECT_EQ(working().linkMode, 0);
  EXPECT_EQ(working().lockMode, 1);
  EXPECT_EQ(working().linkOutputs, (PerOutput<std::int32_t>{-1, -1, -1, -1, -1, -1, -1, -1}));
}

TEST_F(ReplyRulesTest, LinkOnWithoutMirroredRolesLeavesNoPartners) {
  working().outputs = {19, 20, 21, 24, 0, 0, 0, 0};
  const auto link = Make<device::LinkRecord>([](auto& r) { r.link = 1; });
  Dsp(dsp::kChLink, link);
  EXPECT_EQ(working().linkMode, 1);
  EXPECT_EQ(working().lockMode, 1);
  EXPECT_EQ(working().linkOutputs, (PerOutput<std::int32_t>{-1, -1, -1, -1, -1, -1, -1, -1}));
}

TEST_F(ReplyRulesTest, LinkInAStoredSceneSetsOnlyTheMode) {
  const auto link = Make<device::LinkRecord>([](auto& r) {
    r.scene = 2;
    r.link = 1;
  });
  Dsp(dsp::kChLink, link);
  EXPECT_EQ(model->storedScenes[1].linkMode, 1);
  EXPECT_EQ(model->storedScenes[1].lockMode, 0);
  EXPECT_EQ(model->storedScenes[1].linkOutputs[0], -1);
}

TEST_F(ReplyRulesTest, UnlockingEndsTheLinkOfTheWorkingScene) {
  working().linkMode = 1;
  working().lockMode = 1;
  working().linkOutputs = {1, 0, 3, 2, -1, -1, 7, 6};
  const auto unlock = Make<device::LockRecord>([](auto& r) { r.lock = 0; });
  const ModelChange change = Dsp(dsp::kChLock, unlock);
  EXPECT_TRUE(change.linkCleared);
  EXPECT_EQ(working().lockMode, 0);
  EXPECT_EQ(working().linkMode, 0);
  EXPECT_EQ(working().linkOutputs[0], -1);

  // Unlocking an unlinked scene, or locking, tells the unit nothing.
  EXPECT_FALSE(Dsp(dsp::kChLock, unlock).linkCleared);
  const auto lock = Make<device::LockRecord>([](auto& r) { r.lock = 1; });
  EXPECT_FALSE(Dsp(dsp::kChLock, lock).linkCleared);
  EXPECT_EQ(working().lockMode, 1);
}

TEST_F(ReplyRulesTest, MixLevelOfZeroMeansFullWhenTheInputIsRouted) {
  // Source 5: output 2 is fed by input 2 (mask 4), output 3 by input 3 (mask 8).
  const auto levels = Make<device::InputMixTrimRecord>([](auto& r) {
    r.source = 5;
    r.inCh = 2;
    r.outX = 1;
    r.outY = 3;
    r.trims = {0xFF, 0, 0};  // -1, 0, 0
  });
  EXPECT_EQ(Dsp(dsp::kInputMixTrim, levels).scene, 0);
  EXPECT_EQ(working().inputMixVolume[5][2][1], -1);
  EXPECT_EQ(working().inputMixVolume[5][2][2], 100);  // routed
  EXPECT_EQ(working().inputMixVolume[5][2][3], 0);    // not routed
}

TEST_F(ReplyRulesTest, MixLevelsOutsideTheOutputsAreSkipped) {
  const auto before = working().inputMixVolume;
  auto levels = Make<device::InputMixTrimRecord>([](auto& r) {
    r.source = 2;
    r.inCh = 1;
    r.outX = 6;
    r.outY = 40;
    r.trims.fill(50);
  });
  Dsp(dsp::kInputMixTrim, levels);
  EXPECT_EQ(working().inputMixVolume[2][1][6], 50);
  EXPECT_EQ(working().inputMixVolume[2][1][7], 50);
  EXPECT_EQ(working().inputMixVolume[2][2], before[2][2]);
  EXPECT_EQ(working().inputMixVolume[3], before[3]);

  levels.inCh = 8;
  EXPECT_FALSE(Dsp(dsp::kInputMixTrim, levels).Changed());
  levels.inCh = 0;
  levels.outX = 8;
  EXPECT_FALSE(Dsp(dsp::kInputMixTrim, levels).Changed());
  levels.outX = 3;
  levels.outY = 2;
  EXPECT_FALSE(Dsp(dsp::kInputMixTrim, levels).Changed());
}

TEST_F(ReplyRulesTest, HandshakeFlashVersionAndPowerOffDelay) {
  const auto handshake = Make<device::HandshakeRecord>([](auto& r) {
    r.model = 23;
    r.masterVersion = 15;
    r.slaveVersion = 7;
  });
  EXPECT_TRUE(ApplyMcuNotification(*model, device::kMcuHandshake, 0, &handshake).Changed());
  EXPECT_EQ(working().modelNumber, 23);
  EXPECT_EQ(working().masterVersion, 15);
  EXPECT_EQ(working().slaveVersion, 7);
  EXPECT_TRUE(model->IsUnitIdentified());

  const auto flash = Make<device::FlashVersionRecord>([](auto& r) { r.version = {1, 2, 3, 4}; });
  ApplyMcuNotification(*model, device::kMcuFlashVersion, 0, &flash);
  EXPECT_EQ(working().dspFlashVersion, (std::array<std::int32_t, 4>{1, 2, 3, 4}));

  ApplyMcuNotification(*model, device::kMcuPowerOffDelay, 3000, nullptr);
  EXPECT_EQ(working().powerOffDelay, 3000);

  EXPECT_FALSE(ApplyMcuNotification(*model, device::kMcuHandshake, 0, &flash).Changed());
  EXPECT_FALSE(ApplyMcuNotification(*model, device::kMcuText, 0, nullptr).Changed());
}

TEST_F(ReplyRulesTest, SceneNamesAreReadUpToTheFirstZeroAndCutToEightUnits) {
  auto name = Make<device::SceneNameRecord>([](auto& r) {
    r.index = 2;
    r.name = {'C', 'i', 't', 'y', 0, 'x', 'x'};
  });
  EXPECT_EQ(ApplySceneNotification(*model, device::scene::kName, &name).scene, 3);
  EXPECT_EQ(SceneNameText(model->sceneNames[2]), u"City");

  // Sixteen single-byte characters fill all 16 bytes; the name keeps 8.
  name.name.fill('a');
  ApplySceneNotification(*model, device::scene::kName, &name);
  EXPECT_EQ(SceneNameText(model->sceneNames[2]), u"aaaaaaaa");

  // Double-byte characters of the code page: "你好".
  name.name = {0xC4, 0xE3, 0xBA, 0xC3};
  ApplySceneNotification(*model, device::scene::kName, &name);
  EXPECT_EQ(SceneNameText(model->sceneNames[2]), u"\u4f60\u597d");
}

TEST_F(ReplyRulesTest, SceneNameOutsideTheTenScenesChangesNothing) {
  auto name = Make<device::SceneNameRecord>([](auto& r) { r.name = {'X'}; });
  for (const int index : {10, -1, 254}) {
    name.index = index;
    EXPECT_FALSE(ApplySceneNotification(*model, device::scene::kName, &name).Changed());
  }
  name.index = 0;
  EXPECT_FALSE(ApplySceneNotification(*model, device::scene::kCurrent, &name).Changed());
  for (const SceneName& stored : model->sceneNames) {
    EXPECT_TRUE(IsEmptySceneName(stored));
  }
}

TEST_F(ReplyRulesTest, KtvCodesWriteTheirOwnKaraokeValue) {
  for (std::uintptr_t code = 1; code <= 10; ++code) {
    EXPECT_TRUE(ApplyKtvNotification(*model, code, 100 + code).ChangedWorkingScene());
  }
  const KaraokeValues& karaoke = working().karaoke;
  EXPECT_EQ(karaoke.micVolume, 101);
  EXPECT_EQ(karaoke.musicVolume, 102);
  EXPECT_EQ(karaoke.howling, 103);
  EXPECT_EQ(karaoke.echoLevel, 104);
  EXPECT_EQ(karaoke.echoDelay, 105);
  EXPECT_EQ(karaoke.reverbLevel, 106);
  EXPECT_EQ(karaoke.reverbTime, 107);
  EXPECT_EQ(karaoke.voiceChanger, 108);
  EXPECT_EQ(karaoke.bassGain, 109);
  EXPECT_EQ(karaoke.trebleGain, 110);
  EXPECT_FALSE(ApplyKtvNotification(*model, 11, 5).Changed());
  EXPECT_FALSE(ApplyKtvNotification(*model, 0, 5).Changed());
}

platform::PostedMessage Message(std::uint32_t id, std::uintptr_t code, std::intptr_t value = 0) {
  platform::PostedMessage message;
  message.window = 1;
  message.id = id;
  message.wParam = code;
  message.value = value;
  return message;
}

TEST_F(ReplyRulesTest, PostedMessagesAreRoutedByTheirId) {
  auto trim = Message(platform::msg::kDspNotify, dsp::kTrim);
  auto record = std::make_unique<device::TrimRecord>();
  record->channel = 4;
  record->trim = -9.0f;
  trim.record = std::move(record);
  EXPECT_EQ(ApplyNotification(*model, trim).channel, 4);
  EXPECT_EQ(working().channels[4].gain, -9.0f);

  ApplyNotification(*model, Message(platform::msg::kKtvNotify, device::ktv::kEchoDelay, 300));
  EXPECT_EQ(working().karaoke.echoDelay, 300);

  ApplyNotification(*model, Message(platform::msg::kMcuNotify, device::kMcuPowerOffDelay, 500));
  EXPECT_EQ(working().powerOffDelay, 500);

  // The same code under another message id belongs to another rule, or to none.
  EXPECT_FALSE(ApplyNotification(*model, Message(platform::msg::kLoadingOn, dsp::kTrim)).Changed());
  ApplyNotification(*model, Message(platform::msg::kMcuNotify, dsp::kMainVolume, -30));
  EXPECT_EQ(working().mainVolume, -5);
}

}  // namespace
}  // namespace model
