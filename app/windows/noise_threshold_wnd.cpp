#include "app/windows/noise_threshold_wnd.h"

#include <algorithm>

#include "app/windows/dialog_rules.h"
#include "app/windows/msg_wnd.h"
#include "app/windows/noise_threshold_rules.h"
#include "device/dsp_records.h"
#include "device/parameter_codes.h"
#include "platform/debug_log.h"
#include "ui/framework/container.h"
#include "ui/framework/edit.h"
#include "ui/framework/resource_manager.h"
#include "ui/framework/slider.h"
#include "ui/framework/ui_utils.h"

namespace ui {

using namespace DuiLib;

namespace {

std::wstring OffText() {
  return CResourceManager::GetInstance()->GetText(L"${off}");
}

}  // namespace

int CNoiseThresholdWnd::Show(HWND owner, NoiseThresholdLink& link) {
  CNoiseThresholdWnd wnd(link);
  if (!CreateDialogWindow(wnd, owner, L"msgwnd")) {
    return kCloseCancel;
  }
  return static_cast<int>(wnd.ShowModal());
}

CNoiseThresholdWnd::CNoiseThresholdWnd(NoiseThresholdLink& link) : mLink(link) {}

void CNoiseThresholdWnd::InitWindow() {
  if (auto* edit = mPaintManager.FindControl(L"value_edt")) {
    mShownText = ThresholdText(mLink.InputThreshold(), OffText());
    edit->SetText(mShownText);
  }
  mInputCount = std::clamp(mLink.InputCount(), 0, kNoiseMeterCount);
  for (int i = 0; i < kNoiseMeterCount; ++i) {
    if (auto* bar = mPaintManager.FindControl<CProgressUI>(Format(L"progress_%d", i))) {
      bar->SetValue(kNoiseLevelFloorDb);
    }
    if (i >= mInputCount) {
      for (const wchar_t* name : {L"in_%d", L"prg_group_%d"}) {
        if (auto* control = mPaintManager.FindControl(Format(name, i))) {
          control->SetVisible(false);
        }
      }
    }
  }
  auto* tips = mPaintManager.FindControl(L"no_input_tips");
  if (tips) {
    tips->SetVisible(mInputCount == 0);
  }
  FitHeightToMeters(tips != nullptr && mInputCount == 0);
  mLink.SetToolWindow(GetHWND());
  if (mLink.IsUnitConnected()) {
    SetTimer(kLevelTimer, kLevelPeriodMs);
  }
}

void CNoiseThresholdWnd::FitHeightToMeters(bool tipsShown) {
  // The layout has room for every meter; the rows of the inputs the source lacks are given back,
  // less the row the "no inputs" line takes.
  const CControlUI* row = mPaintManager.FindControl(Format(L"prg_group_%d", kNoiseMeterCount - 1));
  if (row == nullptr || row->GetParent() == nullptr) {
    return;
  }
  const int rowHeight = row->GetFixedHeight() + row->GetParent()->GetChildPadding();
  const int unused = (kNoiseMeterCount - mInputCount) - (tipsShown ? 1 : 0);
  const SIZE size = mPaintManager.GetInitSize();
  mPaintManager.SetInitSize(size.cx, size.cy - unused * rowHeight);
  const RECT rc = GetWindowRect();
  SetWindowPos(rc.left, rc.top, mPaintManager.Scale(size.cx),
               mPaintManager.Scale(size.cy - unused * rowHeight));
}

bool CNoiseThresholdWnd::HasTypedThreshold() const {
  const auto* edit = mPaintManager.FindControl(L"value_edt");
  return edit != nullptr && edit->GetText() != mShownText;
}

int CNoiseThresholdWnd::EditValue() const {
  const auto* edit = mPaintManager.FindControl(L"value_edt");
  return ThresholdFromText(edit ? edit->GetText() : std::wstring(), OffText());
}

void CNoiseThresholdWnd::Step(int delta) {
  Apply(StepThreshold(EditValue(), delta), true);
}

void CNoiseThresholdWnd::Commit(bool takeFocus) {
  Apply(CommitThreshold(EditValue()), takeFocus);
}

void CNoiseThresholdWnd::Apply(int threshold, bool takeFocus) {
  DebugLog(L"on input threshold edit change to %d dB\n", threshold);
  auto* edit = mPaintManager.FindControl<CEditUI>(L"value_edt");
  mShownText = ThresholdText(threshold, OffText());
  if (edit) {
    edit->SetText(mShownText);
  }
  mLink.StoreInputThreshold(threshold);
  mLink.SendInputThreshold(threshold);
  if (edit && takeFocus) {
    edit->SetFocus();
    edit->SetSelAtEnd();
  }
}

void CNoiseThresholdWnd::ShowLevels(const TMessageUI& msg) {
  const auto* record = platform::RecordAs<device::InputNoiseRecord>(msg);
  if (!record) {
    return;
  }
  const auto& level = record->levels;
  DebugLogA("input noise value %.1f %.1f %.1f %.1f %.2f %.1f\n", level[0], level[1], level[2],
            level[3], level[4], level[5]);
  for (int i = 0; i < mInputCount; ++i) {
    if (auto* text = mPaintManager.FindControl(Format(L"noise_%d", i))) {
      text->SetText(NoiseLevelText(level[i]));
    }
    if (auto* bar = mPaintManager.FindControl<CProgressUI>(Format(L"progress_%d", i))) {
      bar->SetValue(static_cast<int>(level[i]));
    }
  }
}

void CNoiseThresholdWnd::Finish(UINT code) {
  mClosing = true;
  KillTimer(kLevelTimer);
  Close(code);
}

void CNoiseThresholdWnd::Notify(TNotifyUI& msg) {
  if (!msg.pSender) {
    WindowImplBase::Notify(msg);
    return;
  }
  const std::wstring& name = msg.pSender->GetName();
  if (name == L"value_edt") {
    if (msg.sType == DUI_MSGTYPE_VALUECHANGED_UP || msg.sType == DUI_MSGTYPE_VALUECHANGED_DOWN) {
      Step(msg.sType == DUI_MSGTYPE_VALUECHANGED_UP ? +1 : -1);
      return;
    }
    if (msg.sType == DUI_MSGTYPE_RETURN) {
      Commit(true);
      return;
    }
  }
  // Leaving a box edit commits it; the focus is left where the user put it.
  if (msg.sType == DUI_MSGTYPE_KILLFOCUS && name.starts_with(L"box_edit_")) {
    Commit(false);
    return;
  }
  if (msg.sType == DUI_MSGTYPE_CLICK) {
    const int code = DialogButtonCode(name);
    if (code == kCloseConfirm || code == kCloseCancel) {
      // A value typed into the threshold edit without Enter is taken by OK and dropped by
      // Cancel (the click takes the focus first, so focus loss cannot be the signal).
      if (code == kCloseConfirm && HasTypedThreshold()) {
        Commit(false);
      }
      Finish(static_cast<UINT>(code));
      return;
    }
  }
  WindowImplBase::Notify(msg);
}

LRESULT CNoiseThresholdWnd::HandleCustomMessage(TMessageUI& msg, bool& bHandled) {
  if (msg.id == WM_TIMER && msg.wParam == kLevelTimer) {
    DebugLog(L"WM_TIMER %d\n", static_cast<int>(kLevelTimer));
    if (!mClosing) {
      mLink.RequestInputNoise(mInputCount);
    }
    bHandled = true;
    return 0;
  }
  if (msg.id == platform::msg::kDspNotify && msg.wParam == device::dsp::kInputNoise) {
    ShowLevels(msg);
    bHandled = true;
    return 0;
  }
  return WindowImplBase::HandleCustomMessage(msg, bHandled);
}

LRESULT CNoiseThresholdWnd::MessageHandler(TMessageUI& msg, bool& bHandled) {
  // Up and Down step the threshold wherever the focus is; consumed here so that the edit does
  // not step it a second time.
  if (msg.id == WM_KEYDOWN && (msg.wParam == VK_UP || msg.wParam == VK_DOWN)) {
    Step(msg.wParam == VK_UP ? +1 : -1);
    bHandled = true;
    return 0;
  }
  return WindowImplBase::MessageHandler(msg, bHandled);
}

void CNoiseThresholdWnd::OnDestroy() {
  mClosing = true;
  KillTimer(kLevelTimer);
  mLink.SetToolWindow(0);
}

}  // namespace ui
