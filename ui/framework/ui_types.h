// Small value types and constants shared by every window and control: rectangles, points, colours,
// window styles, message ids and key codes, with the values the windows have always used.
#pragma once

#include <cstdint>

#include "platform/post_message.h"
#include "platform/window_messages.h"

namespace DuiLib {

using UINT = std::uint32_t;
using DWORD = std::uint32_t;  // colours are 0xAARRGGBB
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using HWND = platform::WindowHandle;

struct POINT {
  int x = 0;
  int y = 0;
};

struct SIZE {
  int cx = 0;
  int cy = 0;
};

struct RECT {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const RECT&) const = default;
};

// a * b / c rounded to the nearest integer, as window scale percentages are derived from DPI
// values.
int MulDiv(int a, int b, int c);

// Window styles given to WindowImplBase::Create.
inline constexpr DWORD WS_POPUP = 0x80000000;
inline constexpr DWORD WS_VISIBLE = 0x10000000;
inline constexpr DWORD WS_CLIPCHILDREN = 0x02000000;
inline constexpr DWORD WS_OVERLAPPEDWINDOW = 0x00CF0000;
inline constexpr DWORD WS_THICKFRAME = 0x00040000;
inline constexpr DWORD WS_MAXIMIZEBOX = 0x00010000;
inline constexpr DWORD WS_EX_TOOLWINDOW = 0x00000080;
// Every dialog: a pop-up that clips its children.
inline constexpr DWORD UI_WNDSTYLE_DIALOG = WS_POPUP | WS_CLIPCHILDREN;
inline constexpr DWORD UI_WNDSTYLE_FRAME = WS_VISIBLE | WS_OVERLAPPEDWINDOW;
// Position or size "let the window decide": dialogs take the layout's declared size.
inline constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000);

// Window messages the framework itself sends to HandleCustomMessage or MessageHandler.
inline constexpr UINT WM_CLOSE = 0x0010;
inline constexpr UINT WM_SHOWWINDOW = 0x0018;
inline constexpr UINT WM_DISPLAYCHANGE = 0x007E;
inline constexpr UINT WM_KEYDOWN = 0x0100;
inline constexpr UINT WM_TIMER = 0x0113;
inline constexpr UINT WM_SYSCOMMAND = 0x0112;
inline constexpr UINT WM_DEVICECHANGE = 0x0219;
inline constexpr UINT WM_KILLFOCUS = 0x0008;
using platform::WM_USER;

// WM_SYSCOMMAND codes.
inline constexpr WPARAM SC_MINIMIZE = 0xF020;
inline constexpr WPARAM SC_CLOSE = 0xF060;

// ShowWindow commands.
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_SHOWMINIMIZED = 2;
inline constexpr int SW_SHOW = 5;

// Virtual key codes carried in WM_KEYDOWN's wParam.
inline constexpr WPARAM VK_BACK = 0x08;
inline constexpr WPARAM VK_TAB = 0x09;
inline constexpr WPARAM VK_RETURN = 0x0D;
inline constexpr WPARAM VK_ESCAPE = 0x1B;
inline constexpr WPARAM VK_LEFT = 0x25;
inline constexpr WPARAM VK_UP = 0x26;
inline constexpr WPARAM VK_RIGHT = 0x27;
inline constexpr WPARAM VK_DOWN = 0x28;

// A window message as a window's handlers see it: id, wParam, the plain lParam (`value`) and,
// for posted notifications, the owned record. A handler that keeps the record moves it out;
// whatever is left is freed when the handler returns.
using TMessageUI = platform::PostedMessage;

}  // namespace DuiLib
