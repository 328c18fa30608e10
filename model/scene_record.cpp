#include "model/scene_record.h"

#include <algorithm>

namespace model {
namespace {

// Default routing masks per output: sources 4 and 5 spread over four inputs, the others over two.
constexpr PerOutput<std::int32_t> kTwoInputRouting = {1, 2, 1, 2, 3, 3, 1, 2};
constexpr PerOutput<std::int32_t> kFourInputRouting = {1, 2, 4, 8, 3, 3, 1, 2};

constexpr const PerOutput<std::int32_t>& DefaultRouting(int source) {
  return source == 4 || source == 5 ? kFourInputRouting : kTwoInputRouting;
}

void Fill(MixArray& mix, std::int32_t value) {
  for (auto& source : mix) {
    for (auto& input : source) {
      input.fill(value);
    }
  }
}

}  // namespace

SceneRecord::SceneRecord() {
  ResetToDefaults();
}

void SceneRecord::ResetToDefaults() {
  modelNumber = kNoUnit;
  masterVersion = kNoUnit;
  slaveVersion = kNoUnit;

  inputThreshold = kDefaultInputThresholdDb;
  powerOffDelay = 0;
  const std::int32_t bassGain = karaoke.bassGain;
  const std::int32_t trebleGain = karaoke.trebleGain;
  karaoke = KaraokeValues{};
  karaoke.bassGain = bassGain;
  karaoke.trebleGain = trebleGain;
  inputSource = 0;
  mainVolume = kDefaultMainVolumeDb;
  subVolume = 0;
  mainVolumeMute = 0;
  sceneNumber = 0;

  outputs = channelCount == kSixOutputCount ? kDefaultRolesSixOutputs : kDefaultRoles;

  currChannel = 0;
  linkMode = 0;
  lockMode = 0;
  linkOutputs.fill(kNoLinkPartner);
  showChEqualizer.fill(0);

  for (int source = 0; source < kSourceCount; ++source) {
    inputs[static_cast<std::size_t>(source)] = DefaultRouting(source);
  }
  Fill(inputMixVolume, kDefaultMixLevel);
  Fill(routePhase, 0);

  for (int c = 0; c < kOutputCount; ++c) {
    const auto index = static_cast<std::size_t>(c);
    OutputChannel channel(BandCountOfOutput(c));
    channel.crossover = DefaultCrossoverForRole(outputs[index]);
    channels[index] = channel;
  }
}

void SceneRecord::SelectVariant(int outputCount) {
  channelCount = outputCount == kSixOutputCount ? kSixOutputCount : kOutputCount;
  ResetToDefaults();
}

std::span<EqBand> SceneRecord::Bands(int channel) {
  return channels[static_cast<std::size_t>(channel >= 0 && channel < kOutputCount ? channel : 0)]
      .Bands();
}

std::span<const EqBand> SceneRecord::Bands(int channel) const {
  return channels[static_cast<std::size_t>(channel >= 0 && channel < kOutputCount ? channel : 0)]
      .Bands();
}

}  // namespace model
