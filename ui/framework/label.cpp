#include "ui/framework/label.h"

#include <QFontMetrics>
#include <QPainter>
#include <QWidget>

#include "ui/framework/attribute_parse.h"
#include "ui/framework/paint_manager.h"
#include "ui/framework/qt_convert.h"

namespace DuiLib {

void CLabelUI::SetTextColor(DWORD argb) {
  mTextColor = argb;
  Invalidate();
}

void CLabelUI::SetDisabledTextColor(DWORD argb) {
  mDisabledTextColor = argb;
  Invalidate();
}

void CLabelUI::SetFont(int id) {
  mFont = id;
  Invalidate();
}

void CLabelUI::SetTextAlign(TextAlign align) {
  mAlign = align;
  Invalidate();
}

void CLabelUI::SetTextVAlign(TextVAlign align) {
  mVAlign = align;
  Invalidate();
}

void CLabelUI::SetTextPadding(RECT padding) {
  mTextPadding = padding;
  Invalidate();
}

void CLabelUI::SetMultiLine(bool multiLine) {
  mMultiLine = multiLine;
  Invalidate();
}

void CLabelUI::SizeToText() {
  if (GetManager() == nullptr) {
    return;
  }
  const QFontMetrics metrics(GetManager()->GetFont(mFont));
  const int scale = GetManager()->GetLayoutScale();
  // Back to layout units, rounding up so the text is never cut.
  const auto toLayout = [scale](int pixels) { return (pixels * 100 + scale - 1) / scale + 1; };
  if (mMultiLine) {
    const RECT area = TextRect();
    if (area.Width() <= 0) {
      return;
    }
    const QRect needed = metrics.boundingRect(QRect(0, 0, area.Width(), 1 << 20), Qt::TextWordWrap,
                                              ToQString(GetText()));
    SetFixedHeight(toLayout(needed.height()) + mTextPadding.top + mTextPadding.bottom);
    return;
  }
  const int pixels = metrics.horizontalAdvance(ToQString(GetText()));
  SetFixedWidth(toLayout(pixels) + mTextPadding.left + mTextPadding.right);
}

void CLabelUI::SetAttribute(std::wstring_view name, std::wstring_view value) {
  if (name == L"textcolor") {
    SetTextColor(ParseColor(value));
  } else if (name == L"disabledtextcolor") {
    SetDisabledTextColor(ParseColor(value));
  } else if (name == L"font") {
    SetFont(ParseInt(value));
  } else if (name == L"align") {
    SetTextAlign(value == L"center"  ? TextAlign::Center
                 : value == L"right" ? TextAlign::Right
                                     : TextAlign::Left);
  } else if (name == L"valign") {
    SetTextVAlign(value == L"top"      ? TextVAlign::Top
                  : value == L"bottom" ? TextVAlign::Bottom
                                       : TextVAlign::Center);
  } else if (name == L"textpadding") {
    SetTextPadding(ParseRect(value));
  } else if (name == L"multiline") {
    SetMultiLine(ParseBool(value));
  } else if (name == L"endellipsis") {
    mEndEllipsis = ParseBool(value);
  } else {
    CControlUI::SetAttribute(name, value);
  }
}

DWORD CLabelUI::CurrentTextColor() const {
  return IsEnabled() ? mTextColor : mDisabledTextColor;
}

RECT CLabelUI::TextRect() const {
  const SIZE size = GetClientSize();
  return RECT{Scale(mTextPadding.left), Scale(mTextPadding.top),
              size.cx - Scale(mTextPadding.right), size.cy - Scale(mTextPadding.bottom)};
}

void CLabelUI::PaintText(QPainter& painter) {
  const std::wstring text = GetText();
  if (!text.empty()) {
    DrawText(painter, TextRect(), text, CurrentTextColor());
  }
}

void CLabelUI::DrawText(QPainter& painter, const RECT& rc, std::wstring_view text,
                        DWORD color) const {
  const QFont font = GetManager() != nullptr ? GetManager()->GetFont(CurrentFont()) : QFont();
  painter.setFont(font);
  painter.setPen(ToQColor(color));
  int flags = mAlign == TextAlign::Center  ? Qt::AlignHCenter
              : mAlign == TextAlign::Right ? Qt::AlignRight
                                           : Qt::AlignLeft;
  flags |= mVAlign == TextVAlign::Top      ? Qt::AlignTop
           : mVAlign == TextVAlign::Bottom ? Qt::AlignBottom
                                           : Qt::AlignVCenter;
  const QRect area = ToQRect(rc);
  QString shown = ToQString(text);
  if (mMultiLine) {
    flags |= Qt::TextWordWrap;
  } else if (mEndEllipsis) {
    shown = QFontMetrics(font).elidedText(shown, Qt::ElideRight, area.width());
  }
  painter.drawText(area, flags, shown);
}

CTextUI::CTextUI() {
  SetMultiLine(true);
  SetTextVAlign(TextVAlign::Top);
}

}  // namespace DuiLib
