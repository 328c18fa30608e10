#include "tools/gallery/main_page.h"

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "app/windows/msg_wnd.h"
#include "model/channel_curve.h"
#include "model/limits.h"
#include "model/scene_record.h"
#include "model/speaker_role.h"
#include "ui/controls/custom_controls.h"
#include "ui/controls/sbutton.h"
#include "ui/controls/ui_equalizer.h"
#include "ui/framework/button.h"
#include "ui/framework/container.h"
#include "ui/framework/dialog_builder.h"
#include "ui/framework/edit.h"
#include "ui/framework/list.h"
#include "ui/framework/slider.h"

namespace gallery {
namespace {

using DuiLib::CControlUI;

constexpr int kShownOutput = 2;
constexpr int kSelectedBand = 9;
constexpr int kSource = 2;

// A two-way front (tweeters and mid-woofers), rear fill and a pair of subwoofers, the mid-woofer of
// the left front tuned by hand.
model::SceneRecord DemoTuning() {
  model::SceneRecord record;
  record.outputs = {1, 7, 5, 11, 15, 18, 22, 23};
  constexpr std::array<float, model::kOutputCount> kTrims = {-3, -3, 0, 0, -8, -8, -2, -2};
  constexpr std::array<float, model::kOutputCount> kDelays = {2.15f, 1.02f, 1.48f, 0.35f,
                                                              0.0f,  0.0f,  3.6f,  3.6f};
  for (int c = 0; c < model::kOutputCount; ++c) {
    model::OutputChannel& channel = record.channels[c];
    channel.crossover = model::DefaultCrossoverForRole(record.outputs[c]);
    channel.gain = kTrims[c];
    channel.delay = kDelays[c];
    channel.phase = c >= 6 ? 1 : 0;
    record.showChEqualizer[c] = c < 4 || c == 6 ? 1 : 0;
  }
  struct Cut {
    int band;
    float gain;
    float q;
  };
  constexpr std::array<Cut, 7> kCuts = {{{4, 2.5f, 1.4f},
                                         {9, -3.5f, 2.2f},
                                         {11, -2.0f, 3.0f},
                                         {15, 1.5f, 1.8f},
                                         {17, -4.0f, 4.5f},
                                         {19, 2.0f, 2.0f},
                                         {21, -1.5f, 1.2f}}};
  model::OutputChannel& tuned = record.channels[kShownOutput];
  for (const Cut& cut : kCuts) {
    tuned.Bands()[cut.band].eqGain = cut.gain;
    tuned.Bands()[cut.band].eqFactor = cut.q;
  }
  tuned.bypass = 0;
  for (const int c : {0, 1}) {
    record.channels[c].Bands()[26].eqGain = -2.5f;
    record.channels[c].bypass = 0;
  }
  record.currChannel = kShownOutput;
  record.inputSource = kSource;
  record.mainVolume = -12;
  for (int c = 0; c < model::kOutputCount; ++c) {
    model::ComputeChannelCurve(record, c);
  }
  return record;
}

std::wstring Widen(const char* text) {
  return std::wstring(text, text + std::char_traits<char>::length(text));
}

template <typename... Args>
std::wstring Format(const char* format, Args... args) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, format, args...);
  return Widen(buffer);
}

class MainPageWnd : public DuiLib::WindowImplBase {
 public:
  explicit MainPageWnd(MainPageView view) : mView(view) {}

 protected:
  std::wstring GetWindowClassName() const override { return L"MainPageGallery"; }
  std::wstring GetSkinFile() override { return L"XML_MAIN"; }
  std::unique_ptr<CControlUI> CreateControl(std::wstring_view tag) override {
    return ui::CreateCustomControl(tag);
  }

  void InitWindow() override {
    auto* settings = mPaintManager.FindControl<DuiLib::CContainerUI>(L"channel_settings");
    DuiLib::CDialogBuilder builder;
    if (settings != nullptr) {
      if (auto table = builder.Create(L"xml/channel_settings_mixer.xml", this, &mPaintManager)) {
        settings->Add(std::move(table));
      }
    }
    model::SceneRecord record = DemoTuning();
    record.currChannel = mView.output;
    Show(record);
  }

 private:
  template <typename T = CControlUI>
  T* Find(const std::wstring& name) {
    return mPaintManager.FindControl<T>(name);
  }

  void SetText(const std::wstring& name, const std::wstring& text) {
    if (CControlUI* control = Find(name)) {
      control->SetText(text);
    }
  }

  void Select(const std::wstring& name, bool selected) {
    if (auto* option = Find<DuiLib::COptionUI>(name)) {
      option->Selected(selected, false);
    } else if (auto* button = Find<ui::CSButtonUI>(name)) {
      button->Selected(selected);
    }
  }

  void Enable(const std::wstring& name, bool enabled) {
    if (CControlUI* control = Find(name)) {
      control->SetEnabled(enabled);
    }
  }

  void SetValue(const std::wstring& name, int value) {
    if (auto* slider = Find<DuiLib::CSliderUI>(name)) {
      slider->SetValue(value);
    }
  }

  void SelectItem(const std::wstring& name, int index) {
    if (auto* combo = Find<DuiLib::CComboUI>(name)) {
      combo->SelectItem(index, false, false);
    }
  }

  void Show(const model::SceneRecord& record) {
    auto* connect = Find<ui::CSButtonUI>(L"btnConnect");
    if (connect != nullptr) {
      connect->SetText(L"${btn_connected}");
      connect->SetAttribute(L"textcolor", L"#FFFFFFFF");
      connect->Selected(true);
    }
    SelectItem(L"btn_input_source", record.inputSource);
    SetValue(L"slider_main_volume", record.mainVolume);
    SetText(L"edit_main_volume", Format("%ddB", record.mainVolume));
    ShowOutputs(record);
    ShowChannel(record, record.currChannel);
  }

  void ShowOutputs(const model::SceneRecord& record) {
    for (int n = 0; n < model::kOutputCount; ++n) {
      const std::wstring index = std::to_wstring(n);
      const model::OutputChannel& channel = record.channels[n];
      SetText(L"ch_output_btn_" + index,
              Widen(model::RoleInfoOf(record.outputs[n]).buttonLabel.data()));
      SetValue(L"slider_ch_volume_" + index, static_cast<int>(channel.gain * 10));
      SetText(L"edit_ch_volume_" + index, Format("%ddB", static_cast<int>(channel.gain)));
      SetValue(L"slider_ch_delay_" + index, static_cast<int>(channel.delay * 1000));
      SetText(L"edit_ch_delay_" + index, Format("%.3f ms", channel.delay));
      Select(L"ch_mute_" + index, channel.mute != 0);
      Select(L"ch_phase_" + index, channel.phase != 0);
      SetText(L"ch_phase_" + index,
              channel.phase != 0 ? L"${reverse phase}" : L"${positive_phase}");
      Select(L"ch_show_" + index, record.showChEqualizer[n] != 0);
      Select(L"ch_enable_" + index, n == record.currChannel);
      const int mask = record.inputs[record.inputSource][n];
      for (int k = 0; k < 4; ++k) {
        const std::wstring box = L"option_ch_in" + std::to_wstring(k + 1) + L"_" + index;
        Select(box, (mask >> k & 1) != 0);
        if (k >= model::InputsPerSource(record.inputSource)) {
          if (CControlUI* control = Find(box)) {
            control->SetVisible(false);
          }
        }
      }
      if (record.outputs[n] > 0) {
        if (CControlUI* speaker = Find(L"speaker_" + std::to_wstring(record.outputs[n]))) {
          speaker->SetVisible(true);
        }
      }
    }
    // The delay slider of the output whose delay edit has the focus.
    const std::wstring focused = std::to_wstring(record.currChannel);
    if (CControlUI* placeholder = Find(L"control_empty_" + focused)) {
      placeholder->SetVisible(false);
    }
    if (CControlUI* slider = Find(L"slider_ch_delay_" + focused)) {
      slider->SetVisible(true);
    }
  }

  void ShowChannel(const model::SceneRecord& record, int c) {
    const model::OutputChannel& channel = record.channels[c];
    Select(L"speaker_" + std::to_wstring(record.outputs[c]), true);
    Select(L"btn_arg_eq", mView.parametric);
    SetText(L"btn_arg_eq", mView.parametric ? L"${peq_mode}" : L"${geq_mode}");
    SetText(L"btn_bypass", L"${bypass_eq}");
    const model::Crossover& crossover = channel.crossover;
    SelectItem(L"hp_type", crossover.hp.type());
    SelectItem(L"lp_type", crossover.lp.type());
    SelectItem(L"hp_slop", crossover.hp.slope());
    SelectItem(L"lp_slop", crossover.lp.slope());
    SetText(L"hp_freq", Format("%dHz", crossover.hp.fs()));
    SetText(L"lp_freq", Format("%dHz", crossover.lp.fs()));

    std::vector<ui::EqualizerBand> bands;
    for (int b = 0; b < model::kMaxBands; ++b) {
      const std::wstring index = std::to_wstring(b);
      const bool present = b < channel.eqSize();
      const model::EqBand band = present ? channel.Bands()[b] : model::EqBand{};
      SetText(L"eq_freq_" + index, present ? Format("%d", band.freq) : L"0");
      SetText(L"eq_q_" + index, present ? Format("%.2f", band.eqFactor) : L"0");
      SetText(L"eq_gain_" + index, Format("%.1f", present ? band.eqGain : 0.0f));
      SetValue(L"eq_slider_" + index, static_cast<int>(band.eqGain * 10));
      Select(L"pt_enable_" + index, present && band.eqGain != 0.0f);
      Enable(L"eq_freq_" + index, present && mView.parametric);
      Enable(L"eq_q_" + index, present && mView.parametric);
      for (const wchar_t* control : {L"eq_gain_", L"eq_slider_", L"pt_enable_"}) {
        Enable(control + index, present);
      }
      if (present) {
        bands.push_back({band.eqGain, band.eqFactor, band.freq, band.enable});
      }
    }
    auto* editor = Find<ui::UIEqualizer>(L"equalizer");
    if (editor == nullptr) {
      return;
    }
    std::array<ui::CurveInput, model::kOutputCount> curves;
    for (int n = 0; n < model::kOutputCount; ++n) {
      curves[n] = {record.curves[n].frequencyGrid, record.curves[n].responseCurve,
                   record.showChEqualizer[n] != 0};
    }
    editor->SetDragAllDirection(mView.parametric ? 1 : 0);
    editor->SetCurves(curves, c);
    editor->SetBands(bands, c == kShownOutput ? kSelectedBand : -1);
    editor->setCurEqHpLp(crossover.hp.fs(), crossover.lp.fs());
  }

  MainPageView mView;
};

}  // namespace

std::unique_ptr<DuiLib::WindowImplBase> OpenMainPage(MainPageView view) {
  auto window = std::make_unique<MainPageWnd>(view);
  if (!ui::CreateDialogWindow(*window, 0, L"main")) {
    return nullptr;
  }
  return window;
}

}  // namespace gallery
