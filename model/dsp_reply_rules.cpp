// Model rules of the parameter notifications (DSP group replies).
#include <cstdint>

#include "device/dsp_records.h"
#include "device/parameter_codes.h"
#include "model/reply_rules.h"
#include "model/scene_rules.h"
#include "platform/debug_log.h"

namespace model {
namespace {

namespace dsp = device::dsp;

// Unit source ids 0x51..0x57 are sources 0..6; anything else reads as source 4.
constexpr std::intptr_t kFirstSourceId = 0x51;
constexpr int kFallbackSource = 4;

bool IsOutput(int index) {
  return index >= 0 && index < kOutputCount;
}
bool IsSource(int index) {
  return index >= 0 && index < kSourceCount;
}

// The scene record and output a per-output record addresses, or nothing when either is outside
// the model.
struct Target {
  SceneRecord* record = nullptr;
  OutputChannel* channel = nullptr;
  ModelChange change;
};

Target TargetOf(ParameterModel& model, std::int32_t scene, std::int32_t channel) {
  SceneRecord* record = model.SceneByNumber(scene);
  if (record == nullptr || !IsOutput(channel)) {
    return {};
  }
  return {record, &record->channels[static_cast<std::size_t>(channel)],
          ModelChange{.scene = scene, .channel = channel}};
}

ModelChange ApplySource(ParameterModel& model, std::intptr_t sourceId) {
  const bool known = sourceId >= kFirstSourceId && sourceId < kFirstSourceId + kSourceCount;
  model.workingScene.inputSource =
      known ? static_cast<std::int32_t>(sourceId - kFirstSourceId) : kFallbackSource;
  return ModelChange::OfWorkingScene();
}

ModelChange ApplyFilter(ParameterModel& model, const device::FilterRecord& r) {
  const Target target = TargetOf(model, r.scene, r.channel);
  if (target.channel == nullptr) {
    return {};
  }
  Crossover& crossover = target.channel->crossover;
  crossover.hp.SetFs(r.hpFreq);
  crossover.hp.SetSlope(r.hpSlope);
  crossover.hp.SetType(r.hpType);
  crossover.lp.SetFs(r.lpFreq);
  crossover.lp.SetSlope(r.lpSlope);
  crossover.lp.SetType(r.lpType);
  return target.change;
}

ModelChange ApplyBand(ParameterModel& model, const device::EqRecord& r) {
  const Target target = TargetOf(model, r.scene, r.channel);
  if (target.channel == nullptr || r.band < 0 || r.band >= target.channel->eqSize()) {
    return {};
  }
  EqBand& band = target.channel->Bands()[static_cast<std::size_t>(r.band)];
  band.freq = r.freq;
  band.eqFactor = r.q;
  band.eqGain = r.gain;
  // A band the unit reports is active; stored scenes keep their own flag.
  if (target.change.scene == 0) {
    band.enable = 1;
  }
  return target.change;
}

template <typename Record, typename Apply>
ModelChange ApplyToChannel(ParameterModel& model, const Record& r, Apply apply) {
  const Target target = TargetOf(model, r.scene, r.channel);
  if (target.channel == nullptr) {
    return {};
  }
  apply(*target.channel);
  return target.change;
}

ModelChange ApplyRouting(ParameterModel& model, const device::MixRecord& r) {
  SceneRecord* record = model.SceneByNumber(r.scene);
  if (record == nullptr || !IsSource(r.source) || !IsOutput(r.output)) {
    return {};
  }
  record->inputs[static_cast<std::size_t>(r.source)][static_cast<std::size_t>(r.output)] = r.mask;
  return ModelChange{.scene = r.scene, .channel = r.output};
}

ModelChange ApplySpeakerType(ParameterModel& model, const device::ChannelValueRecord& r) {
  const Target target = TargetOf(model, r.scene, r.channel);
  // A role outside the role table would index past it wherever roles are looked up.
  if (target.record == nullptr || !kRoleIndex.Contains(r.value)) {
    return {};
  }
  target.record->outputs[static_cast<std::size_t>(r.channel)] = r.value;
  DebugLogA("DSP_CH_TYPE ch(%d), type(%d)\n", r.channel, r.value);
  return target.change;
}

ModelChange ApplyLink(ParameterModel& model, const device::LinkRecord& r) {
  SceneRecord* record = model.SceneByNumber(r.scene);
  if (record == nullptr) {
    return {};
  }
  record->linkMode = r.link == 1 ? 1 : 0;
  // The working scene also follows with its lock and its partners; stored scenes keep only the
  // mode.
  if (r.scene == 0) {
    if (record->linkMode == 1) {
      record->lockMode = 1;
      record->linkOutputs = ComputeLinkPartners(*record);
    } else {
      record->linkOutputs.fill(kNoLinkPartner);
    }
  }
  return ModelChange{.scene = r.scene};
}

ModelChange ApplyLock(ParameterModel& model, const device::LockRecord& r) {
  SceneRecord* record = model.SceneByNumber(r.scene);
  if (record == nullptr) {
    return {};
  }
  ModelChange change{.scene = r.scene};
  record->lockMode = r.lock == 1 ? 1 : 0;
  // A link cannot outlive the lock in the working scene.
  if (r.scene == 0 && record->lockMode == 0 && record->linkMode == 1) {
    record->linkMode = 0;
    record->linkOutputs.fill(kNoLinkPartner);
    change.linkCleared = true;
  }
  return change;
}

ModelChange ApplyMixLevels(ParameterModel& model, const device::InputMixTrimRecord& r) {
  SceneRecord* record = model.SceneByNumber(r.scene);
  if (record == nullptr || !IsSource(r.source) || r.inCh < 0 || r.inCh >= kMixInputSlots) {
    return {};
  }
  DebugLogA("DSP_INPUT_MIX_CH_TRIM source %d, in_ch %d out_ch_x %d, out_ch_y %d\n", r.source,
            r.inCh, r.outX, r.outY);
  const auto source = static_cast<std::size_t>(r.source);
  auto& levels = record->inputMixVolume[source][static_cast<std::size_t>(r.inCh)];
  bool changed = false;
  for (int output = r.outX; output <= r.outY; ++output) {
    const int slot = output - r.outX;
    if (!IsOutput(output) || slot >= static_cast<int>(r.trims.size())) {
      continue;
    }
    const auto o = static_cast<std::size_t>(output);
    std::int32_t level = static_cast<std::int8_t>(r.trims[static_cast<std::size_t>(slot)]);
    // A routed input never sits at "no level": the unit reports 0 for full level.
    const bool routed = (record->inputs[source][o] >> r.inCh & 1) != 0;
    if (level < 1 && routed) {
      level = kDefaultMixLevel;
    }
    levels[o] = level;
    changed = true;
  }
  return changed ? ModelChange{.scene = r.scene} : ModelChange{};
}

void LogNoiseLevels(const device::InputNoiseRecord& r) {
  for (int input = r.chX; input <= r.chY; ++input) {
    if (input >= 0 && input < static_cast<int>(r.levels.size())) {
      DebugLogA("in_ch(%d): noise = %fdB\n", input, r.levels[static_cast<std::size_t>(input)]);
    }
  }
}

template <typename Record>
const Record* As(const platform::NotificationRecord* record) {
  return dynamic_cast<const Record*>(record);
}

ModelChange ApplyRecord(ParameterModel& model, std::uintptr_t code,
                        const platform::NotificationRecord* record) {
  switch (code) {
    case dsp::kFilter:
      if (const auto* r = As<device::FilterRecord>(record)) {
        return ApplyFilter(model, *r);
      }
      break;
    case dsp::kEq:
      if (const auto* r = As<device::EqRecord>(record)) {
        return ApplyBand(model, *r);
      }
      break;
    case dsp::kDelay:
      if (const auto* r = As<device::DelayRecord>(record)) {
        return ApplyToChannel(model, *r, [r](OutputChannel& c) { c.delay = r->delay; });
      }
      break;
    case dsp::kTrim:
      if (const auto* r = As<device::TrimRecord>(record)) {
        return ApplyToChannel(model, *r, [r](OutputChannel& c) { c.gain = r->trim; });
      }
      break;
    case dsp::kMuteCh:
      if (const auto* r = As<device::ChannelValueRecord>(record)) {
        return ApplyToChannel(model, *r, [r](OutputChannel& c) { c.mute = r->value; });
      }
      break;
    case dsp::kPhase:
      if (const auto* r = As<device::ChannelValueRecord>(record)) {
        return ApplyToChannel(model, *r, [r](OutputChannel& c) { c.phase = r->value; });
      }
      break;
    case dsp::kPeqBypass:
      if (const auto* r = As<device::ChannelValueRecord>(record)) {
        return ApplyToChannel(
            model, *r, [r](OutputChannel& c) { c.bypass = static_cast<std::uint8_t>(r->value); });
      }
      break;
    case dsp::kMix:
      if (const auto* r = As<device::MixRecord>(record)) {
        return ApplyRouting(model, *r);
      }
      break;
    case dsp::kChType:
      if (const auto* r = As<device::ChannelValueRecord>(record)) {
        return ApplySpeakerType(model, *r);
      }
      break;
    case dsp::kChLink:
      if (const auto* r = As<device::LinkRecord>(record)) {
        return ApplyLink(model, *r);
      }
      break;
    case dsp::kChLock:
      if (const auto* r = As<device::LockRecord>(record)) {
        return ApplyLock(model, *r);
      }
      break;
    case dsp::kInputMixTrim:
      if (const auto* r = As<device::InputMixTrimRecord>(record)) {
        return ApplyMixLevels(model, *r);
      }
      break;
    case dsp::kInputNoise:
      if (const auto* r = As<device::InputNoiseRecord>(record)) {
        LogNoiseLevels(*r);
      }
      break;
    default:
      break;
  }
  return {};
}

}  // namespace

ModelChange ApplyDspNotification(ParameterModel& model, std::uintptr_t code, std::intptr_t value,
                                 const platform::NotificationRecord* record) {
  DebugLogA("ReadDspValueCallback 0x%02x\n", static_cast<unsigned>(code));
  SceneRecord& working = model.workingScene;
  switch (code) {
    case dsp::kSource:
      return ApplySource(model, value);
    case dsp::kMainVolume:
      working.mainVolume = static_cast<std::int32_t>(value);
      return ModelChange::OfWorkingScene();
    case dsp::kMuteAll:
      working.mainVolumeMute = static_cast<std::int32_t>(value);
      return ModelChange::OfWorkingScene();
    case dsp::kInputThreshold:
      working.inputThreshold = static_cast<std::int32_t>(value);
      return ModelChange::OfWorkingScene();
    default:
      return ApplyRecord(model, code, record);
  }
}

}  // namespace model
