#include "dsp_math/section_evaluation.h"

#include <cmath>
#include <complex>
#include <cstddef>

#include "dsp_math/curve_constants.h"

namespace dsp_math {
namespace {

// Horner's rule from the highest coefficient down, in powers of z^-1, with the constant term
// given separately (a denominator's leading coefficient is 1 by convention).
std::complex<double> Polynomial(std::span<const double> coefficients, double constantTerm,
                                std::complex<double> z) {
  if (coefficients.size() == 1) {
    return constantTerm;
  }
  std::complex<double> value = coefficients.back();
  for (std::size_t i = coefficients.size() - 2; i > 0; --i) {
    value = value * z + coefficients[i];
  }
  return value * z + constantTerm;
}

}  // namespace

bool EvaluateSections(std::span<const double> numerator, std::span<const double> denominator,
                      int order, int sectionCount, std::span<double> magnitude,
                      std::span<double> frequency, EvaluationMode mode) {
  if (order < 0 || sectionCount < 0 || mode != EvaluationMode::kDecibelsAndPhase) {
    return false;
  }
  const std::size_t stride = static_cast<std::size_t>(order) + 1;
  const std::size_t coefficientCount = stride * static_cast<std::size_t>(sectionCount);
  const std::size_t points = frequency.size();
  if (numerator.size() < coefficientCount || denominator.size() < coefficientCount ||
      magnitude.size() < points || points < 2) {
    return false;
  }

  // Read before the loop: the frequency array is overwritten point by point.
  const double reference = frequency[points - 2];
  const double twoPi = 8.0 * std::atan(1.0);
  for (std::size_t k = 0; k < points; ++k) {
    const double theta = -twoPi * (0.5 * frequency[k] / reference);
    const std::complex<double> z(std::cos(theta), std::sin(theta));
    std::complex<double> value = 1.0;
    for (std::size_t s = 0; s < static_cast<std::size_t>(sectionCount); ++s) {
      const auto num = numerator.subspan(s * stride, stride);
      const auto den = denominator.subspan(s * stride, stride);
      // The denominator's leading coefficient counts as 1 whatever is stored.
      value *= Polynomial(num, num[0], z) / Polynomial(den, 1.0, z);
    }
    double squared = std::norm(value);
    double phase = 0.0;
    if (std::abs(squared) <= kFloorThreshold) {
      squared = kFloorSquaredMagnitude;
    } else {
      phase = std::atan2(value.imag(), value.real());
    }
    magnitude[k] = 10.0 * std::log10(squared);
    frequency[k] = phase;
  }
  return true;
}

}  // namespace dsp_math
