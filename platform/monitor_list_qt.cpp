#include <QGuiApplication>
#include <QScreen>

#include "platform/monitor_list.h"

namespace platform {
namespace {

ScreenRect ToScreenRect(const QRect& rect) {
  return ScreenRect{rect.left(), rect.top(), rect.left() + rect.width(),
                    rect.top() + rect.height()};
}

}  // namespace

MonitorList QueryMonitors() {
  MonitorList list;
  const QScreen* primary = QGuiApplication::primaryScreen();
  if (primary == nullptr) {
    return list;
  }
  // The primary monitor's corner is the origin of screen coordinates.
  const QRect primaryGeometry = primary->geometry();
  list.primary = ScreenRect{0, 0, primaryGeometry.width(), primaryGeometry.height()};
  const auto screens = QGuiApplication::screens();
  list.count = static_cast<int>(screens.size());
  QRect virtualGeometry;
  for (const QScreen* screen : screens) {
    const QRect geometry = screen->geometry().translated(-primaryGeometry.topLeft());
    virtualGeometry = virtualGeometry.united(geometry);
    list.monitors.push_back(ToScreenRect(geometry));
  }
  list.virtualScreen = ToScreenRect(virtualGeometry);
  return list;
}

ScreenRect WorkAreaAt(int x, int y) {
  const QScreen* primary = QGuiApplication::primaryScreen();
  if (primary == nullptr) {
    return {};
  }
  const QPoint origin = primary->geometry().topLeft();
  const QScreen* screen = QGuiApplication::screenAt(QPoint(x, y) + origin);
  if (screen == nullptr) {
    screen = primary;
  }
  return ToScreenRect(screen->availableGeometry().translated(-origin));
}

}  // namespace platform
