// Placement of controls: fixed sizes, shared room, padding, inset, hidden children, limits,
// stacked pages and floating controls.
#include <gtest/gtest.h>

#include <QTest>

#include "tests/ui_framework/test_window.h"

namespace {

using namespace DuiLib;

class GeometryTest : public testing::Test {
 protected:
  void SetUp() override {
    uitest::App();
    ASSERT_TRUE(mWindow.Open());
    Pm().SetDPI(kDefaultDpi);
    mWindow.SetWindowPos(0, 0, 300, 200);
    Pm().Relayout();
  }
  CPaintManagerUI& Pm() { return mWindow.GetPaintManager(); }
  RECT Pos(std::wstring_view name) { return Pm().FindControl(name)->GetPos(); }

  uitest::TestWindow mWindow{L"xml/geometry.xml"};
};

TEST_F(GeometryTest, HorizontalRowSharesTheRoomLeftOver) {
  // Row: 280 wide inside the inset; 100 fixed, two gaps of 4 between the three visible
  // children, 12 of padding: (280 - 100 - 8 - 12) / 2 = 80 each.
  EXPECT_EQ(Pos(L"row"), (RECT{10, 10, 290, 50}));
  EXPECT_EQ(Pos(L"fixed"), (RECT{10, 10, 110, 50}));
  EXPECT_EQ(Pos(L"share_a"), (RECT{114, 10, 194, 50}));
  // Padding is an outer margin on every side.
  EXPECT_EQ(Pos(L"share_b"), (RECT{204, 12, 284, 48}));
  EXPECT_TRUE(Pm().FindControl(L"share_a")->GetWidget()->isVisible());
  EXPECT_FALSE(Pm().FindControl(L"hidden")->GetWidget()->isVisible());
}

TEST_F(GeometryTest, VerticalLayoutWithLimitsAndPages) {
  // Column: 180 high inside the inset; fixed 40 + 30 + 40, four gaps of 5: 50 left for the two
  // free children, 25 each, the capped one at most 20.
  EXPECT_EQ(Pos(L"fill"), (RECT{10, 55, 290, 80}));
  EXPECT_EQ(Pos(L"capped"), (RECT{10, 85, 290, 105}));
  EXPECT_EQ(Pos(L"tabs"), (RECT{10, 110, 290, 140}));
  // Only the selected page of a tab layout is shown.
  auto* tabs = Pm().FindControl<CTabLayoutUI>(L"tabs");
  EXPECT_EQ(tabs->GetCurSel(), 1);
  EXPECT_TRUE(Pm().FindControl(L"tab_1")->IsVisible());
  EXPECT_FALSE(Pm().FindControl(L"tab_0")->IsVisible());
  EXPECT_TRUE(tabs->SelectItem(0));
  EXPECT_TRUE(Pm().FindControl(L"tab_0")->IsVisible());
  EXPECT_FALSE(Pm().FindControl(L"tab_1")->IsVisible());
  EXPECT_FALSE(tabs->SelectItem(2));
}

TEST_F(GeometryTest, FloatingControlsAndScale) {
  // A floating control is placed by its own rectangle inside its container.
  EXPECT_EQ(Pos(L"floating"), (RECT{15, 151, 35, 161}));
  // At 200 % every length doubles.
  Pm().SetDPI(192);
  mWindow.SetWindowPos(0, 0, 600, 400);
  Pm().Relayout();
  EXPECT_EQ(Pos(L"fixed"), (RECT{20, 20, 220, 100}));
  EXPECT_EQ(Pos(L"floating"), (RECT{30, 302, 70, 322}));
}

TEST_F(GeometryTest, HidingAControlGivesItsRoomToTheOthers) {
  Pm().FindControl(L"fixed")->SetVisible(false);
  ASSERT_TRUE(QTest::qWaitFor([this] { return !Pm().IsUpdateNeeded(); }, 5000));
  // (280 - 4 - 12) / 2 = 132.
  EXPECT_EQ(Pos(L"share_a"), (RECT{10, 10, 142, 50}));
}

}  // namespace
