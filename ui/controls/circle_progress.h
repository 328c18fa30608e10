// CCircleProgressUI (layout tag "CircleProgress"): the progress control drawn as a ring. The part
// done grows clockwise from the bottom; no text is drawn.
#pragma once

#include "ui/framework/slider.h"

namespace ui {

class CCircleProgressUI : public DuiLib::CProgressUI {
 public:
  std::wstring_view GetClass() const override { return L"CircleProgress"; }

  // The sweep of the part done in whole degrees: value / (maximum - minimum) of a full turn.
  int SweepDegrees() const;

 protected:
  void PaintBkColor(QPainter& painter) override;
  void PaintStatusImage(QPainter& painter) override;
  void PaintText(QPainter& painter) override;
};

}  // namespace ui
