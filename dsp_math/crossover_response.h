// dB response of a designed crossover on a frequency grid.
#pragma once

#include <span>

namespace dsp_math {

// Kind codes of CrossoverResponse.
inline constexpr int kCrossoverLowPass = 1;
inline constexpr int kCrossoverHighPass = 2;

// Designs the filter and writes the sum of its sections' dB responses at every point of
// `frequencies` into `output` (at least as long). The grid is left as it was.
void HighPassResponse(double frequency, int slope, int typeCode, std::span<double> frequencies,
                      std::span<double> output);
void LowPassResponse(double frequency, int slope, int typeCode, std::span<double> frequencies,
                     std::span<double> output);
// kind kCrossoverLowPass gives the low-pass, any other value the high-pass.
void CrossoverResponse(int kind, double frequency, int slope, int typeCode,
                       std::span<double> frequencies, std::span<double> output);

}  // namespace dsp_math
