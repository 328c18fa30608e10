// CLoadingWnd: shown modally while a worker talks to the unit; the window that opened it closes
// it (code 1) when the worker reports that it is done.
#pragma once

#include <string>

#include "ui/framework/window_impl_base.h"

namespace ui {

class CLoadingWnd : public DuiLib::WindowImplBase {
 public:
  // Creates the window over `owner`, centred, ready for ShowModal.
  bool Open(DuiLib::HWND owner);

 protected:
  std::wstring GetWindowClassName() const override { return L"LoadingWnd"; }
  std::wstring GetSkinFile() override { return L"XML_LOADING"; }
  void InitWindow() override;
  DuiLib::LRESULT HandleCustomMessage(DuiLib::TMessageUI& msg, bool& bHandled) override;
  void OnDestroy() override;

 private:
  // The bar runs from empty to full over and over while the window is open.
  int mActivity = 0;
};

}  // namespace ui
