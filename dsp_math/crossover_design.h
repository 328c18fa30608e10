// Crossover (high-pass / low-pass) design as a cascade of up to four sections.
#pragma once

#include <array>

#include "dsp_math/biquad.h"
#include "dsp_math/curve_constants.h"

namespace dsp_math {

// Filter family codes as the unit stores them (0 is accepted by the design as well).
inline constexpr int kCrossoverSingleSection = 0;  // one second-order section, Q 1
inline constexpr int kCrossoverButterworth = 1;
inline constexpr int kCrossoverLinkwitzRiley = 2;
inline constexpr int kCrossoverBessel = 3;

enum class SectionKind { kEmpty, kFirstOrder, kSecondOrder };

// One designed section: beta sets the pole radius, gamma is the cosine of the section's angular
// frequency.
struct CrossoverSection {
  double beta = 0.0;
  double gamma = 0.0;
  SectionKind kind = SectionKind::kEmpty;
};

using CrossoverSections = std::array<CrossoverSection, kCrossoverSections>;

// Filter order actually used for a slope and family code (1..8).
int CrossoverOrder(int slope, int typeCode);

// Designs the sections of a crossover at kSampleRate with cut-off `frequency` Hz. An even order
// gives order/2 second-order sections, an odd order adds one first-order section; the rest are
// empty. Unknown family codes give second-order sections without damping.
CrossoverSections DesignCrossover(bool lowPass, double frequency, int slope, int typeCode);

// The biquad of a non-empty section (empty sections contribute nothing and have none).
Biquad SectionToBiquad(bool lowPass, const CrossoverSection& section);

}  // namespace dsp_math
