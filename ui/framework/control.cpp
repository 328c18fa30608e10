#include "ui/framework/control.h"

#include <QPainter>
#include <QPainterPath>

#include "ui/framework/attribute_parse.h"
#include "ui/framework/container.h"
#include "ui/framework/control_widget.h"
#include "ui/framework/image_draw.h"
#include "ui/framework/paint_manager.h"
#include "ui/framework/qt_convert.h"
#include "ui/framework/resource_manager.h"
#include "ui/framework/ui_thread.h"
#include "ui/framework/ui_utils.h"

namespace DuiLib {

CControlUI::CControlUI() : CControlUI(nullptr) {}

CControlUI::CControlUI(std::unique_ptr<QWidget> widget) : mWidget(std::move(widget)) {
  if (!mWidget) {
    mWidget = std::make_unique<ControlWidget>(this);
  }
  mWidget->hide();
}

CControlUI::~CControlUI() {
  if (mManager != nullptr) {
    mManager->ForgetControl(this);
  }
}

void CControlUI::SetName(std::wstring_view name) {
  if (mName == name) {
    return;
  }
  if (mManager != nullptr) {
    mManager->UnindexControl(this);
  }
  mName = name;
  if (mManager != nullptr) {
    mManager->IndexControl(this);
  }
}

std::wstring CControlUI::GetText() const {
  return CResourceManager::GetInstance()->GetText(mText);
}

void CControlUI::SetText(std::wstring_view text) {
  if (mText == text) {
    return;
  }
  mText = text;
  Invalidate();
}

void CControlUI::SetUserData(std::wstring_view userData) {
  mUserData = userData;
}

int CControlUI::GetUserDataIndex() const {
  return StrToInt(mUserData);
}

void CControlUI::SetToolTip(std::wstring_view text) {
  mToolTip = text;
  RefreshText();
}

void CControlUI::SetEnabled(bool enabled) {
  if (mEnabled == enabled) {
    return;
  }
  mEnabled = enabled;
  if (!enabled) {
    mHot = false;
    mPushed = false;
  }
  UpdateWidgetState();
  Invalidate();
}

void CControlUI::SetVisible(bool visible) {
  if (mVisible == visible) {
    return;
  }
  mVisible = visible;
  NeedParentUpdate();
}

bool CControlUI::IsVisibleInTree() const {
  for (const CControlUI* control = this; control != nullptr; control = control->mParent) {
    if (!control->mVisible) {
      return false;
    }
  }
  return true;
}

bool CControlUI::IsFocused() const {
  return mWidget->hasFocus();
}

bool CControlUI::SetFocus() {
  return mManager != nullptr && mManager->SetFocus(this);
}

void CControlUI::SetBkColor(DWORD argb) {
  mBkColor = argb;
  Invalidate();
}

void CControlUI::SetBkImage(std::wstring_view image) {
  mBkImage = image;
  Invalidate();
}

void CControlUI::SetBorderColor(DWORD argb) {
  mBorderColor = argb;
  Invalidate();
}

void CControlUI::SetBorderSize(int size) {
  mBorderSize = size;
  Invalidate();
}

void CControlUI::SetFixedWidth(int width) {
  mFixedWidth = width < 0 ? 0 : width;
  NeedParentUpdate();
}

void CControlUI::SetFixedHeight(int height) {
  mFixedHeight = height < 0 ? 0 : height;
  NeedParentUpdate();
}

void CControlUI::SetPadding(RECT padding) {
  mPadding = padding;
  NeedParentUpdate();
}

void CControlUI::SetFloat(bool isFloat) {
  mFloat = isFloat;
  NeedParentUpdate();
}

void CControlUI::SetFloatPos(RECT pos) {
  mFloatPos = pos;
  NeedParentUpdate();
}

RECT CControlUI::GetPos() const {
  const QPoint corner = mWidget->mapTo(mWidget->window(), QPoint(0, 0));
  return RECT{corner.x(), corner.y(), corner.x() + mWidget->width(),
              corner.y() + mWidget->height()};
}

void CControlUI::SetPos(RECT rc) {
  mWidget->setGeometry(ToQRect(rc));
}

void CControlUI::SetAttribute(std::wstring_view name, std::wstring_view value) {
  if (name == L"name") {
    SetName(value);
  } else if (name == L"text") {
    SetText(value);
  } else if (name == L"tooltip") {
    SetToolTip(value);
  } else if (name == L"userdata") {
    SetUserData(value);
  } else if (name == L"width") {
    SetFixedWidth(ParseInt(value));
  } else if (name == L"height") {
    SetFixedHeight(ParseInt(value));
  } else if (name == L"minwidth") {
    mMinWidth = ParseInt(value);
  } else if (name == L"maxwidth") {
    mMaxWidth = ParseInt(value);
  } else if (name == L"minheight") {
    mMinHeight = ParseInt(value);
  } else if (name == L"maxheight") {
    mMaxHeight = ParseInt(value);
  } else if (name == L"padding") {
    SetPadding(ParseRect(value));
  } else if (name == L"float") {
    SetFloat(ParseBool(value));
  } else if (name == L"pos") {
    SetFloatPos(ParseRect(value));
  } else if (name == L"bkcolor") {
    SetBkColor(ParseColor(value));
  } else if (name == L"bkimage") {
    SetBkImage(value);
  } else if (name == L"bordercolor") {
    SetBorderColor(ParseColor(value));
  } else if (name == L"bordersize") {
    SetBorderSize(ParseInt(value));
  } else if (name == L"borderround") {
    mBorderRound = ParseInt(value);
  } else if (name == L"enabled") {
    SetEnabled(ParseBool(value));
  } else if (name == L"visible") {
    SetVisible(ParseBool(value));
  } else if (name == L"virtualwnd") {
    SetVirtualWnd(value);
  } else if (name == L"keyboard") {
    mKeyboard = ParseBool(value);
    UpdateWidgetState();
  }
}

std::wstring CControlUI::GetVirtualWnd() const {
  if (!mVirtualWnd.empty() || mParent == nullptr) {
    return mVirtualWnd;
  }
  return mParent->GetVirtualWnd();
}

void CControlUI::Invalidate() {
  if (!CheckUiThread("CControlUI::Invalidate")) {
    return;
  }
  mWidget->update();
}

void CControlUI::NeedParentUpdate() {
  if (mParent != nullptr) {
    mParent->NeedLayout();
  } else if (mManager != nullptr) {
    mManager->NeedUpdate();  // the root: the whole window
  }
}

void CControlUI::DoPaint(QPainter& painter) {
  PaintBkColor(painter);
  PaintBkImage(painter);
  PaintStatusImage(painter);
  PaintText(painter);
  PaintBorder(painter);
}

void CControlUI::DoEvent(TEventUI& event) {
  switch (event.Type) {
    case UIEVENT_MOUSEENTER:
      if (mEnabled) {
        mHot = true;
        Invalidate();
      }
      break;
    case UIEVENT_MOUSELEAVE:
      mHot = false;
      Invalidate();
      break;
    case UIEVENT_SETFOCUS:
      if (mManager != nullptr) {
        mManager->SendNotify(this, DUI_MSGTYPE_SETFOCUS);
      }
      break;
    case UIEVENT_KILLFOCUS:
      if (mManager != nullptr) {
        mManager->SendNotify(this, DUI_MSGTYPE_KILLFOCUS);
      }
      break;
    default:
      break;
  }
}

void CControlUI::RefreshText() {
  mWidget->setToolTip(ToQString(CResourceManager::GetInstance()->GetText(mToolTip)));
}

void CControlUI::SetManager(CPaintManagerUI* manager, CContainerUI* parent) {
  if (mManager != nullptr && mManager != manager) {
    mManager->UnindexControl(this);
  }
  const bool joins = manager != nullptr && manager != mManager;
  mManager = manager;
  mParent = parent;
  UpdateWidgetState();
  if (manager == nullptr) {
    mWidget->hide();
    return;
  }
  if (joins) {
    manager->IndexControl(this);
  }
  DoInit();
}

void CControlUI::ApplyVisibility() {
  const bool shown = mVisible && mManager != nullptr;
  if (mWidget->isHidden() == shown) {
    mWidget->setVisible(shown);
  }
}

void CControlUI::UpdateWidgetState() {
  if (mWidget->isEnabled() != mEnabled) {
    mWidget->setEnabled(mEnabled);
  }
  if (mWidget->focusPolicy() != Qt::NoFocus && !mKeyboard) {
    mWidget->setFocusPolicy(Qt::ClickFocus);
  }
}

SIZE CControlUI::GetClientSize() const {
  return SIZE{mWidget->width(), mWidget->height()};
}

int CControlUI::Scale(int value) const {
  return mManager != nullptr ? mManager->Scale(value) : value;
}

void CControlUI::PaintBkColor(QPainter& painter) {
  if ((mBkColor & 0xFF000000u) == 0) {
    return;
  }
  const QRectF area(0, 0, mWidget->width(), mWidget->height());
  if (mBorderRound > 0) {
    QPainterPath path;
    path.addRoundedRect(area, Scale(mBorderRound), Scale(mBorderRound));
    painter.fillPath(path, ToQColor(mBkColor));
  } else {
    painter.fillRect(area, ToQColor(mBkColor));
  }
}

void CControlUI::PaintBkImage(QPainter& painter) {
  if (!mBkImage.empty()) {
    DrawImage(painter, mBkImage);
  }
}

void CControlUI::PaintStatusImage(QPainter&) {}

void CControlUI::PaintText(QPainter&) {}

void CControlUI::PaintBorder(QPainter& painter) {
  if (mBorderSize <= 0 || (mBorderColor & 0xFF000000u) == 0) {
    return;
  }
  const qreal width = Scale(mBorderSize);
  QPen pen(ToQColor(mBorderColor));
  pen.setWidthF(width);
  painter.setPen(pen);
  painter.setBrush(Qt::NoBrush);
  const QRectF area = QRectF(0, 0, mWidget->width(), mWidget->height())
                          .adjusted(width / 2, width / 2, -width / 2, -width / 2);
  if (mBorderRound > 0) {
    painter.drawRoundedRect(area, Scale(mBorderRound), Scale(mBorderRound));
  } else {
    painter.drawRect(area);
  }
}

bool CControlUI::DrawImage(QPainter& painter, std::wstring_view image) {
  const ImageDescription description = ParseImageDescription(image);
  QRect dest(0, 0, mWidget->width(), mWidget->height());
  if (description.dest.Width() > 0 && description.dest.Height() > 0) {
    const RECT& d = description.dest;
    dest = QRect(Scale(d.left), Scale(d.top), Scale(d.Width()), Scale(d.Height()));
  }
  const int scale = mManager != nullptr ? mManager->GetScale() : 100;
  const double ratio = mManager != nullptr ? mManager->GetDevicePixelRatio() : 1.0;
  return DrawSkinImage(painter, description, dest, scale, ratio);
}

}  // namespace DuiLib
