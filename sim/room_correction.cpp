#include "sim/room_correction.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <optional>

#include "model/limits.h"
#include "sim/response_points.h"

namespace sim {

namespace {

// Gentle house curves the user may aim at instead of flat, as peaking shapes.
const std::array<std::vector<CabinFeature>, kTargetEffectCount>& TargetShapes() {
  static const std::array<std::vector<CabinFeature>, kTargetEffectCount> shapes{{
      {{60, 2, 0.7}, {10000, -1, 0.7}},                  // natural
      {{100, 3, 0.7}, {8000, -1.5, 0.7}},                // warm
      {{55, 5, 0.8}},                                    // bass
      {{2500, 2.5, 1}, {120, -1, 0.8}},                  // vocal
      {{10000, 3, 0.7}},                                 // bright
      {{70, 3, 0.8}, {800, -1.5, 1}, {6000, 2.5, 0.8}},  // rock
      {{100, 2, 0.9}, {3000, 2, 1}},                     // pop
      {{150, 2, 0.8}, {8000, 1.5, 0.8}},                 // jazz
      {{60, 1.5, 0.7}, {12000, 1.5, 0.7}},               // classical
  }};
  return shapes;
}

constexpr double kGoalDb = 1.0;
constexpr double kMaxBoostDb = 9.0;
constexpr double kMaxCutDb = -15.0;
constexpr int kRefineRounds = 4;
constexpr double kProbeDb = 0.5;  // gain step of the numerical derivative
// Around a band that reached its limit no further band is started, within this many octaves.
constexpr double kExhaustedOctaves = 1.0 / 6.0;

double ClampGain(double gainDb) {
  return std::clamp(gainDb, kMaxCutDb, kMaxBoostDb);
}

class Fit {
 public:
  Fit(std::span<const double> frequencies, std::span<const double> error, CorrectionRange range)
      : mPoints(frequencies),
        mResidual(error.begin(), error.end()),
        mExhausted(frequencies.size(), false),
        mInside(frequencies.size(), false) {
    for (std::size_t k = 0; k < frequencies.size(); ++k) {
      if (range.Contains(frequencies[k])) {
        mInRange.push_back(k);
        mInside[k] = true;
      }
    }
  }

  // Adds a band where the residual is largest; false when every point is close enough.
  bool AddBand() {
    const auto worst = WorstPoint();
    if (!worst || mInRange.empty()) {
      return false;
    }
    const std::size_t j = *worst;
    Band band{{mPoints.Frequency(j), QFromWidth(j), ClampGain(-mResidual[j])}, {}};
    band.shape = Shape(band.value);
    Accumulate(band.shape, 1.0);
    mBands.push_back(std::move(band));
    for (int round = 0; round < kRefineRounds; ++round) {
      for (Band& each : mBands) {
        RefineGain(each);
      }
    }
    const double gain = mBands.back().value.gainDb;
    if (gain <= kMaxCutDb || gain >= kMaxBoostDb) {
      MarkExhausted(j);
    }
    return true;
  }

  std::vector<CorrectionBand> Bands() const {
    std::vector<CorrectionBand> bands;
    for (const Band& band : mBands) {
      bands.push_back(band.value);
    }
    return bands;
  }

 private:
  struct Band {
    CorrectionBand value;
    std::vector<double> shape;  // its dB at every point
  };

  std::optional<std::size_t> WorstPoint() const {
    std::optional<std::size_t> worst;
    double worstDb = kGoalDb;
    for (std::size_t k : mInRange) {
      if (!mExhausted[k] && std::abs(mResidual[k]) > worstDb) {
        worstDb = std::abs(mResidual[k]);
        worst = k;
      }
    }
    return worst;
  }

  // Q from where the residual around point j falls to half its value; an edge of the range
  // counts as far as the other side reaches.
  double QFromWidth(std::size_t j) const {
    const double half = mResidual[j] / 2.0;
    auto stillInside = [&](std::size_t k) {
      return mInside[k] && (half > 0 ? mResidual[k] > half : mResidual[k] < half);
    };
    std::size_t low = j;
    while (low > 0 && stillInside(low - 1)) {
      --low;
    }
    std::size_t high = j;
    while (high + 1 < mPoints.Count() && stillInside(high + 1)) {
      ++high;
    }
    const double f = mPoints.Frequency(j);
    double below = std::log2(f / mPoints.Frequency(low));
    double above = std::log2(mPoints.Frequency(high) / f);
    if (low == mInRange.front()) {
      below = std::max(below, above);
    }
    if (high == mInRange.back()) {
      above = std::max(above, below);
    }
    const double spread = std::exp2(std::max(below + above, 1.0 / 12.0));
    return model::kBandQ.Clamp(std::sqrt(spread) / (spread - 1.0));
  }

  std::vector<double> Shape(const CorrectionBand& band) {
    std::vector<double> shape(mPoints.Count(), 0.0);
    mPoints.AddPeaking(band.freqHz, band.gainDb, band.q, shape);
    return shape;
  }

  void Accumulate(const std::vector<double>& shape, double sign) {
    for (std::size_t k = 0; k < shape.size(); ++k) {
      mResidual[k] += sign * shape[k];
    }
  }

  // One Gauss-Newton step on the band's gain, least squares over the range.
  void RefineGain(Band& band) {
    CorrectionBand probe = band.value;
    const double step = band.value.gainDb >= 0 ? -kProbeDb : kProbeDb;
    probe.gainDb += step;
    const std::vector<double> probeShape = Shape(probe);
    double along = 0.0;
    double norm = 0.0;
    for (std::size_t k : mInRange) {
      const double slope = (probeShape[k] - band.shape[k]) / step;
      along += mResidual[k] * slope;
      norm += slope * slope;
    }
    if (norm <= 0.0) {
      return;
    }
    band.value.gainDb = ClampGain(band.value.gainDb - along / norm);
    Accumulate(band.shape, -1.0);
    band.shape = Shape(band.value);
    Accumulate(band.shape, 1.0);
  }

  void MarkExhausted(std::size_t j) {
    const double f = mPoints.Frequency(j);
    for (std::size_t k = 0; k < mPoints.Count(); ++k) {
      if (std::abs(std::log2(mPoints.Frequency(k) / f)) <= kExhaustedOctaves) {
        mExhausted[k] = true;
      }
    }
  }

  ResponsePoints mPoints;
  std::vector<double> mResidual;  // measured + correction - target
  std::vector<bool> mExhausted;
  std::vector<bool> mInside;          // the point lies in the range
  std::vector<std::size_t> mInRange;  // the points that do
  std::vector<Band> mBands;
};

}  // namespace

std::vector<double> TargetResponse(int effect, std::span<const double> frequencies) {
  ResponsePoints points(frequencies);
  std::vector<double> target(points.Count(), 0.0);
  if (effect >= 1 && effect <= kTargetEffectCount) {
    for (const CabinFeature& shape : TargetShapes()[static_cast<std::size_t>(effect - 1)]) {
      points.AddPeaking(shape.freqHz, shape.gainDb, shape.q, target);
    }
  }
  return target;
}

std::vector<CorrectionBand> FitCorrection(std::span<const double> frequencies,
                                          std::span<const double> measured,
                                          std::span<const double> target, CorrectionRange range,
                                          int maxBands) {
  std::vector<double> error(frequencies.size(), 0.0);
  for (std::size_t k = 0; k < error.size() && k < measured.size() && k < target.size(); ++k) {
    error[k] = measured[k] - target[k];
  }
  Fit fit(frequencies, error, range);
  int bands = 0;
  while (bands < maxBands && fit.AddBand()) {
    ++bands;
  }
  return fit.Bands();
}

}  // namespace sim
