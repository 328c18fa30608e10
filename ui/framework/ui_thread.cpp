#include "ui/framework/ui_thread.h"

#include <QCoreApplication>
#include <QThread>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "platform/debug_log.h"

namespace DuiLib {
namespace {

#ifdef NDEBUG
constexpr bool kChecksByDefault = false;
#else
constexpr bool kChecksByDefault = true;
#endif

std::atomic<bool> gChecks{kChecksByDefault};

struct ViolationHandler {
  std::mutex lock;
  UiThreadViolationHandler handler;
};

ViolationHandler& Handler() {
  static ViolationHandler handler;
  return handler;
}

void AbortOnViolation(const char* where) {
  DebugLogA("UI thread rule broken in %s\n", where);
  std::fprintf(
      stderr, "UI thread rule broken in %s: controls and windows belong to the UI thread\n", where);
  std::abort();
}

}  // namespace

bool IsUiThread() {
  const QCoreApplication* app = QCoreApplication::instance();
  return app == nullptr || QThread::currentThread() == app->thread();
}

void RunOnUiThread(std::function<void()> work) {
  if (!work) {
    return;
  }
  QCoreApplication* app = QCoreApplication::instance();
  if (app == nullptr || IsUiThread()) {
    work();
    return;
  }
  QMetaObject::invokeMethod(app, std::move(work), Qt::QueuedConnection);
}

void EnableUiThreadChecks(bool enabled) {
  gChecks.store(enabled, std::memory_order_relaxed);
}

bool AreUiThreadChecksEnabled() {
  return gChecks.load(std::memory_order_relaxed);
}

void SetUiThreadViolationHandler(UiThreadViolationHandler handler) {
  ViolationHandler& stored = Handler();
  const std::lock_guard<std::mutex> guard(stored.lock);
  stored.handler = std::move(handler);
}

bool CheckUiThread(const char* where) {
  if (!gChecks.load(std::memory_order_relaxed) || IsUiThread()) {
    return true;
  }
  UiThreadViolationHandler handler;
  {
    ViolationHandler& stored = Handler();
    const std::lock_guard<std::mutex> guard(stored.lock);
    handler = stored.handler;
  }
  if (handler) {
    handler(where);
  } else {
    AbortOnViolation(where);
  }
  return false;
}

}  // namespace DuiLib
