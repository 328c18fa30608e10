// Level bar and slider.
#pragma once

#include "ui/framework/label.h"

namespace DuiLib {

class CProgressUI : public CLabelUI {
 public:
  std::wstring_view GetClass() const override { return L"Progress"; }

  int GetMinValue() const { return mMin; }
  int GetMaxValue() const { return mMax; }
  void SetMinValue(int value);
  void SetMaxValue(int value);
  // The value, within the range (a value set before the range is kept and read within it).
  int GetValue() const;
  // Sets the value without notifying.
  virtual void SetValue(int value);
  bool IsHorizontal() const { return mHorizontal; }
  void SetHorizontal(bool horizontal);
  DWORD GetForeColor() const { return mForeColor; }
  void SetForeColor(DWORD argb);
  void SetForeImage(std::wstring_view image);

  void SetAttribute(std::wstring_view name, std::wstring_view value) override;

 protected:
  using CLabelUI::CLabelUI;
  void PaintStatusImage(QPainter& painter) override;
  // The filled part in control pixels.
  RECT ForeRect() const;

 private:
  int mMin = 0;
  int mMax = 100;
  int mValue = 0;
  bool mHorizontal = true;
  DWORD mForeColor = 0xFF2F7FD8;
  std::wstring mForeImage;
};

// A value chosen with the thumb. Dragging sends "movevaluechanged" for every step the thumb
// crosses and "valuechanged" when released; a click on the track, the wheel and the arrow keys
// send "valuechanged". SetValue from code sends nothing.
class CSliderUI : public CProgressUI {
 public:
  CSliderUI();
  std::wstring_view GetClass() const override { return L"Slider"; }

  int GetChangeStep() const { return mStep; }
  void SetChangeStep(int step);
  void SetThumbSize(SIZE size);
  void SetThumbImage(std::wstring_view image);

  void SetAttribute(std::wstring_view name, std::wstring_view value) override;
  void DoEvent(TEventUI& event) override;
  bool IsMouseTarget() const override { return true; }
  // A disabled slider drawn with images shows them faded.
  void DoPaint(QPainter& painter) override;

 protected:
  void PaintStatusImage(QPainter& painter) override;
  // The thumb in control pixels.
  RECT ThumbRect() const;

 private:
  int ValueAt(POINT point) const;
  // Moves to `value` and notifies with `type` when it changed.
  void MoveTo(int value, std::wstring_view type);

  int mStep = 1;
  SIZE mThumbSize{10, 10};
  std::wstring mThumbImage;
  std::wstring mThumbHotImage;
  bool mDragging = false;
  int mDragStartValue = 0;
};

}  // namespace DuiLib
