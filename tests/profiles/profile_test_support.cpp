#include "tests/profiles/profile_test_support.h"

#include <cJSON.h>
#include <gtest/gtest.h>

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

const cJSON* Step(const cJSON* item, const PathStep& step) {
  if (const auto* key = std::get_if<std::string>(&step)) {
    return cJSON_GetObjectItemCaseSensitive(item, key->c_str());
  }
  return cJSON_GetArrayItem(item, std::get<int>(step));
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

std::string Edited(std::string_view text, const KeyPath& path, std::string_view replacement) {
  cJSON* root = cJSON_ParseWithLength(text.data(), text.size());
  EXPECT_NE(root, nullptr);
  cJSON* parent = root;
  for (std::size_t i = 0; i + 1 < path.size(); ++i) {
    parent = const_cast<cJSON*>(Step(parent, path[i]));
    EXPECT_NE(parent, nullptr) << "step " << i;
  }
  const PathStep& last = path.back();
  const auto* key = std::get_if<std::string>(&last);
  if (replacement.empty()) {
    if (key != nullptr) {
      cJSON_DeleteItemFromObjectCaseSensitive(parent, key->c_str());
    } else {
      cJSON_DeleteItemFromArray(parent, std::get<int>(last));
    }
  } else {
    cJSON* value = cJSON_ParseWithLength(replacement.data(), replacement.size());
    EXPECT_NE(value, nullptr) << replacement;
    if (key != nullptr) {
      cJSON_ReplaceItemInObjectCaseSensitive(parent, key->c_str(), value);
    } else {
      cJSON_ReplaceItemInArray(parent, std::get<int>(last), value);
    }
  }
  char* printed = cJSON_PrintUnformatted(root);
  std::string result(printed);
  cJSON_free(printed);
  cJSON_Delete(root);
  return result;
}

}  // namespace profiles::testing
