// Buttons: push button, option (check button, grouped or not) and check box.
#pragma once

#include "ui/framework/label.h"

namespace DuiLib {

// Sends "click" when pressed and released over it (mouse) or on Space.
class CButtonUI : public CLabelUI {
 public:
  CButtonUI();
  std::wstring_view GetClass() const override { return L"Button"; }

  void SetNormalImage(std::wstring_view image) {
    mNormalImage = image;
    Invalidate();
  }
  void SetHotImage(std::wstring_view image) {
    mHotImage = image;
    Invalidate();
  }
  void SetPushedImage(std::wstring_view image) {
    mPushedImage = image;
    Invalidate();
  }
  void SetDisabledImage(std::wstring_view image) {
    mDisabledImage = image;
    Invalidate();
  }
  const std::wstring& GetNormalImage() const { return mNormalImage; }
  // The fore image: drawn over the background and the state image, under the text (an icon that
  // stays while the state image changes). The hot one, when set, replaces it while hot.
  void SetForeImage(std::wstring_view image) {
    mForeImage = image;
    Invalidate();
  }
  const std::wstring& GetForeImage() const { return mForeImage; }
  void SetHotForeImage(std::wstring_view image) {
    mHotForeImage = image;
    Invalidate();
  }

  // Acts as if the user clicked it.
  virtual void Activate();

  void SetAttribute(std::wstring_view name, std::wstring_view value) override;
  void DoEvent(TEventUI& event) override;
  bool IsMouseTarget() const override { return true; }

 protected:
  void PaintBkColor(QPainter& painter) override;
  // The state image, then the fore image.
  void PaintStatusImage(QPainter& painter) override;
  // The image of the current state (normal, hot, pushed, disabled).
  virtual void PaintStateImage(QPainter& painter);
  virtual void PaintForeImage(QPainter& painter);
  DWORD CurrentTextColor() const override;

 private:
  std::wstring mNormalImage;
  std::wstring mHotImage;
  std::wstring mPushedImage;
  std::wstring mDisabledImage;
  std::wstring mForeImage;
  std::wstring mHotForeImage;
  DWORD mHotBkColor = 0;
  DWORD mPushedBkColor = 0;
  DWORD mHotTextColor = 0;
  bool mPrimary = false;
};

// A button with a selected state. Within a group (per window) exactly one option is selected;
// without a group a click toggles it. Every change of the state sends "selectchanged".
class COptionUI : public CButtonUI {
 public:
  std::wstring_view GetClass() const override { return L"Option"; }

  bool IsSelected() const { return mSelected; }
  // Changes the state; `bTriggerEvent` false changes it silently.
  virtual void Selected(bool selected, bool bTriggerEvent = true);
  const std::wstring& GetGroup() const { return mGroup; }
  void SetGroup(std::wstring_view group);
  void SetSelectedImage(std::wstring_view image) {
    mSelectedImage = image;
    Invalidate();
  }
  // Replaces the fore image while selected.
  void SetSelectedForeImage(std::wstring_view image) {
    mSelectedForeImage = image;
    Invalidate();
  }

  void Activate() override;
  void SetAttribute(std::wstring_view name, std::wstring_view value) override;
  void SetManager(CPaintManagerUI* manager, CContainerUI* parent) override;

 protected:
  void PaintBkColor(QPainter& painter) override;
  void PaintStateImage(QPainter& painter) override;
  void PaintForeImage(QPainter& painter) override;
  DWORD CurrentTextColor() const override;

 private:
  std::wstring mGroup;
  std::wstring mSelectedImage;
  std::wstring mSelectedHotImage;
  std::wstring mSelectedForeImage;
  DWORD mSelectedBkColor = 0;
  DWORD mSelectedTextColor = 0;
  bool mSelected = false;
};

// An option without a group, drawn as a small box in front of its text.
class CCheckBoxUI : public COptionUI {
 public:
  CCheckBoxUI();
  std::wstring_view GetClass() const override { return L"CheckBox"; }
  void SetCheck(bool check) { Selected(check); }
  bool GetCheck() const { return IsSelected(); }

 protected:
  void PaintBkColor(QPainter& painter) override;
  void PaintStateImage(QPainter& painter) override;
  DWORD CurrentTextColor() const override;
};

}  // namespace DuiLib
