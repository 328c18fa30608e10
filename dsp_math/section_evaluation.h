// Evaluation of a cascade of polynomial sections on a frequency grid.
#pragma once

#include <span>

namespace dsp_math {

enum class EvaluationMode {
  // Magnitude as 10*log10(|H|^2) dB (with the floor) and the frequency array overwritten with the
  // phase in radians.
  kDecibelsAndPhase = 2,
};

// Evaluates `sectionCount` sections of polynomial order `order` (coefficients stored per section
// as order+1 values, lowest power first; each denominator's leading value is taken as 1) at every
// point of `frequency`. The frequency of the grid's second-to-last point is the Nyquist reference.
// Writes one dB value per point into `magnitude` and replaces `frequency` by the phase: callers
// that need the grid afterwards copy it first. Returns false (touching nothing) when the arrays are
// too short for the given counts.
bool EvaluateSections(std::span<const double> numerator, std::span<const double> denominator,
                      int order, int sectionCount, std::span<double> magnitude,
                      std::span<double> frequency, EvaluationMode mode);

}  // namespace dsp_math
