#include "dsp_math/frequency_grid.h"

#include <cmath>

namespace dsp_math {

void BuildFrequencyGrid(double sampleRate, std::span<double> grid) {
  const std::size_t n = grid.size();
  if (n == 0) {
    return;
  }
  const double top = std::log10(sampleRate / 2.0);
  for (std::size_t k = 1; k < n; ++k) {
    grid[k - 1] = std::pow(10.0, top * static_cast<double>(k) / static_cast<double>(n - 1));
  }
  grid[n - 1] = sampleRate;
}

}  // namespace dsp_math
