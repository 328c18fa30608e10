// The main page's layout against what the program finds in it: every control name the main window
// and the equaliser logic look up, of the kind they treat it as, carrying its index as user data;
// the ranges the editing rules derive their limits from; the state the page starts in; the car's
// speaker pictures; and the scale labels standing on the curve editor's grid lines.
#include <QApplication>
#include <QColor>
#include <QImage>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/limits.h"
#include "model/speaker_role.h"
#include "tests/skin/main_page_window.h"
#include "ui/controls/curve_constants.h"
#include "ui/controls/curve_scale.h"
#include "ui/controls/sbutton.h"
#include "ui/controls/ui_equalizer.h"
#include "ui/framework/button.h"
#include "ui/framework/list.h"
#include "ui/framework/slider.h"

namespace {

using DuiLib::CControlUI;
using skin_test::Indexed;
using skin_test::MainPageWindow;
using skin_test::ToUtf8;

// One family of controls: "%d" runs from `first` to `last` (both -1 for a single control). `kind`
// is the control's class; indexed controls carry their index as user data.
struct NameRow {
  const wchar_t* pattern;
  int first;
  int last;
  const wchar_t* kind;
};

void PrintTo(const NameRow& row, std::ostream* out) {
  *out << ToUtf8(row.pattern);
}

constexpr int kOutputs = model::kOutputCount - 1;
constexpr int kBands = model::kMaxBands - 1;
constexpr int kRoles = model::kRoleCount - 1;

// clang-format off
const NameRow kNames[] = {
    {L"root", -1, -1, L"VerticalLayout"},
    {L"btnConnect", -1, -1, L"SButtonUI"},
    {L"btn_input_source", -1, -1, L"Combo"},
    {L"slider_main_volume", -1, -1, L"Slider"},
    {L"edit_main_volume", -1, -1, L"Edit"},
    {L"main_mute", -1, -1, L"Option"},
    {L"hp_type", -1, -1, L"Combo"},
    {L"lp_type", -1, -1, L"Combo"},
    {L"hp_slop", -1, -1, L"Combo"},
    {L"lp_slop", -1, -1, L"Combo"},
    {L"hp_freq", -1, -1, L"Edit"},
    {L"lp_freq", -1, -1, L"Edit"},
    {L"comb_ch_unit", -1, -1, L"Combo"},
    {L"btn_bypass", -1, -1, L"Button"},
    {L"btn_arg_eq", -1, -1, L"SButtonUI"},
    {L"btn_link_output", -1, -1, L"SButtonUI"},
    {L"btn_lock_output", -1, -1, L"SButtonUI"},
    {L"btn_reset_eq", -1, -1, L"Button"},
    {L"btn_reset_output", -1, -1, L"Button"},
    {L"btn_option", -1, -1, L"Button"},
    {L"btn_scene", -1, -1, L"Button"},
    {L"btn_advance", -1, -1, L"Button"},
    {L"minbtn", -1, -1, L"Button"},
    {L"closebtn", -1, -1, L"Button"},
    {L"edt_dpi", -1, -1, L"Edit"},
    {L"btnDpi", -1, -1, L"Button"},
    {L"equalizer", -1, -1, L"UIEqualizer"},
    {L"channel_settings", -1, -1, L"Container"},
    {L"slider_ch_volume_%d", 0, kOutputs, L"Slider"},
    {L"edit_ch_volume_%d", 0, kOutputs, L"Edit"},
    {L"ch_mute_%d", 0, kOutputs, L"Option"},
    {L"ch_phase_%d", 0, kOutputs, L"Option"},
    {L"slider_ch_delay_%d", 0, kOutputs, L"Slider"},
    {L"edit_ch_delay_%d", 0, kOutputs, L"Edit"},
    {L"control_empty_%d", 0, kOutputs, L"Control"},
    {L"ch_output_btn_%d", 0, kOutputs, L"Button"},
    {L"ch_enable_%d", 0, kOutputs, L"SButtonUI"},
    {L"ch_show_%d", 0, kOutputs, L"CheckBox"},
    {L"option_ch_in1_%d", 0, kOutputs, L"Option"},
    {L"option_ch_in2_%d", 0, kOutputs, L"Option"},
    {L"option_ch_in3_%d", 0, kOutputs, L"Option"},
    {L"option_ch_in4_%d", 0, kOutputs, L"Option"},
    {L"input_123_%d", 0, kOutputs, L"CheckBox"},
    {L"input_456_%d", 0, kOutputs, L"CheckBox"},
    {L"eq_freq_%d", 0, kBands, L"Edit"},
    {L"eq_q_%d", 0, kBands, L"Edit"},
    {L"eq_gain_%d", 0, kBands, L"Edit"},
    {L"eq_slider_%d", 0, kBands, L"Slider"},
    {L"pt_enable_%d", 0, kBands, L"CheckBox"},
    {L"speaker_%d", 1, kRoles, L"SButtonUI"},
};
// clang-format on

// The prefixes by which the main window routes notifications: a control with one of them that is
// not in the table above would be taken for one that is.
const wchar_t* const kRoutedPrefixes[] = {
    L"ch_output_btn",    L"ch_enable_", L"speaker_",     L"pt_enable_",     L"ch_show_",
    L"ch_mute_",         L"ch_phase_",  L"option_ch_in", L"eq_slider_",     L"slider_ch_volume_",
    L"slider_ch_delay_", L"eq_freq_",   L"eq_q_",        L"eq_gain_",       L"edit_ch_volume_",
    L"edit_ch_delay_",   L"input_123_", L"input_456_",   L"control_empty_",
};

std::set<std::wstring> ExpectedNames() {
  std::set<std::wstring> names;
  for (const NameRow& row : kNames) {
    if (row.first < 0) {
      names.insert(row.pattern);
    }
    for (int i = std::max(row.first, 0); row.first >= 0 && i <= row.last; ++i) {
      names.insert(Indexed(row.pattern, i));
    }
  }
  return names;
}

class MainLayout : public testing::Test {
 protected:
  static void SetUpTestSuite() { sWindow = skin_test::OpenMainPage(100).release(); }
  static void TearDownTestSuite() {
    if (sWindow != nullptr) {
      sWindow->Close(0);
    }
    delete sWindow;
    sWindow = nullptr;
  }
  void SetUp() override { ASSERT_NE(sWindow, nullptr); }

  static MainPageWindow* sWindow;
};
MainPageWindow* MainLayout::sWindow = nullptr;

class MainLayoutNames : public MainLayout, public testing::WithParamInterface<NameRow> {};

TEST_P(MainLayoutNames, EveryControlIsThereOfItsKindWithItsIndex) {
  const NameRow& row = GetParam();
  for (int i = std::max(row.first, 0); i <= std::max(row.last, 0); ++i) {
    const std::wstring name = row.first < 0 ? std::wstring(row.pattern) : Indexed(row.pattern, i);
    const CControlUI* control = sWindow->Find(name);
    ASSERT_NE(control, nullptr) << ToUtf8(name);
    EXPECT_EQ(control->GetClass(), row.kind) << ToUtf8(name);
    if (row.first >= 0) {
      EXPECT_EQ(control->GetUserData(), std::to_wstring(i)) << ToUtf8(name);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Parts, MainLayoutNames, testing::ValuesIn(kNames));

TEST_F(MainLayout, NamesAreUniqueAndNoStrayControlTakesARoutedPrefix) {
  const std::set<std::wstring> expected = ExpectedNames();
  std::map<std::wstring, int> seen;
  for (const CControlUI* control : sWindow->AllControls()) {
    if (!control->GetName().empty()) {
      ++seen[control->GetName()];
    }
  }
  for (const auto& [name, count] : seen) {
    EXPECT_EQ(count, 1) << ToUtf8(name) << " is not unique";
    for (const wchar_t* prefix : kRoutedPrefixes) {
      EXPECT_TRUE(!name.starts_with(prefix) || expected.contains(name))
          << ToUtf8(name) << " would be routed as " << ToUtf8(prefix);
    }
  }
  for (const std::wstring& name : expected) {
    EXPECT_TRUE(seen.contains(name)) << ToUtf8(name);
  }
}

// The editing rules take their limits from these sliders' ranges.
struct RangeRow {
  const wchar_t* pattern;
  int count;
  model::IntRange range;
};
const RangeRow kRanges[] = {
    {L"slider_main_volume", 1, model::kMainVolumeDb},
    {L"slider_ch_volume_%d", model::kOutputCount, model::kTrimSliderTenths},
    {L"slider_ch_delay_%d", model::kOutputCount, model::kDelaySliderMicroseconds},
    {L"eq_slider_%d", model::kMaxBands, model::kBandGainSliderTenths},
};

TEST_F(MainLayout, SliderRangesAreTheModelsLimits) {
  for (const RangeRow& row : kRanges) {
    for (int i = 0; i < row.count; ++i) {
      const std::wstring name = Indexed(row.pattern, i);
      const auto* slider = sWindow->Find<DuiLib::CSliderUI>(name);
      ASSERT_NE(slider, nullptr) << ToUtf8(name);
      EXPECT_EQ(slider->GetMinValue(), row.range.min) << ToUtf8(name);
      EXPECT_EQ(slider->GetMaxValue(), row.range.max) << ToUtf8(name);
    }
  }
}

std::vector<bool> ItemVisibility(DuiLib::CComboUI& combo) {
  std::vector<bool> visible;
  for (int i = 0; i < combo.GetCount(); ++i) {
    visible.push_back(combo.GetItemAt(i)->IsVisible());
  }
  return visible;
}

TEST_F(MainLayout, CombosHoldTheirItemsInValueOrder) {
  auto* sources = sWindow->Find<DuiLib::CComboUI>(L"btn_input_source");
  ASSERT_NE(sources, nullptr);
  const wchar_t* const kSources[] = {L"source_opt", L"source_coax", L"source_bt", L"source_aux",
                                     L"source_low", L"source_hi",   L"source_dmp"};
  ASSERT_EQ(sources->GetCount(), model::kSourceCount);
  for (int i = 0; i < model::kSourceCount; ++i) {
    EXPECT_EQ(sources->GetItemAt(i)->GetName(), kSources[i]);
  }
  // The unit has two of the sources: Bluetooth and the high-level input.
  EXPECT_EQ(ItemVisibility(*sources),
            (std::vector<bool>{false, false, true, false, false, true, false}));

  // Item index = filter type (1..3) or slope (0 = off, one step per 6 dB/octave).
  for (const wchar_t* name : {L"hp_type", L"lp_type"}) {
    auto* types = sWindow->Find<DuiLib::CComboUI>(name);
    ASSERT_NE(types, nullptr);
    EXPECT_EQ(types->GetCount(), model::kCrossoverType.max + 1) << ToUtf8(name);
    EXPECT_EQ(ItemVisibility(*types), (std::vector<bool>{false, true, true, true}));
  }
  for (const wchar_t* name : {L"hp_slop", L"lp_slop"}) {
    auto* slopes = sWindow->Find<DuiLib::CComboUI>(name);
    ASSERT_NE(slopes, nullptr);
    ASSERT_EQ(slopes->GetCount(), model::kCrossoverSlope.max + 1) << ToUtf8(name);
    EXPECT_EQ(ToUtf8(slopes->GetItemAt(0)->GetRawText()), model::kOffTextKey);
    for (int slope = 1; slope <= model::kCrossoverSlope.max; ++slope) {
      EXPECT_EQ(slopes->GetItemAt(slope)->GetRawText(), std::to_wstring(6 * slope) + L" dB/oct");
    }
  }
  auto* units = sWindow->Find<DuiLib::CComboUI>(L"comb_ch_unit");
  ASSERT_NE(units, nullptr);
  ASSERT_EQ(units->GetCount(), 3);
  EXPECT_EQ(units->GetItemAt(0)->GetRawText(), L"${unit_ms}");
  EXPECT_EQ(units->GetItemAt(1)->GetRawText(), L"${unit_cm}");
  EXPECT_EQ(units->GetItemAt(2)->GetRawText(), L"${unit_in}");
}

TEST_F(MainLayout, ThePageStartsInGraphicModeWithTheHiddenPartsHidden) {
  auto* mode = sWindow->Find<ui::CSButtonUI>(L"btn_arg_eq");
  ASSERT_NE(mode, nullptr);
  EXPECT_FALSE(mode->IsSelected());
  for (int n = 0; n < model::kOutputCount; ++n) {
    for (const wchar_t* hidden : {L"slider_ch_delay_%d", L"input_123_%d", L"input_456_%d"}) {
      EXPECT_FALSE(sWindow->Find(Indexed(hidden, n))->IsVisible()) << ToUtf8(Indexed(hidden, n));
    }
    EXPECT_TRUE(sWindow->Find(Indexed(L"control_empty_%d", n))->IsVisible());
  }
  for (int role = 1; role < model::kRoleCount; ++role) {
    EXPECT_FALSE(sWindow->Find(Indexed(L"speaker_%d", role))->IsVisible()) << role;
  }
}

TEST_F(MainLayout, EachSpeakerPictureHasItsOwnPlaceOnTheCarAndNamesItsRole) {
  const CControlUI* car = sWindow->Find(L"car_view");
  ASSERT_NE(car, nullptr);
  std::vector<CControlUI*> speakers;
  for (int role = 1; role < model::kRoleCount; ++role) {
    CControlUI* speaker = sWindow->Find(Indexed(L"speaker_%d", role));
    ASSERT_NE(speaker, nullptr);
    EXPECT_EQ(ToUtf8(speaker->GetToolTip()), std::string(model::RoleInfoOf(role).buttonLabel))
        << role;
    speaker->SetVisible(true);
    speakers.push_back(speaker);
  }
  sWindow->ApplyScale(100);
  const DuiLib::RECT area = car->GetPos();
  for (std::size_t i = 0; i < speakers.size(); ++i) {
    const DuiLib::RECT place = speakers[i]->GetPos();
    EXPECT_TRUE(place.Width() > 0 && place.left >= area.left && place.right <= area.right &&
                place.top >= area.top && place.bottom <= area.bottom)
        << "speaker_" << i + 1 << " lies outside the car";
    for (std::size_t j = 0; j < i; ++j) {
      const DuiLib::RECT other = speakers[j]->GetPos();
      EXPECT_TRUE(place.right <= other.left || other.right <= place.left ||
                  place.bottom <= other.top || other.bottom <= place.top)
          << "speaker_" << i + 1 << " covers speaker_" << j + 1;
    }
  }
  for (CControlUI* speaker : speakers) {
    speaker->SetVisible(false);
  }
}

// ---- Scale labels -------------------------------------------------------------------------------

class ScaleLabels : public testing::TestWithParam<int> {};

std::vector<const ui::UICurveScale*> Scales(MainPageWindow& window) {
  std::vector<const ui::UICurveScale*> scales;
  for (CControlUI* control : window.AllControls()) {
    if (const auto* scale = dynamic_cast<const ui::UICurveScale*>(control)) {
      scales.push_back(scale);
    }
  }
  return scales;
}

// The share of `count` points along a line of the rendered editor that carry the grid colour.
double GridShare(const QImage& image, bool vertical, int at) {
  const QRgb grid = QColor(0x44, 0x44, 0x44).rgb();
  const int count = vertical ? image.height() : image.width();
  int hits = 0;
  for (int i = 0; i < count; ++i) {
    const QRgb pixel = vertical ? image.pixel(at, i) : image.pixel(i, at);
    hits += (pixel & 0xFFFFFF) == (grid & 0xFFFFFF) ? 1 : 0;
  }
  return static_cast<double>(hits) / count;
}

TEST_P(ScaleLabels, EveryLabelStandsOnTheGridLineTheEditorDraws) {
  const auto window = skin_test::OpenMainPage(GetParam());
  ASSERT_NE(window, nullptr);
  auto* editor = window->Find<ui::UIEqualizer>(L"equalizer");
  ASSERT_NE(editor, nullptr);
  editor->SetBands({}, -1);
  const DuiLib::RECT plot = editor->GetPos();
  const ui::EqualizerGeometry& geometry = editor->GetGeometry();
  ASSERT_EQ(geometry.plot.Width(), plot.Width());
  const QImage drawn = editor->GetWidget()->grab().toImage();

  const auto scales = Scales(*window);
  ASSERT_EQ(scales.size(), 2u);
  int frequencies = 0;
  int levels = 0;
  for (const ui::UICurveScale* scale : scales) {
    const DuiLib::RECT own = scale->GetPos();
    const auto marks = scale->Marks();
    for (std::size_t i = 0; i < marks.size(); ++i) {
      const ui::UICurveScale::Mark& mark = marks[i];
      const DuiLib::RECT& rect = mark.rect;
      EXPECT_GE(rect.left, 0);
      EXPECT_LE(rect.right, own.Width());
      EXPECT_GE(rect.top, 0);
      EXPECT_LE(rect.bottom, own.Height());
      if (scale->GetAxis() == ui::UICurveScale::Axis::Frequency) {
        ++frequencies;
        const int x = own.left + mark.anchor;
        ASSERT_EQ(x, plot.left + geometry.FrequencyToX(mark.value)) << mark.value;
        // Centred on its line, unless held inside the row at either end.
        if (rect.left > 0 && rect.right < own.Width()) {
          EXPECT_LE(std::abs((rect.left + rect.right) / 2 - mark.anchor), 1) << mark.value;
        }
        if (i > 0) {
          EXPECT_LE(marks[i - 1].rect.right, rect.left) << mark.value;
        }
        // The frame stands at both ends; the lines between are drawn top to bottom.
        if (mark.value > ui::kLowestFrequencyHz && mark.value < ui::kHighestFrequencyHz) {
          EXPECT_GT(GridShare(drawn, true, x - plot.left), 0.5) << "no line under " << mark.value;
        }
      } else {
        ++levels;
        const int y = own.top + mark.anchor;
        ASSERT_EQ(y, plot.top + static_cast<int>(std::lround(geometry.GainToY(mark.value))))
            << mark.value;
        EXPECT_LE(std::abs((rect.top + rect.bottom) / 2 - mark.anchor), 1) << mark.value;
        // Level lines are dotted.
        EXPECT_GT(GridShare(drawn, false, y - plot.top), 0.25) << "no line beside " << mark.value;
      }
    }
  }
  // 20 Hz to 20 kHz in 1-2-5 steps, and +10 to -15 dB in 5 dB steps: none is left out.
  EXPECT_EQ(frequencies, 10);
  EXPECT_EQ(levels, 6);
  window->Close(0);
}

INSTANTIATE_TEST_SUITE_P(AtEachScale, ScaleLabels, testing::Values(100, 150));

}  // namespace
