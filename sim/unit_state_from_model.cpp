#include "sim/unit_state_from_model.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "device/dsp_commands.h"
#include "model/limits.h"
#include "model/scene_name.h"
#include "platform/code_page.h"

namespace sim {
namespace {

constexpr model::IntRange kByte{0, 0xFF};
constexpr std::uint8_t kErasedByte = 0xFF;

int Rounded(double value) {
  return static_cast<int>(std::lround(value));
}

FilterState FilterFrom(const model::CrossoverFilter& filter) {
  return {static_cast<std::uint8_t>(model::kCrossoverType.Clamp(filter.type())),
          static_cast<std::uint16_t>(model::kCrossoverFrequencyHz.Clamp(filter.fs())),
          static_cast<std::uint8_t>(model::kCrossoverSlope.Clamp(filter.slope()))};
}

OutputState OutputFrom(const model::OutputChannel& channel, model::SpeakerRole role) {
  OutputState output;
  output.hp = FilterFrom(channel.crossover.hp);
  output.lp = FilterFrom(channel.crossover.lp);
  // Slots past the channel's own bands keep their factory values.
  output.bands = FactoryBands();
  const auto bands = channel.Bands();
  std::transform(bands.begin(), bands.end(), output.bands.begin(), BandStateFrom);
  const int microseconds = Rounded(model::kDelayMs.Clamp(channel.delay) * 1000.0);
  output.delayMs = static_cast<std::uint8_t>(microseconds / 1000);
  output.delayThousandths = static_cast<std::uint16_t>(microseconds % 1000);
  output.trim = static_cast<std::int8_t>(model::kTrimDb.Clamp(Rounded(channel.gain)));
  output.mute = channel.mute != 0 ? 1 : 0;
  output.phase = channel.phase != 0 ? 1 : 0;
  output.role = static_cast<std::uint8_t>(model::kRoleIndex.Clamp(role));
  output.eqBypass = channel.bypass != 0 ? 1 : 0;
  return output;
}

std::array<std::uint8_t, device::kSceneNameBytes> NameBytes(const model::SceneName& name) {
  std::array<std::uint8_t, device::kSceneNameBytes> bytes{};
  if (model::IsEmptySceneName(name)) {
    bytes.fill(kErasedByte);
    return bytes;
  }
  const std::string ansi = platform::Utf16ToAnsi(model::SceneNameText(name));
  std::copy_n(ansi.begin(), std::min(ansi.size(), bytes.size()), bytes.begin());
  return bytes;
}

}  // namespace

BandState BandStateFrom(const model::EqBand& band) {
  const int hundredthsOfQ = Rounded(model::kBandQ.Clamp(band.eqFactor) * 100.0);
  const int raisedTenths =
      Rounded((model::kBandGainDb.Clamp(band.eqGain) + device::kEqGainOffsetDb) * 10.0);
  return {static_cast<std::uint16_t>(model::kBandFrequencyHz.Clamp(band.freq)),
          static_cast<std::uint8_t>(hundredthsOfQ / 100),
          static_cast<std::uint8_t>(hundredthsOfQ % 100),
          static_cast<std::uint8_t>(raisedTenths / 10),
          static_cast<std::uint8_t>(raisedTenths % 10)};
}

SceneState SceneStateFromRecord(const model::SceneRecord& record) {
  SceneState scene = FactoryScene();
  for (std::size_t o = 0; o < scene.outputs.size(); ++o) {
    scene.outputs[o] = OutputFrom(record.channels[o], record.outputs[o]);
  }
  for (std::size_t source = 0; source < scene.masks.size(); ++source) {
    for (std::size_t o = 0; o < scene.outputs.size(); ++o) {
      scene.masks[source][o] = static_cast<std::uint8_t>(kByte.Clamp(record.inputs[source][o]));
      for (std::size_t input = 0; input < scene.mixLevels[source].size(); ++input) {
        scene.mixLevels[source][input][o] = static_cast<std::int8_t>(
            model::kMixLevel.Clamp(record.inputMixVolume[source][input][o]));
      }
    }
  }
  // A linked pair is the two outputs of one pair slot that are each other's partner.
  scene.channelLink.link = record.linkMode == 1 ? 1 : 0;
  for (std::size_t pair = 0; pair < scene.channelLink.pairs.size(); ++pair) {
    const std::size_t left = 2 * pair;
    scene.channelLink.pairs[pair] =
        record.linkMode == 1 && record.linkOutputs[left] == static_cast<int>(left + 1) ? 1 : 0;
  }
  scene.lock = record.lockMode == 1 ? 1 : 0;
  return scene;
}

UnitState UnitStateFromModel(const model::ParameterModel& model) {
  const model::SceneRecord& working = model.workingScene;
  UnitState state = FactoryUnitState();
  state.working = SceneStateFromRecord(working);
  for (std::size_t slot = 0; slot < state.stored.size(); ++slot) {
    state.stored[slot] = SceneStateFromRecord(model.storedScenes[slot]);
    state.names[slot] = NameBytes(model.sceneNames[slot]);
  }
  state.sourceId = static_cast<std::uint8_t>(
      device::SourceId(std::clamp(working.inputSource, 0, model::kSourceCount - 1)));
  state.mainVolume = static_cast<std::int8_t>(model::kMainVolumeDb.Clamp(working.mainVolume));
  state.subVolume = static_cast<std::int8_t>(std::clamp(working.subVolume, -128, 127));
  state.mute = working.mainVolumeMute != 0 ? 1 : 0;
  state.inputThreshold = static_cast<std::int8_t>(std::clamp(working.inputThreshold, -128, 127));
  return state;
}

}  // namespace sim
