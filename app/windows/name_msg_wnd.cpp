#include "app/windows/name_msg_wnd.h"

#include <algorithm>

#include "app/windows/dialog_rules.h"
#include "app/windows/msg_wnd.h"
#include "ui/framework/edit.h"

namespace ui {

using namespace DuiLib;

namespace {
constexpr std::size_t kMaxEditChars = 32767;
}  // namespace

int CNameMsgWnd::Show(HWND owner, std::wstring& name, std::size_t capacity) {
  CNameMsgWnd wnd(name, capacity);
  if (!CreateDialogWindow(wnd, owner, L"namemsgwnd")) {
    return kCloseCancel;
  }
  return static_cast<int>(wnd.ShowModal());
}

CNameMsgWnd::CNameMsgWnd(std::wstring& name, std::size_t capacity)
    : mName(name), mCapacity(capacity) {}

void CNameMsgWnd::InitWindow() {
  if (auto* edit = mPaintManager.FindControl<CEditUI>(L"name_edt")) {
    // The edit takes no more than the buffer holds (QLineEdit counts UTF-16 units too).
    edit->SetMaxChar(static_cast<int>(std::min<std::size_t>(mCapacity, kMaxEditChars)));
    edit->SetText(mName);
    edit->SetFocus();
    edit->SetSelAtEnd();
  }
}

void CNameMsgWnd::Confirm() {
  if (const auto* edit = mPaintManager.FindControl<CEditUI>(L"name_edt")) {
    mName = CutToUtf16Units(edit->GetText(), mCapacity);
  }
  Close(kCloseConfirm);
}

void CNameMsgWnd::Notify(TNotifyUI& msg) {
  if (!msg.pSender) {
    WindowImplBase::Notify(msg);
    return;
  }
  const std::wstring& name = msg.pSender->GetName();
  if (msg.sType == DUI_MSGTYPE_RETURN && name == L"name_edt") {
    Confirm();
    return;
  }
  if (msg.sType == DUI_MSGTYPE_CLICK) {
    const int code = DialogButtonCode(name);
    if (code == kCloseConfirm) {
      Confirm();
      return;
    }
    if (code == kCloseCancel) {
      Close(kCloseCancel);
      return;
    }
  }
  WindowImplBase::Notify(msg);
}

LRESULT CNameMsgWnd::MessageHandler(TMessageUI& msg, bool& bHandled) {
  // Typing always goes to the name, wherever the focus was.
  if (msg.id == WM_KEYDOWN) {
    if (auto* edit = mPaintManager.FindControl(L"name_edt")) {
      edit->SetFocus();
    }
  }
  return WindowImplBase::MessageHandler(msg, bHandled);
}

}  // namespace ui
