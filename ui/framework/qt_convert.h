// Conversions between the framework's wide strings and Qt's strings and types (framework only).
#pragma once

#include <QColor>
#include <QRect>
#include <QString>
#include <string>
#include <string_view>

#include "ui/framework/ui_types.h"

namespace DuiLib {

inline QString ToQString(std::wstring_view text) {
  return QString::fromWCharArray(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::wstring ToWString(const QString& text) {
  return text.toStdWString();
}

inline std::string ToUtf8(std::wstring_view text) {
  return ToQString(text).toStdString();
}

inline QColor ToQColor(DWORD argb) {
  return QColor::fromRgba(static_cast<QRgb>(argb));
}

// A colour as style sheets write it: "rgba(r,g,b,a)".
inline QString ToCssColor(DWORD argb) {
  const QColor color = ToQColor(argb);
  return QStringLiteral("rgba(%1,%2,%3,%4)")
      .arg(color.red())
      .arg(color.green())
      .arg(color.blue())
      .arg(color.alpha());
}

inline QRect ToQRect(const RECT& rc) {
  return QRect(rc.left, rc.top, rc.Width(), rc.Height());
}

inline RECT ToRect(const QRect& rc) {
  return RECT{rc.left(), rc.top(), rc.left() + rc.width(), rc.top() + rc.height()};
}

}  // namespace DuiLib
