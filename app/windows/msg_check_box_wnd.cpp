#include "app/windows/msg_check_box_wnd.h"

#include "app/windows/dialog_rules.h"
#include "app/windows/msg_wnd.h"
#include "ui/framework/button.h"
#include "ui/framework/label.h"

namespace ui {

using namespace DuiLib;

int CMsgCheckBoxWnd::Show(HWND owner, std::wstring_view title, std::wstring_view text,
                          const std::array<std::wstring, 2>& options) {
  CMsgCheckBoxWnd wnd;
  if (!CreateDialogWindow(wnd, owner, L"msgcbwnd")) {
    return kCloseCancel;
  }
  wnd.SetMessage(title, text, options);
  return static_cast<int>(wnd.ShowModal());
}

void CMsgCheckBoxWnd::SetMessage(std::wstring_view title, std::wstring_view text,
                                 const std::array<std::wstring, 2>& options) {
  if (!title.empty()) {
    if (auto* label = mPaintManager.FindControl(L"MessageTitle")) {
      label->SetText(title);
    }
  }
  if (!text.empty()) {
    if (auto* label = mPaintManager.FindControl<CLabelUI>(L"MessageText")) {
      label->SetText(text);
      label->SizeToText();
    }
  }
  if (!options[0].empty() && !options[1].empty()) {
    for (int i = 0; i < 2; ++i) {
      if (auto* option = mPaintManager.FindControl(i == 0 ? L"check_box_0" : L"check_box_1")) {
        option->SetText(options[i]);
      }
    }
  }
}

void CMsgCheckBoxWnd::Notify(TNotifyUI& msg) {
  if (msg.sType == DUI_MSGTYPE_CLICK && msg.pSender) {
    const int code = DialogButtonCode(msg.pSender->GetName());
    if (code == kCloseConfirm) {
      const auto* first = mPaintManager.FindControl<COptionUI>(L"check_box_0");
      const auto* second = mPaintManager.FindControl<COptionUI>(L"check_box_1");
      // Without a chosen option the box stays open.
      if (const auto answer =
              CheckOptionAnswer(first && first->IsSelected(), second && second->IsSelected())) {
        Close(static_cast<UINT>(*answer));
      }
      return;
    }
    if (code == kCloseCancel) {
      Close(kCloseCancel);
      return;
    }
  }
  WindowImplBase::Notify(msg);
}

}  // namespace ui
