// CPaintManagerUI: the per-window side of the framework. It owns the window's controls, finds them
// by name, keeps the window's scale and fonts, and delivers control notifications to the window.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/framework/control.h"
#include "ui/framework/notify.h"

class QFont;

namespace DuiLib {

class COptionUI;
class WindowHost;

inline constexpr int kDefaultDpi = 96;

struct TFontInfo {
  std::wstring family;
  int size = 12;  // pixels at 100 %
  bool bold = false;
  bool italic = false;
};

class CPaintManagerUI {
 public:
  CPaintManagerUI();
  ~CPaintManagerUI();
  CPaintManagerUI(const CPaintManagerUI&) = delete;
  CPaintManagerUI& operator=(const CPaintManagerUI&) = delete;

  // Runs the application's message loop until PostQuitMessage; returns its code.
  static int MessageLoop();
  static void PostQuitMessage(int code);

  CControlUI* GetRoot() const { return mRoot.get(); }
  // The first control of the window with that name (exact, case-sensitive), or null.
  CControlUI* FindControl(std::wstring_view name) const;
  // The same, as the type the caller expects; null when absent or of another type.
  template <typename T>
  T* FindControl(std::wstring_view name) const {
    return dynamic_cast<T*>(FindControl(name));
  }

  // DPI value and the scale derived from it: scale % = MulDiv(dpi, 100, 96).
  int GetDPI() const { return mDpi; }
  int GetScale() const { return MulDiv(mDpi, 100, kDefaultDpi); }
  // Sets the DPI value; sizes, fonts and images follow at the next layout.
  void SetDPI(int dpi);
  // A length in layout units at this window's scale.
  int Scale(int value) const { return MulDiv(value, GetScale(), 100); }

  // The window size the layout declares (100 %).
  SIZE GetInitSize() const { return mInitSize; }
  void SetInitSize(int cx, int cy) { mInitSize = {cx, cy}; }
  // The caption band of the layout (layout units; see skin/README.md).
  const RECT& GetCaptionRect() const { return mCaption; }
  void SetCaptionRect(RECT caption) { mCaption = caption; }
  DWORD GetWindowBkColor() const { return mWindowBkColor; }
  void SetWindowBkColor(DWORD argb) { mWindowBkColor = argb; }

  // Asks for a full relayout (texts, sizes, fonts) on the next paint.
  void NeedUpdate();
  bool IsUpdateNeeded() const { return mUpdateNeeded; }
  // Repaints every control of the window soon.
  void Invalidate();

  // Notifications: delivered at once to every registered receiver, in registration order.
  void AddNotifier(INotifyUI* notifier);
  void RemoveNotifier(INotifyUI* notifier);
  void SendNotify(CControlUI* sender, std::wstring_view type, WPARAM wParam = 0, LPARAM lParam = 0);

  // Fonts declared by the layout. A control whose font id is unknown gets the default font.
  void AddFont(int id, TFontInfo font, bool isDefault);
  QFont GetFont(int id) const;

  // A timer for a control: it receives UIEVENT_TIMER with `id` every `elapseMs`.
  bool SetTimer(CControlUI* control, UINT id, UINT elapseMs);
  void KillTimer(CControlUI* control, UINT id);
  void KillTimers(CControlUI* control);

  // The window these controls live in (0 before the window exists).
  HWND GetPaintWindow() const;

  // Framework use: wiring to the window, the layout's root, focus and option groups.
  void Init(WindowHost* host);
  WindowHost* GetHost() const { return mHost; }
  void AttachRoot(std::unique_ptr<CControlUI> root);
  void Relayout();
  void SetFocus(CControlUI* control);
  CControlUI* GetFocus() const;
  void RegisterOption(COptionUI* option);
  void UnregisterOption(COptionUI* option);
  // Deselects the other options of `option`'s group.
  void SelectInGroup(COptionUI* option);
  void ForgetControl(CControlUI* control);
  // Forgets `control` and everything inside it (timers, option groups) before it leaves.
  void ForgetSubtree(CControlUI* control);
  // Destroys a removed control on the next turn of the event loop, so a control may be removed
  // from inside its own notification.
  void ReleaseLater(std::unique_ptr<CControlUI> control);

 private:
  struct TimerKey {
    CControlUI* control;
    UINT id;
    bool operator<(const TimerKey& other) const {
      return control != other.control ? control < other.control : id < other.id;
    }
  };
  struct Timers;

  WindowHost* mHost = nullptr;
  std::unique_ptr<CControlUI> mRoot;
  std::vector<INotifyUI*> mNotifiers;
  std::vector<COptionUI*> mOptions;
  std::map<int, TFontInfo> mFonts;
  int mDefaultFont = -1;
  std::unique_ptr<Timers> mTimers;
  std::vector<std::unique_ptr<CControlUI>> mReleased;
  int mDpi = kDefaultDpi;
  SIZE mInitSize;
  RECT mCaption;
  DWORD mWindowBkColor = 0xFFFFFFFF;
  bool mUpdateNeeded = false;
};

}  // namespace DuiLib
