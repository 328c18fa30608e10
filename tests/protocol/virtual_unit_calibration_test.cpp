// The virtual unit's auto-calibration run through the protocol: its statuses, measurements,
// failures, stop and apply, and the correction it computes, checked with the response
// computation the program draws it with.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "device/calibration_codes.h"
#include "device/dsp_commands.h"
#include "device/dsp_commands_get.h"
#include "device/dsp_records.h"
#include "device/parameter_codes.h"
#include "dsp_math/channel_curve.h"
#include "model/limits.h"
#include "sim/cabin.h"
#include "sim/room_correction.h"
#include "tests/protocol/protocol_fixture.h"

namespace device::testing {
namespace {

namespace irc = device::irc;

// The statuses a run reports, in order, as the decoder posts them (wParam, value).
struct Reported {
  int status = 0;
  int value = 0;
};

// A unit whose working scene gives `roles` to outputs 0.. in order.
sim::UnitState StateWithRoles(const std::vector<int>& roles) {
  sim::UnitState state = sim::FactoryUnitState();
  for (std::size_t output = 0; output < roles.size(); ++output) {
    state.working.outputs[output].role = static_cast<std::uint8_t>(roles[output]);
  }
  return state;
}

class CalibrationTest : public ProtocolFixture {
 protected:
  CalibrationTest() = default;
  explicit CalibrationTest(sim::UnitState state) : ProtocolFixture(std::move(state)) {}

  void Start(int channels, int modules = irc::kAllModules, int effect = 0) {
    IRC_Sel_Test_Module(*device, modules, true);
    IRC_Ctrl(*device, irc::kCtrlStart, channels, effect, true);
  }

  // One status poll: the status the decoder posted, if any.
  std::optional<Reported> Poll() {
    EXPECT_TRUE(IRC_Get(*device));
    std::optional<Reported> reported;
    for (auto& message : poster->TakeAll()) {
      if (message.id == platform::msg::kAutoCalNotify && !message.record) {
        reported = Reported{static_cast<int>(message.wParam), static_cast<int>(message.value)};
      }
    }
    return reported;
  }

  // Polls until the run ends (done, failed or gone), at most `limit` times.
  std::vector<Reported> PollToEnd(int limit = 100) {
    std::vector<Reported> seen;
    for (int poll = 0; poll < limit; ++poll) {
      const auto reported = Poll();
      if (!reported) {
        break;
      }
      seen.push_back(*reported);
      if (reported->status >= irc::kStatusDone) {
        break;
      }
    }
    return seen;
  }

  std::vector<IrcSpectrumRecord> Spectrum(int channel) {
    for (int first = 0; first < kSpectrumPoints; first += irc::kSpectrumPointsPerRequest) {
      IRC_Get_Spectrum(*device, channel, first,
                       std::min(first + irc::kSpectrumPointsPerRequest, kSpectrumPoints) - 1);
    }
    return Records<IrcSpectrumRecord>(platform::msg::kAutoCalNotify, dsp::kIrcSpectrum);
  }

  std::vector<IrcEqRecord> Correction(int channel) {
    const int bands = model::BandCountOfOutput(channel);
    for (int first = 0; first < bands; first += irc::kEqBandsPerRequest) {
      IRC_Get_EQ(*device, channel, first, std::min(first + irc::kEqBandsPerRequest, bands) - 1);
    }
    return Records<IrcEqRecord>(platform::msg::kAutoCalNotify, dsp::kIrcEq);
  }

  template <typename Record>
  std::vector<Record> PerChannel(bool (*request)(DspDevice&, int, int), std::uint8_t code) {
    request(*device, 0, kOutputs - 1);
    return Records<Record>(platform::msg::kAutoCalNotify, code);
  }

  static constexpr int kOutputs = model::kOutputCount;
};

// ---- The run ------------------------------------------------------------------------------

constexpr int kEveryOutput = 0xFF;

// The statuses of a run, in order, with what each step reports (progress or channel).
std::vector<int> Statuses(const std::vector<Reported>& seen) {
  std::vector<int> statuses;
  for (const Reported& r : seen) {
    statuses.push_back(r.status);
  }
  return statuses;
}

struct PlanCase {
  int modules;
  int channels;
  std::vector<int> expected;
};

class RunPlanTest : public CalibrationTest, public ::testing::WithParamInterface<PlanCase> {};

TEST_P(RunPlanTest, StepsFollowTheSelectedModulesAndChannels) {
  const PlanCase c = GetParam();
  Start(c.channels, c.modules);
  const auto seen = PollToEnd();
  EXPECT_EQ(Statuses(seen), c.expected);
  // The progress climbs to 100; update steps name their channel instead.
  int progress = 0;
  for (const Reported& r : seen) {
    if (r.status != irc::kStatusRtaUpdate && r.status != irc::kStatusEqUpdate) {
      EXPECT_GE(r.value, progress);
      progress = r.value;
    }
  }
  EXPECT_EQ(progress, irc::kFullProgress);
  // A finished run stays finished.
  EXPECT_EQ(Poll()->status, irc::kStatusDone);
}

INSTANTIATE_TEST_SUITE_P(
    Modules, RunPlanTest,
    ::testing::Values(
        // Every module, outputs 2 and 7: the channel steps run in output order.
        PlanCase{irc::kAllModules, 0x84, {0, 1, 2, 3, 4, 5, 6, 7, 8, 6, 7, 8, 9, 10}},
        // Without the equaliser no correction is computed.
        PlanCase{irc::kModuleDelay, 0x01, {0, 1, 2, 3, 4, 6, 7, 9, 10}},
        // Without the delay no distance test.
        PlanCase{irc::kModuleEq | irc::kModulePhase, 0x02, {0, 1, 2, 4, 5, 6, 7, 8, 9, 10}}));

TEST_F(CalibrationTest, UpdateStepsNameEachSelectedChannelOnce) {
  Start(kEveryOutput);
  std::vector<int> spectra;
  std::vector<int> corrections;
  for (const Reported& r : PollToEnd()) {
    if (r.status == irc::kStatusRtaUpdate) {
      spectra.push_back(r.value);
    } else if (r.status == irc::kStatusEqUpdate) {
      corrections.push_back(r.value);
    }
  }
  const std::vector<int> everyOutput{0, 1, 2, 3, 4, 5, 6, 7};
  EXPECT_EQ(spectra, everyOutput);
  EXPECT_EQ(corrections, everyOutput);
}

TEST_F(CalibrationTest, MeasurementsAreReadableOnceTheirStepIsReported) {
  // A fresh unit has measured nothing.
  for (const auto& d : PerChannel<IrcDistanceRecord>(IRC_Get_Distance, dsp::kIrcDistance)) {
    EXPECT_EQ(d.distance, 0.0f);
  }
  Start(0x03);
  // The update step of output 0 makes its response readable, not yet that of output 1.
  for (auto r = Poll(); r && r->status != irc::kStatusRtaUpdate; r = Poll()) {
  }
  const auto first = Spectrum(0);
  ASSERT_EQ(static_cast<int>(first.size()), kSpectrumPoints);
  EXPECT_NEAR(first.front().freq, 20.0f, 0.01f);
  EXPECT_NEAR(first.back().freq, 20000.0f, 0.01f);
  for (const auto& point : Spectrum(1)) {
    EXPECT_EQ(point.freq, 0.0f);
    EXPECT_EQ(point.gain, 0.0f);
  }
  ASSERT_EQ(PollToEnd().back().status, irc::kStatusDone);

  // Factory roles: output 0 front left full range, output 1 front right full range.
  const auto distances = PerChannel<IrcDistanceRecord>(IRC_Get_Distance, dsp::kIrcDistance);
  ASSERT_EQ(distances.size(), 8u);
  for (int output : {0, 1}) {
    const auto speaker = sim::CabinSpeakerOf(unit->State().working.outputs[output].role);
    EXPECT_NEAR(distances[output].distance, speaker->distanceM, 0.006);
  }
  EXPECT_EQ(distances[2].distance, 0.0f);  // not selected
  // The nearer left speaker is louder and is trimmed down to the right one.
  const auto trims = PerChannel<IrcTrimRecord>(IRC_Get_Trim, dsp::kIrcTrim);
  EXPECT_GT(trims[0].trim, 0.0f);
  EXPECT_EQ(trims[1].trim, 0.0f);
  const auto levels = PerChannel<IrcChannelValueRecord>(IRC_Get_Spk_Level, dsp::kIrcSpkLevel);
  EXPECT_GT(levels[0].value, levels[1].value);
}

TEST_F(CalibrationTest, ReplyRangesStayWithinTheChannelsTables) {
  Start(kEveryOutput);
  PollToEnd();
  // An 11-band output answers its bands only; a 31-band one up to band 30.
  IRC_Get_EQ(*device, 6, 6, 14);
  auto bands = Records<IrcEqRecord>(platform::msg::kAutoCalNotify, dsp::kIrcEq);
  ASSERT_EQ(bands.size(), 5u);
  EXPECT_EQ(bands.back().band, 10);
  IRC_Get_EQ(*device, 0, 27, 40);
  bands = Records<IrcEqRecord>(platform::msg::kAutoCalNotify, dsp::kIrcEq);
  ASSERT_EQ(bands.size(), 4u);
  EXPECT_EQ(bands.back().band, 30);
  IRC_Get_Spectrum(*device, 3, 117, 140);
  EXPECT_EQ(Records<IrcSpectrumRecord>(platform::msg::kAutoCalNotify, dsp::kIrcSpectrum).size(),
            4u);
  // Past the outputs: no measurement at all.
  IRC_Get_Spectrum(*device, 8, 0, 8);
  IRC_Get_EQ(*device, 9, 0, 5);
  EXPECT_TRUE(Take(platform::msg::kAutoCalNotify, dsp::kIrcSpectrum).empty());
  EXPECT_TRUE(Take(platform::msg::kAutoCalNotify, dsp::kIrcEq).empty());
  IRC_Get_Distance(*device, 6, 20);
  EXPECT_EQ(Take(platform::msg::kAutoCalNotify, dsp::kIrcDistance).size(), 2u);
}

// ---- Failures, stop, apply and cancel -------------------------------------------------------

struct FailureCase {
  int failure;
  int failingStage;  // the status shown just before the failure
};

class FailureTest : public CalibrationTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(FailureTest, RunEndsWithTheFailureAfterItsStage) {
  const FailureCase c = GetParam();
  unit->SetCalibrationFailure(c.failure);
  Start(kEveryOutput);
  const auto seen = PollToEnd();
  ASSERT_GE(seen.size(), 2u);
  EXPECT_EQ(seen.back().status, irc::kStatusFail);
  EXPECT_EQ(seen.back().value, c.failure);
  EXPECT_EQ(seen[seen.size() - 2].status, c.failingStage);
  // The failure stays, and there is nothing to apply.
  EXPECT_EQ(Poll()->status, irc::kStatusFail);
  const auto before = unit->State().working.outputs;
  IRC_Ctrl(*device, irc::kCtrlApply, 0, 0, true);
  EXPECT_EQ(unit->State().working.outputs[0].bands[0].gain, before[0].bands[0].gain);
  EXPECT_EQ(unit->State().working.outputs[0].trim, before[0].trim);
}

INSTANTIATE_TEST_SUITE_P(FailureCodes, FailureTest,
                         ::testing::Values(FailureCase{irc::kFailLevel, irc::kStatusLevelTest},
                                           FailureCase{irc::kFailNoMic, irc::kStatusStart},
                                           FailureCase{irc::kFailNoSpeaker,
                                                       irc::kStatusSpeakerTest},
                                           FailureCase{irc::kFailDelay, irc::kStatusDelayTest},
                                           FailureCase{irc::kFailTrim, irc::kStatusTrimTest},
                                           FailureCase{irc::kFailEq, irc::kStatusEqTest}));

TEST_F(CalibrationTest, FailureCodeOutsideTheTableIsReportedButNotPosted) {
  unit->SetCalibrationFailure(7);
  Start(kEveryOutput);
  // The unit says status 11 with code 7; the decoder posts nothing for it.
  EXPECT_EQ(Statuses(PollToEnd(3)), (std::vector<int>{irc::kStatusStart}));
  EXPECT_FALSE(Poll());
  unit->SetCalibrationFailure(std::nullopt);
  Start(kEveryOutput);
  EXPECT_EQ(PollToEnd().back().status, irc::kStatusDone);
}

class EmptyOutputTest : public CalibrationTest {
 protected:
  // Output 5 drives no speaker.
  EmptyOutputTest() : CalibrationTest(StateWithRoles({6, 12, 15, 18, 19, 0, 22, 23})) {}
};

TEST_F(EmptyOutputTest, SelectingItFailsTheSpeakerTest) {
  Start(0x30);
  const auto seen = PollToEnd();
  EXPECT_EQ(seen.back().status, irc::kStatusFail);
  EXPECT_EQ(seen.back().value, irc::kFailNoSpeaker);
  // Without it the run goes through.
  Start(0x10);
  EXPECT_EQ(PollToEnd().back().status, irc::kStatusDone);
}

TEST_F(CalibrationTest, StopInTheMiddleEndsTheRunAndLeavesNothingToApply) {
  Start(kEveryOutput);
  std::optional<Reported> last;
  for (int poll = 0; poll < 8; ++poll) {
    last = Poll();
  }
  ASSERT_TRUE(last);
  ASSERT_LT(last->status, irc::kStatusDone);
  IRC_Ctrl(*device, irc::kCtrlStop, 0, 0, true);
  const auto stopped = Poll();
  ASSERT_TRUE(stopped);
  EXPECT_EQ(stopped->status, irc::kStatusExit);
  EXPECT_GT(stopped->value, 0);
  EXPECT_LT(stopped->value, irc::kFullProgress);
  const auto before = unit->State().working.outputs;
  IRC_Ctrl(*device, irc::kCtrlApply, 0, 0, true);
  EXPECT_EQ(unit->State().working.outputs[0].trim, before[0].trim);
  // A new run starts from the beginning.
  Start(kEveryOutput);
  EXPECT_EQ(Poll()->status, irc::kStatusStart);
}

TEST_F(CalibrationTest, ApplyWritesTheResultIntoTheWorkingScene) {
  Start(kEveryOutput);
  ASSERT_EQ(PollToEnd().back().status, irc::kStatusDone);
  std::array<std::vector<IrcEqRecord>, 8> corrections;
  for (int output = 0; output < kOutputs; ++output) {
    corrections[output] = Correction(output);
  }
  const auto distances = PerChannel<IrcDistanceRecord>(IRC_Get_Distance, dsp::kIrcDistance);
  const auto trims = PerChannel<IrcTrimRecord>(IRC_Get_Trim, dsp::kIrcTrim);
  const auto phases = PerChannel<IrcChannelValueRecord>(IRC_Get_Spk_Phase, dsp::kIrcSpkPhase);
  IRC_Ctrl(*device, irc::kCtrlApply, 0, 0, true);
  EXPECT_EQ(Poll()->status, irc::kStatusExit);

  const auto working = unit->State().working;
  const float farthest =
      std::ranges::max_element(distances, {}, &IrcDistanceRecord::distance)->distance;
  for (int output = 0; output < kOutputs; ++output) {
    const sim::OutputState& state = working.outputs[output];
    EXPECT_EQ(state.eqBypass, 0);
    EXPECT_EQ(state.trim, -static_cast<int>(trims[output].trim));
    EXPECT_EQ(state.phase, phases[output].value);
    // The nearer speakers wait for the farthest.
    const double delayMs = state.delayMs + state.delayThousandths / 1000.0;
    EXPECT_NEAR(delayMs, (farthest - distances[output].distance) / 0.343, 0.05);
    for (const IrcEqRecord& band : corrections[output]) {
      const sim::BandState& kept = state.bands[band.band];
      EXPECT_EQ(kept.freq, band.freq);
      EXPECT_NEAR(kept.gain + kept.gainTenths / 10.0 - 18.0, band.gain, 0.001);
      EXPECT_NEAR(kept.q + kept.qHundredths / 100.0, band.q, 0.001);
    }
  }
  // Factory roles: output 2 is the rear left full range, wired reversed.
  EXPECT_EQ(working.outputs[2].phase, 1);
  // Applied once: a second apply has nothing left.
  IRC_Ctrl(*device, irc::kCtrlApply, 0, 0, true);
  EXPECT_EQ(Poll()->status, irc::kStatusExit);
}

TEST_F(CalibrationTest, CancelKeepsTheWorkingScene) {
  const auto before = unit->State().working.outputs;
  Start(kEveryOutput);
  ASSERT_EQ(PollToEnd().back().status, irc::kStatusDone);
  IRC_Ctrl(*device, irc::kCtrlCancel, 0, 0, true);
  EXPECT_EQ(Poll()->status, irc::kStatusExit);
  IRC_Ctrl(*device, irc::kCtrlApply, 0, 0, true);
  const auto after = unit->State().working.outputs;
  for (int output = 0; output < kOutputs; ++output) {
    EXPECT_EQ(after[output].trim, before[output].trim);
    EXPECT_EQ(after[output].eqBypass, before[output].eqBypass);
    EXPECT_EQ(after[output].bands[3].gain, before[output].bands[3].gain);
  }
}

TEST_F(CalibrationTest, PaceHoldsAStepUntilItHasPassed) {
  unit->SetCalibrationPace(std::chrono::hours(1));
  Start(kEveryOutput);
  EXPECT_EQ(Statuses(PollToEnd(3)), (std::vector<int>{0, 0, 0}));
}

// ---- The correction flattens the cabin ------------------------------------------------------

// The correction curve as the calibration window draws it.
dsp_math::CurveArray CorrectionCurve(const std::vector<IrcEqRecord>& bands) {
  std::vector<dsp_math::CurveBand> curveBands;
  for (const IrcEqRecord& band : bands) {
    curveBands.push_back({band.freq, band.gain, band.q, 1});
  }
  dsp_math::CurveArray grid{};
  dsp_math::CurveArray curve{};
  dsp_math::ComputeAutoCalCurve(curveBands, grid, curve);
  return curve;
}

// The curve at `hz`, straight between the grid points around it on a logarithmic axis.
double CurveAt(const dsp_math::CurveArray& curve, double hz) {
  const auto& grid = dsp_math::ChannelFrequencyGrid();
  const auto above = std::upper_bound(grid.begin(), grid.end() - 1, hz);
  const auto i = static_cast<std::size_t>(above - grid.begin());
  const double t = std::log(hz / grid[i - 1]) / std::log(grid[i] / grid[i - 1]);
  return curve[i - 1] + t * (curve[i] - curve[i - 1]);
}

constexpr double kFlatWithinDb = 3.0;

struct FlattenCase {
  int role;
  int output;  // 0..5 have 31 bands, 6 and 7 have 11
  int effect;
};

class CorrectionTest : public CalibrationTest, public ::testing::WithParamInterface<FlattenCase> {
 protected:
  CorrectionTest() : CalibrationTest(StateWithRoles(std::vector<int>(8, GetParam().role))) {}
};

TEST_P(CorrectionTest, MeasuredPlusCorrectionMeetsTheTarget) {
  const FlattenCase c = GetParam();
  Start(1 << c.output, irc::kAllModules, c.effect);
  ASSERT_EQ(PollToEnd().back().status, irc::kStatusDone);
  const auto speaker = sim::CabinSpeakerOf(c.role);
  ASSERT_TRUE(speaker);
  const sim::CorrectionRange range = sim::CorrectionRangeOf(*speaker);
  const auto bands = Correction(c.output);
  ASSERT_EQ(static_cast<int>(bands.size()), model::BandCountOfOutput(c.output));
  const dsp_math::CurveArray correction = CorrectionCurve(bands);

  // At the points the unit reported ...
  const auto spectrum = Spectrum(c.output);
  ASSERT_EQ(static_cast<int>(spectrum.size()), kSpectrumPoints);
  std::vector<double> frequencies;
  for (const auto& point : spectrum) {
    frequencies.push_back(point.freq);
  }
  const std::vector<double> target = sim::TargetResponse(c.effect, frequencies);
  int checked = 0;
  for (std::size_t k = 0; k < spectrum.size(); ++k) {
    if (range.Contains(spectrum[k].freq)) {
      const double result = spectrum[k].gain + CurveAt(correction, spectrum[k].freq);
      EXPECT_NEAR(result, target[k], kFlatWithinDb) << spectrum[k].freq << " Hz";
      ++checked;
    }
  }
  EXPECT_GT(checked, 10);

  // ... and between them, on the program's own grid, against the cabin itself.
  const auto& grid = dsp_math::ChannelFrequencyGrid();
  std::vector<double> inRange;
  std::vector<std::size_t> at;
  for (std::size_t k = 0; k < grid.size(); ++k) {
    if (range.Contains(grid[k])) {
      inRange.push_back(grid[k]);
      at.push_back(k);
    }
  }
  const std::vector<double> cabin = sim::CabinResponse(*speaker, inRange);
  const std::vector<double> gridTarget = sim::TargetResponse(c.effect, inRange);
  for (std::size_t k = 0; k < inRange.size(); ++k) {
    EXPECT_NEAR(cabin[k] + correction[at[k]], gridTarget[k], kFlatWithinDb) << inRange[k] << " Hz";
  }
}

std::vector<FlattenCase> EveryRoleOnBothBandCounts() {
  std::vector<FlattenCase> cases;
  for (int role = 1; role < model::kRoleCount; ++role) {
    cases.push_back({role, 0, 0});
    cases.push_back({role, 6, 0});
  }
  return cases;
}

std::vector<FlattenCase> EveryEffect() {
  std::vector<FlattenCase> cases;
  constexpr int kFullRange = 6;
  constexpr int kTweeter = 7;
  for (int effect = 1; effect <= sim::kTargetEffectCount; ++effect) {
    cases.push_back({kFullRange, 1, effect});
    cases.push_back({kTweeter, 7, effect});
  }
  return cases;
}

std::string CaseName(const ::testing::TestParamInfo<FlattenCase>& info) {
  return "role" + std::to_string(info.param.role) + "_output" + std::to_string(info.param.output) +
         "_effect" + std::to_string(info.param.effect);
}

INSTANTIATE_TEST_SUITE_P(Roles, CorrectionTest, ::testing::ValuesIn(EveryRoleOnBothBandCounts()),
                         CaseName);
INSTANTIATE_TEST_SUITE_P(Effects, CorrectionTest, ::testing::ValuesIn(EveryEffect()), CaseName);

}  // namespace
}  // namespace device::testing
