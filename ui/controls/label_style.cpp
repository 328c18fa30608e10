#include "ui/controls/label_style.h"

#include <QFontMetrics>
#include <QPainter>
#include <cwchar>
#include <string>

#include "ui/framework/qt_convert.h"
#include "ui/framework/ui_utils.h"

namespace ui {
namespace {

using DuiLib::EqualsNoCase;

bool Contains(std::wstring_view text, std::wstring_view word) {
  return text.find(word) != std::wstring_view::npos;
}

}  // namespace

DuiLib::DWORD ParseArgb(std::wstring_view text) {
  if (!text.empty() && text.front() == L'#') {
    text.remove_prefix(1);
  }
  const std::wstring digits(text);
  wchar_t* end = nullptr;
  const unsigned long value = std::wcstoul(digits.c_str(), &end, 16);
  return end == digits.c_str() ? 0 : static_cast<DuiLib::DWORD>(value);
}

bool LabelStyle::SetAttribute(std::wstring_view name, std::wstring_view value) {
  if (EqualsNoCase(name, L"align")) {
    // Each word found wins over the ones checked before it.
    if (Contains(value, L"left")) {
      hAlign = HAlign::Left;
    }
    if (Contains(value, L"center")) {
      hAlign = HAlign::Center;
    }
    if (Contains(value, L"right")) {
      hAlign = HAlign::Right;
    }
  } else if (EqualsNoCase(name, L"valign")) {
    if (Contains(value, L"top")) {
      vAlign = VAlign::Top;
    }
    if (Contains(value, L"vcenter")) {
      vAlign = VAlign::Center;
    }
    if (Contains(value, L"bottom")) {
      vAlign = VAlign::Bottom;
    }
  } else if (EqualsNoCase(name, L"endellipsis")) {
    endEllipsis = value == L"true";
  } else if (EqualsNoCase(name, L"wordbreak")) {
    wordBreak = value == L"true";
  } else if (EqualsNoCase(name, L"noprefix")) {
    noPrefix = value == L"true";
  } else if (EqualsNoCase(name, L"font")) {
    font = DuiLib::StrToInt(value);
  } else if (EqualsNoCase(name, L"textcolor")) {
    textColor = ParseArgb(value);
  } else if (EqualsNoCase(name, L"disabledtextcolor")) {
    disabledTextColor = ParseArgb(value);
  } else if (EqualsNoCase(name, L"textpadding")) {
    std::wstring parts(value);
    int values[4] = {0, 0, 0, 0};
    wchar_t* cursor = parts.data();
    for (int& part : values) {
      wchar_t* end = nullptr;
      part = static_cast<int>(std::wcstol(cursor, &end, 10));
      cursor = (*end == L',') ? end + 1 : end;
    }
    textPadding = DuiLib::RECT{values[0], values[1], values[2], values[3]};
  } else if (EqualsNoCase(name, L"autocalcwidth")) {
    autoCalcWidth = value == L"true";
  } else {
    return false;
  }
  return true;
}

void LabelStyle::Draw(QPainter& painter, const QFont& qfont, const DuiLib::RECT& rc,
                      const DuiLib::RECT& padding, std::wstring_view text,
                      DuiLib::DWORD color) const {
  const QRect area(rc.left + padding.left, rc.top + padding.top,
                   rc.Width() - padding.left - padding.right,
                   rc.Height() - padding.top - padding.bottom);
  int flags = hAlign == HAlign::Left    ? Qt::AlignLeft
              : hAlign == HAlign::Right ? Qt::AlignRight
                                        : Qt::AlignHCenter;
  flags |= vAlign == VAlign::Top      ? Qt::AlignTop
           : vAlign == VAlign::Bottom ? Qt::AlignBottom
                                      : Qt::AlignVCenter;
  flags |= wordBreak ? Qt::TextWordWrap : Qt::TextSingleLine;
  if (!noPrefix) {
    flags |= Qt::TextShowMnemonic;
  }
  QString shown = DuiLib::ToQString(text);
  if (endEllipsis && !wordBreak) {
    shown = QFontMetrics(qfont).elidedText(shown, Qt::ElideRight, area.width());
  }
  painter.setFont(qfont);
  painter.setPen(DuiLib::ToQColor(color));
  painter.drawText(area, flags, shown);
}

}  // namespace ui
