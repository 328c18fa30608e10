// Control notifications and the small interfaces a window implements to receive them.
#pragma once

#include <string>
#include <string_view>

#include "ui/framework/ui_types.h"

namespace DuiLib {

class CControlUI;

// Notification types; the type string travels with the sending control.
inline constexpr std::wstring_view DUI_MSGTYPE_CLICK = L"click";
inline constexpr std::wstring_view DUI_MSGTYPE_SELECTCHANGED = L"selectchanged";
inline constexpr std::wstring_view DUI_MSGTYPE_ITEMSELECT = L"itemselect";
inline constexpr std::wstring_view DUI_MSGTYPE_ITEMCLICK = L"itemclick";
inline constexpr std::wstring_view DUI_MSGTYPE_ITEMACTIVATE = L"itemactivate";
inline constexpr std::wstring_view DUI_MSGTYPE_VALUECHANGED = L"valuechanged";
inline constexpr std::wstring_view DUI_MSGTYPE_MOVEVALUECHANGED = L"movevaluechanged";
inline constexpr std::wstring_view DUI_MSGTYPE_VALUECHANGED_UP = L"valuechangedup";
inline constexpr std::wstring_view DUI_MSGTYPE_VALUECHANGED_DOWN = L"valuechangeddown";
inline constexpr std::wstring_view DUI_MSGTYPE_VALUECHANGED_LEFT = L"valuechangedleft";
inline constexpr std::wstring_view DUI_MSGTYPE_VALUECHANGED_RIGHT = L"valuechangedright";
inline constexpr std::wstring_view DUI_MSGTYPE_RETURN = L"return";
inline constexpr std::wstring_view DUI_MSGTYPE_KILLFOCUS = L"killfocus";
inline constexpr std::wstring_view DUI_MSGTYPE_SETFOCUS = L"setfocus";
inline constexpr std::wstring_view DUI_MSGTYPE_EQUALIZER_EQ = L"equalizer_eq";
inline constexpr std::wstring_view DUI_MSGTYPE_EQUALIZER_HP = L"equalizer_hp";
inline constexpr std::wstring_view DUI_MSGTYPE_EQUALIZER_LP = L"equalizer_lp";

struct TNotifyUI {
  std::wstring sType;
  CControlUI* pSender = nullptr;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
};

// Receives control notifications (a window, or a page registered under a virtual window name).
class INotifyUI {
 public:
  virtual ~INotifyUI() = default;
  virtual void Notify(TNotifyUI& msg) = 0;
};

// Sees window messages before the controls do; setting `bHandled` consumes the message.
class IMessageFilterUI {
 public:
  virtual ~IMessageFilterUI() = default;
  virtual LRESULT MessageHandler(TMessageUI& msg, bool& bHandled) = 0;
};

// Supplies the text of a language key the current table lacks; an empty result means "none".
// Registered with CResourceManager::SetTextQueryInterface; destroying it unregisters it.
class IQueryControlText {
 public:
  virtual ~IQueryControlText();
  virtual std::wstring QueryControlText(std::wstring_view key) = 0;
};

}  // namespace DuiLib
