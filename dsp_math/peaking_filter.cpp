#include "dsp_math/peaking_filter.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "dsp_math/section_evaluation.h"

namespace dsp_math {

Biquad DesignPeakingFilter(double sampleRate, double frequency, double gainDb, double q) {
  const double a = std::pow(10.0, gainDb / 20.0);
  const double w0 = 2.0 * std::numbers::pi * frequency / sampleRate;
  const double sn = std::sin(w0);
  const double cs = std::cos(w0);
  // Lower band edge; r sets the bandwidth so that the band is symmetric in boost and cut.
  const double wl = (std::sqrt(4.0 * q * q + 1.0) - 1.0) * w0 / (2.0 * q);
  double r = std::sin(wl) * sn / (2.0 * (std::cos(wl) - cs));
  if (a < 1.0) {
    // Scaling r by A for a cut swaps the numerator and denominator of the boost of equal size.
    r *= a;
  }
  const double u = 2.0 * r + sn;
  Biquad biquad;
  biquad.denominator = {1.0, -4.0 * r * cs / u, (2.0 * r - sn) / u};
  biquad.numerator = {(2.0 * r + a * sn) / u, biquad.denominator[1], (2.0 * r - a * sn) / u};
  return biquad;
}

void PeakingResponse(double sampleRate, double frequency, double gainDb, double q,
                     std::span<double> frequencies, std::span<double> output) {
  const Biquad biquad = DesignPeakingFilter(sampleRate, frequency, gainDb, q);
  // The evaluation overwrites the grid with phases; keep a copy to put it back.
  const std::vector<double> saved(frequencies.begin(), frequencies.end());
  EvaluateSections(biquad.numerator, biquad.denominator, 2, 1, output, frequencies,
                   EvaluationMode::kDecibelsAndPhase);
  std::copy(saved.begin(), saved.end(), frequencies.begin());
}

}  // namespace dsp_math
