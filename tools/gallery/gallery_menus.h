// The pop-up menus of the main page, rendered to PNG files for looking at them.
#pragma once

#include <QString>

namespace gallery {

// Opens each menu of the main page at `scale` percent in the current language and writes it to
// DIR/menu_<menu>_<language>_<scale>.png. Returns the number of menus that could not be written.
int MenuScreenshots(const QString& dir, const char* language, int scale);

}  // namespace gallery
