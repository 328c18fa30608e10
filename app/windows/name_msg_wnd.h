// CNameMsgWnd: entry of a stored scene's name.
#pragma once

#include <cstddef>
#include <string>

#include "ui/framework/window_impl_base.h"

namespace ui {

class CNameMsgWnd : public DuiLib::WindowImplBase {
 public:
  // The edit starts with `name`. Confirm (button or Enter) writes the entered text, cut to
  // `capacity` UTF-16 code units, into `name` and returns 1; otherwise 0 and `name` is unchanged.
  static int Show(DuiLib::HWND owner, std::wstring& name, std::size_t capacity);

  CNameMsgWnd(std::wstring& name, std::size_t capacity);

 protected:
  std::wstring GetWindowClassName() const override { return L"NameMsgWnd"; }
  std::wstring GetSkinFile() override { return L"XML_MSG_NAME"; }
  void InitWindow() override;
  void Notify(DuiLib::TNotifyUI& msg) override;
  DuiLib::LRESULT MessageHandler(DuiLib::TMessageUI& msg, bool& bHandled) override;

 private:
  void Confirm();

  std::wstring& mName;
  const std::size_t mCapacity;
};

}  // namespace ui
