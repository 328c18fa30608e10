// Pop-up menus built from a menu layout ("xml/option_menu.xml"). A chosen item is posted to the
// owner window as platform::msg::kMenuClick (1027) carrying a MenuCmd record.
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

// One item of an open menu; changes show at once.
class CMenuElementUI {
 public:
  explicit CMenuElementUI(QAction* action, std::wstring name, std::wstring userData,
                          std::wstring text);
  const std::wstring& GetName() const { return mName; }
  const std::wstring& GetUserData() const { return mUserData; }
  std::wstring GetText() const;
  void SetText(std::wstring_view text);
  void SetIcon(std::wstring_view image);  // empty removes the icon
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
};

class CMenuWnd {
 public:
  CMenuWnd();
  ~CMenuWnd();
  CMenuWnd(const CMenuWnd&) = delete;
  CMenuWnd& operator=(const CMenuWnd&) = delete;

  // Builds the menu from `xml` and shows it at `point` (screen pixels) for `owner`. A menu that is
  // open anywhere in the program is closed first. False when the menu layout cannot be read.
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
