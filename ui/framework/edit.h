// Single-line text entry. Besides typing, it reports the keys the windows navigate and step with:
// Up/Down (and the mouse wheel) as "valuechangedup"/"valuechangeddown", Left/Right as
// "valuechangedleft"/"valuechangedright", Enter as "return".
#pragma once

#include "ui/framework/label.h"

namespace DuiLib {

class CEditUI : public CLabelUI {
 public:
  CEditUI();
  std::wstring_view GetClass() const override { return L"Edit"; }

  std::wstring GetText() const override;
  void SetText(std::wstring_view text) override;
  void SetMaxChar(int maxChar);
  int GetMaxChar() const { return mMaxChar; }
  void SetReadOnly(bool readOnly);
  bool IsReadOnly() const { return mReadOnly; }
  void SetNumberOnly(bool numberOnly);
  // Selects characters [start, end); -1 as end means "to the end"; start == end places the caret.
  void SetSel(int start, int end);
  // Places the caret after the last character.
  void SetSelAtEnd();

  void SetEnabled(bool enabled = true) override;
  void SetAttribute(std::wstring_view name, std::wstring_view value) override;
  void RefreshText() override;
  void SetPos(RECT rc) override;
  void SetManager(CPaintManagerUI* manager, CContainerUI* parent) override;
  // Framework use: the background and border, drawn by the edit's widget under its text.
  void PaintFrame(QPainter& painter);

 protected:
  void PaintText(QPainter&) override {}
  void UpdateWidgetState() override;

 private:
  // Applies colours, margins, alignment and font to the widget when something they depend on
  // changed: once when the edit joins its window, then only after a change of colours, padding,
  // font or scale.
  void ApplyStyle();

  int mMaxChar = 255;
  bool mReadOnly = false;
  int mStyledScale = 0;  // the layout scale the style was built for; 0: not built
  bool mStyleDirty = true;
};

}  // namespace DuiLib
