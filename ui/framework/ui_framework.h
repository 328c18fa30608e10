// Everything a window or a custom control needs from the framework.
#pragma once

#include "ui/framework/button.h"
#include "ui/framework/container.h"
#include "ui/framework/control.h"
#include "ui/framework/dialog_builder.h"
#include "ui/framework/edit.h"
#include "ui/framework/label.h"
#include "ui/framework/list.h"
#include "ui/framework/menu_wnd.h"
#include "ui/framework/notify.h"
#include "ui/framework/paint_manager.h"
#include "ui/framework/resource_manager.h"
#include "ui/framework/skin_changed.h"
#include "ui/framework/slider.h"
#include "ui/framework/ui_thread.h"
#include "ui/framework/ui_types.h"
#include "ui/framework/ui_utils.h"
#include "ui/framework/window_impl_base.h"

namespace DuiLib {

// Installs the message poster that delivers posted messages to windows. Call once on the UI
// thread after the application object exists; ShutdownUIFramework removes it, destroys the
// windows still waiting after Release and releases the framework's global resources (call it
// before the application object goes).
void InitUIFramework();
void ShutdownUIFramework();

}  // namespace DuiLib
