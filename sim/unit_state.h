// The virtual unit's settings, kept the way the unit keeps them: as the bytes its replies carry.
// A get answers from here, so a get after a set returns what was set at the wire's resolution.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "device/parameter_codes.h"
#include "device/protocol_limits.h"

namespace sim {

inline constexpr int kOutputs = 8;
// Input channels the unit keeps trims, mutes, phases and equalisers for.
inline constexpr int kInputChannels = 16;
// Raw scene bytes reachable through SetSceneProfile and GetSceneProfile.
inline constexpr int kSceneProfileBytes = 4096;

struct FilterState {
  std::uint8_t type = 1;
  std::uint16_t freq = 20;
  std::uint8_t slope = 0;

  friend bool operator==(const FilterState&, const FilterState&) = default;
};

// One band as the reply carries it: Q in whole and hundredths, gain + 18 dB in whole and tenths.
struct BandState {
  std::uint16_t freq = 0;
  std::uint8_t q = 0;
  std::uint8_t qHundredths = 0;
  std::uint8_t gain = 0;
  std::uint8_t gainTenths = 0;

  friend bool operator==(const BandState&, const BandState&) = default;
};
using BandBank = std::array<BandState, device::kMaxBandsPerChannel>;

struct OutputState {
  FilterState hp;
  FilterState lp;
  BandBank bands{};
  std::uint8_t delayMs = 0;
  std::uint16_t delayThousandths = 0;
  std::int8_t trim = 0;  // dB
  std::uint8_t mute = 0;
  std::int8_t phase = 0;
  std::uint8_t role = 0;  // speaker type
  std::uint8_t eqBypass = 1;
};

struct InputState {
  std::int8_t trim = 0;
  std::uint8_t mute = 0;
  std::int8_t phase = 0;
  BandBank bands{};
};

// A link setting: on/off and one byte per output pair (1 = the pair is linked).
struct LinkState {
  std::uint8_t link = 0;
  std::array<std::uint8_t, device::kLinkPairBytes> pairs{};

  friend bool operator==(const LinkState&, const LinkState&) = default;
};

struct SceneState {
  std::array<OutputState, kOutputs> outputs{};
  std::array<InputState, kInputChannels> inputs{};
  // Per source and output: which inputs feed it (bit k = input k + 1).
  std::array<std::array<std::uint8_t, kOutputs>, device::kSourceCount> masks{};
  // Per source, input and output: the mix level, 0..100.
  std::array<std::array<std::array<std::int8_t, kOutputs>, device::kMixInputSlots>,
             device::kSourceCount>
      mixLevels{};
  std::array<std::array<std::vector<std::uint8_t>, kOutputs>, device::kSourceCount> remap{};
  std::array<std::uint8_t, device::kSourceCount> dspBypass{};
  LinkState channelLink;
  LinkState trimLink;
  LinkState delayLink;
  std::uint8_t lock = 0;
  std::vector<std::uint8_t> profile = std::vector<std::uint8_t>(kSceneProfileBytes, 0);
};

struct UnitState {
  SceneState working;
  std::array<SceneState, device::kStoredScenes> stored{};
  // Erased flash: every byte 0xFF, which the PC reads as "no name".
  std::array<std::array<std::uint8_t, device::kSceneNameBytes>, device::kStoredScenes> names{};
  std::uint8_t currentScene = 0;
  // The stored scene made ready for reading by ReadScene(n, 255), -1 for none: gets for a stored
  // scene are answered only while it is the prepared one.
  int preparedScene = -1;

  std::uint8_t sourceId = 0x51;
  std::int8_t mainVolume = -5;  // dB
  std::int8_t subVolume = 0;
  std::uint8_t mute = 0;
  std::int8_t inputThreshold = -60;  // dB
  std::array<float, kInputChannels> inputNoiseDb{};
  std::uint16_t remoteSelection = 0;
  std::uint8_t command51 = 0;
  std::uint16_t powerOffDelayMs = 0;
  std::array<std::uint16_t, device::ktv::kValueCount> ktv{};  // index = effect code - 1
};

// A scene as the unit leaves the factory: the default speaker roles with their crossovers, the
// third-octave bands, default routing and full mix levels.
SceneState FactoryScene();
// Bands of one channel restored to the factory values (band i at the i-th third-octave step).
BandBank FactoryBands();
UnitState FactoryUnitState();

}  // namespace sim
