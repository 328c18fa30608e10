// The logarithmic frequency grid every curve is evaluated on.
#pragma once

#include <span>

namespace dsp_math {

// Fills `grid` (point count = its size) from about 1 Hz up to sampleRate/2 in equal logarithmic
// steps; the last element is sampleRate itself, which on the unit circle is the same point as 0 Hz.
void BuildFrequencyGrid(double sampleRate, std::span<double> grid);

}  // namespace dsp_math
