// CControlUI: the base of every control of a layout. A control keeps its own state (name, text,
// user data, colours, sizes) and draws itself on a native widget that the framework manages;
// windows and custom controls never touch that widget.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "ui/framework/ui_types.h"

class QPainter;
class QWidget;

namespace DuiLib {

class CContainerUI;
class CPaintManagerUI;

enum UIEVENT_TYPE {
  UIEVENT_MOUSEENTER,
  UIEVENT_MOUSELEAVE,
  UIEVENT_MOUSEMOVE,
  UIEVENT_BUTTONDOWN,
  UIEVENT_BUTTONUP,
  UIEVENT_DBLCLICK,
  UIEVENT_RBUTTONDOWN,
  UIEVENT_SCROLLWHEEL,
  UIEVENT_KEYDOWN,
  UIEVENT_SETFOCUS,
  UIEVENT_KILLFOCUS,
  UIEVENT_TIMER,
};

// Input as a control sees it. Mouse points are in the control's own pixels (0,0 = its corner).
struct TEventUI {
  UIEVENT_TYPE Type = UIEVENT_MOUSEMOVE;
  POINT ptMouse;
  WPARAM wParam = 0;  // key code, timer id, or wheel direction (1 up, 0 down)
  bool bLeftButton = false;
};

class CControlUI {
 public:
  CControlUI();
  virtual ~CControlUI();
  CControlUI(const CControlUI&) = delete;
  CControlUI& operator=(const CControlUI&) = delete;

  // The layout tag of this kind of control ("Button", "Curve" ...).
  virtual std::wstring_view GetClass() const { return L"Control"; }
  // This control when it is of the kind named `name` ("Control" for every control; custom
  // controls add their own interface names), else null.
  virtual CControlUI* GetInterface(std::wstring_view name) {
    return name == L"Control" ? this : nullptr;
  }

  const std::wstring& GetName() const { return mName; }
  void SetName(std::wstring_view name);

  // The text as shown: a "${key}" text comes back in the current language.
  virtual std::wstring GetText() const;
  virtual void SetText(std::wstring_view text);
  // The text exactly as it was set or written in the layout.
  const std::wstring& GetRawText() const { return mText; }

  const std::wstring& GetUserData() const { return mUserData; }
  void SetUserData(std::wstring_view userData);
  // The user data read as a decimal integer (0 when it is not a number).
  int GetUserDataIndex() const;

  const std::wstring& GetToolTip() const { return mToolTip; }
  void SetToolTip(std::wstring_view text);

  bool IsEnabled() const { return mEnabled; }
  virtual void SetEnabled(bool enabled = true);
  // Visibility is a flag: IsVisible answers at once, the window follows at its next layout (the
  // turn of the event loop after the handler). So hiding and showing a control within one handler
  // changes nothing on screen and keeps, for example, the mouse grab of a slider being dragged.
  bool IsVisible() const { return mVisible; }
  virtual void SetVisible(bool visible = true);
  // This control and every container above it are visible (flags, as IsVisible).
  bool IsVisibleInTree() const;
  bool IsFocused() const;
  // Gives this control the keyboard focus. False (and a log line saying why) when it cannot take
  // it: not in a window, disabled, or hidden itself or inside a hidden container.
  virtual bool SetFocus();

  DWORD GetBkColor() const { return mBkColor; }
  void SetBkColor(DWORD argb);
  const std::wstring& GetBkImage() const { return mBkImage; }
  void SetBkImage(std::wstring_view image);
  DWORD GetBorderColor() const { return mBorderColor; }
  void SetBorderColor(DWORD argb);
  int GetBorderSize() const { return mBorderSize; }
  void SetBorderSize(int size);

  // Sizes are in layout units (100 %); 0 means "take a share of the room left over".
  int GetFixedWidth() const { return mFixedWidth; }
  void SetFixedWidth(int width);
  int GetFixedHeight() const { return mFixedHeight; }
  void SetFixedHeight(int height);
  int GetMinWidth() const { return mMinWidth; }
  int GetMaxWidth() const { return mMaxWidth; }
  int GetMinHeight() const { return mMinHeight; }
  int GetMaxHeight() const { return mMaxHeight; }
  const RECT& GetPadding() const { return mPadding; }
  void SetPadding(RECT padding);
  bool IsFloat() const { return mFloat; }
  void SetFloat(bool isFloat);
  // For a floating control: its place in the parent, in layout units.
  const RECT& GetFloatPos() const { return mFloatPos; }
  void SetFloatPos(RECT pos);

  // Position in the window's client pixels, as last laid out.
  RECT GetPos() const;
  // Framework use: places the control inside its parent (parent pixels).
  virtual void SetPos(RECT rc);

  // One layout attribute ("text", "width", "bkcolor" ...). Derived controls add their own and
  // pass the rest on.
  virtual void SetAttribute(std::wstring_view name, std::wstring_view value);

  // The virtual window (page) whose receiver gets this control's notifications: the control's
  // own "virtualwnd" attribute, else its parent's.
  std::wstring GetVirtualWnd() const;
  void SetVirtualWnd(std::wstring_view name) { mVirtualWnd = name; }

  CContainerUI* GetParent() const { return mParent; }
  CPaintManagerUI* GetManager() const { return mManager; }

  // Repaint soon / place the parent's children again at the next layout (only that container).
  void Invalidate();
  void NeedParentUpdate();

  // Drawing, in the control's own pixels. Custom controls override DoPaint or one of its steps.
  virtual void DoPaint(QPainter& painter);
  // Input; the default keeps the hot state and reports focus changes.
  virtual void DoEvent(TEventUI& event);

  // Called once the control belongs to a window (its manager is known).
  virtual void DoInit() {}
  // Whether mouse presses stop at this control; the others pass them to their parent (so a
  // click on a row's label selects the row, and a press on a caption label drags the window).
  virtual bool IsMouseTarget() const { return true; }
  // Re-reads language-dependent texts (after the language changed).
  virtual void RefreshText();

  // Framework use: wiring into a window.
  virtual void SetManager(CPaintManagerUI* manager, CContainerUI* parent);
  QWidget* GetWidget() const { return mWidget.get(); }
  // Framework use (layout): shows or hides the widget as the visibility flag says.
  virtual void ApplyVisibility();

 protected:
  // Controls drawn by a native widget of their own pass it here.
  explicit CControlUI(std::unique_ptr<QWidget> widget);

  virtual void PaintBkColor(QPainter& painter);
  virtual void PaintBkImage(QPainter& painter);
  virtual void PaintStatusImage(QPainter& painter);
  virtual void PaintText(QPainter& painter);
  virtual void PaintBorder(QPainter& painter);

  // Draws an image description ("file.png" or "file='...' source='...' dest='...'") into the
  // control; returns false when the image cannot be loaded.
  bool DrawImage(QPainter& painter, std::wstring_view image);

  bool IsHot() const { return mHot; }
  bool IsPushed() const { return mPushed; }
  void SetPushed(bool pushed) { mPushed = pushed; }
  // Width and height of the widget in pixels.
  SIZE GetClientSize() const;
  // A length in layout units at the window's scale.
  int Scale(int value) const;
  // Applies the enabled state and the focus policy to the widget after a change (visibility
  // follows at the next layout, see SetVisible).
  virtual void UpdateWidgetState();

 private:
  std::unique_ptr<QWidget> mWidget;
  CPaintManagerUI* mManager = nullptr;
  CContainerUI* mParent = nullptr;
  std::wstring mName;
  std::wstring mText;
  std::wstring mUserData;
  std::wstring mToolTip;
  std::wstring mBkImage;
  std::wstring mVirtualWnd;
  DWORD mBkColor = 0;
  DWORD mBorderColor = 0;
  int mBorderSize = 0;
  int mBorderRound = 0;
  int mFixedWidth = 0;
  int mFixedHeight = 0;
  int mMinWidth = 0;
  int mMaxWidth = 0;
  int mMinHeight = 0;
  int mMaxHeight = 0;
  RECT mPadding;
  RECT mFloatPos;
  bool mFloat = false;
  bool mEnabled = true;
  bool mVisible = true;
  bool mKeyboard = true;
  bool mHot = false;
  bool mPushed = false;
};

}  // namespace DuiLib
