// The virtual unit's auto-calibration run.
//
// A run measures the speakers of the selected outputs in the simulated car (sim/cabin.h): it
// detects them, measures their levels, distances and polarity, evens out the levels with the
// trims, measures each one's response with the microphone and computes a correction for it
// (sim/room_correction.h). It passes through the statuses a unit reports to the status poll, one
// step at a time: a step lasts at least the pace and is shown to at least one poll, so a PC that
// polls slowly never misses a channel's update. What a step produces is readable from the moment
// the step is reported. A finished run's result waits until it is applied to the working scene
// or cancelled.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

#include "device/protocol_limits.h"
#include "sim/unit_state.h"

namespace sim {

// What one output's measurement produced; zero for what has not been measured yet.
struct ChannelCalibration {
  bool measured = false;  // level, distance, trim, polarity, size and noise
  double distanceM = 0.0;
  int levelDb = 0;  // at the microphone, dB SPL
  int trimDb = 0;   // attenuation that brings it to the quietest selected speaker
  bool reversed = false;
  int sizeInches = 0;
  int noiseDb = 0;
  bool spectrumReady = false;
  std::array<double, device::kSpectrumPoints> spectrumDb{};  // at SpectrumFrequencies()
  bool correctionReady = false;
  BandBank correction{};  // the output's bands, in the unit's own form
};

// Frequencies of the measured response's points: 20 Hz to 20 kHz in twelfths of an octave.
const std::array<double, device::kSpectrumPoints>& SpectrumFrequencies();

// How the unit's runs behave: the least time each step takes, and a failure every run ends with
// (a failure code of the table, or any other byte).
struct CalibrationKnobs {
  std::chrono::steady_clock::duration pace{};
  std::optional<int> failure;
};

class CalibrationRun {
 public:
  using Clock = std::chrono::steady_clock;

  // What the status poll reports.
  struct Status {
    std::uint8_t status = 0;
    std::uint8_t channel = 0;
    std::uint8_t progress = 0;
    std::uint8_t failure = 0;
  };

  void SelectModules(int modules) { mModules = modules; }
  int Modules() const { return mModules; }

  // Starts a run over the outputs of `channels` (bit n = output n) with the speakers `scene`
  // gives them, aiming at target effect `effect`. A failure code given (a fault the unit is made
  // to show) ends the run at the stage that fails with that code; a selected output without a
  // speaker fails it with "no speaker" at the speaker test.
  void Start(const SceneState& scene, int channels, int effect, std::optional<int> failure,
             Clock::time_point now);
  // Ends the run where it stands; what it measured stays readable.
  void Stop();
  // Writes a finished run's result into `scene`: trims, and delays, polarities and correction
  // bands as far as the selected modules cover them. False (nothing written) without a finished
  // run.
  bool Apply(SceneState& scene);
  // Throws a result away; stops a run still going.
  void Cancel() { Stop(); }

  // The status the poll reports now; moves on to the next step once the pace has passed.
  Status Poll(Clock::time_point now, Clock::duration pace);

  // Output 0..7.
  const ChannelCalibration& Channel(int channel) const;

 private:
  struct Step {
    int status = 0;
    int channel = 0;
    int progress = 0;
    int failure = 0;
  };

  std::vector<Step> PlanSteps(int failure) const;
  void Measure(const SceneState& scene, int effect);
  // Makes what the step at mStep produced readable.
  void Enter();
  bool Finished() const { return mStep + 1 >= mSteps.size(); }

  int mModules = 0;
  int mChannels = 0;
  std::array<ChannelCalibration, kOutputs> mResults{};
  // Everything measured, made readable step by step.
  std::array<ChannelCalibration, kOutputs> mPending{};
  std::vector<Step> mSteps;  // empty: no run since the last stop, apply or cancel
  std::size_t mStep = 0;
  Clock::time_point mStepStart{};
  bool mDone = false;     // the run ended with its result
  int mExitProgress = 0;  // what the poll reports once no run is going
};

}  // namespace sim
