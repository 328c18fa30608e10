// Screen points as windows give and take them (ClientToScreen, GetWindowRect, a menu's point)
// count from the primary monitor's top-left corner; Qt's global coordinates count from the virtual
// desktop's origin, which differs whenever the primary monitor does not stand there. These two are
// the only conversions between them (framework only).
#pragma once

#include <QGuiApplication>
#include <QPoint>
#include <QScreen>

#include "ui/framework/ui_types.h"

namespace DuiLib {

inline QPoint PrimaryScreenOrigin() {
  const QScreen* primary = QGuiApplication::primaryScreen();
  return primary != nullptr ? primary->geometry().topLeft() : QPoint();
}

inline QPoint ToGlobal(POINT screen) {
  return QPoint(screen.x, screen.y) + PrimaryScreenOrigin();
}

inline POINT FromGlobal(QPoint global) {
  const QPoint screen = global - PrimaryScreenOrigin();
  return POINT{screen.x(), screen.y()};
}

}  // namespace DuiLib
