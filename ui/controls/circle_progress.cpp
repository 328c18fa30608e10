#include "ui/controls/circle_progress.h"

#include <QPainter>
#include <algorithm>

#include "ui/framework/qt_convert.h"

namespace ui {
namespace {

constexpr int kFullTurn = 360;
// Qt measures angles in sixteenths of a degree, counter-clockwise from three o'clock.
constexpr int kQtDegree = 16;
// The ring starts at six o'clock.
constexpr int kStartDegrees = 90;
// Width of the ring: the white centre is inset by this many pixels on every side.
constexpr int kRingInset = 10;
constexpr DuiLib::DWORD kCentreColor = 0xFFFFFFFF;

void FillPie(QPainter& painter, const QRectF& rect, int startDegrees, int sweepDegrees,
             DuiLib::DWORD color) {
  painter.setPen(Qt::NoPen);
  painter.setBrush(DuiLib::ToQColor(color));
  // Clockwise angles on screen are negative for Qt.
  painter.drawPie(rect, -startDegrees * kQtDegree, -sweepDegrees * kQtDegree);
}

}  // namespace

int CCircleProgressUI::SweepDegrees() const {
  const int range = GetMaxValue() - GetMinValue();
  if (range == 0) {
    return 0;
  }
  const int sweep = static_cast<int>(static_cast<double>(GetValue()) / range * kFullTurn);
  return std::clamp(sweep, 0, kFullTurn);
}

void CCircleProgressUI::PaintBkColor(QPainter& painter) {
  const DuiLib::SIZE size = GetClientSize();
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  FillPie(painter, QRectF(0, 0, size.cx, size.cy), 0, kFullTurn, GetBkColor());
  painter.restore();
}

void CCircleProgressUI::PaintStatusImage(QPainter& painter) {
  const DuiLib::SIZE size = GetClientSize();
  const QRectF whole(0, 0, size.cx, size.cy);
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  FillPie(painter, whole, kStartDegrees, SweepDegrees(), GetForeColor());
  FillPie(painter, whole.adjusted(kRingInset, kRingInset, -kRingInset, -kRingInset), 0, kFullTurn,
          kCentreColor);
  painter.restore();
}

void CCircleProgressUI::PaintText(QPainter&) {}

}  // namespace ui
