// UICurveScale (layout tag "CurveScale"): the frequency or level labels beside the curve editor,
// which draws its grid but no numbers. The scale finds the editor by name ("curve" attribute) and
// places every label with the editor's own geometry, so a label sits on its grid line at every
// size and display scale, wherever the layout puts the two controls.
#pragma once

#include <string>
#include <vector>

#include "ui/controls/label_style.h"
#include "ui/framework/control.h"

namespace ui {

class UICurveScale : public DuiLib::CControlUI {
 public:
  enum class Axis { Frequency, Level };

  // One label in this control's pixels: its value (Hz or dB), text, rectangle, and the pixel
  // (x for frequencies, y for levels) of the grid line it names.
  struct Mark {
    int value = 0;
    std::wstring text;
    DuiLib::RECT rect;
    int anchor = 0;
  };

  UICurveScale();
  std::wstring_view GetClass() const override { return L"CurveScale"; }

  Axis GetAxis() const { return mAxis; }
  // The labels where they are drawn now; empty while the editor is missing or has no size.
  // Labels keep inside this control; a frequency label that would overlap its left neighbour is
  // left out.
  std::vector<Mark> Marks() const;

  // "axis" ("frequency" or "level"), "curve" (the editor's name), and the label attributes
  // "font", "textcolor", "textpadding", "align", "valign".
  void SetAttribute(std::wstring_view name, std::wstring_view value) override;
  bool IsMouseTarget() const override { return false; }

 protected:
  void PaintText(QPainter& painter) override;

 private:
  const DuiLib::CControlUI* Curve() const;

  Axis mAxis = Axis::Frequency;
  std::wstring mCurveName;
  LabelStyle mStyle;
};

}  // namespace ui
