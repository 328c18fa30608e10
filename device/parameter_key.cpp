#include "device/parameter_key.h"

#include <algorithm>
#include <cstddef>

#include "device/parameter_codes.h"

namespace device {

namespace {

// The leading payload bytes that name the parameter, by payload layout; the bytes after them are
// the value. A range command names the whole range: channels 0..1 and channel 0 alone are two
// parameters, so a later value of one never hides a value of the other.
constexpr std::size_t kUnitWide = 0;                  // the command alone names it
constexpr std::size_t kSceneSource = 2;               // scene, source
constexpr std::size_t kSceneSourceOutput = 3;         // scene, source, output
constexpr std::size_t kSceneSourceChannels = 4;       // scene, source, first channel, last channel
constexpr std::size_t kSceneSourceChannelBand = 4;    // scene, source, channel, band
constexpr std::size_t kSceneSourceChannelFilter = 4;  // scene, source, channel, filter index
constexpr std::size_t kSceneSourceChannelBands = 5;   // scene, source, channel, first, last band
constexpr std::size_t kSceneSourceInputOutputs = 5;   // scene, source, input, first, last output
constexpr std::size_t kSceneSourceInputsOutput = 5;   // scene, source, first, last input, output

struct PlainSet {
  std::uint8_t group;
  std::uint8_t command;
  std::size_t parameterBytes;
};

// Every command (op set) that sets one parameter to a value. Not here, so never coalesced: the
// link commands with their pair lists, the channel lock, EQ reset, the calibration commands, the
// remote selection and command 51 (whose meaning only the unit knows), every scene command, the
// MCU actions and every request.
constexpr PlainSet kPlainSets[] = {
    {kGroupDsp, dsp::kSource, kUnitWide},
    {kGroupDsp, dsp::kMainVolume, kUnitWide},
    {kGroupDsp, dsp::kSubVolume, kUnitWide},
    {kGroupDsp, dsp::kMuteAll, kUnitWide},
    {kGroupDsp, dsp::kFilter, kSceneSourceChannelFilter},
    {kGroupDsp, dsp::kEq, kSceneSourceChannelBand},
    {kGroupDsp, dsp::kDelay, kSceneSourceChannels},
    {kGroupDsp, dsp::kTrim, kSceneSourceChannels},
    {kGroupDsp, dsp::kMuteCh, kSceneSourceChannels},
    {kGroupDsp, dsp::kPhase, kSceneSourceChannels},
    {kGroupDsp, dsp::kMix, kSceneSourceChannels},
    {kGroupDsp, dsp::kRemap, kSceneSourceOutput},
    {kGroupDsp, dsp::kChType, kSceneSourceChannels},
    {kGroupDsp, dsp::kDspBypass, kSceneSource},
    {kGroupDsp, dsp::kPeqBypass, kSceneSourceChannels},
    {kGroupDsp, dsp::kInputTrim, kSceneSourceChannels},
    {kGroupDsp, dsp::kInputMute, kSceneSourceChannels},
    {kGroupDsp, dsp::kInputPhase, kSceneSourceChannels},
    {kGroupDsp, dsp::kInputEq, kSceneSourceChannelBands},
    {kGroupDsp, dsp::kInputMixTrim, kSceneSourceInputOutputs},
    {kGroupDsp, dsp::kInputThreshold, kUnitWide},
    {kGroupDsp, dsp::kOutputMixTrim, kSceneSourceInputsOutput},
    {kGroupKtv, ktv::kMicVolume, kUnitWide},
    {kGroupKtv, ktv::kMusicVolume, kUnitWide},
    {kGroupKtv, ktv::kHowling, kUnitWide},
    {kGroupKtv, ktv::kEchoLevel, kUnitWide},
    {kGroupKtv, ktv::kEchoDelay, kUnitWide},
    {kGroupKtv, ktv::kReverbLevel, kUnitWide},
    {kGroupKtv, ktv::kReverbTime, kUnitWide},
    {kGroupKtv, ktv::kVoiceChanger, kUnitWide},
    {kGroupKtv, ktv::kBassGain, kUnitWide},
    {kGroupKtv, ktv::kTrebleGain, kUnitWide},
    {kGroupMcu, kMcuPowerOffDelay, kUnitWide},
};

// Group and command take the top two bytes of the key, the naming bytes the rest.
constexpr std::size_t kKeyPayloadBytes = 6;
static_assert(std::ranges::all_of(kPlainSets, [](const PlainSet& set) {
  return set.parameterBytes <= kKeyPayloadBytes;
}));

}  // namespace

std::optional<ParameterKey> ParameterKeyOf(const CommandRecord& record) {
  if (record.op != kOpSet) {
    return std::nullopt;
  }
  const auto* set = std::ranges::find_if(kPlainSets, [&](const PlainSet& entry) {
    return entry.group == record.group && entry.command == record.command;
  });
  if (set == std::end(kPlainSets) || record.payload.size() < set->parameterBytes) {
    return std::nullopt;
  }
  ParameterKey key = ParameterKey{record.group} << 56 | ParameterKey{record.command} << 48;
  for (std::size_t i = 0; i < set->parameterBytes; ++i) {
    key |= ParameterKey{record.payload[i]} << (8 * (kKeyPayloadBytes - 1 - i));
  }
  return key;
}

}  // namespace device
