// Parsing of layout attribute values (framework only).
#pragma once

#include <string_view>

#include "ui/framework/ui_types.h"

namespace DuiLib {

// "l,t,r,b"; missing parts are 0.
RECT ParseRect(std::wstring_view value);
// "w,h".
SIZE ParseSize(std::wstring_view value);
// "#AARRGGBB", "#RRGGBB" (opaque) or "0xAARRGGBB".
DWORD ParseColor(std::wstring_view value);
bool ParseBool(std::wstring_view value);
int ParseInt(std::wstring_view value);

}  // namespace DuiLib
