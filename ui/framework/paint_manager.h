// CPaintManagerUI: the per-window side of the framework. It owns the window's controls, finds them
// by name, keeps the window's scale and fonts, and delivers control notifications to the window.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "ui/framework/control.h"
#include "ui/framework/notify.h"

class QFont;

namespace DuiLib {

class CContainerUI;
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
  // The first control of the window with that name (exact, case-sensitive), or null. Names are
  // kept in an index as controls join and leave the window (and as they are renamed), so a
  // look-up costs the same in a window of 800 controls as in one of 8.
  CControlUI* FindControl(std::wstring_view name) const;
  // The same, as the type the caller expects; null when absent or of another type.
  template <typename T>
  T* FindControl(std::wstring_view name) const {
    return dynamic_cast<T*>(FindControl(name));
  }

  // DPI value and the window scale derived from it: scale % = MulDiv(dpi, 100, 96). The scale is
  // meant in device pixels; image variants ("name@150.png") are chosen by it.
  int GetDPI() const { return mDpi; }
  int GetScale() const { return MulDiv(mDpi, 100, kDefaultDpi); }
  // Sets the DPI value; sizes, fonts and images follow at the next layout.
  void SetDPI(int dpi);
  // Device pixels per Qt logical pixel on the window's monitor (1 unless the desktop scales).
  double GetDevicePixelRatio() const { return mDevicePixelRatio; }
  void SetDevicePixelRatio(double ratio);
  // The scale in Qt's logical pixels, the unit widgets are placed and drawn in: the window scale
  // divided by the device pixel ratio, so that the scale is applied once. Equal to GetScale()
  // where the desktop does not scale. Custom controls size their drawing with this one.
  int GetLayoutScale() const;
  // A length in layout units at this window's scale, in logical pixels.
  int Scale(int value) const;

  // The window size the layout declares (100 %).
  SIZE GetInitSize() const { return mInitSize; }
  void SetInitSize(int cx, int cy) { mInitSize = {cx, cy}; }
  // The caption band of the layout (layout units; see skin/README.md).
  const RECT& GetCaptionRect() const { return mCaption; }
  void SetCaptionRect(RECT caption) { mCaption = caption; }
  DWORD GetWindowBkColor() const { return mWindowBkColor; }
  void SetWindowBkColor(DWORD argb) { mWindowBkColor = argb; }

  // Asks for a full relayout (every container, sizes and fonts) at the next turn of the event
  // loop. Changes of single controls (visibility, size, children) need not call it: they lay out
  // again only the container they belong to (CControlUI::NeedParentUpdate).
  void NeedUpdate();
  // Whether a layout (full, or of some containers) is waiting.
  bool IsUpdateNeeded() const { return mUpdateNeeded || !mDirty.empty(); }
  // Does the waiting layout now (nothing when none waits). Framework and tests; windows need not.
  void UpdateLayout();
  // Repaints every control of the window soon.
  void Invalidate();
  // Re-reads the language-dependent texts of native controls (edits, combos, tool tips) once
  // after each switch of the language; labels read theirs when they paint. Runs by itself at the
  // next layout or repaint of the window.
  void RefreshTextsIfLanguageChanged();

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
  // Lays the whole window out now.
  void Relayout();
  bool IsFullLayoutRunning() const { return mFullLayoutRunning; }
  // Queues the relayout of one container's children (CContainerUI::NeedLayout).
  void NeedLayout(CContainerUI* container);
  // The name index (CControlUI keeps it up to date as it joins, leaves and is renamed).
  void IndexControl(CControlUI* control);
  void UnindexControl(CControlUI* control);
  // Gives `control` the keyboard focus; false, with a log line, when it cannot take it (see
  // CControlUI::SetFocus).
  bool SetFocus(CControlUI* control);
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

  struct NameHash {
    using is_transparent = void;
    std::size_t operator()(std::wstring_view name) const {
      return std::hash<std::wstring_view>{}(name);
    }
  };
  using NameIndex =
      std::unordered_map<std::wstring, std::vector<CControlUI*>, NameHash, std::equal_to<>>;

  WindowHost* mHost = nullptr;
  std::unique_ptr<CControlUI> mRoot;
  NameIndex mNames;
  std::vector<CContainerUI*> mDirty;
  std::vector<INotifyUI*> mNotifiers;
  std::vector<COptionUI*> mOptions;
  std::map<int, TFontInfo> mFonts;
  int mDefaultFont = -1;
  std::unique_ptr<Timers> mTimers;
  std::vector<std::unique_ptr<CControlUI>> mReleased;
  int mDpi = kDefaultDpi;
  double mDevicePixelRatio = 1.0;
  int mLanguageGeneration = 0;
  SIZE mInitSize;
  RECT mCaption;
  DWORD mWindowBkColor = 0xFFFFFFFF;
  bool mUpdateNeeded = false;
  bool mFullLayoutRunning = false;
};

}  // namespace DuiLib
