#include "ui/controls/plot_grid.h"

#include <QPainter>

#include "ui/controls/curve_constants.h"
#include "ui/framework/qt_convert.h"

namespace ui {

void PaintPlotGrid(QPainter& painter, const PlotGrid& grid, DuiLib::DWORD background) {
  const DuiLib::RECT& rc = grid.plot;
  painter.save();
  // Grid lines sit on whole pixels; smoothing would only blur them.
  painter.setRenderHint(QPainter::Antialiasing, false);
  if ((background & 0xFF000000u) != 0) {
    painter.fillRect(DuiLib::ToQRect(rc), DuiLib::ToQColor(background));
  }
  QPen pen(DuiLib::ToQColor(kFrameColor));
  pen.setWidth(grid.lineWidth);
  painter.setPen(pen);
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(QRect(rc.left, rc.top, rc.Width() - 1, rc.Height() - 1));
  // Lines end on the last pixel inside the plot.
  painter.drawLine(rc.left, grid.zeroY, rc.right - 1, grid.zeroY);
  for (const int x : grid.frequencyXs) {
    painter.drawLine(x, rc.top, x, rc.bottom - 1);
  }
  pen.setStyle(Qt::DotLine);
  painter.setPen(pen);
  for (const int y : grid.levelYs) {
    painter.drawLine(rc.left, y, rc.right - 1, y);
  }
  painter.restore();
}

}  // namespace ui
