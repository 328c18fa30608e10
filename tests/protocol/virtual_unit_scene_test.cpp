// The virtual unit's scene store, and its factory state read into the model through the protocol.
#include <gtest/gtest.h>

#include <array>

#include "device/dsp_commands.h"
#include "device/dsp_commands_get.h"
#include "device/dsp_records.h"
#include "device/ktv_commands.h"
#include "device/mcu_action_commands.h"
#include "device/parameter_codes.h"
#include "device/scene_commands.h"
#include "device/scene_records.h"
#include "model/parameter_model.h"
#include "model/reply_rules.h"
#include "tests/protocol/protocol_fixture.h"
#include "tests/protocol/scene_requests.h"

namespace device::testing {
namespace {

using platform::msg::kDspNotify;
using platform::msg::kSceneNotify;

class VirtualUnitSceneTest : public ProtocolFixture {
 protected:
  int WorkingBandFreq(int channel, int band) {
    poster->TakeAll();
    Get_EQ(*device, 0, 0, channel, band, band);
    const auto bands = Records<EqRecord>(kDspNotify, dsp::kEq);
    return bands.size() == 1 ? bands[0].freq : -1;
  }
};

TEST_F(VirtualUnitSceneTest, SaveLoadAndDeleteWithAcknowledgements) {
  EQ_Ctrl(*device, 0, 0, 2, 3, 777, 1.0f, 0.0f, true);
  poster->TakeAll();
  ASSERT_TRUE(SaveScene(*device, 4, 0));
  const auto saved = poster->TakeAll();
  ASSERT_EQ(saved.size(), 1u);
  EXPECT_EQ(saved[0].window, kSceneWindow);
  EXPECT_EQ(saved[0].wParam, 4u);

  EQ_Ctrl(*device, 0, 0, 2, 3, 1234, 1.0f, 0.0f, true);
  ASSERT_TRUE(ReadScene(*device, 4, scene::kLoadIntoWorking));
  EXPECT_EQ(WorkingBandFreq(2, 3), 777);
  Get_Current_Scene(*device);
  EXPECT_EQ(Take(kSceneNotify, scene::kCurrent).at(0).value, 4);

  ASSERT_TRUE(DeleteScene(*device, 4));
  EXPECT_EQ(Take(platform::msg::kSceneDeleteAck, 4).size(), 1u);
  ASSERT_TRUE(ReadScene(*device, 4, scene::kLoadIntoWorking));
  EXPECT_EQ(WorkingBandFreq(2, 3), 40);  // a deleted scene is back at the factory values
}

TEST_F(VirtualUnitSceneTest, SavingImmediatelyCommitsEditsSentToThatScene) {
  EQ_Ctrl(*device, 6, 0, 0, 1, 900, 1.0f, 0.0f, true);
  EQ_Ctrl(*device, 0, 0, 0, 1, 100, 1.0f, 0.0f, true);
  ASSERT_TRUE(SaveScene(*device, 6, 1));
  EXPECT_EQ(unit->State().stored[5].outputs[0].bands[1].freq, 900);
}

TEST_F(VirtualUnitSceneTest, SceneOutsideOneToTenIsRefused) {
  ASSERT_TRUE(SaveScene(*device, 11, 0));
  ASSERT_TRUE(DeleteScene(*device, 0));
  EXPECT_TRUE(poster->TakeAll().empty());
}

TEST_F(VirtualUnitSceneTest, NamesAreStoredAndUnnamedScenesReadEmpty) {
  std::array<std::uint8_t, 16> name{'C', 'l', 'u', 'b'};
  ASSERT_TRUE(SetSceneName(*device, 5, name, 16));
  poster->TakeAll();
  ASSERT_TRUE(Get_Scene_Name(*device, 5));
  ASSERT_TRUE(Get_Scene_Name(*device, 6));
  const auto names = Records<SceneNameRecord>(kSceneNotify, scene::kName);
  ASSERT_EQ(names.size(), 2u);
  EXPECT_EQ(names[0].index, 4);
  EXPECT_EQ(names[0].name, name);
  EXPECT_EQ(names[1].name, (std::array<std::uint8_t, 16>{}));
}

TEST_F(VirtualUnitSceneTest, SceneProfileBytesRoundTrip) {
  const std::array<std::uint8_t, 3> data{7, 8, 9};
  ASSERT_TRUE(SetSceneProfile(*device, 2, 100, data));
  const sim::UnitState state = unit->State();
  const auto& stored = state.stored[1].profile;
  EXPECT_EQ((std::array{stored[100], stored[101], stored[102]}), data);
  EXPECT_TRUE(SetSceneProfile(*device, 2, 0xFFFF, data));  // past the scene: refused, not written
}

TEST_F(VirtualUnitSceneTest, FactoryDefaultRestoresEverySetting) {
  Main_Volume_Ctrl(*device, MainVolumeCode(0), true);
  KTV_Ctrl(*device, ktv::kMicVolume, 10, true);
  const std::array<std::uint8_t, 2> name{'A', 'B'};
  SetSceneName(*device, 1, name, 2);
  ASSERT_TRUE(Factory_Default_Ctrl(*device));
  const sim::UnitState state = unit->State();
  EXPECT_EQ(state.mainVolume, -5);
  EXPECT_EQ(state.ktv[ktv::kMicVolume - 1], 60);
  EXPECT_EQ(state.names[0][0], 0xFF);
}

TEST_F(VirtualUnitSceneTest, FreshUnitReadsAsAFreshSceneRecord) {
  model::ParameterModel read;
  model::SceneRecord& scene = read.workingScene;
  // Start far from the defaults, so that only what the unit reports can bring them back.
  for (auto& channel : scene.channels) {
    for (auto& band : channel.Bands()) {
      band = {5.0f, 1.0f, 999, 1};
    }
    channel.gain = -30.0f;
    channel.delay = 5.0f;
    channel.mute = 1;
    channel.phase = 1;
    channel.bypass = 0;
    channel.crossover.hp.SetFs(1000);
    channel.crossover.lp.SetSlope(7);
  }
  scene.inputs = {};
  scene.inputMixVolume = {};
  scene.outputs.fill(1);
  scene.mainVolume = 0;
  scene.mainVolumeMute = 1;
  scene.inputSource = 3;
  scene.inputThreshold = 0;
  scene.karaoke = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  scene.powerOffDelay = 77;

  RequestScene(*device, 0);
  for (const auto& message : poster->TakeAll()) {
    model::ApplyNotification(read, message);
  }

  const model::SceneRecord fresh;
  for (std::size_t c = 0; c < fresh.channels.size(); ++c) {
    EXPECT_EQ(scene.channels[c], fresh.channels[c]) << "output " << c;
  }
  EXPECT_EQ(scene.inputs, fresh.inputs);
  EXPECT_EQ(scene.inputMixVolume, fresh.inputMixVolume);
  EXPECT_EQ(scene.outputs, fresh.outputs);
  EXPECT_EQ(scene.mainVolume, fresh.mainVolume);
  EXPECT_EQ(scene.mainVolumeMute, fresh.mainVolumeMute);
  EXPECT_EQ(scene.inputSource, fresh.inputSource);
  EXPECT_EQ(scene.inputThreshold, fresh.inputThreshold);
  EXPECT_EQ(scene.linkMode, fresh.linkMode);
  EXPECT_EQ(scene.lockMode, fresh.lockMode);
  EXPECT_EQ(scene.karaoke, fresh.karaoke);
  EXPECT_EQ(scene.powerOffDelay, fresh.powerOffDelay);
}

}  // namespace
}  // namespace device::testing
