// One output channel of a scene: its equaliser bands, crossover, trim, delay, mute and phase.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "model/crossover.h"
#include "model/eq_band.h"
#include "model/limits.h"

namespace model {

class OutputChannel {
 public:
  // A channel with `eqSize` bands (31 or 11; anything else is limited to 1..31), all at their
  // defaults, and a crossover with both filters off.
  explicit OutputChannel(int eqSize = kMaxBands);

  // The channel's bands. The channel owns them by value, so a copied channel (or a copied scene)
  // has bands of its own and never refers to the original's.
  std::span<EqBand> Bands() { return {mBands.data(), static_cast<std::size_t>(mEqSize)}; }
  std::span<const EqBand> Bands() const {
    return {mBands.data(), static_cast<std::size_t>(mEqSize)};
  }
  int eqSize() const { return mEqSize; }
  // How many of the bands the channel uses, limited to 1..31 like the constructor's; the bands
  // keep their values.
  void SetEqSize(int eqSize);

  // Every band back to its default: flat, Q 5.8, enabled, its ISO frequency.
  void ResetBands();

  float gain = 0.0f;  // trim, dB, -60..0
  std::int32_t mute = 0;
  float delay = 0.0f;      // ms, 0..15
  std::int32_t phase = 0;  // 0 normal, 1 reversed
  // 1 = the peaking equaliser is bypassed in the unit; the band gains stay in the model.
  std::uint8_t bypass = 1;
  Crossover crossover;

  friend bool operator==(const OutputChannel&, const OutputChannel&) = default;

 private:
  std::array<EqBand, kMaxBands> mBands{};
  std::int32_t mEqSize = kMaxBands;
};

}  // namespace model
