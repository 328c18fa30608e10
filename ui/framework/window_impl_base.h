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
// may be destroyed once ShowModal has returned (or after Close for a modeless window), never from
// inside one of its own handlers.
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
  // closed; -1 for one never created).
  UINT ShowModal();
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

  std::unique_ptr<WindowHost> mHost;
  std::map<std::wstring, INotifyUI*, std::less<>> mVirtualWnds;
  HWND mHandle = 0;
  HWND mParent = 0;
  DWORD mStyle = 0;
  DWORD mExStyle = 0;
  RECT mScaleMonitor;
  UINT mCloseCode = 0;
};

}  // namespace DuiLib
