#include "ui/framework/slider.h"

#include <QPainter>
#include <QWidget>
#include <algorithm>

#include "ui/framework/attribute_parse.h"
#include "ui/framework/paint_manager.h"
#include "ui/framework/qt_convert.h"

namespace DuiLib {
namespace {

constexpr DWORD kTrackColor = 0xFFDCE1E8;
constexpr DWORD kThumbFill = 0xFFFFFFFF;
constexpr int kSliderTrackThickness = 4;
constexpr qreal kDisabledImageOpacity = 0.35;

}  // namespace

void CProgressUI::SetMinValue(int value) {
  mMin = value;
  Invalidate();
}

void CProgressUI::SetMaxValue(int value) {
  mMax = value;
  Invalidate();
}

int CProgressUI::GetValue() const {
  return std::clamp(mValue, std::min(mMin, mMax), std::max(mMin, mMax));
}

void CProgressUI::SetValue(int value) {
  // Stored within the current range, so stepping past an end does not pile up.
  const int clamped = std::clamp(value, std::min(mMin, mMax), std::max(mMin, mMax));
  if (clamped != mValue) {
    mValue = clamped;
    Invalidate();
  }
}

void CProgressUI::SetHorizontal(bool horizontal) {
  mHorizontal = horizontal;
  Invalidate();
}

void CProgressUI::SetForeColor(DWORD argb) {
  mForeColor = argb;
  Invalidate();
}

void CProgressUI::SetForeImage(std::wstring_view image) {
  mForeImage = image;
  Invalidate();
}

void CProgressUI::SetAttribute(std::wstring_view name, std::wstring_view value) {
  if (name == L"min") {
    SetMinValue(ParseInt(value));
  } else if (name == L"max") {
    SetMaxValue(ParseInt(value));
  } else if (name == L"value") {
    // Layout attributes may name the value before the range: keep it as written.
    mValue = ParseInt(value);
  } else if (name == L"hor") {
    SetHorizontal(ParseBool(value));
  } else if (name == L"vertical") {
    SetHorizontal(!ParseBool(value));
  } else if (name == L"forecolor") {
    SetForeColor(ParseColor(value));
  } else if (name == L"foreimage") {
    SetForeImage(value);
  } else {
    CLabelUI::SetAttribute(name, value);
  }
}

RECT CProgressUI::ForeRect() const {
  const SIZE size = GetClientSize();
  const int range = mMax - mMin;
  const double fraction = range == 0 ? 0.0 : static_cast<double>(GetValue() - mMin) / range;
  if (mHorizontal) {
    return RECT{0, 0, static_cast<int>(size.cx * fraction + 0.5), size.cy};
  }
  return RECT{0, size.cy - static_cast<int>(size.cy * fraction + 0.5), size.cx, size.cy};
}

void CProgressUI::PaintStatusImage(QPainter& painter) {
  const SIZE size = GetClientSize();
  if (GetBkColor() == 0 && GetBkImage().empty()) {
    painter.fillRect(QRect(0, 0, size.cx, size.cy), ToQColor(kTrackColor));
  }
  const RECT fore = ForeRect();
  if (fore.Width() <= 0 || fore.Height() <= 0) {
    return;
  }
  if (!mForeImage.empty()) {
    painter.save();
    painter.setClipRect(ToQRect(fore));
    DrawImage(painter, mForeImage);
    painter.restore();
  } else {
    painter.fillRect(ToQRect(fore), ToQColor(mForeColor));
  }
}

CSliderUI::CSliderUI() {
  GetWidget()->setFocusPolicy(Qt::ClickFocus);
  SetAttribute(L"thumbsize", L"12,12");
}

void CSliderUI::SetChangeStep(int step) {
  mStep = step > 0 ? step : 1;
}

void CSliderUI::SetThumbSize(SIZE size) {
  mThumbSize = size;
  Invalidate();
}

void CSliderUI::SetThumbImage(std::wstring_view image) {
  mThumbImage = image;
  Invalidate();
}

void CSliderUI::SetAttribute(std::wstring_view name, std::wstring_view value) {
  if (name == L"step") {
    SetChangeStep(ParseInt(value));
  } else if (name == L"thumbsize") {
    SetThumbSize(ParseSize(value));
  } else if (name == L"thumbimage") {
    SetThumbImage(value);
  } else if (name == L"thumbhotimage") {
    mThumbHotImage = value;
  } else {
    CProgressUI::SetAttribute(name, value);
  }
}

RECT CSliderUI::ThumbRect() const {
  const SIZE size = GetClientSize();
  const int thumbWidth = Scale(mThumbSize.cx);
  const int thumbHeight = Scale(mThumbSize.cy);
  const int range = GetMaxValue() - GetMinValue();
  const double fraction =
      range == 0 ? 0.0 : static_cast<double>(GetValue() - GetMinValue()) / range;
  if (IsHorizontal()) {
    const int left = static_cast<int>((size.cx - thumbWidth) * fraction + 0.5);
    const int top = (size.cy - thumbHeight) / 2;
    return RECT{left, top, left + thumbWidth, top + thumbHeight};
  }
  const int top = static_cast<int>((size.cy - thumbHeight) * (1.0 - fraction) + 0.5);
  const int left = (size.cx - thumbWidth) / 2;
  return RECT{left, top, left + thumbWidth, top + thumbHeight};
}

int CSliderUI::ValueAt(POINT point) const {
  const SIZE size = GetClientSize();
  const double travel =
      IsHorizontal() ? size.cx - Scale(mThumbSize.cx) : size.cy - Scale(mThumbSize.cy);
  if (travel <= 0) {
    return GetValue();
  }
  double fraction = IsHorizontal() ? (point.x - Scale(mThumbSize.cx) / 2.0) / travel
                                   : 1.0 - (point.y - Scale(mThumbSize.cy) / 2.0) / travel;
  fraction = std::clamp(fraction, 0.0, 1.0);
  const double raw = GetMinValue() + fraction * (GetMaxValue() - GetMinValue());
  // Snap to the step grid that starts at the minimum.
  const double steps = (raw - GetMinValue()) / mStep;
  return GetMinValue() + static_cast<int>(steps + (steps >= 0 ? 0.5 : -0.5)) * mStep;
}

void CSliderUI::MoveTo(int value, std::wstring_view type) {
  const int before = GetValue();
  SetValue(value);
  if (GetValue() != before && GetManager() != nullptr) {
    GetManager()->SendNotify(this, type);
  }
}

void CSliderUI::DoEvent(TEventUI& event) {
  if (!IsEnabled()) {
    CProgressUI::DoEvent(event);
    return;
  }
  switch (event.Type) {
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK: {
      const RECT thumb = ThumbRect();
      const bool onThumb = event.ptMouse.x >= thumb.left && event.ptMouse.x < thumb.right &&
                           event.ptMouse.y >= thumb.top && event.ptMouse.y < thumb.bottom;
      if (!onThumb) {
        MoveTo(ValueAt(event.ptMouse), DUI_MSGTYPE_VALUECHANGED);
      }
      mDragging = true;
      mDragStartValue = GetValue();
      return;
    }
    case UIEVENT_MOUSEMOVE:
      if (mDragging && event.bLeftButton) {
        MoveTo(ValueAt(event.ptMouse), DUI_MSGTYPE_MOVEVALUECHANGED);
        return;
      }
      break;
    case UIEVENT_BUTTONUP:
      if (mDragging) {
        mDragging = false;
        if (GetValue() != mDragStartValue && GetManager() != nullptr) {
          GetManager()->SendNotify(this, DUI_MSGTYPE_VALUECHANGED);
        }
        Invalidate();
        return;
      }
      break;
    case UIEVENT_SCROLLWHEEL:
      MoveTo(GetValue() + (event.wParam != 0 ? mStep : -mStep), DUI_MSGTYPE_VALUECHANGED);
      return;
    case UIEVENT_KEYDOWN:
      if (event.wParam == VK_LEFT || event.wParam == VK_DOWN) {
        MoveTo(GetValue() - mStep, DUI_MSGTYPE_VALUECHANGED);
        return;
      }
      if (event.wParam == VK_RIGHT || event.wParam == VK_UP) {
        MoveTo(GetValue() + mStep, DUI_MSGTYPE_VALUECHANGED);
        return;
      }
      break;
    default:
      break;
  }
  CProgressUI::DoEvent(event);
}

void CSliderUI::DoPaint(QPainter& painter) {
  const bool faded = !IsEnabled() && (!GetBkImage().empty() || !mThumbImage.empty());
  if (faded) {
    painter.save();
    painter.setOpacity(kDisabledImageOpacity);
  }
  CProgressUI::DoPaint(painter);
  if (faded) {
    painter.restore();
  }
}

void CSliderUI::PaintStatusImage(QPainter& painter) {
  const SIZE size = GetClientSize();
  const RECT thumb = ThumbRect();
  if (GetBkColor() == 0 && GetBkImage().empty()) {
    // A thin track with the part up to the thumb filled.
    const int thickness = Scale(kSliderTrackThickness);
    const QColor fore = ToQColor(IsEnabled() ? 0xFF2F7FD8 : 0xFFA9C4E4);
    if (IsHorizontal()) {
      const int top = (size.cy - thickness) / 2;
      painter.fillRect(QRect(0, top, size.cx, thickness), ToQColor(kTrackColor));
      painter.fillRect(QRect(0, top, (thumb.left + thumb.right) / 2, thickness), fore);
    } else {
      const int left = (size.cx - thickness) / 2;
      const int middle = (thumb.top + thumb.bottom) / 2;
      painter.fillRect(QRect(left, 0, thickness, size.cy), ToQColor(kTrackColor));
      painter.fillRect(QRect(left, middle, thickness, size.cy - middle), fore);
    }
  } else {
    CProgressUI::PaintStatusImage(painter);
  }
  const std::wstring& image = IsHot() && !mThumbHotImage.empty() ? mThumbHotImage : mThumbImage;
  if (!image.empty()) {
    painter.save();
    painter.translate(thumb.left, thumb.top);
    const std::wstring placed = L"file='" + image + L"' dest='0,0," +
                                std::to_wstring(mThumbSize.cx) + L"," +
                                std::to_wstring(mThumbSize.cy) + L"'";
    const bool drawn =
        DrawImage(painter, image.find(L"file=") == std::wstring::npos ? std::wstring_view(placed)
                                                                      : std::wstring_view(image));
    painter.restore();
    if (drawn) {
      return;
    }
  }
  painter.setPen(ToQColor(IsEnabled() ? 0xFF2F7FD8 : 0xFFA9C4E4));
  painter.setBrush(ToQColor(kThumbFill));
  painter.drawEllipse(QRectF(ToQRect(thumb)).adjusted(0.5, 0.5, -0.5, -0.5));
}

}  // namespace DuiLib
