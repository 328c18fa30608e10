// The display monitors as the window scale rule sees them: the primary screen, the virtual screen
// that spans all monitors, the monitor count and every monitor's rectangle, in device pixels (a
// 2560 x 1440 monitor is 2560 wide even where the desktop scales it by 150 %). Positions count
// from the primary monitor's corner.
#pragma once

#include <vector>

namespace platform {

struct ScreenRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  // Device pixels per logical (desktop) pixel on this monitor; 1 where the desktop does not scale.
  double pixelRatio = 1.0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
};

struct MonitorList {
  ScreenRect primary;        // (0, 0, primary width, primary height)
  ScreenRect virtualScreen;  // the bounding rectangle of all monitors
  int count = 0;
  std::vector<ScreenRect> monitors;  // in the order the system lists them
};

// The monitors of this session (UI thread; needs the application object).
MonitorList QueryMonitors();
// The work area (screen minus panels) of the monitor containing the point, or of the primary, in
// logical pixels like the point.
ScreenRect WorkAreaAt(int x, int y);

}  // namespace platform
