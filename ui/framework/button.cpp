#include "ui/framework/button.h"

#include <QPainter>
#include <QPainterPath>
#include <QWidget>

#include "ui/framework/attribute_parse.h"
#include "ui/framework/paint_manager.h"
#include "ui/framework/qt_convert.h"

namespace DuiLib {
namespace {

// The look of a button the layout gives neither images nor colours.
struct DefaultLook {
  DWORD normal;
  DWORD hot;
  DWORD pushed;
  DWORD disabled;
  DWORD border;
  DWORD text;
};
constexpr DefaultLook kPlainLook{0xFFF3F5F8, 0xFFE6EBF1, 0xFFD6DDE6,
                                 0xFFF3F5F8, 0xFFC5CCD6, 0xFF2B2F36};
constexpr DefaultLook kPrimaryLook{0xFF2F7FD8, 0xFF4A92E4, 0xFF2366B5,
                                   0xFFA9C4E4, 0xFF2F7FD8, 0xFFFFFFFF};
constexpr int kDefaultRound = 4;
constexpr int kCheckBoxSize = 14;

void FillRounded(QPainter& painter, const QRectF& area, qreal radius, DWORD fill, DWORD border) {
  QPainterPath path;
  path.addRoundedRect(area.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
  painter.fillPath(path, ToQColor(fill));
  painter.setPen(ToQColor(border));
  painter.drawPath(path);
}

}  // namespace

CButtonUI::CButtonUI() {
  SetTextAlign(TextAlign::Center);
  // A click takes the focus (so an edit left for a button commits first); Tab passes buttons by.
  GetWidget()->setFocusPolicy(Qt::ClickFocus);
  GetWidget()->setCursor(Qt::PointingHandCursor);
}

void CButtonUI::Activate() {
  if (!IsEnabled() || !IsVisible() || GetManager() == nullptr) {
    return;
  }
  GetManager()->SendNotify(this, DUI_MSGTYPE_CLICK);
}

void CButtonUI::SetAttribute(std::wstring_view name, std::wstring_view value) {
  if (name == L"normalimage") {
    SetNormalImage(value);
  } else if (name == L"hotimage") {
    SetHotImage(value);
  } else if (name == L"pushedimage") {
    SetPushedImage(value);
  } else if (name == L"disabledimage") {
    SetDisabledImage(value);
  } else if (name == L"foreimage") {
    SetForeImage(value);
  } else if (name == L"hotforeimage") {
    SetHotForeImage(value);
  } else if (name == L"hotbkcolor") {
    mHotBkColor = ParseColor(value);
  } else if (name == L"pushedbkcolor") {
    mPushedBkColor = ParseColor(value);
  } else if (name == L"hottextcolor") {
    mHotTextColor = ParseColor(value);
  } else if (name == L"style") {
    mPrimary = value == L"primary";
  } else {
    CLabelUI::SetAttribute(name, value);
  }
}

void CButtonUI::DoEvent(TEventUI& event) {
  switch (event.Type) {
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
      if (IsEnabled()) {
        SetPushed(true);
        Invalidate();
      }
      return;
    case UIEVENT_BUTTONUP: {
      const bool wasPushed = IsPushed();
      SetPushed(false);
      Invalidate();
      const SIZE size = GetClientSize();
      const bool inside = event.ptMouse.x >= 0 && event.ptMouse.y >= 0 &&
                          event.ptMouse.x < size.cx && event.ptMouse.y < size.cy;
      if (wasPushed && inside) {
        Activate();
      }
      return;
    }
    case UIEVENT_KEYDOWN:
      if (event.wParam == VK_RETURN || event.wParam == 0x20) {
        Activate();
        return;
      }
      break;
    default:
      break;
  }
  CLabelUI::DoEvent(event);
}

void CButtonUI::PaintBkColor(QPainter& painter) {
  const bool hasImages = !mNormalImage.empty() || !GetBkImage().empty();
  if (GetBkColor() == 0 && !hasImages) {
    const DefaultLook& look = mPrimary ? kPrimaryLook : kPlainLook;
    const DWORD fill = !IsEnabled() ? look.disabled
                       : IsPushed() ? look.pushed
                       : IsHot()    ? look.hot
                                    : look.normal;
    const SIZE size = GetClientSize();
    FillRounded(painter, QRectF(0, 0, size.cx, size.cy), Scale(kDefaultRound), fill, look.border);
    return;
  }
  CLabelUI::PaintBkColor(painter);
  const DWORD overlay = IsPushed() && mPushedBkColor != 0 ? mPushedBkColor
                        : IsHot() && mHotBkColor != 0     ? mHotBkColor
                                                          : 0;
  if (overlay != 0 && IsEnabled()) {
    const SIZE size = GetClientSize();
    painter.fillRect(QRect(0, 0, size.cx, size.cy), ToQColor(overlay));
  }
}

void CButtonUI::PaintStatusImage(QPainter& painter) {
  PaintStateImage(painter);
  PaintForeImage(painter);
}

void CButtonUI::PaintForeImage(QPainter& painter) {
  if (IsHot() && IsEnabled() && !mHotForeImage.empty() && DrawImage(painter, mHotForeImage)) {
    return;
  }
  if (!mForeImage.empty()) {
    DrawImage(painter, mForeImage);
  }
}

void CButtonUI::PaintStateImage(QPainter& painter) {
  if (!IsEnabled() && !mDisabledImage.empty() && DrawImage(painter, mDisabledImage)) {
    return;
  }
  if (IsPushed() && !mPushedImage.empty() && DrawImage(painter, mPushedImage)) {
    return;
  }
  if (IsHot() && !mHotImage.empty() && DrawImage(painter, mHotImage)) {
    return;
  }
  if (!mNormalImage.empty()) {
    DrawImage(painter, mNormalImage);
  }
}

DWORD CButtonUI::CurrentTextColor() const {
  const bool plain = GetBkColor() == 0 && mNormalImage.empty() && GetBkImage().empty();
  if (plain && mPrimary && IsEnabled()) {
    return kPrimaryLook.text;
  }
  if (IsEnabled() && IsHot() && mHotTextColor != 0) {
    return mHotTextColor;
  }
  return CLabelUI::CurrentTextColor();
}

void COptionUI::Selected(bool selected, bool bTriggerEvent) {
  if (mSelected == selected) {
    return;
  }
  mSelected = selected;
  if (GetManager() != nullptr) {
    if (selected && !mGroup.empty()) {
      GetManager()->SelectInGroup(this);
    }
    // Within a group only the newly selected option reports; the others follow silently.
    if (bTriggerEvent && (mGroup.empty() || selected)) {
      GetManager()->SendNotify(this, DUI_MSGTYPE_SELECTCHANGED);
    }
  }
  Invalidate();
}

void COptionUI::SetGroup(std::wstring_view group) {
  mGroup = group;
}

void COptionUI::Activate() {
  if (!IsEnabled() || !IsVisible() || GetManager() == nullptr) {
    return;
  }
  CButtonUI::Activate();
  Selected(mGroup.empty() ? !mSelected : true);
}

void COptionUI::SetAttribute(std::wstring_view name, std::wstring_view value) {
  if (name == L"group") {
    SetGroup(value);
  } else if (name == L"selected") {
    Selected(ParseBool(value), false);
  } else if (name == L"selectedimage") {
    SetSelectedImage(value);
  } else if (name == L"selectedhotimage") {
    mSelectedHotImage = value;
  } else if (name == L"selectedforeimage") {
    SetSelectedForeImage(value);
  } else if (name == L"selectedbkcolor") {
    mSelectedBkColor = ParseColor(value);
  } else if (name == L"selectedtextcolor") {
    mSelectedTextColor = ParseColor(value);
  } else {
    CButtonUI::SetAttribute(name, value);
  }
}

void COptionUI::SetManager(CPaintManagerUI* manager, CContainerUI* parent) {
  if (GetManager() != nullptr) {
    GetManager()->UnregisterOption(this);
  }
  CButtonUI::SetManager(manager, parent);
  if (manager != nullptr) {
    manager->RegisterOption(this);
  }
}

void COptionUI::PaintBkColor(QPainter& painter) {
  if (mSelected && mSelectedBkColor != 0) {
    const SIZE size = GetClientSize();
    painter.fillRect(QRect(0, 0, size.cx, size.cy), ToQColor(mSelectedBkColor));
    return;
  }
  const bool plain = GetBkColor() == 0 && GetNormalImage().empty() && GetBkImage().empty() &&
                     mSelectedImage.empty();
  if (plain && mSelected) {
    const SIZE size = GetClientSize();
    FillRounded(painter, QRectF(0, 0, size.cx, size.cy), Scale(kDefaultRound),
                IsEnabled() ? kPrimaryLook.normal : kPrimaryLook.disabled, kPrimaryLook.border);
    return;
  }
  CButtonUI::PaintBkColor(painter);
}

void COptionUI::PaintStateImage(QPainter& painter) {
  if (mSelected) {
    if (IsHot() && !mSelectedHotImage.empty() && DrawImage(painter, mSelectedHotImage)) {
      return;
    }
    if (!mSelectedImage.empty() && DrawImage(painter, mSelectedImage)) {
      return;
    }
  }
  CButtonUI::PaintStateImage(painter);
}

void COptionUI::PaintForeImage(QPainter& painter) {
  if (mSelected && !mSelectedForeImage.empty() && DrawImage(painter, mSelectedForeImage)) {
    return;
  }
  CButtonUI::PaintForeImage(painter);
}

DWORD COptionUI::CurrentTextColor() const {
  if (mSelected && IsEnabled()) {
    if (mSelectedTextColor != 0) {
      return mSelectedTextColor;
    }
    if (GetBkColor() == 0 && GetNormalImage().empty() && mSelectedImage.empty()) {
      return kPrimaryLook.text;
    }
  }
  return CButtonUI::CurrentTextColor();
}

CCheckBoxUI::CCheckBoxUI() {
  SetTextAlign(TextAlign::Left);
  SetTextPadding(RECT{kCheckBoxSize + 6, 0, 0, 0});
}

// A check box shows its state in the box only: no button background, plain text colour.
void CCheckBoxUI::PaintBkColor(QPainter& painter) {
  CControlUI::PaintBkColor(painter);
}

DWORD CCheckBoxUI::CurrentTextColor() const {
  return CLabelUI::CurrentTextColor();
}

void CCheckBoxUI::PaintStateImage(QPainter& painter) {
  if (!GetNormalImage().empty()) {
    COptionUI::PaintStateImage(painter);
    return;
  }
  // A box with a tick, vertically centred at the left.
  const qreal side = Scale(kCheckBoxSize);
  const QRectF box(0.5, (GetClientSize().cy - side) / 2.0, side - 1, side - 1);
  painter.setPen(ToQColor(IsEnabled() ? 0xFF8A94A3 : 0xFFC5CCD6));
  painter.setBrush(ToQColor(IsSelected() && IsEnabled() ? kPrimaryLook.normal : 0xFFFFFFFF));
  painter.drawRoundedRect(box, Scale(2), Scale(2));
  if (IsSelected()) {
    QPen tick(ToQColor(IsEnabled() ? 0xFFFFFFFF : 0xFF8A94A3));
    tick.setWidthF(side / 7.0);
    painter.setPen(tick);
    painter.drawPolyline(QList<QPointF>{box.topLeft() + QPointF(side * 0.22, side * 0.5),
                                        box.topLeft() + QPointF(side * 0.42, side * 0.7),
                                        box.topLeft() + QPointF(side * 0.78, side * 0.28)});
  }
}

}  // namespace DuiLib
