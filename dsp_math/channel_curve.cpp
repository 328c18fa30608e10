#include "dsp_math/channel_curve.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "dsp_math/biquad.h"
#include "dsp_math/crossover_design.h"
#include "dsp_math/frequency_grid.h"
#include "dsp_math/peaking_filter.h"

namespace dsp_math {
namespace {

// Above this total of band gains the running product of squared magnitudes could leave the range
// of a double (10^±200 from the bands, well inside 10^±308 with the crossover's share), so such
// channels take the slower path that adds dB section by section.
constexpr double kProductGainLimitDb = 2000.0;

// |x0 + x1 z + x2 z^2|^2 on the unit circle (z = e^{j theta}) as a sum of two squares:
// (s - 2 (x0 + x2) phi)^2 + (x2 - x0)^2 sin^2(theta), with s = x0 + x1 + x2 and
// phi = sin^2(theta / 2). Both squares are non-negative, so nothing cancels between them, and near
// 0 Hz, where high-pass sections and low bands are small, phi is exact where 1 - cos(theta) is not.
struct SquaredMagnitude {
  double sum = 0.0;
  double slope = 0.0;
  double oddWeight = 0.0;

  static SquaredMagnitude Of(double x0, double x1, double x2) {
    return {x0 + x1 + x2, -2.0 * (x0 + x2), (x2 - x0) * (x2 - x0)};
  }
  double operator()(double phi, double sinSquared) const {
    const double even = sum + slope * phi;
    return even * even + oddWeight * sinSquared;
  }
};

struct GridTables {
  CurveArray frequency{};
  CurveArray phi{};         // sin^2(theta / 2) of each point's angle
  CurveArray sinSquared{};  // sin^2(theta)
};

// The grid and its angles never change, so their trigonometry is done once. The angle is formed
// exactly as the section evaluation forms it, against the grid's Nyquist point.
const GridTables& Tables() {
  static const GridTables tables = [] {
    GridTables t;
    BuildFrequencyGrid(kSampleRate, t.frequency);
    const double reference = t.frequency[kCurvePoints - 2];
    const double twoPi = 8.0 * std::atan(1.0);
    for (std::size_t k = 0; k < kCurvePoints; ++k) {
      const double theta = -twoPi * (0.5 * t.frequency[k] / reference);
      const double halfSin = std::sin(theta / 2.0);
      const double sin = std::sin(theta);
      t.phi[k] = halfSin * halfSin;
      t.sinSquared[k] = sin * sin;
    }
    return t;
  }();
  return tables;
}

// Squared magnitude of one section's numerator and denominator.
struct SectionMagnitude {
  SquaredMagnitude num;
  SquaredMagnitude den;

  static SectionMagnitude Of(const Biquad& biquad) {
    const auto& n = biquad.numerator;
    const auto& d = biquad.denominator;
    // The leading denominator coefficient counts as 1, as in the section evaluation.
    return {SquaredMagnitude::Of(n[0], n[1], n[2]), SquaredMagnitude::Of(1.0, d[1], d[2])};
  }
};

// The fast loops below multiply a section's squared magnitude into `product`, or, at or below the
// floor, add the floor's dB to `floorDb` instead. They are written with plain assignments in one
// branch and __restrict (the arrays are distinct) so that the compiler vectorises them, in each of
// the copies below into which it inlines them. (Forcing the inlining with always_inline stops
// GCC 12 from vectorising them; bench_dsp_math shows the difference.)

inline void MultiplySectionLoop(const SectionMagnitude& s, const double* __restrict phi,
                                const double* __restrict sinSquared, double* __restrict product,
                                double* __restrict floorDb) {
  for (std::size_t k = 0; k < kCurvePoints; ++k) {
    const double x = phi[k];
    const double y = sinSquared[k];
    double factor = s.num(x, y) / s.den(x, y);
    double addDb = 0.0;
    if (std::abs(factor) <= kFloorThreshold) {
      factor = 1.0;
      addDb = kFloorDb;
    }
    product[k] *= factor;
    floorDb[k] += addDb;
  }
}

// Two sections share one division, which is what bounds the speed of these loops.
inline void MultiplySectionPairLoop(const SectionMagnitude& a, const SectionMagnitude& b,
                                    const double* __restrict phi,
                                    const double* __restrict sinSquared, double* __restrict product,
                                    double* __restrict floorDb) {
  for (std::size_t k = 0; k < kCurvePoints; ++k) {
    const double x = phi[k];
    const double y = sinSquared[k];
    const double denA = a.den(x, y);
    const double denB = b.den(x, y);
    const double inverse = 1.0 / (denA * denB);
    double factorA = a.num(x, y) * denB * inverse;
    double factorB = b.num(x, y) * denA * inverse;
    double floorA = 0.0;
    double floorB = 0.0;
    if (std::abs(factorA) <= kFloorThreshold) {
      factorA = 1.0;
      floorA = kFloorDb;
    }
    if (std::abs(factorB) <= kFloorThreshold) {
      factorB = 1.0;
      floorB = kFloorDb;
    }
    product[k] *= factorA * factorB;
    floorDb[k] += floorA + floorB;
  }
}

struct FastLoops {
  void (*single)(const SectionMagnitude&, const double*, const double*, double*, double*);
  void (*pair)(const SectionMagnitude&, const SectionMagnitude&, const double*, const double*,
               double*, double*);
};

void MultiplySectionBase(const SectionMagnitude& s, const double* __restrict phi,
                         const double* __restrict sinSquared, double* __restrict product,
                         double* __restrict floorDb) {
  MultiplySectionLoop(s, phi, sinSquared, product, floorDb);
}
void MultiplySectionPairBase(const SectionMagnitude& a, const SectionMagnitude& b,
                             const double* __restrict phi, const double* __restrict sinSquared,
                             double* __restrict product, double* __restrict floorDb) {
  MultiplySectionPairLoop(a, b, phi, sinSquared, product, floorDb);
}

// On x86-64 the loops get a second copy built for processors with AVX2 and FMA (twice the width),
// picked once on first use. A plain check rather than the loader's ifunc resolver: the resolver
// runs before the sanitizer runtimes are set up, which crashes ThreadSanitizer builds.
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define DSP_MATH_WIDE __attribute__((target("avx2,fma")))
DSP_MATH_WIDE void MultiplySectionWide(const SectionMagnitude& s, const double* __restrict phi,
                                       const double* __restrict sinSquared,
                                       double* __restrict product, double* __restrict floorDb) {
  MultiplySectionLoop(s, phi, sinSquared, product, floorDb);
}
DSP_MATH_WIDE void MultiplySectionPairWide(const SectionMagnitude& a, const SectionMagnitude& b,
                                           const double* __restrict phi,
                                           const double* __restrict sinSquared,
                                           double* __restrict product, double* __restrict floorDb) {
  MultiplySectionPairLoop(a, b, phi, sinSquared, product, floorDb);
}

FastLoops ChooseFastLoops() {
  __builtin_cpu_init();
  if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma")) {
    return {MultiplySectionWide, MultiplySectionPairWide};
  }
  return {MultiplySectionBase, MultiplySectionPairBase};
}
#else
FastLoops ChooseFastLoops() {
  return {MultiplySectionBase, MultiplySectionPairBase};
}
#endif

const FastLoops& Loops() {
  static const FastLoops loops = ChooseFastLoops();
  return loops;
}

// Safe form of one section: adds its dB (or the floor's) to `decibels`.
void AddSectionDecibels(const SectionMagnitude& s, CurveArray& decibels) {
  const GridTables& t = Tables();
  for (std::size_t k = 0; k < kCurvePoints; ++k) {
    const double m = s.num(t.phi[k], t.sinSquared[k]) / s.den(t.phi[k], t.sinSquared[k]);
    decibels[k] += std::abs(m) <= kFloorThreshold ? kFloorDb : 10.0 * std::log10(m);
  }
}

// Running per-point sum of one channel's sections, each floored on its own as when it is evaluated
// alone. Fast form: the product of the squared magnitudes above the floor plus the dB of the
// floored ones, turned into dB once at the end. Safe form (for extreme inputs): dB added section
// by section.
class CurveAccumulator {
 public:
  explicit CurveAccumulator(bool multiply) : multiply_(multiply) {
    product_.fill(1.0);
    decibels_.fill(0.0);
  }

  void Add(const Biquad& biquad) {
    const SectionMagnitude section = SectionMagnitude::Of(biquad);
    const GridTables& t = Tables();
    if (!multiply_) {
      AddSectionDecibels(section, decibels_);
    } else if (pending_) {
      Loops().pair(*pending_, section, t.phi.data(), t.sinSquared.data(), product_.data(),
                   decibels_.data());
      pending_.reset();
    } else {
      pending_ = section;
    }
  }

  void AddCrossover(const CurveFilter& filter, bool lowPass) {
    // Only a bypass flag of exactly 1 switches a filter off.
    if (filter.bypass == 1) {
      return;
    }
    for (const CrossoverSection& section :
         DesignCrossover(lowPass, filter.fs, filter.slope, filter.type)) {
      if (section.kind != SectionKind::kEmpty) {
        Add(SectionToBiquad(lowPass, section));
      }
    }
  }

  void Finish(CurveSpan out) {
    if (pending_) {
      Loops().single(*pending_, Tables().phi.data(), Tables().sinSquared.data(), product_.data(),
                     decibels_.data());
      pending_.reset();
    }
    for (std::size_t k = 0; k < kCurvePoints; ++k) {
      out[k] = multiply_ ? 10.0 * std::log10(product_[k]) + decibels_[k] : decibels_[k];
    }
  }

 private:
  bool multiply_;
  std::optional<SectionMagnitude> pending_;  // fast form: a section waiting for its pair
  CurveArray product_;
  CurveArray decibels_;
};

// Whether a band's squared magnitude stays between its gain and its inverse (positive Q, centre
// inside the grid), which the fast form's range argument relies on.
bool IsBoundedBand(const CurveBand& band) {
  return band.eqFactor > 0.0f && band.freq > 0 && band.freq < kSampleRate / 2.0;
}

// Known families have damped sections whose gain stays small; any other code designs undamped
// sections with unbounded peaks.
bool IsBoundedFilter(const CurveFilter& filter) {
  return filter.bypass == 1 ||
         (filter.type >= kCrossoverSingleSection && filter.type <= kCrossoverBessel);
}

template <typename GainOf>
void ComputeCurve(std::span<const CurveBand> bands, const CurveFilter& highPass,
                  const CurveFilter& lowPass, GainOf gainOf, CurveSpan frequencyGrid,
                  CurveSpan responseCurve) {
  if (bands.empty()) {
    return;
  }
  double totalGain = 0.0;
  bool bounded = IsBoundedFilter(highPass) && IsBoundedFilter(lowPass);
  for (const CurveBand& band : bands) {
    const double gain = gainOf(band);
    if (gain != 0.0) {
      totalGain += std::abs(gain);
      bounded = bounded && IsBoundedBand(band);
    }
  }
  // The comparison is false for a NaN gain, which then takes the safe form too.
  const bool multiply = bounded && totalGain <= kProductGainLimitDb;

  CurveAccumulator sum(multiply);
  sum.AddCrossover(highPass, false);
  sum.AddCrossover(lowPass, true);
  for (const CurveBand& band : bands) {
    const double gain = gainOf(band);
    // A flat band has equal numerator and denominator: exactly 0 dB, nothing to add.
    if (gain != 0.0) {
      sum.Add(DesignPeakingFilter(kSampleRate, band.freq, gain, band.eqFactor));
    }
  }
  std::copy(Tables().frequency.begin(), Tables().frequency.end(), frequencyGrid.begin());
  sum.Finish(responseCurve);
}

}  // namespace

const CurveArray& ChannelFrequencyGrid() {
  return Tables().frequency;
}

void ComputeChannelCurve(std::span<const CurveBand> bands, const CurveFilter& highPass,
                         const CurveFilter& lowPass, bool eqBypass, CurveSpan frequencyGrid,
                         CurveSpan responseCurve) {
  const auto gainOf = [eqBypass](const CurveBand& band) {
    return !eqBypass && band.enable == 1 ? static_cast<double>(band.eqGain) : 0.0;
  };
  ComputeCurve(bands, highPass, lowPass, gainOf, frequencyGrid, responseCurve);
}

void ComputeAutoCalCurve(std::span<const CurveBand> bands, CurveSpan frequencyGrid,
                         CurveSpan responseCurve) {
  CurveFilter none;
  none.bypass = 1;
  const auto gainOf = [](const CurveBand& band) { return static_cast<double>(band.eqGain); };
  ComputeCurve(bands, none, none, gainOf, frequencyGrid, responseCurve);
}

}  // namespace dsp_math
