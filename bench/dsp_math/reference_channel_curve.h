// The channel curve computed the direct way: every band and every crossover section evaluated on
// its own on the grid (trigonometry, atan2 and log10 at each point), the dB arrays added. Kept as
// the yardstick for the fast ComputeChannelCurve, in speed (bench) and in value (tests).
#pragma once

#include <span>

#include "dsp_math/channel_curve.h"

namespace dsp_math::reference {

void ComputeChannelCurve(std::span<const CurveBand> bands, const CurveFilter& highPass,
                         const CurveFilter& lowPass, bool eqBypass, CurveSpan frequencyGrid,
                         CurveSpan responseCurve);

void ComputeAutoCalCurve(std::span<const CurveBand> bands, CurveSpan frequencyGrid,
                         CurveSpan responseCurve);

}  // namespace dsp_math::reference
