// CNoiseThresholdWnd: the input noise threshold (one value for all inputs) with a live level
// meter per input of the current source.
#pragma once

#include <string>

#include "app/windows/noise_threshold_link.h"
#include "ui/framework/window_impl_base.h"

namespace ui {

class CNoiseThresholdWnd : public DuiLib::WindowImplBase {
 public:
  // While the window is open and the unit connected, levels are requested this often.
  static constexpr DuiLib::UINT kLevelTimer = 4112;
  static constexpr DuiLib::UINT kLevelPeriodMs = 500;

  // Returns 1 (confirm) or 0 (cancel, close). Every step and every value entered with Enter is
  // sent as it is made, and cancel does not take it back; a value typed without Enter is sent by
  // confirm only.
  static int Show(DuiLib::HWND owner, NoiseThresholdLink& link);

  explicit CNoiseThresholdWnd(NoiseThresholdLink& link);

 protected:
  std::wstring GetWindowClassName() const override { return L"NoiseThresholdWnd"; }
  std::wstring GetSkinFile() override { return L"XML_NOISE_THRESHOLD"; }
  void InitWindow() override;
  void Notify(DuiLib::TNotifyUI& msg) override;
  DuiLib::LRESULT HandleCustomMessage(DuiLib::TMessageUI& msg, bool& bHandled) override;
  DuiLib::LRESULT MessageHandler(DuiLib::TMessageUI& msg, bool& bHandled) override;
  void OnDestroy() override;

 private:
  // Shrinks the window by the meter rows the current source does not use.
  void FitHeightToMeters(bool tipsShown);
  // The threshold the edit shows now, before clamping.
  int EditValue() const;
  // Whether the threshold edit holds something the user typed and has not committed.
  bool HasTypedThreshold() const;
  void Step(int delta);
  void Commit(bool takeFocus);
  void Apply(int threshold, bool takeFocus);
  void ShowLevels(const DuiLib::TMessageUI& msg);
  void Finish(DuiLib::UINT code);

  NoiseThresholdLink& mLink;
  int mInputCount = 0;
  // What the threshold edit was last set to; anything else in it was typed by the user.
  std::wstring mShownText;
  bool mClosing = false;
};

}  // namespace ui
