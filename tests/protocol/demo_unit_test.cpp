// The demo unit read through the protocol, as the program reads a unit: it must hold the demo
// tuning, and every value must be one a real unit can hold.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "device/scene_commands.h"
#include "model/parameter_model.h"
#include "model/reply_rules.h"
#include "model/scene_name.h"
#include "model/scene_rules.h"
#include "sim/demo_tuning.h"
#include "tests/protocol/protocol_fixture.h"
#include "tests/protocol/scene_requests.h"

namespace device::testing {
namespace {

// What the wire keeps of a Q, a band gain and a delay.
constexpr float kWireTolerance = 1e-4f;
constexpr float kDelayTolerance = 5e-4f;

class DemoUnitTest : public ProtocolFixture {
 protected:
  DemoUnitTest() : ProtocolFixture(sim::DemoUnitState()) {}

  // The working scene, every stored scene and their names, as the program would hold them.
  const model::ParameterModel& ReadEverything() {
    RequestScene(*device, 0);
    for (int scene = 1; scene <= model::kStoredSceneCount; ++scene) {
      RequestScene(*device, scene);
      Get_Scene_Name(*device, scene);
    }
    for (const auto& message : poster->TakeAll()) {
      model::ApplyNotification(*mRead, message);
    }
    return *mRead;
  }

 private:
  std::unique_ptr<model::ParameterModel> mRead = std::make_unique<model::ParameterModel>();
};

// Every setting a scene keeps in the unit; the unit-wide ones are checked apart.
void ExpectSameScene(const model::SceneRecord& read, const model::SceneRecord& demo) {
  EXPECT_EQ(read.outputs, demo.outputs);
  for (int o = 0; o < model::kOutputCount; ++o) {
    SCOPED_TRACE("output " + std::to_string(o + 1));
    const auto& r = read.channels[static_cast<std::size_t>(o)];
    const auto& d = demo.channels[static_cast<std::size_t>(o)];
    EXPECT_EQ(r.crossover.hp, d.crossover.hp);
    EXPECT_EQ(r.crossover.lp, d.crossover.lp);
    EXPECT_EQ(r.gain, d.gain);
    EXPECT_NEAR(r.delay, d.delay, kDelayTolerance);
    EXPECT_EQ(r.mute, d.mute);
    EXPECT_EQ(r.phase, d.phase);
    EXPECT_EQ(r.bypass, d.bypass);
    ASSERT_EQ(r.eqSize(), d.eqSize());
    for (int b = 0; b < r.eqSize(); ++b) {
      SCOPED_TRACE("band " + std::to_string(b));
      const auto& rb = r.Bands()[static_cast<std::size_t>(b)];
      const auto& db = d.Bands()[static_cast<std::size_t>(b)];
      EXPECT_EQ(rb.freq, db.freq);
      EXPECT_NEAR(rb.eqFactor, db.eqFactor, kWireTolerance);
      EXPECT_NEAR(rb.eqGain, db.eqGain, kWireTolerance);
      EXPECT_EQ(rb.enable, db.enable);
    }
  }
  EXPECT_EQ(read.inputs, demo.inputs);
  EXPECT_EQ(read.inputMixVolume, demo.inputMixVolume);
  EXPECT_EQ(read.linkMode, demo.linkMode);
  EXPECT_EQ(read.lockMode, demo.lockMode);
}

bool OnStep(double value, double step) {
  const double steps = value / step;
  return std::abs(steps - std::round(steps)) < 1e-3;
}

// Within the model's limits, at the steps the controls and the wire allow, and consistent as a
// car: roles that may stand together, left/right pairs only where roles mirror, one subwoofer trim.
void ExpectHoldable(const model::SceneRecord& scene) {
  std::optional<float> subwooferTrim;
  for (int o = 0; o < model::kOutputCount; ++o) {
    SCOPED_TRACE("output " + std::to_string(o + 1));
    const auto& channel = scene.channels[static_cast<std::size_t>(o)];
    const model::SpeakerRole role = scene.outputs[static_cast<std::size_t>(o)];
    EXPECT_GT(role, model::kRoleEmpty);
    EXPECT_LT(role, model::kRoleCount);
    EXPECT_TRUE(model::IsRoleAllowed(scene, role, o));

    for (const auto* filter : {&channel.crossover.hp, &channel.crossover.lp}) {
      EXPECT_TRUE(model::kCrossoverFrequencyHz.Contains(filter->fs()));
      EXPECT_TRUE(model::kCrossoverType.Contains(filter->type()));
      EXPECT_TRUE(model::kCrossoverSlope.Contains(filter->slope()));
    }
    if (channel.crossover.hp.slope() > 0 && channel.crossover.lp.slope() > 0) {
      EXPECT_LT(channel.crossover.hp.fs(), channel.crossover.lp.fs());
    }
    for (const model::EqBand& band : channel.Bands()) {
      EXPECT_TRUE(model::kBandFrequencyHz.Contains(band.freq));
      EXPECT_TRUE(model::kBandQ.Contains(band.eqFactor)) << band.eqFactor;
      EXPECT_TRUE(model::kBandGainDb.Contains(band.eqGain)) << band.eqGain;
      EXPECT_TRUE(OnStep(band.eqFactor, 0.1)) << band.eqFactor;
      EXPECT_TRUE(OnStep(band.eqGain, model::kBandGainStepDb)) << band.eqGain;
    }
    EXPECT_TRUE(model::kTrimDb.Contains(static_cast<int>(channel.gain)));
    EXPECT_TRUE(model::kDelayMs.Contains(channel.delay));
    EXPECT_TRUE(OnStep(channel.delay * 1000.0, model::kDelayStepMicroseconds)) << channel.delay;

    if (role == model::kRoleSubwooferLeft || role == model::kRoleSubwooferRight) {
      EXPECT_EQ(channel.gain, subwooferTrim.value_or(channel.gain));
      subwooferTrim = channel.gain;
    }
  }
  for (int source = 0; source < model::kSourceCount; ++source) {
    const int inputs = model::InputsPerSource(source);
    for (int o = 0; o < model::kOutputCount; ++o) {
      const auto s = static_cast<std::size_t>(source);
      const int mask = scene.inputs[s][static_cast<std::size_t>(o)];
      if (inputs > 0) {
        EXPECT_GT(mask, 0) << "source " << source << ", output " << o + 1 << " plays nothing";
        EXPECT_LT(mask, 1 << inputs) << "source " << source << " has no such input";
      }
      for (const auto& levels : scene.inputMixVolume[s]) {
        EXPECT_TRUE(model::kMixLevel.Contains(levels[static_cast<std::size_t>(o)]));
      }
    }
  }
  if (scene.linkMode == 1) {
    EXPECT_EQ(scene.lockMode, 1);
    EXPECT_TRUE(model::HasLinkablePair(scene));
  }
  // A symmetric car: every output has its mirror in its half.
  const auto partners = model::ComputeLinkPartners(scene);
  for (int o = 0; o < model::kOutputCount; ++o) {
    EXPECT_NE(partners[static_cast<std::size_t>(o)], -1) << "output " << o + 1;
  }
}

TEST_F(DemoUnitTest, ReadsBackAsTheDemoTuning) {
  const model::ParameterModel& demo = sim::DemoTuning();
  const model::ParameterModel& read = ReadEverything();

  EXPECT_EQ(read.workingScene.inputSource, demo.workingScene.inputSource);
  EXPECT_EQ(read.workingScene.mainVolume, demo.workingScene.mainVolume);
  EXPECT_EQ(read.workingScene.mainVolumeMute, demo.workingScene.mainVolumeMute);
  EXPECT_EQ(read.workingScene.inputThreshold, demo.workingScene.inputThreshold);
  {
    SCOPED_TRACE("working scene");
    ExpectSameScene(read.workingScene, demo.workingScene);
  }
  for (std::size_t slot = 0; slot < demo.storedScenes.size(); ++slot) {
    SCOPED_TRACE("stored scene " + std::to_string(slot + 1));
    EXPECT_EQ(read.sceneNames[slot], demo.sceneNames[slot]);
    ExpectSameScene(read.storedScenes[slot], demo.storedScenes[slot]);
  }
  Get_Current_Scene(*device);
  const auto current = Take(platform::msg::kSceneNotify, scene::kCurrent);
  ASSERT_EQ(current.size(), 1u);
  EXPECT_EQ(current[0].value, sim::kDemoCurrentScene);
}

TEST_F(DemoUnitTest, EveryNamedSceneIsHoldableAndItsOwn) {
  const model::ParameterModel& read = ReadEverything();
  EXPECT_TRUE(model::kMainVolumeDb.Contains(read.workingScene.mainVolume));
  EXPECT_GT(model::InputsPerSource(read.workingScene.inputSource), 0);
  {
    SCOPED_TRACE("working scene");
    ExpectHoldable(read.workingScene);
  }

  std::vector<const model::SceneRecord*> named;
  int empty = 0;
  for (std::size_t slot = 0; slot < read.storedScenes.size(); ++slot) {
    if (model::IsEmptySceneName(read.sceneNames[slot])) {
      ++empty;
      continue;
    }
    SCOPED_TRACE("stored scene " + std::to_string(slot + 1));
    ExpectHoldable(read.storedScenes[slot]);
    named.push_back(&read.storedScenes[slot]);
  }
  EXPECT_GE(named.size(), 4u);
  EXPECT_GT(empty, 0);
  // No two named scenes hold the same settings.
  for (std::size_t a = 0; a < named.size(); ++a) {
    for (std::size_t b = a + 1; b < named.size(); ++b) {
      EXPECT_NE(named[a]->channels, named[b]->channels) << "scenes " << a << " and " << b;
    }
  }
}

}  // namespace
}  // namespace device::testing
