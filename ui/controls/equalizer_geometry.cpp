#include "ui/controls/equalizer_geometry.h"

#include <algorithm>
#include <cmath>

#include "ui/controls/curve_constants.h"

namespace ui {
namespace {

using DuiLib::POINT;
using DuiLib::RECT;

const double kLogLow = std::log10(static_cast<double>(kLowestFrequencyHz));
const double kLogSpan = std::log10(static_cast<double>(kHighestFrequencyHz)) - kLogLow;
constexpr double kLowestPlacedHz = 1.0;
constexpr double kHighestPlacedHz = 1e6;

// A span of 2·half around `center`, moved inside [low, high] when it would stick out.
std::pair<int, int> PinnedSpan(int center, int half, int low, int high) {
  if (center < low + half) {
    return {low, low + 2 * half};
  }
  if (center > high - half) {
    return {high - 2 * half, high};
  }
  return {center - half, center + half};
}

}  // namespace

bool PtInRect(const RECT& rc, POINT point) {
  return point.x >= rc.left && point.x < rc.right && point.y >= rc.top && point.y < rc.bottom;
}

EqualizerGeometry EqualizerGeometry::For(const RECT& plot, int scale) {
  EqualizerGeometry geometry;
  geometry.plot = plot;
  geometry.scale = scale;
  geometry.y0 = static_cast<float>(plot.top + (plot.Height() * 12) / 30);
  return geometry;
}

int EqualizerGeometry::FrequencyToX(double frequency) const {
  // Kept to a range whose logarithm is finite, so a bad value lands off the plot, not anywhere.
  const double kept =
      !(frequency >= kLowestPlacedHz) ? kLowestPlacedHz : std::min(frequency, kHighestPlacedHz);
  return static_cast<int>((std::log10(kept) - kLogLow) * plot.Width() / kLogSpan) + plot.left;
}

int EqualizerGeometry::XToFrequency(int x) const {
  if (plot.Width() <= 0) {
    return kLowestFrequencyHz;
  }
  const double exponent = (x - plot.left) * kLogSpan / plot.Width() + kLogLow;
  return static_cast<int>(std::lround(std::pow(10.0, exponent)));
}

double EqualizerGeometry::GainToY(double gainDb) const {
  if (gainDb > 0) {
    return y0 - std::round((y0 - plot.top) * gainDb) / kTopGainDb;
  }
  if (gainDb < 0) {
    return y0 - std::round((plot.bottom - y0) * gainDb) / -kBottomGainDb;
  }
  return y0;
}

double EqualizerGeometry::YToGain(double y) const {
  if (y < y0 && plot.top != y0) {
    return (y - y0) * 100 / (plot.top - y0) * kTopGainDb / 100;
  }
  if (y > y0 && plot.bottom != y0) {
    return (y0 - y) * 100 / (plot.bottom - y0) * -kBottomGainDb / 100;
  }
  return 0.0;
}

double EqualizerGeometry::QFromDistance(int distance) const {
  const int clamped = std::clamp(std::abs(distance), Px(3), std::max(Px(3), Px(162)));
  if (clamped <= 0) {
    return kHighestQ;
  }
  const double q = static_cast<double>(Px(81)) / clamped;
  return std::clamp(q, kLowestQ, kHighestQ);
}

int EqualizerGeometry::QHandleOffset(double q) const {
  const double clamped = std::clamp(q, kLowestQ, kHighestQ);
  return static_cast<int>(std::lround(81.0 / clamped)) * scale / 100;
}

POINT EqualizerGeometry::Clamp(POINT point) const {
  return POINT{std::clamp(point.x, plot.left, std::max(plot.left, plot.right)),
               std::clamp(point.y, plot.top, std::max(plot.top, plot.bottom))};
}

RECT EqualizerGeometry::BandHitRect(POINT point) const {
  const auto [left, right] = PinnedSpan(point.x, Px(8), plot.left, plot.right);
  const auto [top, bottom] = PinnedSpan(point.y, Px(8), plot.top, plot.bottom);
  return RECT{left, top, right, bottom};
}

RECT EqualizerGeometry::SelectedLabelRect(POINT point, bool freeDragging) const {
  const auto [left, right] =
      PinnedSpan(point.x, freeDragging ? Px(75) : Px(25), plot.left, plot.right);
  const int y = point.y;
  if (y >= plot.bottom - Px(10)) {
    return RECT{left, plot.bottom - Px(37), right, plot.bottom - Px(22)};
  }
  if (y > plot.bottom - Px(29)) {
    return RECT{left, y - Px(29), right, y - Px(14)};
  }
  if (y < plot.top + Px(14)) {
    return RECT{left, plot.top + Px(22), right, plot.top + Px(37)};
  }
  return RECT{left, y + Px(14), right, y + Px(29)};
}

std::pair<RECT, RECT> EqualizerGeometry::QHandleRects(POINT point, double q) const {
  const int offset = QHandleOffset(q);
  const int half = Px(4);
  const int y = point.y;
  int top = y + Px(4);
  int bottom = y + Px(12);
  if (y >= plot.bottom - Px(10)) {
    top = plot.bottom - Px(20);
    bottom = plot.bottom - Px(12);
  } else if (y > plot.bottom - Px(29)) {
    top = y - Px(12);
    bottom = y - Px(4);
  } else if (y < plot.top + Px(14)) {
    top = plot.top + Px(12);
    bottom = plot.top + Px(20);
  }
  return {RECT{point.x - offset - half, top, point.x - offset + half, bottom},
          RECT{point.x + offset - half, top, point.x + offset + half, bottom}};
}

RECT EqualizerGeometry::MarkerRect(int frequency, double gainDb) const {
  const auto [left, right] = PinnedSpan(FrequencyToX(frequency), Px(7), plot.left, plot.right);
  const int top = static_cast<int>(std::lround(GainToY(gainDb)));
  return RECT{left, top, right, top + Px(10)};
}

}  // namespace ui
