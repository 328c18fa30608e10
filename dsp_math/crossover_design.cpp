#include "dsp_math/crossover_design.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace dsp_math {
namespace {

using TableRow = std::array<double, kCrossoverSections>;

// Linkwitz-Riley damping per second-order section, row = order / 2 (row 0 unused). Each row is a
// Butterworth of half the order squared.
constexpr std::array<TableRow, 5> kLinkwitzRileyDamping = {{
    {0.0, 0.0, 0.0, 0.0},
    {2.0, 0.0, 0.0, 0.0},
    {1.414214, 1.414214, 0.0, 0.0},
    {2.0, 1.0, 1.0, 0.0},
    {1.847759, 0.765367, 1.847759, 0.765367},
}};

// Bessel tables, row = order (row 0 unused). The normalisation factor moves the whole filter so
// that its cut-off is where a Butterworth of the same order would be; each section then sits at its
// own frequency factor.
constexpr std::array<double, kMaxCrossoverOrder + 1> kBesselNormalisation = {
    0.0, 1.0, 0.577350, 0.403008, 0.308607, 0.249641, 0.209398, 0.180221, 0.158118};
constexpr std::array<TableRow, kMaxCrossoverOrder + 1> kBesselDamping = {{
    {0.0, 0.0, 0.0, 0.0},
    {0.0, 0.0, 0.0, 0.0},
    {1.732051, 0.0, 0.0, 0.0},
    {1.447080, 0.0, 0.0, 0.0},
    {1.915949, 1.241406, 0.0, 0.0},
    {1.774511, 1.091134, 0.0, 0.0},
    {1.959563, 1.636140, 0.977217, 0.0},
    {1.878443, 1.513268, 0.887896, 0.0},
    {1.976319, 1.786961, 1.406762, 0.815881},
}};
constexpr std::array<TableRow, kMaxCrossoverOrder + 1> kBesselFrequency = {{
    {0.0, 0.0, 0.0, 0.0},
    {0.0, 0.0, 0.0, 0.0},
    {1.732051, 0.0, 0.0, 0.0},
    {2.541541, 0.0, 0.0, 0.0},
    {3.023265, 3.389366, 0.0, 0.0},
    {3.777894, 4.261023, 0.0, 0.0},
    {4.336027, 4.566489, 5.149177, 0.0},
    {5.066206, 5.379270, 6.049528, 0.0},
    {5.654841, 5.825353, 6.210415, 6.959312},
}};
// Frequency factor of the first-order section of an odd Bessel order; it falls at section index
// (order - 1) / 2.
constexpr TableRow kBesselFirstOrderFactor = {1.0, 2.322185, 3.646739, 4.971787};

double ClampOmega(double omega) {
  return std::clamp(omega, kMinCutoffOmega, kMaxCutoffOmega);
}

// A low-pass section moves up by the factor, a high-pass section down.
double ScaleOmega(double omega, double factor, bool lowPass) {
  return lowPass ? omega * factor : omega / factor;
}

// Damping (1/Q) of second-order section `index` of a filter of order `order`.
double SecondOrderDamping(int typeCode, int order, std::size_t index) {
  switch (typeCode) {
    case kCrossoverSingleSection:
      return 1.0;
    case kCrossoverButterworth: {
      const int k = order / 2 - 1 - static_cast<int>(index);
      return 2.0 * std::sin((k * 2 + 1) * std::numbers::pi / (2.0 * order));
    }
    case kCrossoverLinkwitzRiley:
      return kLinkwitzRileyDamping[static_cast<std::size_t>(order / 2)][index];
    case kCrossoverBessel:
      return kBesselDamping[static_cast<std::size_t>(order)][index];
    default:
      return 0.0;
  }
}

}  // namespace

int CrossoverOrder(int slope, int typeCode) {
  if (typeCode == kCrossoverSingleSection) {
    return 2;
  }
  // 64-bit so that rounding the largest odd slope up cannot overflow.
  std::int64_t order = slope;
  if (typeCode == kCrossoverLinkwitzRiley && order % 2 != 0) {
    ++order;
  }
  return static_cast<int>(std::clamp<std::int64_t>(order, 1, kMaxCrossoverOrder));
}

CrossoverSections DesignCrossover(bool lowPass, double frequency, int slope, int typeCode) {
  const int order = CrossoverOrder(slope, typeCode);
  const bool bessel = typeCode == kCrossoverBessel;
  const double cutoff = ClampOmega(2.0 * std::numbers::pi * frequency / kSampleRate);

  CrossoverSections sections;
  int remaining = order;
  for (std::size_t i = 0; i < kCrossoverSections; ++i) {
    double omega = cutoff;
    if (bessel) {
      omega = ScaleOmega(omega, kBesselNormalisation[static_cast<std::size_t>(order)], lowPass);
    }
    CrossoverSection& section = sections[i];
    if (remaining == 0) {
      section = {0.0, std::cos(omega), SectionKind::kEmpty};
    } else if (remaining == 1) {
      if (bessel) {
        omega = ClampOmega(ScaleOmega(omega, kBesselFirstOrderFactor[i], lowPass));
      }
      const double cs = std::cos(omega);
      const double sn = std::sin(omega);
      section = {(cs + sn - 1.0) / (cs - sn - 1.0), cs, SectionKind::kFirstOrder};
      remaining = 0;
    } else {
      const double damping = SecondOrderDamping(typeCode, order, i);
      if (bessel) {
        omega = ClampOmega(
            ScaleOmega(omega, kBesselFrequency[static_cast<std::size_t>(order)][i], lowPass));
      }
      const double sn = std::sin(omega);
      section = {(2.0 - damping * sn) / (2.0 + damping * sn), std::cos(omega),
                 SectionKind::kSecondOrder};
      remaining -= 2;
    }
  }
  return sections;
}

Biquad SectionToBiquad(bool lowPass, const CrossoverSection& section) {
  const double beta = section.beta;
  const double gamma = section.gamma;
  Biquad biquad;
  if (section.kind == SectionKind::kFirstOrder) {
    const double e = lowPass ? (1.0 + beta) / 2.0 : (1.0 - beta) / 2.0;
    biquad.numerator = {e, lowPass ? e : -e, 0.0};
    biquad.denominator = {1.0, beta, 0.0};
  } else if (section.kind == SectionKind::kSecondOrder) {
    const double e = (1.0 + beta) * (lowPass ? 1.0 - gamma : 1.0 + gamma) / 4.0;
    biquad.numerator = {e, lowPass ? 2.0 * e : -2.0 * e, e};
    biquad.denominator = {1.0, -(1.0 + beta) * gamma, beta};
  }
  return biquad;
}

}  // namespace dsp_math
