// The gallery's page of custom controls: the curve editor fed with computed curves and answering
// its own edits as the main window does, the calibration display, selectable buttons and the round
// progress indicator.
#pragma once

#include <memory>

#include "ui/framework/window_impl_base.h"

namespace gallery {

// Null when the window could not be created.
std::unique_ptr<DuiLib::WindowImplBase> OpenControlsPage();

}  // namespace gallery
