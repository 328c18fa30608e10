#include "profiles/profile_writer.h"

#include <cstddef>
#include <string>

#include "model/scene_name.h"
#include "profiles/base64.h"
#include "profiles/json_tree.h"
#include "profiles/profile_keys.h"

namespace profiles {
namespace {

// The stored scenes carry no input threshold of their own.
enum class Threshold { kWith, kWithout };

class ProfileBuilder : public JsonBuilder {
 public:
  void Header(cJSON* root, const model::SceneRecord& working) {
    Number(root, key::kModel, kProfileModel);
    String(root, key::kModelName, kProfileModelName);
    Number(root, key::kMainVolume, working.mainVolume);
    Number(root, key::kSubVolume, working.subVolume);
    Number(root, key::kMainVolumeMute, working.mainVolumeMute);
  }

  void SceneNames(cJSON* root, const model::ParameterModel& model) {
    cJSON* names = Array(root, key::kSceneName);
    for (const model::SceneName& name : model.sceneNames) {
      const std::string text = EncodeBase64(model::SceneNameToUtf16Le(name));
      String(names, text.c_str());
    }
  }

  void SceneSettings(cJSON* object, const model::SceneRecord& scene, Threshold threshold) {
    cJSON* channels = Array(object, key::kChannels);
    for (const model::OutputChannel& channel : scene.channels) {
      Channel(Object(channels), channel);
    }
    cJSON* inputs = Array(object, key::kInputs);
    for (const auto& masks : scene.inputs) {
      Numbers(Array(inputs), masks);
    }
    cJSON* mix = Array(object, key::kInputMixVolume);
    for (const auto& source : scene.inputMixVolume) {
      cJSON* sourceArray = Array(mix);
      for (const auto& levels : source) {
        Numbers(Array(sourceArray), levels);
      }
    }
    Numbers(Array(object, key::kOutputs), scene.outputs);
    Numbers(Array(object, key::kLinkOutputs), scene.linkOutputs);
    Numbers(Array(object, key::kShowChEqualizer), scene.showChEqualizer);
    Number(object, key::kCurrChannel, scene.currChannel);
    Number(object, key::kLinkMode, scene.linkMode);
    Number(object, key::kLockMode, scene.lockMode);
    if (threshold == Threshold::kWith) {
      Number(object, key::kInputThreshold, scene.inputThreshold);
    }
  }

 private:
  template <typename Values>
  void Numbers(cJSON* array, const Values& values) {
    for (const auto value : values) {
      Number(array, value);
    }
  }

  void Filter(cJSON* object, const model::CrossoverFilter& filter) {
    Number(object, key::kFs, filter.fs());
    Number(object, key::kType, filter.type());
    Number(object, key::kSlope, filter.slope());
    Number(object, key::kBypass, filter.bypass());
  }

  void Channel(cJSON* object, const model::OutputChannel& channel) {
    Number(object, key::kEqSize, channel.eqSize());
    Number(object, key::kGain, static_cast<double>(channel.gain));
    Number(object, key::kMute, channel.mute);
    Number(object, key::kDelay, static_cast<double>(channel.delay));
    Number(object, key::kPhase, channel.phase);
    Number(object, key::kBypass, channel.bypass);
    cJSON* crossover = Object(object, key::kCrossover);
    Number(crossover, key::kBpType, channel.crossover.bpType);
    Filter(Object(crossover, key::kHighPass), channel.crossover.hp);
    Filter(Object(crossover, key::kLowPass), channel.crossover.lp);
    cJSON* bands = Array(object, key::kEqArray);
    for (const model::EqBand& band : channel.Bands()) {
      cJSON* item = Object(bands);
      Number(item, key::kFreq, band.freq);
      Number(item, key::kEqFactor, static_cast<double>(band.eqFactor));
      Number(item, key::kEqGain, static_cast<double>(band.eqGain));
      Number(item, key::kEnable, band.enable != 0 ? 1 : 0);
    }
  }
};

std::optional<std::string> Print(const JsonPtr& root, const ProfileBuilder& builder) {
  if (!root || !builder.ok()) {
    return std::nullopt;
  }
  char* text = cJSON_PrintUnformatted(root.get());
  if (text == nullptr) {
    return std::nullopt;
  }
  std::string result(text);
  cJSON_free(text);
  return result;
}

}  // namespace

std::optional<std::string> SceneProfileText(const model::SceneRecord& scene) {
  const JsonPtr root(cJSON_CreateObject());
  ProfileBuilder builder;
  builder.Header(root.get(), scene);
  builder.SceneSettings(root.get(), scene, Threshold::kWith);
  return Print(root, builder);
}

std::optional<std::string> WholeProfileText(const model::ParameterModel& model) {
  const JsonPtr root(cJSON_CreateObject());
  ProfileBuilder builder;
  builder.Header(root.get(), model.workingScene);
  builder.SceneNames(root.get(), model);
  builder.SceneSettings(builder.Object(root.get(), key::kCurrentProfile), model.workingScene,
                        Threshold::kWith);
  cJSON* scenes = builder.Array(root.get(), key::kSceneArray);
  for (const model::SceneRecord& scene : model.storedScenes) {
    builder.SceneSettings(builder.Object(scenes), scene, Threshold::kWithout);
  }
  return Print(root, builder);
}

}  // namespace profiles
