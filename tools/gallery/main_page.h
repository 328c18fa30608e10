// The gallery's main page: the main window's layout ("XML_MAIN" with the output table built into
// "channel_settings") in a plain window, filled with a two-way front, rear fill and subwoofer
// tuning so that every part of the page shows something worth looking at.
#pragma once

#include <memory>

#include "ui/framework/window_impl_base.h"

namespace gallery {

// Which output the page shows, and in which equaliser mode.
struct MainPageView {
  int output = 2;
  bool parametric = true;
};

// Null when the window could not be created.
std::unique_ptr<DuiLib::WindowImplBase> OpenMainPage(MainPageView view);

}  // namespace gallery
