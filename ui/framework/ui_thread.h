// The UI-thread rule: windows and controls are touched only on the thread that runs the UI (the
// thread of the application object). Worker threads never call into a window or a control; they
// post a message to a window (platform::PostMessage) or hand a piece of work to RunOnUiThread.
//
//   // on a worker thread
//   DuiLib::RunOnUiThread([hwnd, text] { ... FindControl, SetText ... });
//
// The framework checks the rule at its entry points (Invalidate, notifications, Create,
// ShowModal, FindControl, text look-up). The checks are on in debug builds and in the tests
// (EnableUiThreadChecks); a call that breaks the rule is reported and then does nothing.
#pragma once

#include <functional>

namespace DuiLib {

// True on the UI thread, and on any thread while no application object exists.
bool IsUiThread();

// Runs `work` on the UI thread: at once when called there, otherwise queued to the UI thread's
// event loop behind the events already queued. Callable from any thread. Work still queued when
// the application object goes is dropped.
void RunOnUiThread(std::function<void()> work);

// Switches the checks on or off for the whole process (default: on in debug builds only).
void EnableUiThreadChecks(bool enabled);
bool AreUiThreadChecksEnabled();

// What a broken rule does: the default logs the entry point and aborts the program. Tests install
// a handler that records it; null restores the default. Called on the offending thread.
using UiThreadViolationHandler = std::function<void(const char* where)>;
void SetUiThreadViolationHandler(UiThreadViolationHandler handler);

// The check at an entry point named `where`: true when the caller may go on (on the UI thread,
// or checks off). Otherwise the violation is reported and the entry point must return at once.
bool CheckUiThread(const char* where);

}  // namespace DuiLib
