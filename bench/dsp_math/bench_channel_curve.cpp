// Speed of the channel curve: the direct evaluation against the fast one, on a fully used channel
// (31 active bands, 8th-order high-pass and low-pass).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "bench/dsp_math/reference_channel_curve.h"
#include "dsp_math/channel_curve.h"
#include "dsp_math/crossover_design.h"

namespace {

using dsp_math::CurveArray;
using dsp_math::CurveBand;
using dsp_math::CurveFilter;

struct Channel {
  std::vector<CurveBand> bands;
  CurveFilter highPass;
  CurveFilter lowPass;
};

Channel FullChannel() {
  Channel channel;
  for (int i = 0; i < 31; ++i) {
    CurveBand band;
    band.freq = static_cast<int>(20.0 * std::pow(1000.0, i / 30.0));
    band.eqGain = (i % 2 == 0 ? 1.0f : -1.0f) * static_cast<float>(3 + i % 9);
    band.eqFactor = 0.5f + static_cast<float>(i % 7);
    band.enable = 1;
    channel.bands.push_back(band);
  }
  channel.highPass = {80, dsp_math::kCrossoverButterworth, 8, 0};
  channel.lowPass = {8000, dsp_math::kCrossoverLinkwitzRiley, 8, 0};
  return channel;
}

void BM_ChannelCurveReference(benchmark::State& state) {
  const Channel channel = FullChannel();
  CurveArray grid{};
  CurveArray curve{};
  for (auto _ : state) {
    dsp_math::reference::ComputeChannelCurve(channel.bands, channel.highPass, channel.lowPass,
                                             false, grid, curve);
    benchmark::DoNotOptimize(curve.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_ChannelCurveReference)->Unit(benchmark::kMicrosecond);

void BM_ChannelCurve(benchmark::State& state) {
  const Channel channel = FullChannel();
  CurveArray grid{};
  CurveArray curve{};
  for (auto _ : state) {
    dsp_math::ComputeChannelCurve(channel.bands, channel.highPass, channel.lowPass, false, grid,
                                  curve);
    benchmark::DoNotOptimize(curve.data());
    benchmark::ClobberMemory();
  }
  // Agreement with the direct evaluation on the same channel, reported next to the timing.
  CurveArray expected{};
  dsp_math::reference::ComputeChannelCurve(channel.bands, channel.highPass, channel.lowPass, false,
                                           grid, expected);
  double deviation = 0.0;
  for (std::size_t k = 0; k < curve.size(); ++k) {
    deviation = std::max(deviation, std::abs(curve[k] - expected[k]));
  }
  state.counters["max_deviation_db"] = deviation;
}
BENCHMARK(BM_ChannelCurve)->Unit(benchmark::kMicrosecond);

}  // namespace
