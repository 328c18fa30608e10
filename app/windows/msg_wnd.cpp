#include "app/windows/msg_wnd.h"

#include "app/windows/dialog_rules.h"
#include "ui/framework/ui_utils.h"

namespace ui {

using namespace DuiLib;

bool CreateDialogWindow(WindowImplBase& window, HWND owner, std::wstring_view title) {
  if (window.Create(owner, title, UI_WNDSTYLE_DIALOG, WS_EX_TOOLWINDOW) == 0) {
    return false;
  }
  window.CenterWindow();
  return true;
}

int DialogButtonCode(std::wstring_view name) {
  if (EqualsNoCase(name, L"confirm_btn")) {
    return kCloseConfirm;
  }
  if (name == L"cancel_btn") {
    return kCloseCancel;
  }
  if (name == L"third_btn") {
    return kCloseThird;
  }
  return -1;
}

int CMsgWnd::MessageBox(HWND owner, std::wstring_view title, std::wstring_view text,
                        const std::array<std::wstring, 3>& buttons, int count) {
  CMsgWnd wnd;
  if (!CreateDialogWindow(wnd, owner, L"msgwnd")) {
    return kCloseCancel;
  }
  wnd.SetMessage(title, text);
  wnd.SetButtons(buttons, count);
  return static_cast<int>(wnd.ShowModal());
}

int CMsgWnd::QuestionBox(HWND owner, std::wstring_view title, std::wstring_view text) {
  CMsgWnd wnd;
  if (!CreateDialogWindow(wnd, owner, L"msgwnd")) {
    return kCloseCancel;
  }
  wnd.SetMessage(title, text);
  return static_cast<int>(wnd.ShowModal());
}

void CMsgWnd::SetMessage(std::wstring_view title, std::wstring_view text) {
  if (!title.empty()) {
    if (auto* label = mPaintManager.FindControl(L"MessageTitle")) {
      label->SetText(title);
    }
  }
  if (!text.empty()) {
    if (auto* label = mPaintManager.FindControl(L"MessageText")) {
      label->SetText(text);
    }
  }
}

void CMsgWnd::SetButtons(const std::array<std::wstring, 3>& buttons, int count) {
  const MessageButtons shown = MessageButtonsFor(count);
  if (auto* confirm = mPaintManager.FindControl(L"confirm_btn")) {
    confirm->SetText(buttons[0]);
  }
  if (auto* cancel = mPaintManager.FindControl(L"cancel_btn")) {
    if (shown.cancel) {
      cancel->SetText(buttons[1]);
    } else {
      cancel->SetVisible(false);
    }
  }
  if (auto* third = mPaintManager.FindControl(L"third_btn"); third && shown.third) {
    third->SetText(buttons[2]);
    third->SetVisible(true);
  }
}

void CMsgWnd::Notify(TNotifyUI& msg) {
  if (msg.sType == DUI_MSGTYPE_CLICK && msg.pSender) {
    if (const int code = DialogButtonCode(msg.pSender->GetName()); code >= 0) {
      Close(static_cast<UINT>(code));
      return;
    }
  }
  WindowImplBase::Notify(msg);
}

}  // namespace ui
