#include "ui/framework/window_registry.h"

#include <map>

#include "ui/framework/window_impl_base.h"

namespace DuiLib {
namespace {

struct Registry {
  std::map<HWND, WindowImplBase*> windows;
  HWND next = 1;
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

}  // namespace

HWND RegisterWindow(WindowImplBase* window) {
  Registry& registry = TheRegistry();
  const HWND handle = registry.next++;
  registry.windows[handle] = window;
  return handle;
}

void UnregisterWindow(HWND handle) {
  TheRegistry().windows.erase(handle);
}

WindowImplBase* FindWindow(HWND handle) {
  const auto& windows = TheRegistry().windows;
  const auto found = windows.find(handle);
  return found != windows.end() ? found->second : nullptr;
}

std::vector<WindowImplBase*> LiveWindows() {
  std::vector<WindowImplBase*> windows;
  for (const auto& [handle, window] : TheRegistry().windows) {
    windows.push_back(window);
  }
  return windows;
}

void DeliverPostedMessage(TMessageUI& message) {
  if (WindowImplBase* window = FindWindow(message.window)) {
    window->DispatchMessage(message);
  }
}

}  // namespace DuiLib
