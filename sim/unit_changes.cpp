#include "sim/unit_changes.h"

#include <cstddef>
#include <cstdint>

#include "device/dsp_records.h"
#include "device/parameter_codes.h"
#include "device/scene_records.h"
#include "device/value_encoding.h"
#include "model/reply_rules.h"
#include "model/scene_name.h"
#include "sim/peer_support.h"

namespace sim {
namespace {

namespace dsp = device::dsp;
using device::LowByte;

// Hands one reply record to the model's rules, as the program does with what it reads.
void Apply(model::ParameterModel& model, std::uint8_t code,
           const platform::NotificationRecord& record) {
  model::ApplyDspNotification(model, code, 0, &record);
}

void ApplyOutputChanges(int scene, int c, const OutputState& before, const OutputState& now,
                        model::ParameterModel& model) {
  if (before.hp != now.hp || before.lp != now.lp) {
    device::FilterRecord filters;
    filters.scene = scene;
    filters.channel = c;
    filters.hpType = now.hp.type;
    filters.hpFreq = now.hp.freq;
    filters.hpSlope = now.hp.slope;
    filters.lpType = now.lp.type;
    filters.lpFreq = now.lp.freq;
    filters.lpSlope = now.lp.slope;
    Apply(model, dsp::kFilter, filters);
  }
  for (std::size_t b = 0; b < now.bands.size(); ++b) {
    if (before.bands[b] == now.bands[b]) {
      continue;
    }
    device::Bytes bytes;
    PutBand(bytes, now.bands[b]);
    const device::EqBandValue value =
        device::ReadEqBand(std::span<const std::uint8_t, device::kEqBandBytes>(bytes));
    device::EqRecord band;
    band.scene = scene;
    band.channel = c;
    band.band = static_cast<std::int32_t>(b);
    band.freq = value.freqHz;
    band.q = value.q;
    band.gain = value.gainDb;
    Apply(model, dsp::kEq, band);
  }
  if (before.delayMs != now.delayMs || before.delayThousandths != now.delayThousandths) {
    device::Bytes bytes{now.delayMs};
    device::PutU16(bytes, now.delayThousandths);
    device::DelayRecord delay;
    delay.scene = scene;
    delay.channel = c;
    delay.delay = device::ReadDelay(std::span<const std::uint8_t, device::kDelayBytes>(bytes));
    Apply(model, dsp::kDelay, delay);
  }
  if (before.trim != now.trim) {
    device::TrimRecord trim;
    trim.scene = scene;
    trim.channel = c;
    trim.trim = static_cast<float>(now.trim);
    Apply(model, dsp::kTrim, trim);
  }
  const auto value = [&](std::uint8_t code, int was, int is) {
    if (was != is) {
      device::ChannelValueRecord record;
      record.scene = scene;
      record.channel = c;
      record.value = is;
      Apply(model, code, record);
    }
  };
  value(dsp::kMuteCh, before.mute, now.mute);
  value(dsp::kPhase, before.phase, now.phase);
  value(dsp::kChType, before.role, now.role);
  value(dsp::kPeqBypass, before.eqBypass, now.eqBypass);
}

void ApplySceneChanges(int scene, const SceneState& before, const SceneState& now,
                       model::ParameterModel& model) {
  for (std::size_t c = 0; c < now.outputs.size(); ++c) {
    ApplyOutputChanges(scene, static_cast<int>(c), before.outputs[c], now.outputs[c], model);
  }
  for (std::size_t source = 0; source < now.masks.size(); ++source) {
    for (std::size_t o = 0; o < now.masks[source].size(); ++o) {
      if (before.masks[source][o] != now.masks[source][o]) {
        device::MixRecord mix;
        mix.scene = scene;
        mix.source = static_cast<std::int32_t>(source);
        mix.output = static_cast<std::int32_t>(o);
        mix.mask = now.masks[source][o];
        Apply(model, dsp::kMix, mix);
      }
    }
  }
  for (std::size_t source = 0; source < now.mixLevels.size(); ++source) {
    for (std::size_t input = 0; input < now.mixLevels[source].size(); ++input) {
      for (std::size_t o = 0; o < now.mixLevels[source][input].size(); ++o) {
        const std::int8_t level = now.mixLevels[source][input][o];
        if (before.mixLevels[source][input][o] == level) {
          continue;
        }
        device::InputMixTrimRecord levels;
        levels.scene = scene;
        levels.source = static_cast<std::int32_t>(source);
        levels.inCh = static_cast<std::int32_t>(input);
        levels.outX = static_cast<std::int32_t>(o);
        levels.outY = levels.outX;
        levels.trims[0] = LowByte(level);
        Apply(model, dsp::kInputMixTrim, levels);
      }
    }
  }
  if (before.channelLink != now.channelLink) {
    device::LinkRecord link;
    link.scene = scene;
    link.link = now.channelLink.link;
    link.pairs = now.channelLink.pairs;
    Apply(model, dsp::kChLink, link);
  }
  if (before.lock != now.lock) {
    device::LockRecord lock;
    lock.scene = scene;
    lock.lock = now.lock;
    Apply(model, dsp::kChLock, lock);
  }
}

}  // namespace

void ApplyUnitChanges(const UnitState& before, const UnitState& now, model::ParameterModel& model) {
  ApplySceneChanges(0, before.working, now.working, model);
  for (std::size_t n = 0; n < now.stored.size(); ++n) {
    ApplySceneChanges(static_cast<int>(n) + 1, before.stored[n], now.stored[n], model);
  }
  for (std::size_t n = 0; n < now.names.size(); ++n) {
    if (before.names[n] != now.names[n]) {
      // A deleted scene's name reads as erased flash, which is no name.
      model.sceneNames[n] = device::IsErasedName(now.names[n])
                                ? model::SceneName{}
                                : model::SceneNameFromUnitBytes(now.names[n]);
    }
  }
  if (before.mainVolume != now.mainVolume) {
    model::ApplyDspNotification(model, dsp::kMainVolume, now.mainVolume, nullptr);
  }
  if (before.mute != now.mute) {
    model::ApplyDspNotification(model, dsp::kMuteAll, now.mute, nullptr);
  }
  if (before.inputThreshold != now.inputThreshold) {
    model::ApplyDspNotification(model, dsp::kInputThreshold, now.inputThreshold, nullptr);
  }
  // The program does not read the subwoofer volume back, but the unit keeps it, and so does the
  // file of a unit kept in a file.
  if (before.subVolume != now.subVolume) {
    model.workingScene.subVolume = now.subVolume;
  }
}

}  // namespace sim
