// CSButtonUI (layout tag "SButton"): a button with a selected state and its own look for it. The
// owner sets the state; clicking only sends "click". Unselected it paints as a plain button.
#pragma once

#include <string>

#include "ui/framework/button.h"

namespace ui {

// The selected images cut from a state image of `count` equal vertical strips (strip 0 normal,
// strip 1 hot and pushed, strip 2 pushed), as image descriptions of the framework. `width` and
// `height` are the image's size in its base pixels.
struct StateImageStrips {
  std::wstring normal;
  std::wstring hot;
  std::wstring pushed;
};
StateImageStrips CutStateImage(std::wstring_view file, int width, int height, int count);

class CSButtonUI : public DuiLib::CButtonUI {
 public:
  std::wstring_view GetClass() const override { return L"SButtonUI"; }
  DuiLib::CControlUI* GetInterface(std::wstring_view name) override;

  void Selected(bool selected);
  bool IsSelected() const { return mSelected; }

  void SetAttribute(std::wstring_view name, std::wstring_view value) override;

 protected:
  void PaintBkColor(QPainter& painter) override;
  void PaintStateImage(QPainter& painter) override;
  void PaintForeImage(QPainter& painter) override;
  DuiLib::DWORD CurrentTextColor() const override;
  int CurrentFont() const override;

 private:
  // The selected images to draw: the given ones, or those cut from the state image.
  StateImageStrips SelectedImages() const;

  bool mSelected = false;
  DuiLib::DWORD mSelectedBkColor = 0;
  DuiLib::DWORD mSelectedTextColor = 0;
  DuiLib::DWORD mSelectedHotTextColor = 0;
  int mSelectedFont = -1;
  std::wstring mSelectedImage;
  std::wstring mSelectedHotImage;
  std::wstring mSelectedPushedImage;
  std::wstring mSelectedForeImage;
  std::wstring mSelectedStateImage;
  int mSelectedStateCount = 0;
};

}  // namespace ui
