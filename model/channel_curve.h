// The display curve of an output channel, computed from the channel's bands and crossover.
#pragma once

#include <array>
#include <span>

#include "dsp_math/channel_curve.h"
#include "model/limits.h"
#include "model/output_channel.h"
#include "model/scene_record.h"

namespace model {

// A channel's settings in the form the response computation takes.
struct CurveInput {
  std::array<dsp_math::CurveBand, kMaxBands> bandStorage{};
  int bandCount = 0;
  dsp_math::CurveFilter highPass;
  dsp_math::CurveFilter lowPass;
  bool eqBypass = false;

  std::span<const dsp_math::CurveBand> Bands() const {
    return {bandStorage.data(), static_cast<std::size_t>(bandCount)};
  }
};

CurveInput CurveInputOf(const OutputChannel& channel);

// Recomputes the FrequencyGrid and ResponseCurve of output `channel` of `record` (0..7; any other
// index changes nothing). A bypassed channel's bands count as flat.
void ComputeChannelCurve(SceneRecord& record, int channel);

}  // namespace model
