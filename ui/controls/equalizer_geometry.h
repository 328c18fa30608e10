// Where things lie on the curve editor's plot: frequency and gain to pixels and back, the distance
// of a Q handle, and the rectangles of band points, the selected band's label, the Q handles and
// the crossover markers. Sizes are given in percent of the display scale and computed in integer
// arithmetic, so every rectangle is the same at a given scale whatever the plot size.
#pragma once

#include <array>
#include <utility>

#include "ui/framework/ui_types.h"

namespace ui {

inline constexpr double kTopGainDb = 12.0;
inline constexpr double kBottomGainDb = -18.0;
// The dotted level lines across the plot (the 0 dB line is drawn solid on its own).
inline constexpr std::array<int, 5> kGainGridLines = {-15, -10, -5, 5, 10};
// Vertical places of the crossover markers.
inline constexpr double kHighPassMarkerGainDb = -8.0;
inline constexpr double kLowPassMarkerGainDb = -11.0;

struct EqualizerGeometry {
  DuiLib::RECT plot;
  float y0 = 0.0f;  // the 0 dB line
  int scale = 100;  // display scale in percent

  // The geometry of `plot` at `scale`: the 0 dB line lies 12/30 of the height below the top.
  static EqualizerGeometry For(const DuiLib::RECT& plot, int scale);

  // `percent` of the display scale in pixels (truncated).
  int Px(int percent) const { return scale * percent / 100; }

  int FrequencyToX(double frequency) const;
  int XToFrequency(int x) const;
  double GainToY(double gainDb) const;
  double YToGain(double y) const;
  // Q for a handle `distance` pixels from its band point: 81 % of the scale gives Q 1.
  double QFromDistance(int distance) const;
  // Horizontal distance of the Q handles from the band point.
  int QHandleOffset(double q) const;

  // The point moved into the plot rectangle.
  DuiLib::POINT Clamp(DuiLib::POINT point) const;

  // The square a band point is grabbed by, kept inside the plot at the edges.
  DuiLib::RECT BandHitRect(DuiLib::POINT point) const;
  // The selected band's label: wide with the frequency and Q when bands move freely, narrow with
  // the gain only otherwise; below the point unless that would leave the plot.
  DuiLib::RECT SelectedLabelRect(DuiLib::POINT point, bool freeDragging) const;
  // Left and right Q handle.
  std::pair<DuiLib::RECT, DuiLib::RECT> QHandleRects(DuiLib::POINT point, double q) const;
  // The "H" or "L" marker of a crossover frequency, at the given gain height.
  DuiLib::RECT MarkerRect(int frequency, double gainDb) const;
};

bool PtInRect(const DuiLib::RECT& rc, DuiLib::POINT point);

}  // namespace ui
