// One peaking band of an output's equaliser.
#pragma once

#include <array>
#include <cstdint>

#include "model/limits.h"

namespace model {

// Centre frequencies of the ISO third-octave series; band i of every output starts at entry i
// (the 11-band outputs use the first 11, 20 to 200 Hz).
inline constexpr std::array<std::int32_t, kMaxBands> kIsoBandFrequencies = {
    20,  25,   31,   40,   50,   63,   80,   100,  125,  160,  200,  250,   315,   400,   500,  630,
    800, 1000, 1250, 1600, 2000, 2500, 3150, 4000, 5000, 6300, 8000, 10000, 12500, 16000, 20000};

struct EqBand {
  float eqGain = 0.0f;                         // dB
  float eqFactor = kDefaultBandQ;              // Q
  std::int32_t freq = kIsoBandFrequencies[0];  // Hz
  std::uint8_t enable = 1;                     // 1 = band active

  friend bool operator==(const EqBand&, const EqBand&) = default;
};

// The band a reset leaves at position `index` (0..30): flat, default Q, its ISO frequency.
constexpr EqBand DefaultBand(int index) {
  EqBand band;
  band.freq =
      kIsoBandFrequencies[static_cast<std::size_t>(index < 0 || index >= kMaxBands ? 0 : index)];
  return band;
}

}  // namespace model
