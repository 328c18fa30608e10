#include "bench/dsp_math/reference_channel_curve.h"

#include <vector>

#include "dsp_math/crossover_response.h"
#include "dsp_math/frequency_grid.h"
#include "dsp_math/peaking_filter.h"

namespace dsp_math::reference {
namespace {

void FilterResponse(int kind, const CurveFilter& filter, std::vector<double>& grid,
                    std::vector<double>& out) {
  if (filter.bypass != 1) {
    CrossoverResponse(kind, filter.fs, filter.slope, filter.type, grid, out);
  }
}

template <typename GainOf>
void Compute(std::span<const CurveBand> bands, const CurveFilter& highPass,
             const CurveFilter& lowPass, GainOf gainOf, CurveSpan frequencyGrid,
             CurveSpan responseCurve) {
  std::vector<double> grid(kCurvePoints);
  BuildFrequencyGrid(kSampleRate, grid);
  std::vector<double> highPassDb(kCurvePoints, 0.0);
  std::vector<double> lowPassDb(kCurvePoints, 0.0);
  FilterResponse(kCrossoverHighPass, highPass, grid, highPassDb);
  FilterResponse(kCrossoverLowPass, lowPass, grid, lowPassDb);

  std::vector<double> bandDb(kCurvePoints);
  for (std::size_t i = 0; i < bands.size(); ++i) {
    const CurveBand& band = bands[i];
    PeakingResponse(kSampleRate, band.freq, gainOf(band), band.eqFactor, grid, bandDb);
    for (std::size_t k = 0; k < kCurvePoints; ++k) {
      if (i == 0) {
        frequencyGrid[k] = grid[k];
        responseCurve[k] = highPassDb[k] + lowPassDb[k];
      }
      responseCurve[k] += bandDb[k];
    }
  }
}

}  // namespace

void ComputeChannelCurve(std::span<const CurveBand> bands, const CurveFilter& highPass,
                         const CurveFilter& lowPass, bool eqBypass, CurveSpan frequencyGrid,
                         CurveSpan responseCurve) {
  const auto gainOf = [eqBypass](const CurveBand& band) {
    return !eqBypass && band.enable == 1 ? static_cast<double>(band.eqGain) : 0.0;
  };
  Compute(bands, highPass, lowPass, gainOf, frequencyGrid, responseCurve);
}

void ComputeAutoCalCurve(std::span<const CurveBand> bands, CurveSpan frequencyGrid,
                         CurveSpan responseCurve) {
  CurveFilter none;
  none.bypass = 1;
  const auto gainOf = [](const CurveBand& band) { return static_cast<double>(band.eqGain); };
  Compute(bands, none, none, gainOf, frequencyGrid, responseCurve);
}

}  // namespace dsp_math::reference
