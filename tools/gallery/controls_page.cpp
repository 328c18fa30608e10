#include "tools/gallery/controls_page.h"

#include <array>
#include <cmath>
#include <vector>

#include "app/windows/msg_wnd.h"
#include "dsp_math/channel_curve.h"
#include "dsp_math/crossover_design.h"
#include "model/limits.h"
#include "ui/controls/circle_progress.h"
#include "ui/controls/custom_controls.h"
#include "ui/controls/sbutton.h"
#include "ui/controls/ui_equalizer.h"
#include "ui/controls/ui_equalizer_ac.h"
#include "ui/framework/container.h"

namespace gallery {
namespace {

using DuiLib::CControlUI;

constexpr int kPageWidth = 1280;
constexpr int kPageHeight = 800;
constexpr int kChannels = 8;
constexpr int kFirstSelectedBand = 12;

// One output channel of the demonstration: its bands, crossover and computed curve.
struct DemoChannel {
  std::vector<dsp_math::CurveBand> bands;
  dsp_math::CurveFilter highPass;
  dsp_math::CurveFilter lowPass;
  dsp_math::CurveArray frequencies{};
  dsp_math::CurveArray levels{};

  void Compute() {
    dsp_math::ComputeChannelCurve(bands, highPass, lowPass, false, frequencies, levels);
  }
};

std::array<DemoChannel, kChannels> DemoChannels() {
  std::array<DemoChannel, kChannels> channels;
  for (int c = 0; c < kChannels; ++c) {
    DemoChannel& channel = channels[c];
    const int count = model::BandCountOfOutput(c);
    for (int i = 0; i < count; ++i) {
      const double position = static_cast<double>(i) / (count - 1);
      dsp_math::CurveBand band;
      band.freq = static_cast<int>(std::lround(20.0 * std::pow(1000.0, position)));
      band.eqGain = static_cast<float>(std::round(10.0 * std::sin(position * 6.0 + c)) / 10.0);
      band.eqFactor = 1.4f;
      band.enable = 1;
      channel.bands.push_back(band);
    }
    channel.highPass = {30 + 15 * c, dsp_math::kCrossoverButterworth, 4, 0};
    channel.lowPass = {18000 - 1800 * c, dsp_math::kCrossoverLinkwitzRiley, 4, 0};
    channel.Compute();
  }
  return channels;
}

// The window: the page's content replaces the plain frame it is created with.
class ControlsPageWnd : public DuiLib::WindowImplBase {
 protected:
  std::wstring GetWindowClassName() const override { return L"ControlsGallery"; }
  // The program's skin has no layout for this page; it borrows the loading window's plain frame.
  std::wstring GetSkinFile() override { return L"XML_LOADING"; }

  void InitWindow() override {
    auto* root = dynamic_cast<DuiLib::CContainerUI*>(mPaintManager.GetRoot());
    if (root == nullptr) {
      return;
    }
    root->RemoveAll();
    root->SetInset(DuiLib::RECT{12, 12, 12, 12});
    root->SetChildPadding(12);
    BuildEditor(*root);
    BuildLowerRow(*root);
    mPaintManager.SetInitSize(kPageWidth, kPageHeight);
    SetWindowPos(0, 0, mPaintManager.Scale(kPageWidth), mPaintManager.Scale(kPageHeight));
    PushSelectedChannel();
  }

  void Notify(DuiLib::TNotifyUI& msg) override {
    if (msg.pSender == mEditor) {
      OnEditorChange(msg.sType);
    } else if (msg.pSender == mModeButton && msg.sType == DuiLib::DUI_MSGTYPE_CLICK) {
      // The mode button switches between parametric (free dragging) and graphic editing.
      mModeButton->Selected(!mModeButton->IsSelected());
      mEditor->SetDragAllDirection(mModeButton->IsSelected() ? 1 : 0);
    } else {
      WindowImplBase::Notify(msg);
    }
  }

 private:
  template <typename Control>
  Control* AddControl(DuiLib::CContainerUI& parent, const wchar_t* tag) {
    auto control = ui::CreateCustomControl(tag);
    auto* typed = dynamic_cast<Control*>(control.get());
    parent.Add(std::move(control));
    return typed;
  }

  void BuildEditor(DuiLib::CContainerUI& root) {
    mEditor = AddControl<ui::UIEqualizer>(root, L"Curve");
    mEditor->SetAttribute(L"name", L"equalizer");
    mEditor->SetAttribute(L"height", L"420");
    mEditor->SetAttribute(L"bkcolor", L"#FF1E2228");
    mEditor->SetAttribute(L"curvecolor",
                          L"#FFE05050 #FFE0A050 #FFE0E050 #FF50E050 #FF50E0E0 #FF5050E0 "
                          L"#FFA050E0 #FFE050A0");
    mEditor->SetDragAllDirection(1);
  }

  void BuildLowerRow(DuiLib::CContainerUI& root) {
    auto row = std::make_unique<DuiLib::CHorizontalLayoutUI>();
    row->SetChildPadding(16);
    auto* calibration = AddControl<ui::UIEqualizerAc>(*row, L"CurveAc");
    calibration->SetAttribute(L"bkcolor", L"#FF1E2228");
    FeedCalibration(*calibration);

    auto column = std::make_unique<DuiLib::CVerticalLayoutUI>();
    column->SetFixedWidth(150);
    column->SetChildPadding(12);
    mModeButton = AddControl<ui::CSButtonUI>(*column, L"SButton");
    for (auto* button : {mModeButton, AddControl<ui::CSButtonUI>(*column, L"SButton")}) {
      button->SetAttribute(L"height", L"36");
      button->SetAttribute(L"selectedbkcolor", L"#FF2BBBFF");
      button->SetAttribute(L"selectedtextcolor", L"#FFFFFFFF");
    }
    mModeButton->SetAttribute(L"text", L"PEQ");
    mModeButton->Selected(true);
    CControlUI* plain = column->GetItemAt(1);
    plain->SetAttribute(L"text", L"GEQ");
    auto* progress = AddControl<ui::CCircleProgressUI>(*column, L"CircleProgress");
    progress->SetAttribute(L"width", L"120");
    progress->SetAttribute(L"height", L"120");
    progress->SetAttribute(L"bkcolor", L"#FFD5DAE0");
    progress->SetAttribute(L"forecolor", L"#FF2BBBFF");
    progress->SetValue(65);
    row->Add(std::move(column));
    root.Add(std::move(row));
  }

  // Two calibrated channels: their equalisers and a measured response of 121 points each.
  void FeedCalibration(ui::UIEqualizerAc& display) {
    std::array<ui::CurveInput, 2> equalisers;
    std::array<ui::CurveInput, 2> responses;
    for (int c = 0; c < 2; ++c) {
      const DemoChannel& channel = mChannels[c];
      dsp_math::ComputeAutoCalCurve(channel.bands, mCalibration[c], mCalibrationLevels[c]);
      equalisers[c] = {mCalibration[c], mCalibrationLevels[c], true};
      for (int k = 0; k < ui::kResponsePoints; ++k) {
        mMeasuredFrequencies[c][k] = 20.0 * std::pow(1000.0, k / 120.0);
        mMeasuredLevels[c][k] = 8.0 * std::sin(k / (9.0 + 4 * c)) - 2.0 * c;
      }
      responses[c] = {mMeasuredFrequencies[c], mMeasuredLevels[c], true};
    }
    display.SetEqCurves(equalisers);
    display.SetResponseCurves(responses);
  }

  // The owner's answer to an edit: take the values (within the limits the model allows),
  // recompute the channel and push everything back.
  void OnEditorChange(const std::wstring& type) {
    DemoChannel& channel = mChannels[mSelectedChannel];
    if (type == DuiLib::DUI_MSGTYPE_EQUALIZER_EQ) {
      const int index = mEditor->GetCurrentControlIndex();
      if (index < 0 || index >= static_cast<int>(channel.bands.size())) {
        return;
      }
      const ui::EqualizerBand& edited = mEditor->GetBand(index);
      dsp_math::CurveBand& band = channel.bands[index];
      band.freq = model::kBandFrequencyHz.Clamp(edited.frequency);
      band.eqGain = static_cast<float>(model::kBandGainDb.Clamp(edited.gain));
      band.eqFactor = static_cast<float>(model::kBandQ.Clamp(edited.q));
    } else if (type == DuiLib::DUI_MSGTYPE_EQUALIZER_HP) {
      channel.highPass.fs = model::kCrossoverFrequencyHz.Clamp(mEditor->GetHpFreq());
    } else if (type == DuiLib::DUI_MSGTYPE_EQUALIZER_LP) {
      channel.lowPass.fs = model::kCrossoverFrequencyHz.Clamp(mEditor->GetLpFreq());
    } else {
      return;
    }
    channel.Compute();
    PushSelectedChannel();
  }

  void PushSelectedChannel() {
    const DemoChannel& channel = mChannels[mSelectedChannel];
    std::vector<ui::EqualizerBand> bands;
    for (const dsp_math::CurveBand& band : channel.bands) {
      bands.push_back({band.eqGain, band.eqFactor, band.freq, band.enable});
    }
    std::array<ui::CurveInput, kChannels> curves;
    for (int c = 0; c < kChannels; ++c) {
      curves[c] = {mChannels[c].frequencies, mChannels[c].levels, true};
    }
    mEditor->SetCurves(curves, mSelectedChannel);
    const int selected = mEditor->GetCurrentControlIndex();
    mEditor->SetBands(bands, selected >= 0 ? selected : kFirstSelectedBand);
    mEditor->setCurEqHpLp(channel.highPass.fs, channel.lowPass.fs);
  }

  std::array<DemoChannel, kChannels> mChannels = DemoChannels();
  int mSelectedChannel = 0;
  std::array<dsp_math::CurveArray, 2> mCalibration{};
  std::array<dsp_math::CurveArray, 2> mCalibrationLevels{};
  std::array<std::array<double, ui::kResponsePoints>, 2> mMeasuredFrequencies{};
  std::array<std::array<double, ui::kResponsePoints>, 2> mMeasuredLevels{};
  ui::UIEqualizer* mEditor = nullptr;
  ui::CSButtonUI* mModeButton = nullptr;
};

}  // namespace

std::unique_ptr<DuiLib::WindowImplBase> OpenControlsPage() {
  auto window = std::make_unique<ControlsPageWnd>();
  if (!ui::CreateDialogWindow(*window, 0, L"controls")) {
    return nullptr;
  }
  return window;
}

}  // namespace gallery
