// What a page of many controls relies on: look-ups by name, layout and text work only where
// something changed, visibility applied at the next layout, keyboard focus, and combos whose
// hidden items keep their indexes.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QListView>
#include <QStandardItemModel>
#include <QTest>
#include <QWindow>

#include "tests/ui_framework/test_window.h"

namespace {

using namespace DuiLib;

class PageUpdateTest : public testing::Test {
 protected:
  void SetUp() override {
    uitest::App();
    ASSERT_TRUE(mWindow.Open());
    Pm().SetDPI(kDefaultDpi);
    Pm().UpdateLayout();
  }

  CPaintManagerUI& Pm() { return mWindow.GetPaintManager(); }
  template <typename T = CControlUI>
  T* Find(std::wstring_view name) {
    T* control = Pm().FindControl<T>(name);
    EXPECT_NE(control, nullptr) << ToUtf8(name);
    return control;
  }

  uitest::TestWindow mWindow{L"XML_PAGES"};
};

TEST_F(PageUpdateTest, TheNameIndexFollowsRenamesAdditionsAndRemovals) {
  CControlUI* button = Find(L"a_btn");
  button->SetName(L"renamed");
  EXPECT_EQ(Pm().FindControl(L"a_btn"), nullptr);
  EXPECT_EQ(Pm().FindControl(L"renamed"), button);

  auto* pageA = Find<CContainerUI>(L"page_a");
  auto* pageB = Find<CContainerUI>(L"page_b");
  auto late = std::make_unique<CLabelUI>();
  late->SetName(L"late");
  CControlUI* added = pageB->Add(std::move(late));
  EXPECT_EQ(Pm().FindControl(L"late"), added);
  pageB->Remove(added);
  EXPECT_EQ(Pm().FindControl(L"late"), nullptr);

  // A subtree taken out leaves the index with all its names, and comes back with them.
  auto* root = Find<CContainerUI>(L"root");
  std::unique_ptr<CControlUI> detached = root->Detach(pageB);
  EXPECT_EQ(Pm().FindControl(L"b_inner"), nullptr);
  root->AddAt(std::move(detached), 1);
  EXPECT_NE(Pm().FindControl(L"b_inner"), nullptr);

  // Shared names: the first in the tree wins, whatever joined first.
  auto second = std::make_unique<CLabelUI>();
  second->SetName(L"dup");
  CControlUI* later = pageB->Add(std::move(second));
  auto first = std::make_unique<CLabelUI>();
  first->SetName(L"dup");
  CControlUI* earlier = pageA->AddAt(std::move(first), 0);
  EXPECT_EQ(Pm().FindControl(L"dup"), earlier);
  pageA->Remove(earlier);
  EXPECT_EQ(Pm().FindControl(L"dup"), later);
}

TEST_F(PageUpdateTest, AVisibilityChangeLaysOutOnlyItsOwnContainer) {
  auto* pageA = Find<uitest::CountingLayout>(L"page_a");
  auto* pageB = Find<uitest::CountingLayout>(L"page_b");
  const int a = pageA->layouts;
  const int b = pageB->layouts;
  const int buttonLeft = Find(L"a_btn")->GetPos().left;

  Find(L"a_btn")->SetVisible(false);
  EXPECT_TRUE(Pm().IsUpdateNeeded());
  Pm().UpdateLayout();
  EXPECT_EQ(pageA->layouts, a + 1);
  EXPECT_EQ(pageB->layouts, b);
  EXPECT_FALSE(Find(L"a_btn")->GetWidget()->isVisible());
  EXPECT_EQ(Find(L"a_edit")->GetPos().left, buttonLeft);  // the row closed up
  EXPECT_FALSE(Pm().IsUpdateNeeded());

  // A change inside a nested box stays inside it.
  Find(L"b_inner")->SetFixedWidth(40);
  Pm().UpdateLayout();
  EXPECT_EQ(pageB->layouts, b);
  EXPECT_EQ(Find(L"b_inner")->GetPos().Width(), 40);
}

TEST_F(PageUpdateTest, HidingAndShowingInOneHandlerKeepsTheSliderDragged) {
  // GIVEN the user drags the slider's thumb WHEN a handler hides and shows the slider (a page
  // refresh) THEN the drag goes on: the slider still gets the moves and the release, even
  // outside it.
  auto* slider = Find<CSliderUI>(L"a_slider");
  QWidget* widget = slider->GetWidget();
  QWindow* window = widget->window()->windowHandle();
  ASSERT_NE(window, nullptr);
  int hides = 0;
  mWindow.onNotify = [&](TNotifyUI& msg) {
    if (msg.pSender == slider && msg.sType == DUI_MSGTYPE_MOVEVALUECHANGED && hides++ == 0) {
      slider->SetVisible(false);
      slider->SetVisible(true);
    }
  };
  const QPoint origin = widget->mapTo(widget->window(), QPoint(0, 0));
  const int middle = widget->height() / 2;
  QTest::mousePress(window, Qt::LeftButton, {}, origin + QPoint(5, middle));
  QTest::mouseMove(window, origin + QPoint(widget->width() / 2, middle));
  QCoreApplication::processEvents();  // the layout runs between the user's moves
  // Below the slider and past its end: only a slider holding the mouse sees this.
  QTest::mouseMove(window, origin + QPoint(widget->width() + 20, middle + 40));
  QTest::mouseRelease(window, Qt::LeftButton, {},
                      origin + QPoint(widget->width() + 20, middle + 40));
  EXPECT_EQ(slider->GetValue(), 100);
  EXPECT_EQ(mWindow.Senders(DUI_MSGTYPE_VALUECHANGED), (std::vector<std::wstring>{L"a_slider"}));
  EXPECT_TRUE(widget->isVisible());
}

TEST_F(PageUpdateTest, TextsAreReadAgainOnALanguageSwitchNotOnEveryLayout) {
  auto* text = Find<uitest::CountingText>(L"b_text");
  const int before = text->refreshes;
  Find(L"a_btn")->SetVisible(false);
  Pm().UpdateLayout();
  Pm().NeedUpdate();
  Pm().UpdateLayout();
  EXPECT_EQ(text->refreshes, before);

  auto* resources = CResourceManager::GetInstance();
  ASSERT_TRUE(resources->SelectLanguage(L"cn_zh"));
  Pm().Invalidate();
  ASSERT_TRUE(QTest::qWaitFor([&] { return text->refreshes == before + 1; }, 5000));
  EXPECT_EQ(text->GetWidget()->toolTip(), QStringLiteral("提示"));
  Pm().NeedUpdate();
  Pm().UpdateLayout();
  EXPECT_EQ(text->refreshes, before + 1);
  ASSERT_TRUE(resources->SelectLanguage(L"en"));
}

// Counts the style and palette changes a widget goes through.
class StyleChanges : public QObject {
 public:
  int styles = 0;
  int palettes = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    styles += event->type() == QEvent::StyleChange ? 1 : 0;
    palettes += event->type() == QEvent::PaletteChange ? 1 : 0;
    return false;
  }
};

TEST_F(PageUpdateTest, AnEditAppliesItsLookOnceWithAllItsAttributes) {
  auto edit = std::make_unique<CEditUI>();
  StyleChanges changes;
  edit->GetWidget()->installEventFilter(&changes);
  for (const auto& [name, value] :
       {std::pair{L"textcolor", L"#FF112233"}, std::pair{L"bkcolor", L"#FFEEEEEE"},
        std::pair{L"bordercolor", L"#FF445566"}, std::pair{L"bordersize", L"1"},
        std::pair{L"font", L"0"}, std::pair{L"align", L"center"},
        std::pair{L"textpadding", L"2,0,2,0"}, std::pair{L"disabledtextcolor", L"#FF999999"}}) {
    edit->SetAttribute(name, value);
  }
  EXPECT_EQ(changes.palettes, 0);  // not in a window yet: nothing applied
  CControlUI* added = Find<CContainerUI>(L"page_b")->Add(std::move(edit));
  Pm().UpdateLayout();
  auto* line = dynamic_cast<QLineEdit*>(added->GetWidget());
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(changes.palettes, 1);
  EXPECT_EQ(changes.styles, 0);  // no style sheet at all
  EXPECT_EQ(line->palette().color(QPalette::Active, QPalette::Text), QColor(0x11, 0x22, 0x33));
  EXPECT_EQ(line->palette().color(QPalette::Disabled, QPalette::Text), QColor(0x99, 0x99, 0x99));
  EXPECT_EQ(line->textMargins(), QMargins(3, 1, 3, 1));  // padding plus the border
  // Laying out again applies nothing; a change in the window applies at once.
  Pm().NeedUpdate();
  Pm().UpdateLayout();
  EXPECT_EQ(changes.palettes, 1);
  added->SetAttribute(L"textcolor", L"#FF000000");
  EXPECT_EQ(changes.palettes, 2);
  added->GetWidget()->removeEventFilter(&changes);
}

TEST_F(PageUpdateTest, SetFocusInsideAHiddenContainerSaysSo) {
  auto* edit = Find(L"b_inner");
  Find(L"b_box")->SetVisible(false);
  EXPECT_FALSE(edit->SetFocus());
  EXPECT_FALSE(edit->IsFocused());
  EXPECT_FALSE(edit->IsVisibleInTree());
  // Shown again in the same handler: the focus goes there at once.
  Find(L"b_box")->SetVisible(true);
  EXPECT_TRUE(edit->SetFocus());
  EXPECT_TRUE(edit->IsFocused());
  edit->SetEnabled(false);
  EXPECT_FALSE(edit->SetFocus());
}

TEST_F(PageUpdateTest, TabMovesBetweenTheEditsOnly) {
  ASSERT_TRUE(Find(L"a_edit")->SetFocus());
  std::vector<std::wstring> visited;
  for (int i = 0; i < 4; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    CControlUI* focused = Pm().GetFocus();
    visited.push_back(focused != nullptr ? focused->GetName() : L"(none)");
  }
  EXPECT_EQ(visited, (std::vector<std::wstring>{L"b_edit", L"b_inner", L"a_edit", L"b_edit"}));
}

TEST_F(PageUpdateTest, HiddenComboItemsHaveNoRowButKeepTheirIndexes) {
  auto* combo = Find<CComboUI>(L"sources");
  auto* box = dynamic_cast<QComboBox*>(combo->GetWidget());
  ASSERT_NE(box, nullptr);
  auto* view = qobject_cast<QListView*>(box->view());
  ASSERT_NE(view, nullptr);
  // Only the unit's first two sources are offered.
  for (int i = 2; i < 5; ++i) {
    combo->GetItemAt(i)->SetVisible(false);
  }
  EXPECT_FALSE(view->isRowHidden(1));
  for (int i = 2; i < 5; ++i) {
    EXPECT_TRUE(view->isRowHidden(i)) << i;
  }
  ASSERT_TRUE(combo->SelectItem(1, false, false));
  EXPECT_EQ(box->currentIndex(), 1);
  EXPECT_EQ(combo->GetText(), L"two");
  // The keys skip the hidden rows.
  box->setFocus();
  QTest::keyClick(box, Qt::Key_Down);
  EXPECT_EQ(combo->GetCurSel(), 1);
  // Shown again, an item is offered again at its own index.
  combo->GetItemAt(3)->SetVisible(true);
  EXPECT_FALSE(view->isRowHidden(3));
  QTest::keyClick(box, Qt::Key_Down);
  EXPECT_EQ(combo->GetCurSel(), 3);
  EXPECT_EQ(combo->GetText(), L"four");
  // Texts changed from code reach the drop-down.
  combo->GetItemAt(0)->SetText(L"first");
  EXPECT_EQ(box->itemText(0), QStringLiteral("first"));
}

}  // namespace
