#include "sim/demo_tuning.h"

#include <array>
#include <memory>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "model/crossover.h"
#include "model/scene_name.h"
#include "model/speaker_role.h"
#include "sim/unit_state_from_model.h"

namespace sim {
namespace {

using model::SceneRecord;
using model::SpeakerRole;

// Filter types as the unit numbers them.
constexpr int kButterworth = 1;
constexpr int kLinkwitzRiley = 2;

struct Filter {
  int hz;
  int type;
  int slope;  // filter order: 2 is 12 dB/octave, 4 is 24 dB/octave, 0 switches it off
};
constexpr Filter kNoLowPass{20000, kLinkwitzRiley, 0};

// One band moved off its third-octave place: band `index` now sits at `hz`.
struct Band {
  int index;
  int hz;
  float q;       // steps of 0.1: the band command carries no finer Q
  float gainDb;  // steps of 0.1 dB
};

struct Output {
  SpeakerRole role;
  Filter hp;
  Filter lp;
  int trimDb;
  float delayMs;  // steps of 21 us, as the delay slider sets them
  std::vector<Band> bands;
};

// Outputs in the order they are wired.
enum : int {
  kTweeterLeft,
  kTweeterRight,
  kMidwooferLeft,
  kMidwooferRight,
  kRearLeft,
  kRearRight,
  kSubwooferLeft,
  kSubwooferRight,
};

// The level of each side in the summed subwoofer signal: -3 dB.
constexpr int kSummedSideLevel = 71;
// The source playing: one with two input channels, so the routing shows.
constexpr int kDemoSource = 2;

model::CrossoverFilter FilterOf(const Filter& filter) {
  return {filter.hz, filter.type, filter.slope};
}

void SetOutput(SceneRecord& scene, int index, const Output& output) {
  const auto o = static_cast<std::size_t>(index);
  scene.outputs[o] = output.role;
  model::OutputChannel& channel = scene.channels[o];
  model::Crossover& crossover = channel.crossover;
  crossover.hp = FilterOf(output.hp);
  crossover.lp = FilterOf(output.lp);
  crossover.bpType = (output.hp.slope > 0 ? model::kBpHighPass : model::kBpNone) |
                     (output.lp.slope > 0 ? model::kBpLowPass : model::kBpNone);
  channel.gain = static_cast<float>(output.trimDb);
  channel.delay = output.delayMs;
  for (const Band& band : output.bands) {
    model::EqBand& target = channel.Bands()[static_cast<std::size_t>(band.index)];
    target.freq = band.hz;
    target.eqFactor = band.q;
    target.eqGain = band.gainDb;
  }
  channel.bypass = output.bands.empty() ? 1 : 0;
}

model::EqBand& BandOf(SceneRecord& scene, int output, int band) {
  return scene.Bands(output)[static_cast<std::size_t>(band)];
}

void SetTrims(SceneRecord& scene, std::initializer_list<std::pair<int, int>> trims) {
  for (const auto& [output, trimDb] : trims) {
    scene.channels[static_cast<std::size_t>(output)].gain = static_cast<float>(trimDb);
  }
}

// The two subwoofer channels share one trim.
void SetSubwooferTrim(SceneRecord& scene, int trimDb) {
  SetTrims(scene, {{kSubwooferLeft, trimDb}, {kSubwooferRight, trimDb}});
}

// Every speaker plays its own side of a two-input source; with four inputs the rear fill plays
// the rear pair. The subwoofers play both front sides summed.
void Route(SceneRecord& scene) {
  for (int source = 0; source < model::kSourceCount; ++source) {
    const int inputs = model::InputsPerSource(source);
    if (inputs == 0) {
      continue;  // the source has no input channels to route
    }
    const auto s = static_cast<std::size_t>(source);
    const bool rearInputs = inputs >= 4;
    scene.inputs[s] = {1, 2, 1, 2, rearInputs ? 4 : 1, rearInputs ? 8 : 2, 3, 3};
    for (std::size_t side : {0u, 1u}) {
      for (std::size_t sub : {kSubwooferLeft, kSubwooferRight}) {
        scene.inputMixVolume[s][side][sub] = kSummedSideLevel;
      }
    }
  }
}

// The everyday tuning, for the driver's seat of a left-hand-drive car: the farthest speakers
// (the subwoofers in the boot) play at once, every nearer one waits for them.
SceneRecord Daily() {
  const SpeakerRole tweeter = model::RoleFromItemName("output_menu_front_left_high_freq");
  const SpeakerRole midwoofer = model::RoleFromItemName("output_menu_front_left_mid_low_freq");
  const SpeakerRole rear = model::RoleFromItemName("output_menu_rear_left_all_freq");
  const SpeakerRole subwoofer = model::RoleFromItemName("output_menu_subwoof_left");
  using model::MirrorRole;

  const Filter tweeterHighPass{3200, kLinkwitzRiley, 4};
  const Filter midwooferHighPass{80, kLinkwitzRiley, 4};
  const Filter midwooferLowPass{3200, kLinkwitzRiley, 4};
  const Filter rearHighPass{100, kButterworth, 2};
  const Filter rearLowPass{5000, kButterworth, 2};
  const Filter subsonic{25, kButterworth, 2};
  const Filter subwooferLowPass{80, kLinkwitzRiley, 4};
  const std::vector<Band> rearBands{{14, 500, 1.0f, -2.0f}, {22, 3150, 2.0f, -3.0f}};
  const std::vector<Band> subwooferBands{{2, 32, 1.2f, 3.0f}, {5, 55, 4.0f, -5.0f}};

  const std::array<Output, model::kOutputCount> outputs{{
      {tweeter,
       tweeterHighPass,
       kNoLowPass,
       -7,
       3.129f,
       {{23, 4200, 2.5f, -2.5f}, {25, 6800, 4.0f, -3.0f}, {28, 12500, 1.5f, 1.5f}}},
      {MirrorRole(tweeter),
       tweeterHighPass,
       kNoLowPass,
       -5,
       1.953f,
       {{23, 4300, 2.0f, -2.0f}, {26, 7600, 4.5f, -4.0f}, {28, 12500, 1.5f, 1.5f}}},
      {midwoofer,
       midwooferHighPass,
       midwooferLowPass,
       -3,
       3.360f,
       {{9, 150, 2.0f, -4.0f},
        {12, 330, 3.0f, -3.5f},
        {17, 1100, 2.5f, -2.0f},
        {20, 2300, 4.0f, -3.0f}}},
      {MirrorRole(midwoofer),
       midwooferHighPass,
       midwooferLowPass,
       -1,
       1.827f,
       {{9, 170, 2.2f, -3.0f},
        {13, 420, 3.5f, -4.5f},
        {17, 1000, 2.0f, -1.5f},
        {21, 2600, 3.0f, -2.0f}}},
      {rear, rearHighPass, rearLowPass, -12, 2.772f, rearBands},
      {MirrorRole(rear), rearHighPass, rearLowPass, -12, 1.302f, rearBands},
      {subwoofer, subsonic, subwooferLowPass, -2, 0.0f, subwooferBands},
      {MirrorRole(subwoofer), subsonic, subwooferLowPass, -2, 0.0f, subwooferBands},
  }};

  SceneRecord scene;
  for (std::size_t o = 0; o < outputs.size(); ++o) {
    SetOutput(scene, static_cast<int>(o), outputs[o]);
  }
  Route(scene);
  // Roles are settled for good; each side is tuned on its own, so the channels are not linked.
  scene.lockMode = 1;
  return scene;
}

// A wider, brighter stage: tweeters a decibel up with more air, no rear fill, less bass.
SceneRecord Concert(const SceneRecord& daily) {
  SceneRecord scene = daily;
  SetTrims(scene, {{kTweeterLeft, -6}, {kTweeterRight, -4}});
  for (int tweeter : {kTweeterLeft, kTweeterRight}) {
    BandOf(scene, tweeter, 28).eqGain = 2.5f;
  }
  scene.channels[kRearLeft].mute = 1;
  scene.channels[kRearRight].mute = 1;
  SetSubwooferTrim(scene, -5);
  return scene;
}

// Late and quiet: softer highs, little bass to carry through the body, a faint rear fill.
SceneRecord Night(const SceneRecord& daily) {
  SceneRecord scene = daily;
  SetTrims(scene, {{kTweeterLeft, -9}, {kTweeterRight, -7}, {kRearLeft, -15}, {kRearRight, -15}});
  SetSubwooferTrim(scene, -8);
  return scene;
}

// More low end: the subwoofers at full trim with a deeper boost, some midbass punch.
SceneRecord Bass(const SceneRecord& daily) {
  SceneRecord scene = daily;
  SetSubwooferTrim(scene, 0);
  for (int subwoofer : {kSubwooferLeft, kSubwooferRight}) {
    BandOf(scene, subwoofer, 2).eqGain = 6.0f;
  }
  for (int midwoofer : {kMidwooferLeft, kMidwooferRight}) {
    BandOf(scene, midwoofer, 6) = {2.0f, 1.4f, 90, 1};
  }
  SetTrims(scene, {{kRearLeft, -14}, {kRearRight, -14}});
  return scene;
}

// Time alignment for a seat between the two front seats: each pair is equally far away.
SceneRecord Centre(const SceneRecord& daily) {
  SceneRecord scene = daily;
  for (const auto& [left, right, delayMs] : {std::tuple{kTweeterLeft, kTweeterRight, 2.541f},
                                             std::tuple{kMidwooferLeft, kMidwooferRight, 2.604f},
                                             std::tuple{kRearLeft, kRearRight, 2.037f}}) {
    scene.channels[static_cast<std::size_t>(left)].delay = delayMs;
    scene.channels[static_cast<std::size_t>(right)].delay = delayMs;
  }
  SetTrims(scene,
           {{kTweeterLeft, -6}, {kTweeterRight, -6}, {kMidwooferLeft, -2}, {kMidwooferRight, -2}});
  return scene;
}

std::unique_ptr<model::ParameterModel> BuildDemoTuning() {
  auto tuning = std::make_unique<model::ParameterModel>();
  const SceneRecord daily = Daily();
  struct StoredScene {
    int number;
    std::u16string_view name;
    SceneRecord scene;
  };
  // Scenes 5 and 7 to 10 are empty.
  const std::array<StoredScene, 5> stored{{{1, u"Daily", daily},
                                           {2, u"Concert", Concert(daily)},
                                           {3, u"Night", Night(daily)},
                                           {4, u"Bass", Bass(daily)},
                                           {6, u"Centre", Centre(daily)}}};
  for (const StoredScene& entry : stored) {
    const auto slot = static_cast<std::size_t>(entry.number - 1);
    tuning->storedScenes[slot] = entry.scene;
    tuning->sceneNames[slot] = model::MakeSceneName(entry.name);
  }

  model::SceneRecord& working = tuning->workingScene;
  working = *tuning->SceneByNumber(kDemoCurrentScene);
  working.inputSource = kDemoSource;
  working.mainVolume = -12;
  return tuning;
}

}  // namespace

const model::ParameterModel& DemoTuning() {
  static const std::unique_ptr<model::ParameterModel> tuning = BuildDemoTuning();
  return *tuning;
}

UnitState DemoUnitState() {
  UnitState state = UnitStateFromModel(DemoTuning());
  state.currentScene = kDemoCurrentScene;
  return state;
}

}  // namespace sim
