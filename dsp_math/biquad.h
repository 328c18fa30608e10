// Coefficients of one second-order section, stored in the layout EvaluateSections reads
// (order + 1 values per section, lowest power of z^-1 first).
#pragma once

#include <array>

namespace dsp_math {

struct Biquad {
  std::array<double, 3> numerator{};    // b0, b1, b2
  std::array<double, 3> denominator{};  // a0 (always 1), a1, a2
};

}  // namespace dsp_math
