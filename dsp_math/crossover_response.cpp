#include "dsp_math/crossover_response.h"

#include <algorithm>
#include <vector>

#include "dsp_math/crossover_design.h"
#include "dsp_math/section_evaluation.h"

namespace dsp_math {
namespace {

// Each section is evaluated on its own (so the floor applies per section) and its dB added.
void SectionsResponse(bool lowPass, double frequency, int slope, int typeCode,
                      std::span<double> frequencies, std::span<double> output) {
  const std::size_t points = std::min(frequencies.size(), output.size());
  std::fill_n(output.begin(), points, 0.0);
  const std::vector<double> saved(frequencies.begin(), frequencies.end());
  std::vector<double> sectionDb(points);
  for (const CrossoverSection& section : DesignCrossover(lowPass, frequency, slope, typeCode)) {
    if (section.kind == SectionKind::kEmpty) {
      continue;
    }
    const Biquad biquad = SectionToBiquad(lowPass, section);
    EvaluateSections(biquad.numerator, biquad.denominator, 2, 1, sectionDb,
                     frequencies.first(points), EvaluationMode::kDecibelsAndPhase);
    std::copy(saved.begin(), saved.end(), frequencies.begin());
    for (std::size_t k = 0; k < points; ++k) {
      output[k] += sectionDb[k];
    }
  }
}

}  // namespace

void HighPassResponse(double frequency, int slope, int typeCode, std::span<double> frequencies,
                      std::span<double> output) {
  SectionsResponse(false, frequency, slope, typeCode, frequencies, output);
}

void LowPassResponse(double frequency, int slope, int typeCode, std::span<double> frequencies,
                     std::span<double> output) {
  SectionsResponse(true, frequency, slope, typeCode, frequencies, output);
}

void CrossoverResponse(int kind, double frequency, int slope, int typeCode,
                       std::span<double> frequencies, std::span<double> output) {
  if (kind == kCrossoverLowPass) {
    LowPassResponse(frequency, slope, typeCode, frequencies, output);
  } else {
    HighPassResponse(frequency, slope, typeCode, frequencies, output);
  }
}

}  // namespace dsp_math
