#include "sim/unit_state.h"

namespace sim {

namespace {

constexpr std::array<std::uint16_t, device::kMaxBandsPerChannel> kThirdOctaveHz{
    20,  25,   31,   40,   50,   63,   80,   100,  125,  160,  200,  250,   315,   400,   500,  630,
    800, 1000, 1250, 1600, 2000, 2500, 3150, 4000, 5000, 6300, 8000, 10000, 12500, 16000, 20000};

// Factory band: Q 5.80, gain 0 dB (sent offset by 18).
constexpr std::uint8_t kFactoryQ = 5;
constexpr std::uint8_t kFactoryQHundredths = 80;
constexpr std::uint8_t kFlatGain = 18;

// Speaker role of each output and the crossover that role starts with.
struct FactoryOutput {
  std::uint8_t role;
  FilterState hp;
  FilterState lp;
};
constexpr FilterState kOpenHighPass{3, 20, 0};
constexpr FilterState kOpenLowPass{3, 20000, 0};
constexpr std::array<FactoryOutput, kOutputs> kFactoryOutputs{{
    {6, kOpenHighPass, kOpenLowPass},   // front left, full range
    {12, kOpenHighPass, kOpenLowPass},  // front right, full range
    {15, kOpenHighPass, kOpenLowPass},  // rear left, full range
    {18, kOpenHighPass, kOpenLowPass},  // rear right, full range
    {19, {3, 3400, 2}, kOpenLowPass},   // centre tweeter
    {20, {3, 350, 3}, {3, 3500, 2}},    // centre low
    {22, {1, 20, 0}, {1, 55, 4}},       // left subwoofer
    {23, {1, 20, 0}, {1, 55, 4}},       // right subwoofer
}};

// Which inputs feed each output: sources 4 and 5 spread four inputs, the others two.
constexpr std::array<std::uint8_t, kOutputs> kTwoInputMasks{1, 2, 1, 2, 3, 3, 1, 2};
constexpr std::array<std::uint8_t, kOutputs> kFourInputMasks{1, 2, 4, 8, 3, 3, 1, 2};
constexpr std::int8_t kFullMixLevel = 100;

constexpr std::uint8_t kErasedByte = 0xFF;
constexpr std::uint16_t kMicrophoneVolume = 60;
constexpr std::uint16_t kMusicVolume = 60;

}  // namespace

BandBank FactoryBands() {
  BandBank bands{};
  for (std::size_t i = 0; i < bands.size(); ++i) {
    bands[i] = {kThirdOctaveHz[i], kFactoryQ, kFactoryQHundredths, kFlatGain, 0};
  }
  return bands;
}

SceneState FactoryScene() {
  SceneState scene;
  for (std::size_t o = 0; o < scene.outputs.size(); ++o) {
    OutputState& output = scene.outputs[o];
    output.role = kFactoryOutputs[o].role;
    output.hp = kFactoryOutputs[o].hp;
    output.lp = kFactoryOutputs[o].lp;
    output.bands = FactoryBands();
  }
  for (InputState& input : scene.inputs) {
    input.bands = FactoryBands();
  }
  for (std::size_t source = 0; source < scene.masks.size(); ++source) {
    scene.masks[source] = source == 4 || source == 5 ? kFourInputMasks : kTwoInputMasks;
    for (auto& levels : scene.mixLevels[source]) {
      levels.fill(kFullMixLevel);
    }
  }
  return scene;
}

UnitState FactoryUnitState() {
  UnitState state;
  state.working = FactoryScene();
  state.stored.fill(state.working);
  for (auto& name : state.names) {
    name.fill(kErasedByte);
  }
  state.ktv[device::ktv::kMicVolume - 1] = kMicrophoneVolume;
  state.ktv[device::ktv::kMusicVolume - 1] = kMusicVolume;
  return state;
}

}  // namespace sim
