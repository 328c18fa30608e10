// The curve editor driven with the mouse at 100 % and 150 %: Q handles, band dragging with free
// dragging on and off, the crossover markers, hovering, and presses that hit nothing.
#include <QTest>
#include <QWidget>
#include <array>
#include <cmath>

#include <gtest/gtest.h>

#include "tests/ui_controls/control_harness.h"
#include "ui/controls/ui_equalizer.h"
#include "ui/framework/edit.h"
#include "ui/framework/notify.h"

namespace {

using DuiLib::DUI_MSGTYPE_EQUALIZER_EQ;
using DuiLib::DUI_MSGTYPE_EQUALIZER_HP;
using DuiLib::DUI_MSGTYPE_EQUALIZER_LP;
using ui::EqualizerBand;
using ui::UIEqualizer;

constexpr std::array<EqualizerBand, 3> kBands = {{
    {3.0f, 2.0f, 100, 1},
    {-6.0f, 2.0f, 1000, 1},
    {0.0f, 4.0f, 8000, 1},
}};

QPoint Centre(const DuiLib::RECT& rc) {
  return QPoint((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
}

QPoint ToQPoint(DuiLib::POINT point) {
  return QPoint(point.x, point.y);
}

class EditorMouseTest : public testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    harness.Attach(editor, Px(1230), Px(420));
    editor.SetDragAllDirection(1);
    editor.SetBands(kBands, 1);
    editor.setCurEqHpLp(50, 15000);
  }
  // A length given at 100 % at this test's scale.
  int Px(int percent) const { return scale * percent / 100; }

  const int scale = GetParam();
  ui_test::Harness harness{scale};
  UIEqualizer editor;
};

TEST_P(EditorMouseTest, QFollowsTheHandleDistance) {
  // GIVEN band 1 selected with free dragging on, WHEN its right Q handle is dragged, THEN Q is the
  // scale's 81 % over the distance, limited to 0.5..9.
  const QPoint point = ToQPoint(editor.GetBandPoint(1));
  ui_test::Press(editor, Centre(editor.GetQHandleRect(1)));
  ASSERT_EQ(editor.GetCaptureState(), ui::FACTOR_CAPTURED);

  ui_test::DragTo(editor, point + QPoint(Px(81), 0));
  EXPECT_FLOAT_EQ(editor.GetBand(1).q, 1.0f);
  EXPECT_EQ(harness.Count(DUI_MSGTYPE_EQUALIZER_EQ), 1);

  ui_test::DragTo(editor, point + QPoint(Px(9) - 1, 0));
  EXPECT_FLOAT_EQ(editor.GetBand(1).q, 9.0f);

  ui_test::DragTo(editor, point - QPoint(Px(162) + 5, 0));
  EXPECT_FLOAT_EQ(editor.GetBand(1).q, 0.5f);
  EXPECT_EQ(harness.Count(DUI_MSGTYPE_EQUALIZER_EQ), 3);

  // A move that changes Q by less than 0.01 sends nothing.
  ui_test::DragTo(editor, point - QPoint(Px(162) + 9, 0));
  EXPECT_EQ(harness.Count(DUI_MSGTYPE_EQUALIZER_EQ), 3);

  ui_test::Release(editor, point - QPoint(Px(81), 0));
  EXPECT_FLOAT_EQ(editor.GetBand(1).q, 1.0f);
  EXPECT_EQ(editor.GetCaptureState(), ui::NOT_CAPTURED);
  EXPECT_EQ(harness.Count(DUI_MSGTYPE_EQUALIZER_EQ), 4);
  EXPECT_EQ(editor.GetBand(1).frequency, 1000);
}

TEST_P(EditorMouseTest, BandDraggingMovesFrequencyOnlyWhenFree) {
  const int yOfPlus6 = static_cast<int>(std::lround(editor.GetGeometry().GainToY(6.0)));
  const int xOf200 = editor.GetGeometry().FrequencyToX(200);

  // GIVEN free dragging off, WHEN band 0 is dragged sideways and up, THEN only its gain changes.
  editor.SetDragAllDirection(0);
  ui_test::Press(editor, ToQPoint(editor.GetBandPoint(0)));
  EXPECT_EQ(editor.GetCaptureState(), ui::INDEX_CAPTURED);
  EXPECT_EQ(editor.GetCurrentControlIndex(), 0);
  EXPECT_EQ(editor.GetRawText(), L"0");
  ui_test::DragTo(editor, QPoint(xOf200, yOfPlus6));
  EXPECT_EQ(editor.GetBand(0).frequency, 100);
  EXPECT_NEAR(editor.GetBand(0).gain, 6.0, 0.05);
  ui_test::Release(editor, QPoint(xOf200 + 40, yOfPlus6));
  EXPECT_EQ(editor.GetBand(0).frequency, 100);
  EXPECT_EQ(editor.GetBandPoint(0).x, editor.GetGeometry().FrequencyToX(100));
  EXPECT_EQ(editor.GetCaptureState(), ui::NOT_CAPTURED);
  EXPECT_EQ(editor.GetCurrentControlIndex(), 0);
  EXPECT_EQ(harness.Count(DUI_MSGTYPE_EQUALIZER_EQ), 2);

  // GIVEN free dragging on, THEN the same drag moves the frequency too.
  editor.SetDragAllDirection(1);
  editor.SetBands(kBands, 0);
  ui_test::Press(editor, ToQPoint(editor.GetBandPoint(0)));
  ui_test::DragTo(editor, QPoint(xOf200, yOfPlus6));
  EXPECT_NEAR(editor.GetBand(0).frequency, 200, 200 * 0.01);
  ui_test::Release(editor, QPoint(xOf200, yOfPlus6));
  EXPECT_NEAR(editor.GetBand(0).frequency, 200, 200 * 0.01);
  EXPECT_EQ(editor.GetSelectedLabel().find(L" Hz "),
            std::to_wstring(editor.GetBand(0).frequency).size());
}

TEST_P(EditorMouseTest, DraggedPointsStayInsideThePlot) {
  ui_test::Press(editor, ToQPoint(editor.GetBandPoint(2)));
  ui_test::DragTo(editor, QPoint(Px(1230) + 300, -200));
  EXPECT_EQ(editor.GetBand(2).frequency, 20000);
  EXPECT_FLOAT_EQ(editor.GetBand(2).gain, 12.0f);
  ui_test::Release(editor, QPoint(-300, Px(420) + 200));
  EXPECT_EQ(editor.GetBand(2).frequency, 20);
  EXPECT_FLOAT_EQ(editor.GetBand(2).gain, -18.0f);
}

TEST_P(EditorMouseTest, MarkersNeverCrossEachOther) {
  const auto& geometry = editor.GetGeometry();
  // GIVEN "H" at 50 Hz and "L" at 15 kHz, WHEN "H" is dragged right across "L", THEN it stops
  // below "L" at the last accepted value.
  ui_test::Press(editor, Centre(editor.GetHpRect()));
  ASSERT_EQ(editor.GetCaptureState(), ui::HP_CAPTURED);
  EXPECT_EQ(editor.GetCurrentControlIndex(), -1);
  int lastAccepted = editor.GetHpFreq();
  for (int x = geometry.FrequencyToX(50); x <= geometry.plot.right + 50; x += 9) {
    ui_test::DragTo(editor, QPoint(x, 10));
    EXPECT_LT(editor.GetHpFreq(), 15000);
    if (geometry.XToFrequency(std::min(x, geometry.plot.right)) < 15000) {
      lastAccepted = geometry.XToFrequency(std::min(x, geometry.plot.right));
    }
  }
  EXPECT_EQ(editor.GetHpFreq(), lastAccepted);
  const int hpMoves = harness.Count(DUI_MSGTYPE_EQUALIZER_HP);
  EXPECT_GT(hpMoves, 0);
  ui_test::Release(editor, QPoint(geometry.plot.right, 10));
  EXPECT_EQ(editor.GetHpFreq(), lastAccepted);
  // The release reports even when it changed nothing.
  EXPECT_EQ(harness.Count(DUI_MSGTYPE_EQUALIZER_HP), hpMoves + 1);
  EXPECT_EQ(editor.GetCaptureState(), ui::NOT_CAPTURED);

  // The listener pushes the accepted values back; then "L" is dragged left across "H".
  editor.setCurEqHpLp(editor.GetHpFreq(), editor.GetLpFreq());
  const int hp = editor.GetHpFreq();
  ui_test::Press(editor, Centre(editor.GetLpRect()));
  ASSERT_EQ(editor.GetCaptureState(), ui::LP_CAPTURED);
  for (int x = geometry.FrequencyToX(15000); x >= -50; x -= 11) {
    ui_test::DragTo(editor, QPoint(x, 10));
    EXPECT_GT(editor.GetLpFreq(), hp);
  }
  ui_test::Release(editor, QPoint(0, 10));
  EXPECT_GT(editor.GetLpFreq(), hp);
  EXPECT_GT(harness.Count(DUI_MSGTYPE_EQUALIZER_LP), 0);

  // With "L" hidden, "H" has no upper limit but the plot's edge.
  editor.setCurEqHpLp(100, 0);
  ui_test::Press(editor, Centre(editor.GetHpRect()));
  ui_test::DragTo(editor, QPoint(geometry.plot.right + 20, 10));
  ui_test::Release(editor, QPoint(geometry.plot.right + 20, 10));
  EXPECT_EQ(editor.GetHpFreq(), 20000);
}

TEST_P(EditorMouseTest, PressOnNothingStartsNoCapture) {
  // Top left: no band, handle or marker there.
  const QPoint empty(Px(300), Px(5));
  ui_test::Press(editor, empty);
  EXPECT_EQ(editor.GetCaptureState(), ui::NOT_CAPTURED);
  ui_test::DragTo(editor, empty + QPoint(Px(200), Px(100)));
  ui_test::Release(editor, empty + QPoint(Px(200), Px(100)));
  EXPECT_EQ(editor.GetCurrentControlIndex(), 1);
  EXPECT_TRUE(harness.notes.empty());
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(editor.GetBand(i).gain, kBands[i].gain);
    EXPECT_EQ(editor.GetBand(i).frequency, kBands[i].frequency);
  }
  EXPECT_EQ(editor.GetHpFreq(), 50);
  EXPECT_EQ(editor.GetLpFreq(), 15000);
}

TEST_P(EditorMouseTest, HoveringABandSelectsIt) {
  ui_test::Hover(editor, ToQPoint(editor.GetBandPoint(2)));
  EXPECT_EQ(editor.GetCurrentControlIndex(), 2);
  EXPECT_EQ(editor.GetRawText(), L"2");
  EXPECT_EQ(harness.Count(DUI_MSGTYPE_EQUALIZER_EQ), 1);
  EXPECT_EQ(editor.GetWidget()->cursor().shape(), Qt::PointingHandCursor);
  // Hovering the selected band again reports nothing new.
  ui_test::Hover(editor, ToQPoint(editor.GetBandPoint(2)) + QPoint(1, 1));
  EXPECT_EQ(harness.Count(DUI_MSGTYPE_EQUALIZER_EQ), 1);
  ui_test::Hover(editor, Centre(editor.GetHpRect()));
  EXPECT_EQ(editor.GetWidget()->cursor().shape(), Qt::SizeHorCursor);
}

TEST_P(EditorMouseTest, MarkersHideEachOnItsOwn) {
  editor.setCurEqHpLp(19, 15000);
  EXPECT_EQ(editor.GetHpFreq(), -1);
  EXPECT_EQ(editor.GetLpFreq(), 15000);
  EXPECT_EQ(editor.GetHpRect(), DuiLib::RECT{});
  EXPECT_GT(editor.GetLpRect().Width(), 0);

  editor.setCurEqHpLp(100, 20001);
  EXPECT_EQ(editor.GetHpFreq(), 100);
  EXPECT_EQ(editor.GetLpFreq(), -1);
  EXPECT_GT(editor.GetHpRect().Width(), 0);
  EXPECT_EQ(editor.GetLpRect(), DuiLib::RECT{});

  editor.setCurEqHpLp(20, 20000);
  EXPECT_EQ(editor.GetHpFreq(), 20);
  EXPECT_EQ(editor.GetLpFreq(), 20000);

  // A hidden marker cannot be grabbed where it was.
  const QPoint oldLp = Centre(editor.GetLpRect());
  editor.setCurEqHpLp(20, 0);
  ui_test::Press(editor, oldLp);
  EXPECT_EQ(editor.GetCaptureState(), ui::NOT_CAPTURED);
  ui_test::Release(editor, oldLp);
}

TEST_P(EditorMouseTest, SelectedLabelTextFollowsTheMode) {
  EXPECT_EQ(editor.GetSelectedLabel(), L"1000 Hz 2.00 Q -6.0 dB");
  editor.SetDragAllDirection(0);
  EXPECT_EQ(editor.GetSelectedLabel(), L"-6.0 dB");
  EXPECT_EQ(editor.GetQHandleRect(0), DuiLib::RECT{});
  // Without free dragging a press on the old handle place is no Q drag.
  editor.SetBands(kBands, -1);
  EXPECT_TRUE(editor.GetSelectedLabel().empty());
}

INSTANTIATE_TEST_SUITE_P(Scales, EditorMouseTest, testing::Values(100, 150),
                         [](const testing::TestParamInfo<int>& info) {
                           return "Scale" + std::to_string(info.param);
                         });

TEST(EditorFocus, APressOnTheCurveTakesTheFocusSoATypedBandValueIsCommittedFirst) {
  // GIVEN a band edit holding the focus and the editor in one window WHEN the user presses on a
  // band THEN the edit loses the focus ("killfocus", on which its value is committed) before the
  // drag reports anything, and the editor's focus flag is set.
  ui_test::Harness harness;
  QWidget window;
  DuiLib::CEditUI edit;
  UIEqualizer editor;
  edit.SetName(L"eq_gain_0");
  harness.Attach(edit, 60, 24);
  harness.Attach(editor, 600, 300);
  edit.GetWidget()->setParent(&window);
  editor.GetWidget()->setParent(&window);
  editor.GetWidget()->move(0, 30);
  edit.GetWidget()->show();
  editor.GetWidget()->show();
  window.resize(600, 330);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  editor.SetBands(kBands, -1);
  ASSERT_TRUE(edit.SetFocus());
  harness.notes.clear();

  const QPoint band = ToQPoint(editor.GetBandPoint(1));
  ui_test::Press(editor, band);
  EXPECT_TRUE(editor.HasFocusFlag());
  EXPECT_FALSE(edit.IsFocused());
  ui_test::DragTo(editor, band + QPoint(0, 20));
  ui_test::Release(editor, band + QPoint(0, 20));
  ASSERT_FALSE(harness.notes.empty());
  EXPECT_EQ(harness.notes.front(), DuiLib::DUI_MSGTYPE_KILLFOCUS);
  EXPECT_EQ(harness.Count(DUI_MSGTYPE_EQUALIZER_EQ), 2);  // the drag and the release
}

}  // namespace
