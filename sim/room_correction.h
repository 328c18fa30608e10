// How the virtual unit computes a room correction: the response a run aims at (flat, or the
// target effect the user picked), and the peaking bands that bring a measured response to it.
#pragma once

#include <span>
#include <vector>

#include "sim/cabin.h"

namespace sim {

// Target effects 1..9 shape the aimed-at response; 0 (and any other number) aims at flat.
inline constexpr int kTargetEffectCount = 9;

// The aimed-at response of target effect `effect`, dB at each frequency.
std::vector<double> TargetResponse(int effect, std::span<const double> frequencies);

struct CorrectionBand {
  double freqHz = 0.0;
  double q = 0.0;
  double gainDb = 0.0;
};

// At most `maxBands` peaking bands, fitted one after the other where the measured response
// strays furthest from the target within `range`, until every point there lies within a
// decibel of it. Boosts are held to +9 dB and cuts to -15 dB, as a unit protects its speakers
// and headroom, so a deep narrow dip is only partly filled.
std::vector<CorrectionBand> FitCorrection(std::span<const double> frequencies,
                                          std::span<const double> measured,
                                          std::span<const double> target, CorrectionRange range,
                                          int maxBands);

}  // namespace sim
