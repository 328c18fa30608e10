// Text controls: Label (one line) and Text (wrapping). Every control that shows a text derives
// from CLabelUI and shares its text attributes.
#pragma once

#include "ui/framework/control.h"

namespace DuiLib {

enum class TextAlign { Left, Center, Right };
enum class TextVAlign { Top, Center, Bottom };

class CLabelUI : public CControlUI {
 public:
  CLabelUI() = default;
  std::wstring_view GetClass() const override { return L"Label"; }

  DWORD GetTextColor() const { return mTextColor; }
  void SetTextColor(DWORD argb);
  DWORD GetDisabledTextColor() const { return mDisabledTextColor; }
  void SetDisabledTextColor(DWORD argb);
  int GetFont() const { return mFont; }
  void SetFont(int id);
  void SetTextAlign(TextAlign align);
  void SetTextVAlign(TextVAlign align);
  void SetTextPadding(RECT padding);
  void SetMultiLine(bool multiLine);
  // Fits the label to its current text: a single-line label gets the width the text needs, a
  // multi-line one the height it needs at its current width (text padding included).
  void SizeToText();
  // The room kept free around the text, in layout units.
  const RECT& GetTextPadding() const { return mTextPadding; }

  void SetAttribute(std::wstring_view name, std::wstring_view value) override;
  bool IsMouseTarget() const override { return false; }

 protected:
  using CControlUI::CControlUI;
  void PaintText(QPainter& painter) override;
  // Draws `text` into `rc` (control pixels) with the label's font, colour and alignment.
  void DrawText(QPainter& painter, const RECT& rc, std::wstring_view text, DWORD color) const;
  // The colour for the current state.
  virtual DWORD CurrentTextColor() const;
  // The font id for the current state.
  virtual int CurrentFont() const { return mFont; }
  // The text area: the control minus the text padding, in control pixels.
  RECT TextRect() const;
  TextAlign GetTextAlign() const { return mAlign; }

 private:
  DWORD mTextColor = 0xFF333333;
  DWORD mDisabledTextColor = 0xFFA0A0A0;
  int mFont = -1;
  TextAlign mAlign = TextAlign::Left;
  TextVAlign mVAlign = TextVAlign::Center;
  RECT mTextPadding;
  bool mMultiLine = false;
  bool mEndEllipsis = false;
};

class CTextUI : public CLabelUI {
 public:
  CTextUI();
  std::wstring_view GetClass() const override { return L"Text"; }
};

}  // namespace DuiLib
