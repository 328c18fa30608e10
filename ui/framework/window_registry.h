// The live windows by handle (framework only, UI thread). Handles are never reused, so a message
// for a window that is gone can never reach a newer one.
#pragma once

#include <vector>

#include "ui/framework/ui_types.h"

namespace DuiLib {

class WindowImplBase;

HWND RegisterWindow(WindowImplBase* window);
void UnregisterWindow(HWND handle);
WindowImplBase* FindWindow(HWND handle);
// Every live window, oldest first.
std::vector<WindowImplBase*> LiveWindows();
// Delivers a posted message to its window; a message for a window that is gone is dropped (and
// its record freed with it).
void DeliverPostedMessage(TMessageUI& message);

}  // namespace DuiLib
