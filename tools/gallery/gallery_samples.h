// The windows vexaro-gallery shows: each sample creates its window, fills it as its real opener
// would, and hands it back ready to be shown.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/framework/window_impl_base.h"

namespace gallery {

struct Sample {
  std::string name;  // file name stem of its screenshots
  std::function<std::unique_ptr<DuiLib::WindowImplBase>()> open;  // null when creation failed
};

std::vector<Sample> DialogSamples();

}  // namespace gallery
