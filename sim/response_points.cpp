#include "sim/response_points.h"

#include <algorithm>

#include "dsp_math/crossover_design.h"
#include "dsp_math/crossover_response.h"
#include "dsp_math/curve_constants.h"
#include "dsp_math/peaking_filter.h"

namespace sim {

ResponsePoints::ResponsePoints(std::span<const double> frequencies)
    : mCount(frequencies.size()), mGrid(frequencies.begin(), frequencies.end()) {
  mGrid.push_back(dsp_math::kSampleRate / 2.0);
  mGrid.push_back(dsp_math::kSampleRate);
  mScratch.resize(mGrid.size());
}

void ResponsePoints::AddPeaking(double frequency, double gainDb, double q, std::span<double> out) {
  dsp_math::PeakingResponse(dsp_math::kSampleRate, frequency, gainDb, q, mGrid, mScratch);
  AddScratch(out);
}

void ResponsePoints::AddHighPass(double frequency, int order, std::span<double> out) {
  dsp_math::HighPassResponse(frequency, order, dsp_math::kCrossoverButterworth, mGrid, mScratch);
  AddScratch(out);
}

void ResponsePoints::AddLowPass(double frequency, int order, std::span<double> out) {
  dsp_math::LowPassResponse(frequency, order, dsp_math::kCrossoverButterworth, mGrid, mScratch);
  AddScratch(out);
}

void ResponsePoints::AddScratch(std::span<double> out) const {
  const std::size_t count = std::min(mCount, out.size());
  for (std::size_t k = 0; k < count; ++k) {
    out[k] += mScratch[k];
  }
}

}  // namespace sim
