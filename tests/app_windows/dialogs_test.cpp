// The small dialogs as the user drives them: simulated clicks and keys on the real windows under
// the offscreen platform, with the skin read from the program's own archive.
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "app/windows/about_wnd.h"
#include "app/windows/msg_check_box_wnd.h"
#include "app/windows/msg_wnd.h"
#include "app/windows/name_msg_wnd.h"
#include "app/windows/noise_threshold_wnd.h"
#include "app/windows/window_user_dialogs.h"
#include "device/dsp_records.h"
#include "device/parameter_codes.h"
#include "model/scene_record.h"
#include "platform/post_message.h"
#include "platform/window_messages.h"
#include "tests/app_windows/skin_environment.h"
#include "ui/framework/button.h"
#include "ui/framework/edit.h"
#include "ui/framework/resource_manager.h"
#include "ui/framework/slider.h"
#include "ui/framework/ui_utils.h"

namespace {

using namespace DuiLib;
using test_env::GetText;
using test_env::ToUtf8;

// A modal loop that is never ended by the test's input would hang; this code marks that case.
constexpr UINT kNotClosed = 99;
constexpr int kModalTimeoutMs = 5000;

// Runs `input` once the window's modal loop is running and returns the loop's close code, or
// kNotClosed when the input did not close the window in time.
UINT RunModal(WindowImplBase& window, std::function<void()> input) {
  QTimer::singleShot(0, [&window, input] {
    // Keyboard focus needs the active window, which the offscreen platform does not hand out
    // by itself.
    QWidget* native = window.GetPaintManager().GetRoot()->GetWidget()->window();
    QApplication::setActiveWindow(native);
    EXPECT_TRUE(QTest::qWaitForWindowActive(native, kModalTimeoutMs));
    input();
  });
  QTimer guard;
  guard.setSingleShot(true);
  QObject::connect(&guard, &QTimer::timeout, [&window] { window.Close(kNotClosed); });
  guard.start(kModalTimeoutMs);
  return window.ShowModal();
}

void Click(CPaintManagerUI& manager, std::wstring_view name) {
  CControlUI* control = manager.FindControl(name);
  ASSERT_NE(control, nullptr) << "no control named " << ToUtf8(name);
  QTest::mouseClick(control->GetWidget(), Qt::LeftButton);
}

bool IsShown(CPaintManagerUI& manager, std::wstring_view name) {
  const CControlUI* control = manager.FindControl(name);
  return control && control->IsVisible();
}

std::wstring TextOf(CPaintManagerUI& manager, std::wstring_view name) {
  const CControlUI* control = manager.FindControl(name);
  return control ? control->GetText() : L"<missing>";
}

// ---- Message box ----------------------------------------------------------------------------

class MsgWndTest : public ui::CMsgWnd {
 public:
  using ui::CMsgWnd::mPaintManager;
};

TEST(MessageBox, OneButtonShowsOnlyConfirmAndConfirmAnswersOne) {
  MsgWndTest wnd;
  ASSERT_TRUE(ui::CreateDialogWindow(wnd, 0, L"msgwnd"));
  wnd.SetMessage(L"${tips}", L"${device_connect_fail}");
  wnd.SetButtons({L"${confirm}", L"", L""}, 1);
  EXPECT_TRUE(IsShown(wnd.mPaintManager, L"confirm_btn"));
  EXPECT_FALSE(IsShown(wnd.mPaintManager, L"cancel_btn"));
  EXPECT_FALSE(IsShown(wnd.mPaintManager, L"third_btn"));
  EXPECT_EQ(TextOf(wnd.mPaintManager, L"MessageTitle"), GetText(L"${tips}"));
  EXPECT_EQ(RunModal(wnd, [&] { Click(wnd.mPaintManager, L"confirm_btn"); }), 1u);
}

TEST(MessageBox, ThreeButtonsShowAllAndTheThirdAnswersTwo) {
  MsgWndTest wnd;
  ASSERT_TRUE(ui::CreateDialogWindow(wnd, 0, L"msgwnd"));
  wnd.SetMessage(L"${tips}", L"${empty_output_tips}");
  wnd.SetButtons({L"${default}", L"${cancel}", L"${emptied}"}, 3);
  EXPECT_TRUE(IsShown(wnd.mPaintManager, L"confirm_btn"));
  EXPECT_TRUE(IsShown(wnd.mPaintManager, L"cancel_btn"));
  EXPECT_TRUE(IsShown(wnd.mPaintManager, L"third_btn"));
  EXPECT_EQ(TextOf(wnd.mPaintManager, L"third_btn"), GetText(L"${emptied}"));
  EXPECT_EQ(TextOf(wnd.mPaintManager, L"confirm_btn"), GetText(L"${default}"));
  EXPECT_EQ(RunModal(wnd, [&] { Click(wnd.mPaintManager, L"third_btn"); }), 2u);
}

TEST(MessageBox, QuestionBoxAnswersNoOnCloseCancelAndIgnoresEscape) {
  for (const wchar_t* button : {L"closebtn", L"cancel_btn"}) {
    MsgWndTest wnd;
    ASSERT_TRUE(ui::CreateDialogWindow(wnd, 0, L"msgwnd"));
    wnd.SetMessage(L"${tips}", L"${factory_default_tips}");
    EXPECT_TRUE(IsShown(wnd.mPaintManager, L"cancel_btn"));
    const UINT code = RunModal(wnd, [&] {
      QTest::keyClick(wnd.mPaintManager.FindControl(L"confirm_btn")->GetWidget(), Qt::Key_Escape);
      // Escape must not have closed the box: the click below decides.
      EXPECT_TRUE(wnd.IsWindowVisible());
      Click(wnd.mPaintManager, button);
    });
    EXPECT_EQ(code, 0u) << ToUtf8(button);
  }
}

// ---- Check-option box ------------------------------------------------------------------------

class CheckBoxWndTest : public ui::CMsgCheckBoxWnd {
 public:
  using ui::CMsgCheckBoxWnd::mPaintManager;
};

TEST(CheckOptionBox, ConfirmWithoutASelectionKeepsTheBoxOpen) {
  CheckBoxWndTest wnd;
  ASSERT_TRUE(ui::CreateDialogWindow(wnd, 0, L"msgcbwnd"));
  wnd.SetMessage(L"${tips}", L"${link_tips}", {L"${copy_left_to_right}", L"${copy_right_to_left}"});
  const UINT code = RunModal(wnd, [&] {
    Click(wnd.mPaintManager, L"confirm_btn");
    QApplication::processEvents();
    EXPECT_TRUE(wnd.IsWindowVisible()) << "confirm closed the box without a choice";
    Click(wnd.mPaintManager, L"check_box_1");
    Click(wnd.mPaintManager, L"confirm_btn");
  });
  EXPECT_EQ(code, 2u);
}

TEST(CheckOptionBox, FirstOptionAnswersOneAndCancelAnswersZero) {
  {
    CheckBoxWndTest wnd;
    ASSERT_TRUE(ui::CreateDialogWindow(wnd, 0, L"msgcbwnd"));
    wnd.SetMessage(L"", L"", {L"${copy_left_to_right}", L"${copy_right_to_left}"});
    EXPECT_EQ(TextOf(wnd.mPaintManager, L"check_box_0"), GetText(L"${copy_left_to_right}"));
    EXPECT_EQ(RunModal(wnd,
                       [&] {
                         Click(wnd.mPaintManager, L"check_box_0");
                         Click(wnd.mPaintManager, L"confirm_btn");
                       }),
              1u);
  }
  {
    CheckBoxWndTest wnd;
    ASSERT_TRUE(ui::CreateDialogWindow(wnd, 0, L"msgcbwnd"));
    // One empty option text leaves both options as the layout has them.
    wnd.SetMessage(L"", L"", {L"Only one", L""});
    EXPECT_NE(TextOf(wnd.mPaintManager, L"check_box_0"), L"Only one");
    EXPECT_EQ(RunModal(wnd,
                       [&] {
                         Click(wnd.mPaintManager, L"check_box_0");
                         Click(wnd.mPaintManager, L"cancel_btn");
                       }),
              0u);
  }
}

// ---- Name entry ----------------------------------------------------------------------------

class NameWndTest : public ui::CNameMsgWnd {
 public:
  using ui::CNameMsgWnd::CNameMsgWnd;
  using ui::CNameMsgWnd::mPaintManager;
};

TEST(NameEntry, EnterConfirmsWithTheNameCutToItsBuffer) {
  std::wstring name = L"Old";
  NameWndTest wnd(name, 8);
  ASSERT_TRUE(ui::CreateDialogWindow(wnd, 0, L"namemsgwnd"));
  EXPECT_EQ(TextOf(wnd.mPaintManager, L"name_edt"), L"Old");
  const UINT code = RunModal(wnd, [&] {
    QWidget* edit = wnd.mPaintManager.FindControl(L"name_edt")->GetWidget();
    static_cast<CEditUI*>(wnd.mPaintManager.FindControl(L"name_edt"))->SetText(L"");
    QTest::keyClicks(edit, "Concert hall");
    QTest::keyClick(edit, Qt::Key_Return);
  });
  EXPECT_EQ(code, 1u);
  EXPECT_EQ(name, L"Concert ");
}

TEST(NameEntry, AKeyPressedElsewhereBringsTheFocusBackToTheName) {
  std::wstring name;
  NameWndTest wnd(name, 8);
  ASSERT_TRUE(ui::CreateDialogWindow(wnd, 0, L"namemsgwnd"));
  const UINT code = RunModal(wnd, [&] {
    CControlUI* edit = wnd.mPaintManager.FindControl(L"name_edt");
    CControlUI* cancel = wnd.mPaintManager.FindControl(L"cancel_btn");
    cancel->SetFocus();
    EXPECT_FALSE(edit->IsFocused());
    QTest::keyClick(cancel->GetWidget(), Qt::Key_A);
    EXPECT_TRUE(edit->IsFocused());
    Click(wnd.mPaintManager, L"cancel_btn");
  });
  EXPECT_EQ(code, 0u);
}

TEST(NameEntry, CancelLeavesTheNameAlone) {
  std::wstring name = L"Keep";
  NameWndTest wnd(name, 8);
  ASSERT_TRUE(ui::CreateDialogWindow(wnd, 0, L"namemsgwnd"));
  const UINT code = RunModal(wnd, [&] {
    static_cast<CEditUI*>(wnd.mPaintManager.FindControl(L"name_edt"))->SetText(L"Other");
    Click(wnd.mPaintManager, L"cancel_btn");
  });
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(name, L"Keep");
}

// ---- About window --------------------------------------------------------------------------

class AboutWndTest : public ui::CAboutWnd {
 public:
  using ui::CAboutWnd::CAboutWnd;
  using ui::CAboutWnd::mPaintManager;
};

TEST(AboutWindow, WithoutAUnitShowsOnlyTheModelName) {
  model::SceneRecord unit;  // identity unknown: model number -1
  AboutWndTest wnd(unit);
  ASSERT_TRUE(ui::CreateDialogWindow(wnd, 0, L"msgwnd"));
  EXPECT_EQ(TextOf(wnd.mPaintManager, L"fw_version"), L"TRZ62C");
  EXPECT_EQ(TextOf(wnd.mPaintManager, L"soft_version"), GetText(L"${soft_version}") + L" v6.7.13");
  EXPECT_TRUE(IsShown(wnd.mPaintManager, L"inner_fw_version"));
  EXPECT_EQ(TextOf(wnd.mPaintManager, L"inner_fw_version"),
            GetText(L"${inner_fw_version}") + L" v15.6");
  EXPECT_EQ(TextOf(wnd.mPaintManager, L"company_title"), L"Tessamark DSP Audio");
  EXPECT_EQ(RunModal(wnd, [&] { Click(wnd.mPaintManager, L"confirm_btn"); }), 1u);
}

TEST(AboutWindow, WithAUnitShowsItsFirmware) {
  model::SceneRecord unit;
  unit.modelNumber = 23;
  unit.masterVersion = 16;
  unit.slaveVersion = 2;
  AboutWndTest wnd(unit);
  ASSERT_TRUE(ui::CreateDialogWindow(wnd, 0, L"msgwnd"));
  EXPECT_EQ(TextOf(wnd.mPaintManager, L"fw_version"),
            L"TRZ62C " + GetText(L"${version}") + L" v16.2");
  wnd.Close(0);
}

// ---- Noise threshold window ------------------------------------------------------------------

class FakeThresholdLink : public ui::NoiseThresholdLink {
 public:
  int threshold = -60;
  int inputs = 0;
  bool connected = false;
  platform::WindowHandle toolWindow = 0;
  std::vector<int> sent;
  std::vector<int> requests;

  int InputThreshold() const override { return threshold; }
  void StoreInputThreshold(int db) override { threshold = db; }
  int InputCount() const override { return inputs; }
  bool IsUnitConnected() const override { return connected; }
  void SetToolWindow(platform::WindowHandle window) override { toolWindow = window; }
  void RequestInputNoise(int count) override { requests.push_back(count); }
  void SendInputThreshold(int db) override { sent.push_back(db); }
};

class ThresholdWndTest : public ui::CNoiseThresholdWnd {
 public:
  using ui::CNoiseThresholdWnd::CNoiseThresholdWnd;
  using ui::CNoiseThresholdWnd::mPaintManager;

  QWidget* Edit() { return mPaintManager.FindControl(L"value_edt")->GetWidget(); }
  void Type(const char* text) {
    static_cast<CEditUI*>(mPaintManager.FindControl(L"value_edt"))->SetText(L"");
    QTest::keyClicks(Edit(), text);
    QTest::keyClick(Edit(), Qt::Key_Return);
  }
};

TEST(NoiseThreshold, SteppingStopsAtTheTopAndAtOff) {
  FakeThresholdLink link;
  link.threshold = -40;
  ThresholdWndTest wnd(link);
  ASSERT_TRUE(ui::CreateDialogWindow(wnd, 0, L"msgwnd"));
  wnd.ShowWindow();
  EXPECT_EQ(TextOf(wnd.mPaintManager, L"value_edt"), L"-40dBu");
  QTest::keyClick(wnd.Edit(), Qt::Key_Up);
  EXPECT_EQ(link.threshold, -40);
  EXPECT_EQ(link.sent, std::vector<int>{-40});
  QTest::keyClick(wnd.Edit(), Qt::Key_Down);
  EXPECT_EQ(TextOf(wnd.mPaintManager, L"value_edt"), L"-41dBu");
  EXPECT_EQ(link.threshold, -41);

  wnd.Type("-80");
  EXPECT_EQ(link.threshold, -80);
  QTest::keyClick(wnd.Edit(), Qt::Key_Down);
  EXPECT_EQ(link.threshold, -81);
  EXPECT_EQ(TextOf(wnd.mPaintManager, L"value_edt"), GetText(L"${off}"));
  QTest::keyClick(wnd.Edit(), Qt::Key_Down);
  EXPECT_EQ(link.threshold, -81);
  EXPECT_EQ(TextOf(wnd.mPaintManager, L"value_edt"), GetText(L"${off}"));
  QTest::keyClick(wnd.Edit(), Qt::Key_Up);
  EXPECT_EQ(link.threshold, -80);
  wnd.Close(0);
}

TEST(NoiseThreshold, TypedValuesBeyondTheLimitsCommitTheLimits) {
  FakeThresholdLink link;
  ThresholdWndTest wnd(link);
  ASSERT_TRUE(ui::CreateDialogWindow(wnd, 0, L"msgwnd"));
  wnd.ShowWindow();
  wnd.Type("-100");
  EXPECT_EQ(link.threshold, -81);
  EXPECT_EQ(TextOf(wnd.mPaintManager, L"value_edt"), GetText(L"${off}"));
  wnd.Type("-20");
  EXPECT_EQ(link.threshold, -40);
  EXPECT_EQ(TextOf(wnd.mPaintManager, L"value_edt"), L"-40dBu");
  EXPECT_EQ(link.sent, (std::vector<int>{-81, -40}));
  // Cancel closes without taking back what was sent.
  EXPECT_EQ(RunModal(wnd, [&] { Click(wnd.mPaintManager, L"cancel_btn"); }), 0u);
  EXPECT_EQ(link.threshold, -40);
}

struct TypedThenClicked {
  const wchar_t* button;
  UINT code;
  std::vector<int> sent;
  int threshold;
};

class NoiseThresholdTyped : public testing::TestWithParam<TypedThenClicked> {};

TEST_P(NoiseThresholdTyped, OkTakesATypedValueAndCancelSendsNothingNew) {
  // GIVEN a value typed into the edit without Enter WHEN a button is clicked (which takes the
  // focus from the edit first) THEN OK commits it and Cancel or the close button send nothing.
  FakeThresholdLink link;
  link.threshold = -60;
  ThresholdWndTest wnd(link);
  ASSERT_TRUE(ui::CreateDialogWindow(wnd, 0, L"msgwnd"));
  const UINT code = RunModal(wnd, [&] {
    wnd.mPaintManager.FindControl(L"value_edt")->SetFocus();
    static_cast<CEditUI*>(wnd.mPaintManager.FindControl(L"value_edt"))->SetText(L"");
    QTest::keyClicks(wnd.Edit(), "-50");
    Click(wnd.mPaintManager, GetParam().button);
  });
  EXPECT_EQ(code, GetParam().code);
  EXPECT_EQ(link.sent, GetParam().sent);
  EXPECT_EQ(link.threshold, GetParam().threshold);
}

INSTANTIATE_TEST_SUITE_P(Buttons, NoiseThresholdTyped,
                         testing::Values(TypedThenClicked{L"confirm_btn", 1, {-50}, -50},
                                         TypedThenClicked{L"cancel_btn", 0, {}, -60},
                                         TypedThenClicked{L"closebtn", 0, {}, -60}));

TEST(NoiseThreshold, WithoutAUnitShowsTheStoredValueAndNoMeters) {
  FakeThresholdLink link;
  link.threshold = -95;  // below the range: shown as off
  link.inputs = 0;
  ThresholdWndTest wnd(link);
  ASSERT_TRUE(ui::CreateDialogWindow(wnd, 0, L"msgwnd"));
  EXPECT_EQ(TextOf(wnd.mPaintManager, L"value_edt"), GetText(L"${off}"));
  EXPECT_EQ(link.toolWindow, wnd.GetHWND());
  for (int i = 0; i < 6; ++i) {
    EXPECT_FALSE(IsShown(wnd.mPaintManager, Format(L"prg_group_%d", i))) << i;
  }
  EXPECT_EQ(RunModal(wnd, [&] { Click(wnd.mPaintManager, L"confirm_btn"); }), 1u);
  EXPECT_TRUE(link.requests.empty()) << "levels requested without a unit";
  EXPECT_TRUE(link.sent.empty());
  EXPECT_EQ(link.toolWindow, 0u);
}

TEST(NoiseThreshold, ConnectedWindowPollsAndShowsPostedLevels) {
  FakeThresholdLink link;
  link.inputs = 4;  // source 5
  link.connected = true;
  ThresholdWndTest wnd(link);
  ASSERT_TRUE(ui::CreateDialogWindow(wnd, 0, L"msgwnd"));
  EXPECT_TRUE(IsShown(wnd.mPaintManager, L"prg_group_3"));
  EXPECT_FALSE(IsShown(wnd.mPaintManager, L"prg_group_4"));
  EXPECT_FALSE(IsShown(wnd.mPaintManager, L"in_5"));
  EXPECT_EQ(static_cast<CProgressUI*>(wnd.mPaintManager.FindControl(L"progress_0"))->GetValue(),
            -100);

  const UINT code = RunModal(wnd, [&] {
    // The timer asks for the levels of the four inputs.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !link.requests.empty(); }, 3000));
    EXPECT_EQ(link.requests.front(), 4);
    auto record = std::make_unique<device::InputNoiseRecord>();
    record->chX = 0;
    record->chY = 3;
    record->levels[0] = -72.46f;
    record->levels[3] = -12.0f;
    record->levels[4] = -5.0f;  // beyond the source's inputs: not shown
    // Posted from another thread, as the reply decoder does.
    std::thread([&, r = std::move(record)]() mutable {
      platform::PostMessage(link.toolWindow, platform::msg::kDspNotify, device::dsp::kInputNoise,
                            std::move(r));
    }).join();
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return TextOf(wnd.mPaintManager, L"noise_0") == L" -72.5"; }, 3000));
    EXPECT_EQ(TextOf(wnd.mPaintManager, L"noise_3"), L" -12.0");
    EXPECT_EQ(static_cast<CProgressUI*>(wnd.mPaintManager.FindControl(L"progress_0"))->GetValue(),
              -72);
    EXPECT_EQ(TextOf(wnd.mPaintManager, L"noise_4"), L"");
    Click(wnd.mPaintManager, L"confirm_btn");
  });
  EXPECT_EQ(code, 1u);
  EXPECT_EQ(link.toolWindow, 0u) << "the closed window stayed the unit's tool window";
}

// ---- The dialog interface over the real windows -----------------------------------------------

// The visible top-level window with that title, once it appears.
QWidget* WaitForWindow(const QString& title) {
  QWidget* found = nullptr;
  // On a time-out `found` stays null, which the caller checks.
  (void)QTest::qWaitFor(
      [&] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
          if (widget->isVisible() && widget->windowTitle() == title) {
            found = widget;
          }
        }
        return found != nullptr;
      },
      kModalTimeoutMs);
  return found;
}

TEST(WindowUserDialogs, NameEntryAndQuestionReachTheirWindows) {
  ui::WindowUserDialogs dialogs(0);
  std::wstring name = L"Old";
  QTimer::singleShot(0, [] {
    QWidget* window = WaitForWindow(QStringLiteral("namemsgwnd"));
    ASSERT_NE(window, nullptr);
    auto* edit = window->findChild<QLineEdit*>();
    ASSERT_NE(edit, nullptr);
    // Chinese cannot be typed as key clicks; it arrives as an input method would put it.
    edit->setText(QString::fromWCharArray(L"家庭影院模式一二三"));
    QTest::keyClick(edit, Qt::Key_Return);
  });
  EXPECT_EQ(dialogs.NameEntry(name, 8), 1);
  EXPECT_EQ(name, L"家庭影院模式一二");

  QTimer::singleShot(0, [] {
    QWidget* window = WaitForWindow(QStringLiteral("msgwnd"));
    ASSERT_NE(window, nullptr);
    // Escape does not answer; closing the window from the system does, with no.
    QTest::keyClick(window, Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_TRUE(window->isVisible());
    window->close();
  });
  EXPECT_EQ(dialogs.QuestionBox(L"${tips}", L"${reset_all_eq_tips}"), 0);
}

TEST(WindowUserDialogs, FileFiltersInQtNotation) {
  EXPECT_EQ(
      ui::FileDialogFilterText({{L"场景配置文件(*.spf)", L"*.spf"}, {L"所有文件(*.*)", L"*.*"}}),
      L"场景配置文件 (*.spf);;所有文件 (*.*)");
  EXPECT_EQ(ui::FileDialogFilterText({{L"TRZ62C_MCU_UPG.bin,TRZ62C_FLASH_UPG.bin",
                                       L"TRZ62C_MCU_UPG.bin;TRZ62C_FLASH_UPG.bin"}}),
            L"TRZ62C_MCU_UPG.bin,TRZ62C_FLASH_UPG.bin (TRZ62C_MCU_UPG.bin TRZ62C_FLASH_UPG.bin)");
}

}  // namespace
