// Pop-up menus built from a menu layout ("xml/option_menu.xml"). A chosen item is posted to the
// owner window as platform::msg::kMenuClick (1027) carrying a MenuCmd record.
//
// A menu whose items depend on the state is loaded, edited, then shown:
//
//   mRoleMenu.Load(GetHWND(), L"xml/role_menu.xml", mPaintManager.GetScale());
//   mRoleMenu.FindMenuItem(L"role_sub")->SetEnabled(false);
//   mRoleMenu.FindMenuItem(L"role_front_left")->SetChecked(true);
//   mRoleMenu.Show(ClientToScreen(point));
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/post_message.h"
#include "ui/framework/ui_types.h"

class QAction;
class QMenu;

namespace DuiLib {

// The record of a clicked menu item; fields are cut to the capacities the windows rely on.
struct MenuCmd : platform::NotificationRecord {
  static constexpr std::size_t kNameCapacity = 256;
  static constexpr std::size_t kUserDataCapacity = 1024;
  static constexpr std::size_t kTextCapacity = 1024;
  std::wstring szName;
  std::wstring szUserData;
  std::wstring szText;
  bool bChecked = false;
};

// One item of a menu, loaded or open; changes show at once.
class CMenuElementUI {
 public:
  // `scale` and `pixelRatio` are those of the owner window; icons are drawn for them.
  CMenuElementUI(QAction* action, std::wstring name, std::wstring userData, std::wstring text,
                 int scale, double pixelRatio);
  const std::wstring& GetName() const { return mName; }
  const std::wstring& GetUserData() const { return mUserData; }
  std::wstring GetText() const;
  void SetText(std::wstring_view text);
  // The icon, in the variant of the menu's scale (an SVG icon is rendered at the icon's size);
  // empty removes it.
  void SetIcon(std::wstring_view image);
  void SetEnabled(bool enabled);
  bool IsEnabled() const;
  void SetVisible(bool visible);
  bool IsVisible() const;
  void SetChecked(bool checked);
  bool GetChecked() const;
  // Acts as if the user chose the item.
  void Activate();

 private:
  QAction* mAction;
  std::wstring mName;
  std::wstring mUserData;
  std::wstring mText;
  int mScale;
  double mPixelRatio;
};

class CMenuWnd {
 public:
  CMenuWnd();
  ~CMenuWnd();
  CMenuWnd(const CMenuWnd&) = delete;
  CMenuWnd& operator=(const CMenuWnd&) = delete;

  // Builds the menu from `xml` for `owner` without showing it, so that its items can be changed
  // first (FindMenuItem). `scale` is the owner window's scale (CPaintManagerUI::GetScale); the
  // font and the icons follow it. False when the menu layout cannot be read.
  bool Load(HWND owner, std::wstring_view xml, int scale = 100);
  // Shows the loaded menu with its corner at `point`, in screen pixels as ClientToScreen gives
  // them. A menu open anywhere in the program is closed first. False when nothing is loaded.
  bool Show(POINT point);
  // Load, then Show.
  bool Init(HWND owner, std::wstring_view xml, POINT point, int scale = 100);
  // An item of this menu (at any depth) by name, or null.
  CMenuElementUI* FindMenuItem(std::wstring_view name);
  bool IsOpen() const;
  void Close();

 private:
  struct Impl;
  std::unique_ptr<Impl> mImpl;
};

}  // namespace DuiLib
