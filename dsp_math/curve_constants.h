// Fixed constants of the response computation. The curves are for display only, so every filter is
// modelled at one sample rate whatever the unit runs at.
#pragma once

#include <array>
#include <cstddef>

namespace dsp_math {

inline constexpr double kSampleRate = 48000.0;
// Length of a channel's FrequencyGrid and ResponseCurve.
inline constexpr std::size_t kCurvePoints = 512;
using CurveArray = std::array<double, kCurvePoints>;

// Crossover cut-offs are clamped to this range of normalised angular frequency (rad/sample):
// 0.0025 Hz and 22000 Hz at 48000 Hz. Keeps the bilinear designs away from 0 and Nyquist.
inline constexpr double kMinCutoffOmega = 3.272492347489368e-07;
inline constexpr double kMaxCutoffOmega = 2.8797932657906435;
inline constexpr int kMaxCrossoverOrder = 8;
inline constexpr std::size_t kCrossoverSections = 4;

// A section whose squared magnitude is at or below the threshold is shown at the floor value
// (-400 dB), so a deep stop band draws as a flat line instead of numerical noise.
inline constexpr double kFloorThreshold = 1e-8;
inline constexpr double kFloorSquaredMagnitude = 1e-40;
inline constexpr double kFloorDb = -400.0;

}  // namespace dsp_math
