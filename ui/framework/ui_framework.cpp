#include "ui/framework/ui_framework.h"

#include <memory>

#include "platform/ui_poster.h"
#include "ui/framework/image_cache.h"
#include "ui/framework/window_registry.h"

namespace DuiLib {

void InitUIFramework() {
  platform::InstallPoster(std::make_shared<platform::UiThreadPoster>(DeliverPostedMessage));
}

void ShutdownUIFramework() {
  platform::InstallPoster(nullptr);
}

}  // namespace DuiLib
