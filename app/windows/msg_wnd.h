// CMsgWnd: the message box (one to three buttons) and the yes/no question box.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "ui/framework/window_impl_base.h"

namespace ui {

class CMsgWnd : public DuiLib::WindowImplBase {
 public:
  // Message box over `owner`: sets the title and the text (empty keeps the layout's), the confirm
  // button's text, and shows cancel from two buttons on and the third button from three on.
  // Returns the close code: 1 confirm, 0 cancel or close, 2 third.
  static int MessageBox(DuiLib::HWND owner, std::wstring_view title, std::wstring_view text,
                        const std::array<std::wstring, 3>& buttons, int count);
  // Question box: the layout's own confirm and cancel buttons; 1 means confirm.
  static int QuestionBox(DuiLib::HWND owner, std::wstring_view title, std::wstring_view text);

  // For windows that open the box themselves (the gallery): the same steps, without showing it.
  void SetMessage(std::wstring_view title, std::wstring_view text);
  void SetButtons(const std::array<std::wstring, 3>& buttons, int count);

 protected:
  std::wstring GetWindowClassName() const override { return L"MsgWnd"; }
  std::wstring GetSkinFile() override { return L"XML_MSG"; }
  void Notify(DuiLib::TNotifyUI& msg) override;
};

// Creates a small dialog with the style every dialog has, owned by `owner`.
bool CreateDialogWindow(DuiLib::WindowImplBase& window, DuiLib::HWND owner,
                        std::wstring_view title);
// The close code of the standard dialog buttons, or -1 when `name` is none of them:
// "confirm_btn" (any case) 1, "cancel_btn" 0, "third_btn" 2.
int DialogButtonCode(std::wstring_view name);

}  // namespace ui
