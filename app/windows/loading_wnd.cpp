#include "app/windows/loading_wnd.h"

#include "app/windows/msg_wnd.h"
#include "ui/framework/slider.h"

namespace ui {

using namespace DuiLib;

namespace {
constexpr UINT kActivityTimer = 1;
constexpr UINT kActivityPeriodMs = 40;
constexpr int kActivityStep = 2;
}  // namespace

bool CLoadingWnd::Open(HWND owner) {
  return CreateDialogWindow(*this, owner, L"loadingwnd");
}

void CLoadingWnd::InitWindow() {
  SetTimer(kActivityTimer, kActivityPeriodMs);
}

LRESULT CLoadingWnd::HandleCustomMessage(TMessageUI& msg, bool& bHandled) {
  if (msg.id == WM_TIMER && msg.wParam == kActivityTimer) {
    mActivity = (mActivity + kActivityStep) % 101;
    if (auto* bar = mPaintManager.FindControl<CProgressUI>(L"loading_progress")) {
      bar->SetValue(mActivity);
    }
    bHandled = true;
    return 0;
  }
  return WindowImplBase::HandleCustomMessage(msg, bHandled);
}

void CLoadingWnd::OnDestroy() {
  KillTimer(kActivityTimer);
}

}  // namespace ui
