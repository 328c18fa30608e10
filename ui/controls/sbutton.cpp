#include "ui/controls/sbutton.h"

#include <QPainter>

#include "ui/controls/label_style.h"
#include "ui/framework/image_cache.h"
#include "ui/framework/paint_manager.h"
#include "ui/framework/qt_convert.h"
#include "ui/framework/ui_utils.h"

namespace ui {

StateImageStrips CutStateImage(std::wstring_view file, int width, int height, int count) {
  StateImageStrips strips;
  if (count <= 0 || width <= 0 || height <= 0) {
    return strips;
  }
  const int strip = width / count;
  const std::wstring name(file);
  const auto cut = [&](int index) {
    return DuiLib::Format(L"file='%ls' source='%d,%d,%d,%d'", name.c_str(), index * strip, 0,
                          (index + 1) * strip, height);
  };
  strips.normal = cut(0);
  if (count > 1) {
    strips.hot = cut(1);
    strips.pushed = cut(1);
  }
  if (count > 2) {
    strips.pushed = cut(2);
  }
  return strips;
}

DuiLib::CControlUI* CSButtonUI::GetInterface(std::wstring_view name) {
  return name == L"SButton" ? this : CButtonUI::GetInterface(name);
}

void CSButtonUI::Selected(bool selected) {
  mSelected = selected;
  Invalidate();
}

void CSButtonUI::SetAttribute(std::wstring_view name, std::wstring_view value) {
  if (name == L"selected") {
    Selected(value == L"true");
  } else if (name == L"selectedimage") {
    mSelectedImage = value;
  } else if (name == L"selectedhotimage") {
    mSelectedHotImage = value;
  } else if (name == L"selectedpushedimage") {
    mSelectedPushedImage = value;
  } else if (name == L"selectedforeimage") {
    mSelectedForeImage = value;
  } else if (name == L"selectedstateimage") {
    mSelectedStateImage = value;
  } else if (name == L"selectedstatecount") {
    mSelectedStateCount = DuiLib::StrToInt(value);
  } else if (name == L"selectedbkcolor") {
    mSelectedBkColor = ParseArgb(value);
  } else if (name == L"selectedtextcolor") {
    mSelectedTextColor = ParseArgb(value);
  } else if (name == L"selectedhottextcolor") {
    mSelectedHotTextColor = ParseArgb(value);
  } else if (name == L"selectedfont") {
    mSelectedFont = DuiLib::StrToInt(value);
  } else {
    CButtonUI::SetAttribute(name, value);
    return;
  }
  Invalidate();
}

void CSButtonUI::PaintBkColor(QPainter& painter) {
  if (mSelected && mSelectedBkColor != 0) {
    const DuiLib::SIZE size = GetClientSize();
    painter.fillRect(QRect(0, 0, size.cx, size.cy), DuiLib::ToQColor(mSelectedBkColor));
    return;
  }
  CButtonUI::PaintBkColor(painter);
}

StateImageStrips CSButtonUI::SelectedImages() const {
  if (!mSelectedImage.empty() || mSelectedStateImage.empty() || mSelectedStateCount <= 0) {
    return StateImageStrips{mSelectedImage, mSelectedHotImage, mSelectedPushedImage};
  }
  // Sources are written in the image's own units (base file pixels, or an SVG's view box).
  const QSizeF size = DuiLib::SkinImageSize(mSelectedStateImage);
  if (size.isEmpty()) {
    return StateImageStrips{};
  }
  return CutStateImage(mSelectedStateImage, static_cast<int>(size.width()),
                       static_cast<int>(size.height()), mSelectedStateCount);
}

void CSButtonUI::PaintStateImage(QPainter& painter) {
  if (!mSelected) {
    CButtonUI::PaintStateImage(painter);
    return;
  }
  const StateImageStrips images = SelectedImages();
  const std::wstring& chosen = IsPushed() && !images.pushed.empty() ? images.pushed
                               : IsHot() && !images.hot.empty()     ? images.hot
                                                                    : images.normal;
  if (chosen.empty() || !DrawImage(painter, chosen)) {
    CButtonUI::PaintStateImage(painter);
  }
}

// Selected: the selected fore image when set, else the button's own.
void CSButtonUI::PaintForeImage(QPainter& painter) {
  if (mSelected && !mSelectedForeImage.empty() && DrawImage(painter, mSelectedForeImage)) {
    return;
  }
  CButtonUI::PaintForeImage(painter);
}

DuiLib::DWORD CSButtonUI::CurrentTextColor() const {
  if (mSelected && IsEnabled()) {
    if (IsHot() && mSelectedHotTextColor != 0) {
      return mSelectedHotTextColor;
    }
    if (mSelectedTextColor != 0) {
      return mSelectedTextColor;
    }
  }
  return CButtonUI::CurrentTextColor();
}

int CSButtonUI::CurrentFont() const {
  return mSelected && mSelectedFont >= 0 ? mSelectedFont : CButtonUI::CurrentFont();
}

}  // namespace ui
