// The main page's texts in both languages: every language key the built page shows has a text, and
// every text fits its control at 100 % and 150 %, including the texts the program writes later
// (connection states, role names, the widest values of the edits).
#include <QFontMetrics>
#include <QString>
#include <QWidget>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/limits.h"
#include "model/speaker_role.h"
#include "tests/skin/main_page_window.h"
#include "ui/framework/edit.h"
#include "ui/framework/label.h"
#include "ui/framework/list.h"
#include "ui/framework/paint_manager.h"

namespace {

using DuiLib::CControlUI;
using skin_test::Indexed;
using skin_test::MainPageWindow;
using skin_test::ToUtf8;

std::wstring Wide(std::string_view text) {
  return std::wstring(text.begin(), text.end());
}

bool IsKey(std::wstring_view text) {
  return text.starts_with(L"${") && text.ends_with(L"}");
}

// Room the drop-down keeps beside the text of its items: padding and the mark, in layout units.
constexpr int kComboChrome = 6 + 18;
// Room a line edit keeps around its text at any scale: Qt's two-pixel margins and the cursor.
constexpr int kEditChrome = 5;

struct Setting {
  const wchar_t* language;
  int scale;
};

void PrintTo(const Setting& setting, std::ostream* out) {
  *out << ToUtf8(setting.language) << " at " << setting.scale << " %";
}

class MainTexts : public testing::TestWithParam<Setting> {
 protected:
  void SetUp() override {
    skin_test::SelectLanguage(GetParam().language);
    window = skin_test::OpenMainPage(GetParam().scale);
    ASSERT_NE(window, nullptr);
    manager = &window->GetPaintManager();
  }
  void TearDown() override {
    if (window != nullptr) {
      window->Close(0);
    }
    skin_test::SelectLanguage(L"cn_zh");
  }

  int Width(const DuiLib::CLabelUI& label, std::wstring_view text) const {
    return QFontMetrics(manager->GetFont(label.GetFont()))
        .horizontalAdvance(QString::fromWCharArray(text.data(), static_cast<int>(text.size())));
  }
  // The width a label has for its text.
  int Room(const DuiLib::CLabelUI& label) const {
    const DuiLib::RECT& padding = label.GetTextPadding();
    return label.GetPos().Width() - manager->Scale(padding.left) - manager->Scale(padding.right);
  }
  void ExpectFits(const wchar_t* name, std::wstring_view text) {
    const auto* label = window->Find<DuiLib::CLabelUI>(name);
    ASSERT_NE(label, nullptr) << ToUtf8(name);
    const std::wstring shown = IsKey(text) ? skin_test::TextOf(text) : std::wstring(text);
    int room = Room(*label);
    if (const auto* edit = dynamic_cast<const DuiLib::CEditUI*>(label)) {
      const int border = edit->GetBorderColor() != 0 ? manager->Scale(1) : 0;
      room -= 2 * border + kEditChrome;
    }
    EXPECT_LE(Width(*label, shown), room) << ToUtf8(name) << ": \"" << ToUtf8(shown) << "\"";
  }

  std::unique_ptr<MainPageWindow> window;
  DuiLib::CPaintManagerUI* manager = nullptr;
};

TEST_P(MainTexts, EveryKeyOnThePageHasATextInThisLanguage) {
  int keys = 0;
  for (const CControlUI* control : window->AllControls()) {
    for (const std::wstring& raw : {control->GetRawText(), control->GetToolTip()}) {
      if (IsKey(raw)) {
        ++keys;
        EXPECT_NE(skin_test::TextOf(raw), raw) << ToUtf8(raw) << " has no text";
      }
    }
  }
  // The page's own words: headings, buttons, items, eight outputs, 24 speakers.
  EXPECT_GT(keys, 80);
}

TEST_P(MainTexts, EveryTextFitsItsControl) {
  int checked = 0;
  for (CControlUI* control : window->AllControls()) {
    if (!control->IsVisible() || control->GetRawText().empty()) {
      continue;
    }
    if (auto* combo = dynamic_cast<DuiLib::CComboUI*>(control)) {
      const int room = combo->GetPos().Width() - manager->Scale(kComboChrome);
      const QFontMetrics metrics(combo->GetWidget()->font());
      for (int i = 0; i < combo->GetCount(); ++i) {
        const std::wstring text = combo->GetItemAt(i)->GetText();
        EXPECT_LE(metrics.horizontalAdvance(QString::fromStdWString(text)), room)
            << ToUtf8(combo->GetName()) << " item " << i << ": \"" << ToUtf8(text) << "\"";
        ++checked;
      }
      continue;
    }
    const auto* label = dynamic_cast<const DuiLib::CLabelUI*>(control);
    if (label == nullptr || dynamic_cast<const DuiLib::CEditUI*>(label) != nullptr) {
      continue;
    }
    ++checked;
    EXPECT_LE(Width(*label, label->GetText()), Room(*label))
        << ToUtf8(control->GetName()) << ": \"" << ToUtf8(label->GetText()) << "\"";
  }
  EXPECT_GT(checked, 100);
}

TEST_P(MainTexts, TextsTheProgramWritesLaterFit) {
  struct Later {
    const wchar_t* control;
    std::wstring text;
  };
  std::vector<Later> texts = {
      {L"btnConnect", L"${btn_disconnected}"},
      {L"btnConnect", L"${btn_connecting}"},
      {L"btnConnect", L"${btn_connected}"},
      {L"btn_bypass", L"${bypass_eq}"},
      {L"btn_bypass", L"${restore_eq}"},
      {L"btn_arg_eq", L"${peq_mode}"},
      {L"btn_arg_eq", L"${geq_mode}"},
      {L"ch_phase_0", L"${positive_phase}"},
      {L"ch_phase_0", L"${reverse phase}"},
      // The widest values the edits show.
      {L"edit_main_volume", L"-60dB"},
      {L"edit_main_volume", L"${off}"},
      {L"hp_freq", L"20000Hz"},
      {L"lp_freq", L"20000Hz"},
      {L"eq_freq_30", L"20000"},
      {L"eq_q_30", L"0.50"},
      {L"eq_gain_30", L"-18.0"},
      {L"edit_ch_volume_7", L"-60dB"},
      {L"edit_ch_volume_7", L"${off}"},
      {L"edit_ch_delay_7", L"15.000 ms"},
      {L"edit_ch_delay_7", L"519 cm"},
      {L"edit_ch_delay_7", L"204 in"},
      {L"edt_dpi", L"288"},
  };
  for (int role = 0; role < model::kRoleCount; ++role) {
    texts.push_back({L"ch_output_btn_0", Wide(model::RoleInfoOf(role).buttonLabel)});
  }
  for (const Later& later : texts) {
    // Hidden controls are laid out only when shown.
    CControlUI* control = window->Find(later.control);
    ASSERT_NE(control, nullptr);
    if (!control->IsVisible()) {
      control->SetVisible(true);
      window->ApplyScale(GetParam().scale);
    }
    ExpectFits(later.control, later.text);
  }
}

INSTANTIATE_TEST_SUITE_P(LanguagesAndScales, MainTexts,
                         testing::Values(Setting{L"cn_zh", 100}, Setting{L"cn_zh", 150},
                                         Setting{L"en", 100}, Setting{L"en", 150}),
                         [](const testing::TestParamInfo<Setting>& info) {
                           return ToUtf8(info.param.language) + "_" +
                                  std::to_string(info.param.scale);
                         });

}  // namespace
