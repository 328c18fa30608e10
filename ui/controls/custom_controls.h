// The controls of this folder by layout tag, for the windows' CreateControl.
#pragma once

#include <memory>
#include <string_view>

#include "ui/framework/control.h"

namespace ui {

// "Curve", "CurveAc", "SButton", "CircleProgress" or "CurveScale", in any case ("curve" too);
// null for any other tag.
std::unique_ptr<DuiLib::CControlUI> CreateCustomControl(std::wstring_view tag);

}  // namespace ui
