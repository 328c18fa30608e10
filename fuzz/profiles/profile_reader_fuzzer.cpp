// Untrusted bytes into both profile readers and the channel-object reader.
//
// A profile file comes from anywhere (a mail, a forum, a half-copied USB stick). For every input:
// no crash and no access outside the model (the sanitizers watch that); afterwards every index
// the model holds lies within its storage, whatever the reader said; and a profile that was
// accepted prints, reads back and prints again to the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "model/output_channel.h"
#include "model/parameter_model.h"
#include "model/scene_rules.h"
#include "profiles/profile_reader.h"
#include "profiles/profile_writer.h"

namespace {

void Require(bool condition) {
  if (!condition) {
    std::abort();
  }
}

void RequireWithinStorage(const model::ParameterModel& model) {
  Require(model::IsWithinStorage(model.workingScene));
  for (const model::SceneRecord& scene : model.storedScenes) {
    Require(model::IsWithinStorage(scene));
  }
}

// What was accepted survives print -> read -> print unchanged.
void RequireStableWhole(const model::ParameterModel& model) {
  const std::string first = profiles::WholeProfileText(model).value();
  auto reread = std::make_unique<model::ParameterModel>();
  Require(profiles::ReadWholeProfile(first, *reread).ok());
  Require(profiles::WholeProfileText(*reread).value() == first);
}

void RequireStableScene(const model::SceneRecord& scene) {
  const std::string first = profiles::SceneProfileText(scene).value();
  model::SceneRecord reread;
  Require(profiles::ReadSceneProfile(first, reread).ok());
  Require(profiles::SceneProfileText(reread).value() == first);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  // One model for every input (a fresh one per input costs more than the reading), brought back
  // to the same start each time so that every input stands on its own.
  static const auto loaded = std::make_unique<model::ParameterModel>();
  loaded->workingScene.ResetToDefaults();
  for (model::SceneRecord& scene : loaded->storedScenes) {
    scene.ResetToDefaults();
  }
  loaded->sceneNames = {};

  if (profiles::ReadSceneProfile(text, loaded->workingScene).ok()) {
    RequireStableScene(loaded->workingScene);
  }
  RequireWithinStorage(*loaded);

  if (profiles::ReadWholeProfile(text, *loaded).ok()) {
    RequireStableWhole(*loaded);
  }
  RequireWithinStorage(*loaded);

  // A channel object for each band storage: the 31-band outputs and the 11-band ones.
  for (const int output : {0, model::kOutputCount - 1}) {
    model::OutputChannel channel(model::BandCountOfOutput(output));
    profiles::ReadChannelObject(text, output, channel);
    Require(model::BandCountRange(output).Contains(channel.eqSize()));
  }
  return 0;
}
