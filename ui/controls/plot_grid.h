// The background both curve displays share: the plot filled with the control's colour, its frame,
// the zero line, dotted level lines and solid frequency lines.
#pragma once

#include <span>

#include "ui/framework/ui_types.h"

class QPainter;

namespace ui {

struct PlotGrid {
  DuiLib::RECT plot;
  int zeroY = 0;
  std::span<const int> levelYs;      // dotted, across the plot
  std::span<const int> frequencyXs;  // solid, top to bottom
  int lineWidth = 1;
};

void PaintPlotGrid(QPainter& painter, const PlotGrid& grid, DuiLib::DWORD background);

}  // namespace ui
