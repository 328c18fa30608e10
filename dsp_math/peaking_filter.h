// Peaking (bell) equaliser band.
#pragma once

#include <span>

#include "dsp_math/biquad.h"

namespace dsp_math {

// Band centred on `frequency` Hz with `gainDb` at the centre and quality `q`. At 0 dB the numerator
// equals the denominator (a flat band), and a cut is the exact inverse of the boost of equal size.
Biquad DesignPeakingFilter(double sampleRate, double frequency, double gainDb, double q);

// Designs one band and writes its dB response at every point of `frequencies` into `output`
// (at least as long). The grid is left as it was.
void PeakingResponse(double sampleRate, double frequency, double gainDb, double q,
                     std::span<double> frequencies, std::span<double> output);

}  // namespace dsp_math
