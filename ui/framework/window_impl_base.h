// WindowImplBase: the base of every window. A window names its class and its layout, builds on
// InitWindow, reacts to notifications in Notify and to window messages in HandleCustomMessage.
//
//   class CMsgWnd : public WindowImplBase {
//     std::wstring GetWindowClassName() const override { return L"MsgWnd"; }
//     std::wstring GetSkinFile() override { return L"XML_MSG"; }
//     void InitWindow() override { ... }
//     void Notify(TNotifyUI& msg) override { ...; WindowImplBase::Notify(msg); }
//   };
//   CMsgWnd wnd;
//   wnd.Create(owner, L"msgwnd", UI_WNDSTYLE_DIALOG, WS_EX_TOOLWINDOW);
//   wnd.CenterWindow();
//   UINT code = wnd.ShowModal();
//
// The window object owns its native window and controls. Call Close to end a window; the object
// may be destroyed once ShowModal has returned (or after Close for a modeless window).
//
// Ending a window from elsewhere while its modal loop runs. A window shown by one handler and
// ended by a later message (the loading window: shown on 1274, closed with code 1 on 1275) is
// owned through a std::unique_ptr and handed to Release when it is no longer wanted:
//
//   case 1274: {
//     if (mLoading) break;                    // one loading window at a time
//     mLoading = std::make_unique<CLoadingWnd>();
//     CLoadingWnd* loading = mLoading.get();
//     if (!loading->Open(GetHWND())) { mLoading.reset(); break; }
//     loading->ShowModal();                   // runs until 1275 (or the user closes it)
//     if (mLoading.get() == loading) WindowImplBase::Release(std::move(mLoading));
//     break;
//   }
//   case 1275:
//     WindowImplBase::Release(std::move(mLoading), 1);  // closes it with code 1
//     break;
//
// Release closes the window and destroys it only after its last ShowModal has returned and the
// event loop has turned once more, so the pointer kept by the handler that runs ShowModal stays
// valid for that comparison, and a second 1274 arriving while the first loop is still on the
// stack simply opens a new window. Destroying a window directly inside its modal loop (from
// another window's handler) is safe too, but never destroy a window from one of its own handlers:
// hand it to Release.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "ui/framework/dialog_builder.h"
#include "ui/framework/notify.h"
#include "ui/framework/paint_manager.h"
#include "ui/framework/ui_types.h"

namespace DuiLib {

class WindowHost;

// The first live window whose title equals `title` (optionally ignoring case), or 0.
HWND FindWindowByTitle(std::wstring_view title, bool ignoreCase = false);

class WindowImplBase : public INotifyUI,
                       public IMessageFilterUI,
                       public IDialogBuilderCallback,
                       public IQueryControlText {
 public:
  WindowImplBase();
  ~WindowImplBase() override;
  WindowImplBase(const WindowImplBase&) = delete;
  WindowImplBase& operator=(const WindowImplBase&) = delete;

  // Creates the window, builds its layout, applies the window scale rule and runs InitWindow.
  // A size of 0 (or CW_USEDEFAULT) takes the layout's declared size at the window's scale.
  // Returns the window handle, or 0 when the layout could not be built (after the fatal error
  // handler has run; see SetFatalErrorHandler).
  HWND Create(HWND parent, std::wstring_view title, DWORD style, DWORD exStyle,
              int x = CW_USEDEFAULT, int y = CW_USEDEFAULT, int cx = 0, int cy = 0);
  // Centres the window over its owner (without one, on the work area of the monitor it stands
  // on), kept inside the work area of that monitor.
  void CenterWindow();
  // Shows the window modally and runs a nested loop, which keeps dispatching posted messages to
  // every window, until Close; returns the code given to Close (at once for a window already
  // closed; -1 for one never created). The window may be released or destroyed by a handler while
  // the loop runs; ShowModal then touches nothing of it after the loop.
  UINT ShowModal();
  // Whether a ShowModal of this window is running (on the stack).
  bool IsModalRunning() const { return mModalDepth > 0; }
  // Hands `window` to the framework, which closes it with `code` (WM_CLOSE still reaches
  // HandleCustomMessage but cannot keep it open) and destroys it once no ShowModal of it is on the
  // stack, on a later turn of the event loop. Safe from any handler, the window's own included.
  static void Release(std::unique_ptr<WindowImplBase> window, UINT code = 0);
  // Ends the window: WM_CLOSE reaches HandleCustomMessage first; unless it is marked handled the
  // window is hidden, OnDestroy runs and a running ShowModal returns `code`.
  void Close(UINT code = 1);
  void ShowWindow(bool bShow = true, bool bTakeFocus = true);
  // SW_HIDE, SW_SHOW, SW_SHOWNORMAL, SW_SHOWMINIMIZED.
  void ShowWindowCmd(int nCmdShow);

  HWND GetHWND() const { return mHandle; }
  HWND GetParentHWND() const { return mParent; }
  std::wstring GetWindowText() const;
  DWORD GetWindowStyle() const { return mStyle; }
  void SetWindowStyle(DWORD style);
  RECT GetWindowRect() const;
  void SetWindowPos(int x, int y, int cx, int cy);
  // A point in the window's client pixels as a screen point.
  POINT ClientToScreen(POINT point) const;
  bool IsWindowVisible() const;

  // Window timers: WM_TIMER with wParam = id reaches HandleCustomMessage every `elapseMs`.
  bool SetTimer(UINT id, UINT elapseMs);
  void KillTimer(UINT id);

  // The monitor the window scale rule chose at creation (screen pixels).
  const RECT& GetScaleMonitor() const { return mScaleMonitor; }

  CPaintManagerUI& GetPaintManager() { return mPaintManager; }

  // A page of the window: notifications of controls marked virtualwnd="name" (or inside such a
  // container) go to `page` from the base Notify instead of the standard handling.
  void AddVirtualWnd(std::wstring_view name, INotifyUI* page);
  void RemoveVirtualWnd(std::wstring_view name);

  // Framework use: a message for this window (posted, timer, close, key filter).
  void DispatchMessage(TMessageUI& msg);
  // Framework use: destroys the windows handed to Release that are still waiting (shutdown).
  static void DestroyReleasedWindows();

 protected:
  virtual std::wstring GetWindowClassName() const = 0;
  // The layout id (resource index) or path of the window's layout.
  virtual std::wstring GetSkinFile() = 0;
  // Runs once the layout is built and the scale chosen, before Create returns.
  virtual void InitWindow() {}
  // The default hands the notification to the sender's virtual window if it has one, else handles
  // "click" with OnClick.
  void Notify(TNotifyUI& msg) override;
  // Standard clicks: "closebtn" closes with code 0, "minbtn" minimises.
  virtual void OnClick(TNotifyUI& msg);
  // Window messages the base does not consume; set bHandled to stop the default handling.
  virtual LRESULT HandleCustomMessage(TMessageUI& msg, bool& bHandled);
  // Sees key presses (WM_KEYDOWN, wParam = VK_ code) before the focused control; the default
  // consumes Escape.
  LRESULT MessageHandler(TMessageUI& msg, bool& bHandled) override;
  // The native window is gone (closed); the object and its controls still exist.
  virtual void OnDestroy() {}
  std::unique_ptr<CControlUI> CreateControl(std::wstring_view) override { return nullptr; }
  std::wstring QueryControlText(std::wstring_view) override { return {}; }

  CPaintManagerUI mPaintManager;

 private:
  friend class WindowHost;
  void ApplyWindowScale();
  void FinishClose(UINT code);
  // Destroys a released window on a later turn of the event loop once nothing of it runs.
  void DestroyWhenUnwound();

  std::unique_ptr<WindowHost> mHost;
  // Cleared by the destructor; a running ShowModal keeps a copy to know whether it may go on.
  std::shared_ptr<bool> mAlive = std::make_shared<bool>(true);
  std::map<std::wstring, INotifyUI*, std::less<>> mVirtualWnds;
  HWND mHandle = 0;
  HWND mParent = 0;
  DWORD mStyle = 0;
  DWORD mExStyle = 0;
  RECT mScaleMonitor;
  UINT mCloseCode = 0;
  int mModalDepth = 0;
  bool mReleased = false;
};

}  // namespace DuiLib
