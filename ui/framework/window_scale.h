// The window scale rule: every window picks its scale from the widest monitor.
#pragma once

#include <optional>

#include "platform/monitor_list.h"
#include "ui/framework/ui_types.h"

namespace DuiLib {

struct WindowScaleChoice {
  RECT monitor;             // the chosen monitor (device pixels)
  std::optional<int> dpi;   // the DPI value to set; none keeps the window's current value
  double pixelRatio = 1.0;  // the chosen monitor's device pixels per logical pixel
};

// Chooses the monitor (the primary one, or a strictly wider secondary one) and the DPI value from
// its size in device pixels, logging the screens and the choice.
WindowScaleChoice ChooseWindowScale(const platform::MonitorList& monitors);

}  // namespace DuiLib
