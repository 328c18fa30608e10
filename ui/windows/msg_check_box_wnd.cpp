#include "ui/windows/msg_check_box_wnd.h"

#include <QFontMetrics>
#include <QRect>
#include <QString>

#include "ui/framework/button.h"
#include "ui/framework/label.h"
#include "ui/windows/dialog_rules.h"
#include "ui/windows/msg_wnd.h"

namespace ui {

using namespace DuiLib;

namespace {

// Gives a wrapping text control the height its text needs at its current width, so the options
// below it move up or down with the length of the message.
void FitHeightToText(CLabelUI& label, const CPaintManagerUI& manager) {
  const int width = label.GetPos().Width();
  if (width <= 0) {
    return;
  }
  const QFontMetrics metrics(manager.GetFont(label.GetFont()));
  const QRect needed = metrics.boundingRect(QRect(0, 0, width, 1 << 20), Qt::TextWordWrap,
                                            QString::fromStdWString(label.GetText()));
  const int scale = manager.GetScale();
  label.SetFixedHeight((needed.height() * 100 + scale - 1) / scale + 2);
}

}  // namespace

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
      FitHeightToText(*label, mPaintManager);
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
