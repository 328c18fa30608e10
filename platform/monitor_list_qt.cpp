#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <cmath>

#include "platform/monitor_list.h"

namespace platform {
namespace {

ScreenRect ToScreenRect(const QRect& rect) {
  return ScreenRect{rect.left(), rect.top(), rect.left() + rect.width(),
                    rect.top() + rect.height()};
}

// A length in logical pixels back in device pixels. Qt rounded the device length divided by the
// ratio; rounding the product down undoes that (2560 / 1.5 = 1707 logical, 1707 * 1.5 = 2560.5).
int DeviceLength(int logical, double ratio) {
  return static_cast<int>(std::floor(logical * ratio + 1e-6));
}

// A screen's rectangle in device pixels. Qt keeps a scaled screen's corner where the system puts
// it and divides only its size by the ratio.
ScreenRect DeviceRect(const QScreen& screen, QPoint origin) {
  const QRect geometry = screen.geometry();
  const double ratio = screen.devicePixelRatio();
  const QPoint corner = geometry.topLeft() - origin;
  ScreenRect rect{corner.x(), corner.y(), corner.x() + DeviceLength(geometry.width(), ratio),
                  corner.y() + DeviceLength(geometry.height(), ratio)};
  rect.pixelRatio = ratio;
  return rect;
}

}  // namespace

MonitorList QueryMonitors() {
  MonitorList list;
  const QScreen* primary = QGuiApplication::primaryScreen();
  if (primary == nullptr) {
    return list;
  }
  // The primary monitor's corner is the origin of screen coordinates.
  const QPoint origin = primary->geometry().topLeft();
  list.primary = DeviceRect(*primary, origin);
  const auto screens = QGuiApplication::screens();
  list.count = static_cast<int>(screens.size());
  ScreenRect bounds = list.primary;
  for (const QScreen* screen : screens) {
    const ScreenRect rect = DeviceRect(*screen, origin);
    bounds.left = std::min(bounds.left, rect.left);
    bounds.top = std::min(bounds.top, rect.top);
    bounds.right = std::max(bounds.right, rect.right);
    bounds.bottom = std::max(bounds.bottom, rect.bottom);
    list.monitors.push_back(rect);
  }
  list.virtualScreen = ScreenRect{bounds.left, bounds.top, bounds.right, bounds.bottom};
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
