#include "ui/framework/window_impl_base.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWindow>
#include <algorithm>
#include <vector>

#include "platform/debug_log.h"
#include "platform/monitor_list.h"
#include "ui/framework/qt_convert.h"
#include "ui/framework/screen_point.h"
#include "ui/framework/ui_thread.h"
#include "ui/framework/ui_utils.h"
#include "ui/framework/window_host.h"
#include "ui/framework/window_registry.h"
#include "ui/framework/window_scale.h"

namespace DuiLib {
namespace {

constexpr std::wstring_view kLayoutErrorTitle = L"Duilib";
constexpr std::wstring_view kLayoutErrorText = L"加载资源文件失败：";
constexpr int kLayoutErrorExitCode = 1;

bool IsDefault(int value) {
  return value == CW_USEDEFAULT;
}

// Windows handed to Release, waiting for their modal loops to unwind.
std::vector<std::unique_ptr<WindowImplBase>>& ReleasedWindows() {
  static std::vector<std::unique_ptr<WindowImplBase>> windows;
  return windows;
}

}  // namespace

HWND FindWindowByTitle(std::wstring_view title, bool ignoreCase) {
  for (WindowImplBase* window : LiveWindows()) {
    const std::wstring text = window->GetWindowText();
    if (ignoreCase ? EqualsNoCase(text, title) : text == title) {
      return window->GetHWND();
    }
  }
  return 0;
}

WindowImplBase::WindowImplBase() = default;

WindowImplBase::~WindowImplBase() {
  *mAlive = false;
  if (mHandle != 0) {
    UnregisterWindow(mHandle);
    mHandle = 0;
  }
  mPaintManager.RemoveNotifier(this);
  if (mHost) {
    mHost->Detach();
    mHost->hide();
  }
  // Controls (children of the native window) go first, then the native window.
  mPaintManager.AttachRoot(nullptr);
  mPaintManager.Init(nullptr);
  if (mHost && mHost->IsDispatching() && QCoreApplication::instance() != nullptr) {
    // One of the host's own handlers is on the stack: it goes once that has returned.
    mHost.release()->deleteLater();
  }
  mHost.reset();
}

HWND WindowImplBase::Create(HWND parent, std::wstring_view title, DWORD style, DWORD exStyle, int x,
                            int y, int cx, int cy) {
  if (!CheckUiThread("WindowImplBase::Create")) {
    return 0;
  }
  if (mHost) {
    return mHandle;  // a window object makes one native window in its life
  }
  mParent = parent;
  mStyle = style;
  mExStyle = exStyle;
  mHost = std::make_unique<WindowHost>(this);
  Qt::WindowFlags flags = Qt::Window | Qt::FramelessWindowHint;
  if ((exStyle & WS_EX_TOOLWINDOW) != 0) {
    flags |= Qt::Tool;
  }
  mHost->setWindowFlags(flags);
  mHost->setWindowTitle(ToQString(title));
  mHost->setObjectName(ToQString(GetWindowClassName()));
  if (WindowImplBase* owner = FindWindow(parent); owner != nullptr && owner->mHost) {
    mHost->winId();
    mHost->windowHandle()->setTransientParent(owner->mHost->windowHandle());
  }
  mPaintManager.Init(mHost.get());

  const std::wstring layout = GetSkinFile();
  CDialogBuilder builder;
  std::unique_ptr<CControlUI> root = builder.Create(layout, this, &mPaintManager);
  if (!root) {
    DebugLog(L"layout %ls: %ls\n", layout.c_str(), builder.GetError().c_str());
    mPaintManager.Init(nullptr);
    mHost.reset();
    ReportFatalError(kLayoutErrorTitle, std::wstring(kLayoutErrorText) + layout,
                     kLayoutErrorExitCode);
    return 0;
  }
  mHandle = RegisterWindow(this);
  mPaintManager.AddNotifier(this);
  ApplyWindowScale();

  const SIZE init = mPaintManager.GetInitSize();
  const int width = cx > 0 && !IsDefault(cx) ? cx : mPaintManager.Scale(init.cx);
  const int height = cy > 0 && !IsDefault(cy) ? cy : mPaintManager.Scale(init.cy);
  const QPoint corner = ToGlobal(POINT{IsDefault(x) ? 0 : x, IsDefault(y) ? 0 : y});
  mHost->setGeometry(corner.x(), corner.y(), std::max(width, 1), std::max(height, 1));
  mPaintManager.AttachRoot(std::move(root));
  InitWindow();
  if ((style & WS_VISIBLE) != 0) {
    ShowWindow(true, true);
  }
  return mHandle;
}

void WindowImplBase::ApplyWindowScale() {
  const WindowScaleChoice choice = ChooseWindowScale(platform::QueryMonitors());
  mScaleMonitor = choice.monitor;
  if (choice.dpi) {
    mPaintManager.SetDPI(*choice.dpi);
  }
  mPaintManager.SetDevicePixelRatio(choice.pixelRatio);
}

void WindowImplBase::CenterWindow() {
  if (!mHost) {
    return;
  }
  const QPoint origin = PrimaryScreenOrigin();
  QRect over;
  const WindowImplBase* owner = FindWindow(mParent);
  if (owner != nullptr && owner->mHost && owner->mHost->isVisible()) {
    over = owner->mHost->frameGeometry();
  } else {
    // Without an owner: the work area of the monitor the window stands on.
    const QPoint own = mHost->geometry().center() - origin;
    const platform::ScreenRect area = platform::WorkAreaAt(own.x(), own.y());
    over = ToQRect(RECT{area.left, area.top, area.right, area.bottom}).translated(origin);
  }
  const QPoint centre = over.center() - origin;
  const platform::ScreenRect area = platform::WorkAreaAt(centre.x(), centre.y());
  const QRect work = ToQRect(RECT{area.left, area.top, area.right, area.bottom}).translated(origin);
  QRect placed(QPoint(), mHost->size());
  placed.moveCenter(over.center());
  // Kept inside the work area; a window larger than it keeps its top-left corner visible.
  placed.moveLeft(
      std::max(work.left(), std::min(placed.left(), work.right() + 1 - placed.width())));
  placed.moveTop(std::max(work.top(), std::min(placed.top(), work.bottom() + 1 - placed.height())));
  mHost->move(placed.topLeft());
}

UINT WindowImplBase::ShowModal() {
  if (!CheckUiThread("WindowImplBase::ShowModal") || !mHost) {
    return static_cast<UINT>(-1);
  }
  if (mHandle == 0) {
    return mCloseCode;  // closed before its loop started
  }
  mHost->setWindowModality(Qt::ApplicationModal);
  ShowWindow(true, true);
  const std::shared_ptr<bool> alive = mAlive;
  ++mModalDepth;
  const UINT code = mHost->RunModal();
  if (!*alive) {
    return code;  // destroyed by a handler inside the loop
  }
  --mModalDepth;
  if (mReleased) {
    DestroyWhenUnwound();
  }
  return code;
}

void WindowImplBase::Release(std::unique_ptr<WindowImplBase> window, UINT code) {
  if (!window) {
    return;
  }
  if (!CheckUiThread("WindowImplBase::Release")) {
    // Never destroyed on another thread: rather lost than torn down where it cannot be.
    static_cast<void>(window.release());
    return;
  }
  WindowImplBase* released = window.get();
  released->mReleased = true;
  ReleasedWindows().push_back(std::move(window));
  if (released->mHandle != 0) {
    released->Close(code);  // FinishClose goes on to DestroyWhenUnwound
  } else {
    released->DestroyWhenUnwound();
  }
}

void WindowImplBase::DestroyWhenUnwound() {
  if (mModalDepth > 0) {
    return;  // ShowModal calls again once its loop has returned
  }
  const auto destroy = [window = this] {
    auto& windows = ReleasedWindows();
    const auto found = std::find_if(windows.begin(), windows.end(),
                                    [window](const auto& owned) { return owned.get() == window; });
    if (found == windows.end()) {
      return;
    }
    // Out of the list before it goes: its destructor may release other windows.
    const std::unique_ptr<WindowImplBase> doomed = std::move(*found);
    windows.erase(found);
  };
  if (QCoreApplication::instance() == nullptr) {
    destroy();
    return;
  }
  QMetaObject::invokeMethod(QCoreApplication::instance(), destroy, Qt::QueuedConnection);
}

void WindowImplBase::DestroyReleasedWindows() {
  std::vector<std::unique_ptr<WindowImplBase>> windows;
  windows.swap(ReleasedWindows());
  windows.clear();
}

void WindowImplBase::Close(UINT code) {
  if (mHost && mHandle != 0) {
    mHost->PostClose(code);
  }
}

void WindowImplBase::DispatchMessage(TMessageUI& msg) {
  if (msg.id == WM_KEYDOWN) {
    bool handled = false;
    MessageHandler(msg, handled);
    return;
  }
  bool handled = false;
  HandleCustomMessage(msg, handled);
  // A released window closes whatever its handler says.
  if (handled && !(msg.id == WM_CLOSE && mReleased)) {
    return;
  }
  if (msg.id == WM_CLOSE) {
    FinishClose(static_cast<UINT>(msg.wParam));
  } else if (msg.id == WM_SYSCOMMAND && msg.wParam == SC_CLOSE) {
    Close(0);
  } else if (msg.id == WM_SYSCOMMAND && msg.wParam == SC_MINIMIZE) {
    ShowWindowCmd(SW_SHOWMINIMIZED);
  }
}

void WindowImplBase::FinishClose(UINT code) {
  if (mHandle == 0) {
    return;
  }
  // From here on the window is gone: messages still on their way to it are dropped.
  UnregisterWindow(mHandle);
  mHandle = 0;
  mCloseCode = code;
  mHost->StopAllTimers();
  mHost->hide();
  OnDestroy();
  mHost->EndModal(code);
  if (mReleased) {
    DestroyWhenUnwound();
  }
}

void WindowImplBase::ShowWindow(bool bShow, bool bTakeFocus) {
  if (!mHost) {
    return;
  }
  if (!bShow) {
    mHost->hide();
    return;
  }
  mHost->show();
  if (bTakeFocus) {
    mHost->raise();
    mHost->activateWindow();
  }
  TMessageUI shown{mHandle, WM_SHOWWINDOW, 1, 0, nullptr};
  bool handled = false;
  HandleCustomMessage(shown, handled);
}

void WindowImplBase::ShowWindowCmd(int nCmdShow) {
  if (!mHost) {
    return;
  }
  switch (nCmdShow) {
    case SW_HIDE:
      mHost->hide();
      break;
    case SW_SHOWMINIMIZED:
      mHost->showMinimized();
      break;
    case SW_SHOWNORMAL:
      mHost->showNormal();
      break;
    default:
      ShowWindow(true, true);
      break;
  }
}

std::wstring WindowImplBase::GetWindowText() const {
  return mHost ? ToWString(mHost->windowTitle()) : std::wstring();
}

void WindowImplBase::SetWindowStyle(DWORD style) {
  mStyle = style;
}

RECT WindowImplBase::GetWindowRect() const {
  if (!mHost) {
    return {};
  }
  return ToRect(mHost->geometry().translated(-PrimaryScreenOrigin()));
}

void WindowImplBase::SetWindowPos(int x, int y, int cx, int cy) {
  if (mHost) {
    mHost->setGeometry(QRect(ToGlobal(POINT{x, y}), QSize(cx, cy)));
  }
}

POINT WindowImplBase::ClientToScreen(POINT point) const {
  if (!mHost) {
    return point;
  }
  return FromGlobal(mHost->mapToGlobal(QPoint(point.x, point.y)));
}

bool WindowImplBase::IsWindowVisible() const {
  return mHost && mHost->isVisible();
}

bool WindowImplBase::SetTimer(UINT id, UINT elapseMs) {
  return mHost && mHandle != 0 && mHost->StartTimer(id, elapseMs);
}

void WindowImplBase::KillTimer(UINT id) {
  if (mHost) {
    mHost->StopTimer(id);
  }
}

void WindowImplBase::AddVirtualWnd(std::wstring_view name, INotifyUI* page) {
  mVirtualWnds[std::wstring(name)] = page;
}

void WindowImplBase::RemoveVirtualWnd(std::wstring_view name) {
  if (const auto found = mVirtualWnds.find(name); found != mVirtualWnds.end()) {
    mVirtualWnds.erase(found);
  }
}

void WindowImplBase::Notify(TNotifyUI& msg) {
  if (msg.pSender != nullptr && !mVirtualWnds.empty()) {
    const std::wstring page = msg.pSender->GetVirtualWnd();
    if (const auto found = mVirtualWnds.find(page); !page.empty() && found != mVirtualWnds.end()) {
      found->second->Notify(msg);
      return;
    }
  }
  if (msg.sType == DUI_MSGTYPE_CLICK) {
    OnClick(msg);
  }
}

void WindowImplBase::OnClick(TNotifyUI& msg) {
  const std::wstring& name = msg.pSender->GetName();
  if (name == L"closebtn") {
    Close(0);
  } else if (name == L"minbtn") {
    ShowWindowCmd(SW_SHOWMINIMIZED);
  }
}

LRESULT WindowImplBase::HandleCustomMessage(TMessageUI&, bool& bHandled) {
  bHandled = false;
  return 0;
}

LRESULT WindowImplBase::MessageHandler(TMessageUI& msg, bool& bHandled) {
  // Escape never closes a window by itself; Enter goes on to the focused control.
  if (msg.id == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
    bHandled = true;
  }
  return 0;
}

}  // namespace DuiLib
