#include "sim/calibration_run.h"

#include <algorithm>
#include <cmath>

#include "device/calibration_codes.h"
#include "model/eq_band.h"
#include "model/limits.h"
#include "sim/cabin.h"
#include "sim/room_correction.h"
#include "sim/unit_state_from_model.h"

namespace sim {

namespace irc = device::irc;

namespace {

constexpr double kLowestSpectrumHz = 20.0;
constexpr double kSpectrumSpan = 1000.0;  // 20 Hz .. 20 kHz
// The microphone hears nothing below this, relative to the reference level.
constexpr double kNoiseFloorDb = -30.0;
// The level a speaker at 0 dB of the reference produces at the microphone.
constexpr double kReferenceSplDb = 80.0;
constexpr double kSoundMetresPerMs = 0.343;

bool Selected(int channels, int output) {
  return (channels >> output & 1) != 0;
}

// The stage whose step fails with `failure`; codes outside the table fail at the start.
int FailingStage(int failure) {
  switch (failure) {
    case irc::kFailLevel:
      return irc::kStatusLevelTest;
    case irc::kFailNoSpeaker:
      return irc::kStatusSpeakerTest;
    case irc::kFailDelay:
      return irc::kStatusDelayTest;
    case irc::kFailTrim:
      return irc::kStatusTrimTest;
    case irc::kFailEq:
      return irc::kStatusEqTest;
    default:
      return irc::kStatusStart;
  }
}

// The output's bands in the unit's form: each fitted band takes the free factory slot nearest
// to it in frequency, the others stay flat, and the slots end up in order of frequency.
BandBank BankOf(const std::vector<CorrectionBand>& bands, int bandCount) {
  BandBank bank = FactoryBands();
  std::vector<bool> taken(static_cast<std::size_t>(bandCount), false);
  for (const CorrectionBand& band : bands) {
    std::size_t nearest = 0;
    double nearestOctaves = -1.0;
    for (std::size_t slot = 0; slot < taken.size(); ++slot) {
      const double octaves = std::abs(std::log2(bank[slot].freq / band.freqHz));
      if (!taken[slot] && (nearestOctaves < 0.0 || octaves < nearestOctaves)) {
        nearest = slot;
        nearestOctaves = octaves;
      }
    }
    if (nearestOctaves < 0.0) {
      break;
    }
    taken[nearest] = true;
    model::EqBand value;
    value.freq = static_cast<std::int32_t>(std::lround(band.freqHz));
    value.eqFactor = static_cast<float>(band.q);
    value.eqGain = static_cast<float>(band.gainDb);
    bank[nearest] = BandStateFrom(value);
  }
  std::sort(bank.begin(), bank.begin() + bandCount,
            [](const BandState& a, const BandState& b) { return a.freq < b.freq; });
  return bank;
}

}  // namespace

const std::array<double, device::kSpectrumPoints>& SpectrumFrequencies() {
  static const auto frequencies = [] {
    std::array<double, device::kSpectrumPoints> f{};
    for (std::size_t k = 0; k < f.size(); ++k) {
      f[k] = kLowestSpectrumHz *
             std::pow(kSpectrumSpan, static_cast<double>(k) / static_cast<double>(f.size() - 1));
    }
    return f;
  }();
  return frequencies;
}

void CalibrationRun::Start(const SceneState& scene, int channels, int effect,
                           std::optional<int> failure, Clock::time_point now) {
  mChannels = channels;
  mResults = {};
  mDone = false;
  bool missingSpeaker = true;
  for (int output = 0; output < kOutputs; ++output) {
    if (Selected(channels, output)) {
      missingSpeaker = !CabinSpeakerOf(scene.outputs[static_cast<std::size_t>(output)].role);
      if (missingSpeaker) {
        break;
      }
    }
  }
  if (!failure && missingSpeaker) {
    failure = irc::kFailNoSpeaker;
  }
  Measure(scene, effect);
  mSteps = PlanSteps(failure.value_or(-1));
  mStep = 0;
  mStepStart = now;
  Enter();
}

std::vector<CalibrationRun::Step> CalibrationRun::PlanSteps(int failure) const {
  std::vector<Step> steps{{irc::kStatusStart}, {irc::kStatusSpeakerTest}, {irc::kStatusLevelTest}};
  if ((mModules & irc::kModuleDelay) != 0) {
    steps.push_back({irc::kStatusDelayTest});
  }
  steps.push_back({irc::kStatusTrimTest});
  const bool eq = (mModules & irc::kModuleEq) != 0;
  if (eq) {
    steps.push_back({irc::kStatusEqTest});
  }
  for (int output = 0; output < kOutputs; ++output) {
    if (Selected(mChannels, output)) {
      steps.push_back({irc::kStatusRtaTest, output});
      steps.push_back({irc::kStatusRtaUpdate, output});
      if (eq) {
        steps.push_back({irc::kStatusEqUpdate, output});
      }
    }
  }
  steps.push_back({irc::kStatusDataUpdate});
  steps.push_back({irc::kStatusDone});
  const int last = static_cast<int>(steps.size()) - 1;
  for (int i = 0; i <= last; ++i) {
    steps[static_cast<std::size_t>(i)].progress = i * irc::kFullProgress / last;
  }
  if (failure >= 0) {
    // The failing stage is shown, then the failure.
    const int stage = FailingStage(failure);
    const auto at = std::ranges::find_if(steps, [&](const Step& s) { return s.status >= stage; });
    const int progress = at->progress;
    steps.erase(at + 1, steps.end());
    steps.push_back({irc::kStatusFail, 0, progress, failure});
  }
  return steps;
}

void CalibrationRun::Measure(const SceneState& scene, int effect) {
  const auto& frequencies = SpectrumFrequencies();
  const std::vector<double> target = TargetResponse(effect, frequencies);
  mPending = {};
  std::array<std::optional<CabinSpeaker>, kOutputs> speakers;
  std::optional<double> quietestDb;
  for (int output = 0; output < kOutputs; ++output) {
    auto& speaker = speakers[static_cast<std::size_t>(output)];
    if (Selected(mChannels, output)) {
      speaker = CabinSpeakerOf(scene.outputs[static_cast<std::size_t>(output)].role);
    }
    if (speaker) {
      quietestDb = std::min(quietestDb.value_or(speaker->levelDb), speaker->levelDb);
    }
  }
  for (int output = 0; output < kOutputs; ++output) {
    const auto& speaker = speakers[static_cast<std::size_t>(output)];
    if (!speaker) {
      continue;
    }
    ChannelCalibration& result = mPending[static_cast<std::size_t>(output)];
    const std::vector<double> response = CabinResponse(*speaker, frequencies);
    for (std::size_t k = 0; k < response.size(); ++k) {
      // What the microphone picks up over its own noise.
      result.spectrumDb[k] = 10.0 * std::log10(std::pow(10.0, response[k] / 10.0) +
                                               std::pow(10.0, kNoiseFloorDb / 10.0));
    }
    const int bandCount = model::BandCountOfOutput(output);
    result.correction = BankOf(FitCorrection(frequencies, result.spectrumDb, target,
                                             CorrectionRangeOf(*speaker), bandCount),
                               bandCount);
    result.measured = result.spectrumReady = result.correctionReady = true;
    result.distanceM = speaker->distanceM;
    result.levelDb = static_cast<int>(std::lround(kReferenceSplDb + speaker->levelDb));
    // Trims only attenuate: every speaker comes down to the quietest one.
    result.trimDb = -model::kTrimDb.Clamp(
        -static_cast<int>(std::lround(speaker->levelDb - quietestDb.value_or(0.0))));
    result.reversed =
        speaker->reversed != (scene.outputs[static_cast<std::size_t>(output)].phase != 0);
    result.sizeInches = speaker->sizeInches;
    result.noiseDb = speaker->noiseDb;
  }
}

void CalibrationRun::Enter() {
  const Step& step = mSteps[mStep];
  auto publish = [&](int output, auto part) {
    ChannelCalibration& result = mResults[static_cast<std::size_t>(output)];
    const ChannelCalibration& pending = mPending[static_cast<std::size_t>(output)];
    part(result, pending);
  };
  if (step.status >= irc::kStatusTrimTest && step.status <= irc::kStatusDone) {
    for (int output = 0; output < kOutputs; ++output) {
      publish(output, [](ChannelCalibration& result, const ChannelCalibration& pending) {
        result.measured = pending.measured;
        result.distanceM = pending.distanceM;
        result.levelDb = pending.levelDb;
        result.trimDb = pending.trimDb;
        result.reversed = pending.reversed;
        result.sizeInches = pending.sizeInches;
        result.noiseDb = pending.noiseDb;
      });
    }
  }
  if (step.status == irc::kStatusRtaUpdate) {
    publish(step.channel, [](ChannelCalibration& result, const ChannelCalibration& pending) {
      result.spectrumReady = pending.spectrumReady;
      result.spectrumDb = pending.spectrumDb;
    });
  }
  if (step.status == irc::kStatusEqUpdate) {
    publish(step.channel, [](ChannelCalibration& result, const ChannelCalibration& pending) {
      result.correctionReady = pending.correctionReady;
      result.correction = pending.correction;
    });
  }
  mDone = step.status == irc::kStatusDone;
}

CalibrationRun::Status CalibrationRun::Poll(Clock::time_point now, Clock::duration pace) {
  if (mSteps.empty()) {
    return {static_cast<std::uint8_t>(irc::kStatusExit), 0,
            static_cast<std::uint8_t>(mExitProgress), 0};
  }
  const Step& step = mSteps[mStep];
  int progress = step.progress;
  const auto elapsed = now - mStepStart;
  if (!Finished() && pace.count() > 0) {
    // Between two steps the progress moves on with the time spent in the step.
    const double share =
        std::min(1.0, static_cast<double>(elapsed.count()) / static_cast<double>(pace.count()));
    progress += static_cast<int>(share * (mSteps[mStep + 1].progress - step.progress));
  }
  const Status status{static_cast<std::uint8_t>(step.status),
                      static_cast<std::uint8_t>(step.channel), static_cast<std::uint8_t>(progress),
                      static_cast<std::uint8_t>(step.failure)};
  if (!Finished() && elapsed >= pace) {
    ++mStep;
    mStepStart = now;
    Enter();
  }
  return status;
}

void CalibrationRun::Stop() {
  if (!mSteps.empty()) {
    mExitProgress = mSteps[mStep].progress;
  }
  mSteps.clear();
  mDone = false;
}

bool CalibrationRun::Apply(SceneState& scene) {
  if (!mDone) {
    return false;
  }
  double farthestM = 0.0;
  for (const ChannelCalibration& result : mResults) {
    if (result.measured) {
      farthestM = std::max(farthestM, result.distanceM);
    }
  }
  for (int output = 0; output < kOutputs; ++output) {
    const ChannelCalibration& result = mResults[static_cast<std::size_t>(output)];
    if (!result.measured) {
      continue;
    }
    OutputState& state = scene.outputs[static_cast<std::size_t>(output)];
    state.trim = static_cast<std::int8_t>(-result.trimDb);
    if ((mModules & irc::kModuleDelay) != 0) {
      // The nearer speakers wait for the sound of the farthest one.
      const double delayMs =
          model::kDelayMs.Clamp((farthestM - result.distanceM) / kSoundMetresPerMs);
      const int microseconds = static_cast<int>(std::lround(delayMs * 1000.0));
      state.delayMs = static_cast<std::uint8_t>(microseconds / 1000);
      state.delayThousandths = static_cast<std::uint16_t>(microseconds % 1000);
    }
    if ((mModules & irc::kModulePhase) != 0 && result.reversed) {
      state.phase = state.phase != 0 ? 0 : 1;
    }
    if ((mModules & irc::kModuleEq) != 0 && result.correctionReady) {
      const auto count = static_cast<std::size_t>(model::BandCountOfOutput(output));
      std::copy_n(result.correction.begin(), count, state.bands.begin());
      state.eqBypass = 0;
    }
  }
  Stop();
  mExitProgress = irc::kFullProgress;
  return true;
}

const ChannelCalibration& CalibrationRun::Channel(int channel) const {
  return mResults[static_cast<std::size_t>(std::clamp(channel, 0, kOutputs - 1))];
}

}  // namespace sim
