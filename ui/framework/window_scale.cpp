#include "ui/framework/window_scale.h"

#include <algorithm>
#include <vector>

#include "platform/debug_log.h"

namespace DuiLib {
namespace {

struct ScaleStep {
  int dpi;
  bool (*applies)(int width, int height);
};

// Checked in this order; no match keeps the window's DPI (100 %).
constexpr ScaleStep kScaleSteps[] = {
    {77, [](int w, int h) { return w < 1280 || h < 720; }},
    {144, [](int w, int) { return w >= 1900 && w < 2460; }},
    {192, [](int w, int) { return w >= 2460 && w < 3690; }},
    {288, [](int w, int) { return w >= 3690; }},
};

RECT ToRect(const platform::ScreenRect& rect) {
  return RECT{rect.left, rect.top, rect.right, rect.bottom};
}

}  // namespace

WindowScaleChoice ChooseWindowScale(const platform::MonitorList& monitors) {
  const platform::ScreenRect& primary = monitors.primary;
  const platform::ScreenRect& virtualScreen = monitors.virtualScreen;
  DebugLog(L"m_MainScreen (%d,%d,%d,%d)\n", primary.left, primary.top, primary.right,
           primary.bottom);
  DebugLog(L"m_VirtualScreen (%d,%d,%d,%d)\n", virtualScreen.left, virtualScreen.top,
           virtualScreen.right, virtualScreen.bottom);

  // Secondary monitors: every one whose corner is not the origin, by left then top.
  std::vector<platform::ScreenRect> secondary;
  for (const auto& monitor : monitors.monitors) {
    if (monitor.left != 0 || monitor.top != 0) {
      secondary.push_back(monitor);
    }
  }
  std::stable_sort(secondary.begin(), secondary.end(), [](const auto& a, const auto& b) {
    return a.left != b.left ? a.left < b.left : a.top < b.top;
  });
  const std::size_t candidates =
      std::min(secondary.size(), static_cast<std::size_t>(std::max(monitors.count - 1, 0)));
  // Only a strictly wider monitor replaces the primary one.
  platform::ScreenRect chosen = primary;
  for (std::size_t i = 0; i < candidates; ++i) {
    if (secondary[i].Width() > chosen.Width()) {
      chosen = secondary[i];
    }
  }
  DebugLog(L"screen size %d x %d\n", chosen.right, chosen.bottom);

  WindowScaleChoice choice{ToRect(chosen), std::nullopt, chosen.pixelRatio};
  for (const ScaleStep& step : kScaleSteps) {
    if (step.applies(chosen.Width(), chosen.Height())) {
      choice.dpi = step.dpi;
      break;
    }
  }
  return choice;
}

}  // namespace DuiLib
