#include "model/channel_curve.h"

namespace model {
namespace {

static_assert(static_cast<std::size_t>(kCurvePoints) == dsp_math::kCurvePoints);

dsp_math::CurveFilter CurveFilterOf(const CrossoverFilter& filter) {
  return {
      .fs = filter.fs(), .type = filter.type(), .slope = filter.slope(), .bypass = filter.bypass()};
}

}  // namespace

CurveInput CurveInputOf(const OutputChannel& channel) {
  CurveInput input;
  const auto bands = channel.Bands();
  for (std::size_t b = 0; b < bands.size(); ++b) {
    input.bandStorage[b] = {.freq = bands[b].freq,
                            .eqGain = bands[b].eqGain,
                            .eqFactor = bands[b].eqFactor,
                            .enable = bands[b].enable};
  }
  input.bandCount = static_cast<int>(bands.size());
  input.highPass = CurveFilterOf(channel.crossover.hp);
  input.lowPass = CurveFilterOf(channel.crossover.lp);
  input.eqBypass = channel.bypass != 0;
  return input;
}

void ComputeChannelCurve(SceneRecord& record, int channel) {
  if (channel < 0 || channel >= kOutputCount) {
    return;
  }
  const auto index = static_cast<std::size_t>(channel);
  const CurveInput input = CurveInputOf(record.channels[index]);
  ChannelCurve& curve = record.curves[index];
  dsp_math::ComputeChannelCurve(input.Bands(), input.highPass, input.lowPass, input.eqBypass,
                                curve.frequencyGrid, curve.responseCurve);
}

}  // namespace model
