// Notifications raised by simulated user input, carrying their sender.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QTest>
#include <QWheelEvent>

#include "tests/ui_framework/test_window.h"

namespace {

using namespace DuiLib;
using Senders = std::vector<std::wstring>;

class NotifyTest : public testing::Test {
 protected:
  void SetUp() override {
    uitest::App();
    ASSERT_TRUE(mWindow.Open());
    // Work at 100 % so positions below are layout units.
    Pm().SetDPI(kDefaultDpi);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !Pm().IsUpdateNeeded(); }, 5000));
    mWindow.notifications.clear();
  }

  CPaintManagerUI& Pm() { return mWindow.GetPaintManager(); }
  QWidget* Widget(std::wstring_view name) {
    CControlUI* control = Pm().FindControl(name);
    return control != nullptr ? control->GetWidget() : nullptr;
  }
  void Click(std::wstring_view name, QPoint at = QPoint()) {
    QWidget* widget = Widget(name);
    ASSERT_NE(widget, nullptr);
    QTest::mouseClick(widget, Qt::LeftButton, {}, at.isNull() ? widget->rect().center() : at);
  }

  uitest::TestWindow mWindow;
};

TEST_F(NotifyTest, ButtonClickCarriesTheSender) {
  Click(L"btn_ok");
  EXPECT_EQ(mWindow.Senders(DUI_MSGTYPE_CLICK), (Senders{L"btn_ok"}));
  // A press that is released outside the button is no click.
  QWidget* button = Widget(L"btn_ok");
  QTest::mousePress(button, Qt::LeftButton, {}, button->rect().center());
  QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(-5, -5));
  EXPECT_EQ(mWindow.Senders(DUI_MSGTYPE_CLICK).size(), 1u);
  // A disabled button sends nothing.
  Pm().FindControl(L"btn_ok")->SetEnabled(false);
  Click(L"btn_ok");
  EXPECT_EQ(mWindow.Senders(DUI_MSGTYPE_CLICK).size(), 1u);
}

TEST_F(NotifyTest, OptionsInAGroupAndCheckBoxes) {
  auto* a = Pm().FindControl<COptionUI>(L"opt_a");
  auto* b = Pm().FindControl<COptionUI>(L"opt_b");
  ASSERT_TRUE(a->IsSelected());
  Click(L"opt_b");
  EXPECT_EQ(mWindow.Senders(DUI_MSGTYPE_CLICK), (Senders{L"opt_b"}));
  EXPECT_EQ(mWindow.Senders(DUI_MSGTYPE_SELECTCHANGED), (Senders{L"opt_b"}));
  EXPECT_TRUE(b->IsSelected());
  EXPECT_FALSE(a->IsSelected());
  // Clicking the selected option of a group keeps it selected and changes nothing.
  Click(L"opt_b");
  EXPECT_TRUE(b->IsSelected());
  EXPECT_EQ(mWindow.Senders(DUI_MSGTYPE_SELECTCHANGED).size(), 1u);
  // A check box toggles and reports each change.
  Click(L"chk");
  Click(L"chk");
  EXPECT_EQ(mWindow.Senders(DUI_MSGTYPE_SELECTCHANGED), (Senders{L"opt_b", L"chk", L"chk"}));
  EXPECT_FALSE(Pm().FindControl<CCheckBoxUI>(L"chk")->GetCheck());
}

TEST_F(NotifyTest, ComboReportsTheChosenItem) {
  auto* combo = Pm().FindControl<CComboUI>(L"combo");
  ASSERT_TRUE(combo->SelectItem(0, false, false));  // silent
  EXPECT_TRUE(mWindow.Senders(DUI_MSGTYPE_ITEMSELECT).empty());
  QTest::keyClick(Widget(L"combo"), Qt::Key_Down);
  EXPECT_EQ(mWindow.Senders(DUI_MSGTYPE_ITEMSELECT), (Senders{L"combo"}));
  EXPECT_EQ(combo->GetCurSel(), 1);
  EXPECT_EQ(combo->GetText(), L"two");
  // From code with the event: reported; the same index again: not.
  combo->SelectItem(2);
  combo->SelectItem(2);
  EXPECT_EQ(mWindow.Senders(DUI_MSGTYPE_ITEMSELECT).size(), 2u);
}

TEST_F(NotifyTest, SliderDragIsMoveValueChangedThenOneValueChanged) {
  auto* slider = Pm().FindControl<CSliderUI>(L"slider");
  QWidget* widget = Widget(L"slider");
  ASSERT_EQ(widget->width(), 210);
  const int y = widget->height() / 2;
  // GIVEN value 0 (thumb centre at x 5) WHEN dragged to 50 and 75 and released.
  QTest::mousePress(widget, Qt::LeftButton, {}, QPoint(5, y));
  QTest::mouseMove(widget, QPoint(105, y));
  QTest::mouseMove(widget, QPoint(155, y));
  EXPECT_EQ(mWindow.Senders(DUI_MSGTYPE_MOVEVALUECHANGED).size(), 2u);
  EXPECT_TRUE(mWindow.Senders(DUI_MSGTYPE_VALUECHANGED).empty());
  QTest::mouseRelease(widget, Qt::LeftButton, {}, QPoint(155, y));
  EXPECT_EQ(slider->GetValue(), 75);
  EXPECT_EQ(mWindow.Senders(DUI_MSGTYPE_VALUECHANGED), (Senders{L"slider"}));

  // WHEN the track is clicked away from the thumb THEN only "valuechanged".
  mWindow.notifications.clear();
  Click(L"slider", QPoint(55, y));
  EXPECT_EQ(slider->GetValue(), 25);
  EXPECT_EQ(mWindow.Senders(DUI_MSGTYPE_VALUECHANGED), (Senders{L"slider"}));
  EXPECT_TRUE(mWindow.Senders(DUI_MSGTYPE_MOVEVALUECHANGED).empty());

  // SetValue from code is silent.
  mWindow.notifications.clear();
  slider->SetValue(90);
  EXPECT_TRUE(mWindow.notifications.empty());
}

TEST_F(NotifyTest, EditKeysWheelAndFocus) {
  // The first edit takes the focus when the window opens; start from the button instead.
  Click(L"btn_ok");
  mWindow.notifications.clear();
  Click(L"edit_a");
  QWidget* edit = Widget(L"edit_a");
  ASSERT_TRUE(edit->hasFocus());
  EXPECT_EQ(mWindow.Senders(DUI_MSGTYPE_SETFOCUS), (Senders{L"edit_a"}));
  mWindow.notifications.clear();

  QTest::keyClick(edit, Qt::Key_Up);
  QTest::keyClick(edit, Qt::Key_Down);
  QTest::keyClick(edit, Qt::Key_Left);
  QTest::keyClick(edit, Qt::Key_Right);
  QTest::keyClick(edit, Qt::Key_Return);
  QWheelEvent up(QPointF(5, 5), edit->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, 120),
                 Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(edit, &up);
  QWheelEvent down(QPointF(5, 5), edit->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120),
                   Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(edit, &down);
  EXPECT_EQ(mWindow.Types(),
            (Senders{L"valuechangedup", L"valuechangeddown", L"valuechangedleft",
                     L"valuechangedright", L"return", L"valuechangedup", L"valuechangeddown"}));
  for (const auto& notification : mWindow.notifications) {
    EXPECT_EQ(notification.sender, L"edit_a");
  }
  // Typing still edits the text.
  QTest::keyClicks(edit, "5");
  EXPECT_EQ(Pm().FindControl(L"edit_a")->GetText(), L"15");

  // Moving to the other edit: killfocus from the first, setfocus on the second.
  mWindow.notifications.clear();
  Click(L"edit_b");
  EXPECT_EQ(mWindow.Senders(DUI_MSGTYPE_KILLFOCUS), (Senders{L"edit_a"}));
  EXPECT_EQ(mWindow.Senders(DUI_MSGTYPE_SETFOCUS), (Senders{L"edit_b"}));
  // Focus set from code reports the same way.
  mWindow.notifications.clear();
  Pm().FindControl(L"edit_a")->SetFocus();
  EXPECT_EQ(mWindow.Senders(DUI_MSGTYPE_KILLFOCUS), (Senders{L"edit_b"}));
  EXPECT_EQ(mWindow.Senders(DUI_MSGTYPE_SETFOCUS), (Senders{L"edit_a"}));
}

TEST_F(NotifyTest, EscapeIsConsumedAndEnterReachesTheControls) {
  Click(L"btn_ok");
  mWindow.notifications.clear();
  QTest::keyClick(Widget(L"btn_ok"), Qt::Key_Escape);
  EXPECT_TRUE(mWindow.notifications.empty());
  EXPECT_TRUE(mWindow.IsWindowVisible());
  QTest::keyClick(Widget(L"btn_ok"), Qt::Key_Return);
  EXPECT_EQ(mWindow.Senders(DUI_MSGTYPE_CLICK), (Senders{L"btn_ok"}));
}

TEST_F(NotifyTest, ListRowsReportClickAndDoubleClick) {
  auto* list = Pm().FindControl<CListUI>(L"list");
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->GetRowCount(), 2);
  ASSERT_NE(list->GetHeader(), nullptr);
  // A press on the row's label selects the row.
  CControlUI* label = list->GetRowAt(1)->FindSubControl(L"value");
  ASSERT_NE(label, nullptr);
  QTest::mouseClick(label->GetWidget(), Qt::LeftButton, {}, QPoint(3, 3));
  EXPECT_EQ(mWindow.Senders(DUI_MSGTYPE_ITEMCLICK), (Senders{L"listitem1"}));
  EXPECT_EQ(list->GetCurSel(), 1);
  QTest::mouseDClick(list->GetRowAt(0)->GetWidget(), Qt::LeftButton, {}, QPoint(3, 3));
  EXPECT_EQ(mWindow.Senders(DUI_MSGTYPE_ITEMACTIVATE), (Senders{L"listitem0"}));
  EXPECT_EQ(list->GetCurSel(), 0);
}

TEST_F(NotifyTest, ControlStateReadsBack) {
  CControlUI* button = Pm().FindControl(L"btn_ok");
  EXPECT_EQ(button->GetUserData(), L"7");
  EXPECT_EQ(button->GetUserDataIndex(), 7);
  button->SetBkColor(0xFF102030);
  EXPECT_EQ(button->GetBkColor(), 0xFF102030u);
  button->SetBkImage(L"dot");
  EXPECT_EQ(button->GetBkImage(), L"dot");
  // The flag answers at once; the widget follows at the window's next layout.
  button->SetVisible(false);
  EXPECT_FALSE(button->IsVisible());
  EXPECT_TRUE(button->GetWidget()->isVisible());
  Pm().UpdateLayout();
  EXPECT_FALSE(button->GetWidget()->isVisible());
  button->SetVisible(true);
  ASSERT_TRUE(QTest::qWaitFor([&] { return button->GetWidget()->isVisible(); }, 5000));
  // A value written before its range in the layout is kept; code clamps to the range.
  auto* level = Pm().FindControl<CProgressUI>(L"level");
  EXPECT_EQ(level->GetValue(), -30);
  level->SetValue(-100);
  EXPECT_EQ(level->GetValue(), -60);
  // A wrapping text fitted to its content gets the height of its lines.
  auto* label = Pm().FindControl<CLabelUI>(L"label");
  label->SetMultiLine(true);
  label->SizeToText();
  const int oneLine = QFontMetrics(Pm().GetFont(-1)).height();
  EXPECT_GE(label->GetFixedHeight(), 2 * oneLine);
  EXPECT_LT(label->GetFixedHeight(), 4 * oneLine);
  // The label's "{\n}" text shows as two lines.
  EXPECT_EQ(Pm().FindControl(L"label")->GetText(), L"first line\nsecond line");
}

}  // namespace
