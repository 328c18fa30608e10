// The display curve of one output channel: its peaking bands plus its high-pass and low-pass
// crossover filters, in dB on the fixed 512-point grid. This is the fast form used on every edit;
// it gives the same values as evaluating each section on its own with PeakingResponse and
// CrossoverResponse and adding the dB arrays.
#pragma once

#include <cstdint>
#include <span>

#include "dsp_math/curve_constants.h"

namespace dsp_math {

// One equaliser band as the curve needs it (the parameter model converts its bands into these).
struct CurveBand {
  std::int32_t freq = 0;    // centre frequency, Hz
  float eqGain = 0.0f;      // dB
  float eqFactor = 0.0f;    // Q
  std::uint8_t enable = 0;  // 1 = enabled
};

// One crossover filter (high-pass or low-pass).
struct CurveFilter {
  std::int32_t fs = 0;      // cut-off, Hz
  std::int32_t type = 0;    // family code, see crossover_design.h
  std::int32_t slope = 0;   // filter order
  std::int32_t bypass = 0;  // 1 = bypassed
};

using CurveSpan = std::span<double, kCurvePoints>;

// Writes the grid into `frequencyGrid` and, at each point, high-pass dB + low-pass dB + the dB of
// every band into `responseCurve`. A band counts with its gain only when the channel's EQ is not
// bypassed and the band is enabled; otherwise it is flat. With no bands at all both arrays are left
// as they were. Allocates nothing.
void ComputeChannelCurve(std::span<const CurveBand> bands, const CurveFilter& highPass,
                         const CurveFilter& lowPass, bool eqBypass, CurveSpan frequencyGrid,
                         CurveSpan responseCurve);

// The curve of an equaliser produced by auto calibration: no crossover filters, and every band
// with its own gain and Q whatever its enable flag. With no bands both arrays are left as they
// were.
void ComputeAutoCalCurve(std::span<const CurveBand> bands, CurveSpan frequencyGrid,
                         CurveSpan responseCurve);

// The grid itself (BuildFrequencyGrid at kSampleRate), computed once.
const CurveArray& ChannelFrequencyGrid();

}  // namespace dsp_math
