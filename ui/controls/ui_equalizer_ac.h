// UIEqualizerAc: the read-only display of the auto-calibration (layout tag "CurveAc"). It draws,
// per channel, the equaliser a calibration produced and the response that was measured, over a
// grid of ±20 dB. It takes no mouse input of its own.
#pragma once

#include <QPainterPath>
#include <array>
#include <span>
#include <vector>

#include "ui/controls/curve_constants.h"
#include "ui/controls/label_style.h"
#include "ui/controls/ui_equalizer.h"
#include "ui/framework/control.h"

namespace ui {

inline constexpr std::array<DuiLib::DWORD, kMaxCurveChannels> kAcEqualizerColors = {
    0xFFFF0000, 0xFFFF8040, 0xFFFFFF37, 0xFFB7FF4A, 0xFF00AEAE, 0xFF0000E3, 0xFF8600FF, 0xFFF00078};
inline constexpr std::array<DuiLib::DWORD, kMaxCurveChannels> kAcResponseColors = {
    0xFFEF0000, 0xFFEF7030, 0xFFEFEF27, 0xFFA7EF3A, 0xFF009E9E, 0xFF0000D3, 0xFF7600EF, 0xFFE00068};

class UIEqualizerAc : public DuiLib::CControlUI {
 public:
  std::wstring_view GetClass() const override { return L"UIEqualizerAc"; }
  DuiLib::CControlUI* GetInterface(std::wstring_view name) override;

  // The calibration equalisers of up to 8 channels (512 points each).
  void SetEqCurves(std::span<const CurveInput> channels);
  // The measured responses of up to 8 channels (121 points each).
  void SetResponseCurves(std::span<const CurveInput> channels);

  bool HasFocusFlag() const { return mFocused; }
  const LabelStyle& GetLabelStyle() const { return mStyle; }

  void SetText(std::wstring_view text) override;
  void SetPos(DuiLib::RECT rc) override;
  void SetAttribute(std::wstring_view name, std::wstring_view value) override;
  void DoPaint(QPainter& painter) override;
  void DoEvent(DuiLib::TEventUI& event) override;

 private:
  struct Curve {
    std::vector<double> frequencies;
    std::vector<double> levels;
    bool shown = false;
    QPainterPath path;  // in control pixels, for the size it was built at
  };
  using Curves = std::array<Curve, kMaxCurveChannels>;

  static int Store(Curves& curves, std::span<const CurveInput> channels, int points);
  void BuildPaths();

  Curves mEqCurves;
  Curves mResponses;
  int mEqCount = 0;
  int mResponseCount = 0;
  DuiLib::SIZE mPathSize;  // the size the paths were built for
  LabelStyle mStyle;
  bool mFocused = false;
};

}  // namespace ui
