#include "tests/profiles/tuning_model.h"

#include "model/scene_name.h"

namespace profiles::testing {
namespace {

void Tune(model::SceneRecord& scene, int seed) {
  scene.mainVolume = -seed;
  scene.subVolume = seed % 7;
  scene.mainVolumeMute = seed % 2;
  for (int c = 0; c < model::kOutputCount; ++c) {
    model::OutputChannel& channel = scene.channels[static_cast<std::size_t>(c)];
    channel.SetEqSize(model::BandCountOfOutput(c) - (seed + c) % 3);
    channel.gain = static_cast<float>(-(seed + c) % 60);
    channel.mute = (seed + c) % 2;
    channel.delay = 0.021f * static_cast<float>(seed + 7 * c);
    channel.phase = c % 2;
    channel.bypass = static_cast<std::uint8_t>((seed + c) % 2);
    channel.crossover.bpType = (seed + c) % 4;
    channel.crossover.hp = model::CrossoverFilter(40 + seed + c, 1 + c % 3, c % 5);
    channel.crossover.lp = model::CrossoverFilter(12000 - seed * c, 1 + (c + 1) % 3, (c + 2) % 5);
    int b = 0;
    for (model::EqBand& band : channel.Bands()) {
      band.freq = 20 + 613 * b + seed;
      band.eqFactor = 0.5f + 0.37f * static_cast<float>((b + seed) % 23);
      band.eqGain = -18.0f + 0.1f * static_cast<float>((7 * b + 3 * seed + c) % 300);
      band.enable = static_cast<std::uint8_t>((b + c) % 3 != 0);
      ++b;
    }
  }
  for (int s = 0; s < model::kSourceCount; ++s) {
    for (int o = 0; o < model::kOutputCount; ++o) {
      scene.inputs[static_cast<std::size_t>(s)][static_cast<std::size_t>(o)] =
          (s * 8 + o + seed) % 64;
      for (int i = 0; i < model::kMixInputSlots; ++i) {
        scene.inputMixVolume[static_cast<std::size_t>(s)][static_cast<std::size_t>(i)]
                            [static_cast<std::size_t>(o)] = (s * 64 + i * 8 + o + seed) % 101;
      }
    }
  }
  scene.outputs = {1, 7, 13, 16, 19, 20, 22, 23};
  scene.linkOutputs = {1, 0, 3, 2, -1, -1, 7, 6};
  scene.showChEqualizer = {1, 0, 1, 0, 0, 1, 1, 0};
  scene.currChannel = seed % model::kOutputCount;
  scene.linkMode = 1;
  scene.lockMode = 1;
  scene.inputThreshold = -60 + seed;
}

}  // namespace

std::unique_ptr<model::ParameterModel> TuningModel() {
  auto model = std::make_unique<model::ParameterModel>();
  Tune(model->workingScene, 3);
  for (int n = 0; n < model::kStoredSceneCount; ++n) {
    Tune(model->storedScenes[static_cast<std::size_t>(n)], 10 + n);
  }
  model->sceneNames[0] = model::MakeSceneName(u"Club");
  model->sceneNames[1] = model::MakeSceneName(u"夜间模式");
  model->sceneNames[2] = model::MakeSceneName(u"\U0001F697 Car 12345");  // cut to 8 units
  return model;
}

}  // namespace profiles::testing
