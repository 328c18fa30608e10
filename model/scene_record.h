// One scene's complete settings: the working scene the unit plays, or one of its stored scenes.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "model/eq_band.h"
#include "model/limits.h"
#include "model/output_channel.h"
#include "model/speaker_role.h"

namespace model {

// Karaoke (KTV) effect values as the unit last reported them.
struct KaraokeValues {
  std::int32_t howling = 0;  // howling suppression
  std::int32_t micVolume = 60;
  std::int32_t musicVolume = 60;
  std::int32_t voiceChanger = 0;
  std::int32_t echoLevel = 0;
  std::int32_t echoDelay = 0;
  std::int32_t reverbLevel = 0;
  std::int32_t reverbTime = 0;
  std::int32_t bassGain = 0;  // a reset leaves the two tone gains as they are
  std::int32_t trebleGain = 0;

  friend bool operator==(const KaraokeValues&, const KaraokeValues&) = default;
};

// The display curve of one output: the frequency of each point (Hz) and the response there (dB).
struct ChannelCurve {
  std::array<double, kCurvePoints> frequencyGrid{};
  std::array<double, kCurvePoints> responseCurve{};

  friend bool operator==(const ChannelCurve&, const ChannelCurve&) = default;
};

template <typename T>
using PerOutput = std::array<T, kOutputCount>;
template <typename T>
using PerSource = std::array<T, kSourceCount>;
// Indexed [source][input][output].
using MixArray = PerSource<std::array<PerOutput<std::int32_t>, kMixInputSlots>>;

struct SceneRecord {
  // A record at its defaults, eight outputs, identity unknown.
  SceneRecord();

  // Every setting back to its default (the unit identity too, except the flash version); the
  // variant (channelCount) decides the default speaker roles.
  void ResetToDefaults();
  // Chooses the eight- or six-output variant (any other count reads as eight) and resets.
  void SelectVariant(int outputCount);

  // The bands of output `channel`; an index outside 0..7 gives output 0's bands.
  std::span<EqBand> Bands(int channel);
  std::span<const EqBand> Bands(int channel) const;

  // Unit identity; meaningful in the working record only.
  std::int32_t modelNumber = kNoUnit;
  std::int32_t masterVersion = kNoUnit;
  std::int32_t slaveVersion = kNoUnit;
  std::array<std::int32_t, 4> dspFlashVersion{};  // one version byte each
  std::array<std::int32_t, 4> reserved{};

  std::int32_t inputSource = 0;  // active input source 0..6
  std::int32_t mainVolume = kDefaultMainVolumeDb;
  std::int32_t subVolume = 0;
  // Scene addressed by every command built from this record; 0 = the unit's working scene.
  std::uint8_t sceneNumber = 0;
  std::int32_t mainVolumeMute = 0;
  std::int32_t channelCount = kOutputCount;

  PerOutput<OutputChannel> channels;
  // Routing mask per source and output: bit k set = input k+1 feeds the output.
  PerSource<PerOutput<std::int32_t>> inputs{};
  // Mix level 0..100 per source, input and output.
  MixArray inputMixVolume{};
  // Phase of each routed input, per source, input and output; non-zero = reversed.
  MixArray routePhase{};

  PerOutput<SpeakerRole> outputs{};
  PerOutput<std::int32_t> linkOutputs{};      // link partner of each output, -1 = none
  PerOutput<std::int32_t> showChEqualizer{};  // 1 = curve overlaid in the curve editor
  std::int32_t currChannel = 0;
  std::int32_t linkMode = 0;  // 1 = left/right pairs linked (implies lockMode)
  std::int32_t lockMode = 0;  // 1 = speaker roles locked
  std::int32_t inputThreshold = kDefaultInputThresholdDb;
  std::int32_t powerOffDelay = 0;  // ms, as last reported by the unit
  KaraokeValues karaoke;

  PerOutput<ChannelCurve> curves{};
};

// Default speaker roles of the two variants.
inline constexpr PerOutput<SpeakerRole> kDefaultRoles = {6, 12, 15, 18, 19, 20, 22, 23};
inline constexpr PerOutput<SpeakerRole> kDefaultRolesSixOutputs = {6, 12, 15, 18, 22, 23, 0, 0};

}  // namespace model
