// CMsgCheckBoxWnd: a message with two exclusive options, answered by the confirm button.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "ui/framework/window_impl_base.h"

namespace ui {

class CMsgCheckBoxWnd : public DuiLib::WindowImplBase {
 public:
  // Returns 0 when cancelled or closed, 1 when the first option was chosen, 2 for the second.
  static int Show(DuiLib::HWND owner, std::wstring_view title, std::wstring_view text,
                  const std::array<std::wstring, 2>& options);

  // Sets the title and the text (empty keeps the layout's); the option texts only when both are
  // given.
  void SetMessage(std::wstring_view title, std::wstring_view text,
                  const std::array<std::wstring, 2>& options);

 protected:
  std::wstring GetWindowClassName() const override { return L"MsgCheckBoxWnd"; }
  std::wstring GetSkinFile() override { return L"XML_CHECKBOX_MSG"; }
  void Notify(DuiLib::TNotifyUI& msg) override;
};

}  // namespace ui
