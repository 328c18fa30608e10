#include "ui/framework/ui_framework.h"

#include <QGuiApplication>
#include <QScreen>
#include <memory>

#include "platform/ui_poster.h"
#include "ui/framework/image_cache.h"
#include "ui/framework/window_registry.h"

namespace DuiLib {

namespace {

// A change of the monitors reaches every window as WM_DISPLAYCHANGE.
void PostDisplayChange() {
  for (WindowImplBase* window : LiveWindows()) {
    platform::PostMessage(window->GetHWND(), WM_DISPLAYCHANGE, 0);
  }
}

void WatchScreen(QScreen* screen) {
  QObject::connect(screen, &QScreen::geometryChanged, qApp, PostDisplayChange);
}

}  // namespace

void InitUIFramework() {
  platform::InstallPoster(std::make_shared<platform::UiThreadPoster>(DeliverPostedMessage));
  for (QScreen* screen : QGuiApplication::screens()) {
    WatchScreen(screen);
  }
  QObject::connect(qApp, &QGuiApplication::screenAdded, qApp, [](QScreen* screen) {
    WatchScreen(screen);
    PostDisplayChange();
  });
  QObject::connect(qApp, &QGuiApplication::screenRemoved, qApp, PostDisplayChange);
  QObject::connect(qApp, &QGuiApplication::primaryScreenChanged, qApp, PostDisplayChange);
}

void ShutdownUIFramework() {
  WindowImplBase::DestroyReleasedWindows();
  platform::InstallPoster(nullptr);
}

}  // namespace DuiLib
