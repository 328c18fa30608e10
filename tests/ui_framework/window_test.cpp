// Window life: posted messages from other threads, nested modal loops, closing, timers, menus.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QStyle>
#include <QTest>
#include <algorithm>
#include <atomic>
#include <thread>

#include "platform/monitor_list.h"
#include "platform/post_message.h"
#include "platform/window_messages.h"
#include "tests/ui_framework/test_window.h"

namespace {

using namespace DuiLib;

constexpr UINT kPing = WM_USER + 500;
constexpr UINT kCloseOther = WM_USER + 501;

// Counts its own destruction so a test can see a record was freed.
struct CountedRecord : platform::NotificationRecord {
  explicit CountedRecord(std::atomic<int>& freed, int value) : freed(freed), value(value) {}
  ~CountedRecord() override { ++freed; }
  std::atomic<int>& freed;
  int value;
};

class WindowTest : public testing::Test {
 protected:
  void SetUp() override { uitest::App(); }
};

TEST_F(WindowTest, PostedFromAnotherThreadWhileAModalLoopRuns) {
  // GIVEN window A open and dialog B running modally over it
  // WHEN a worker posts to A THEN A handles it inside B's loop; A closes B with code 7.
  uitest::TestWindow owner;
  ASSERT_TRUE(owner.Open());
  uitest::TestWindow dialog;
  ASSERT_NE(dialog.Create(owner.GetHWND(), L"dialog", UI_WNDSTYLE_DIALOG, WS_EX_TOOLWINDOW), 0u);
  dialog.CenterWindow();

  std::atomic<int> freed = 0;
  int received = 0;
  owner.onMessage = [&](TMessageUI& msg, bool& handled) {
    if (msg.id == kPing) {
      const auto* record = platform::RecordAs<CountedRecord>(msg);
      received = record != nullptr ? record->value : -1;
      handled = true;
      dialog.Close(7);
    }
  };
  std::thread worker([&] {
    platform::PostMessage(owner.GetHWND(), kPing, 1, std::make_unique<CountedRecord>(freed, 42));
  });
  const UINT code = dialog.ShowModal();
  worker.join();
  EXPECT_EQ(code, 7u);
  EXPECT_EQ(received, 42);
  EXPECT_EQ(freed.load(), 1);  // freed after the handler, which did not keep it
  EXPECT_EQ(dialog.destroyed, 1);
  EXPECT_FALSE(dialog.IsWindowVisible());
}

TEST_F(WindowTest, MessageToAClosedWindowIsDroppedAndFreed) {
  std::atomic<int> freed = 0;
  HWND gone = 0;
  {
    uitest::TestWindow window;
    ASSERT_TRUE(window.Open());
    gone = window.GetHWND();
    window.Close(0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.destroyed == 1; }, 5000));
    // Posted after closing but while the object still exists: dropped.
    EXPECT_TRUE(platform::PostMessage(gone, kPing, 0, std::make_unique<CountedRecord>(freed, 1)));
    ASSERT_TRUE(QTest::qWaitFor([&] { return freed.load() == 1; }, 5000));
    EXPECT_EQ(std::count(window.messages.begin(), window.messages.end(), kPing), 0);
  }
  // Posted after the object is gone too: dropped, freed, and no crash.
  platform::PostMessage(gone, kPing, 0, std::make_unique<CountedRecord>(freed, 2));
  EXPECT_TRUE(QTest::qWaitFor([&] { return freed.load() == 2; }, 5000));
  // A new window never takes an old handle.
  uitest::TestWindow next;
  ASSERT_TRUE(next.Open());
  EXPECT_NE(next.GetHWND(), gone);
}

TEST_F(WindowTest, HandledCloseKeepsTheWindowAndPostedCloseEndsIt) {
  uitest::TestWindow window;
  ASSERT_TRUE(window.Open());
  bool refuse = true;
  window.onMessage = [&](TMessageUI& msg, bool& handled) {
    if (msg.id == WM_CLOSE) {
      handled = refuse;
    }
  };
  window.Close(3);
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return std::count(window.messages.begin(), window.messages.end(), WM_CLOSE) == 1; },
      5000));
  EXPECT_EQ(window.destroyed, 0);
  EXPECT_TRUE(window.IsWindowVisible());
  refuse = false;
  platform::PostMessage(window.GetHWND(), WM_SYSCOMMAND, SC_CLOSE);
  EXPECT_TRUE(QTest::qWaitFor([&] { return window.destroyed == 1; }, 5000));
  // Closed before a modal loop ran: the loop returns the close code at once.
  uitest::TestWindow early;
  ASSERT_TRUE(early.Open());
  early.Close(4);
  ASSERT_TRUE(QTest::qWaitFor([&] { return early.destroyed == 1; }, 5000));
  EXPECT_EQ(early.ShowModal(), 4u);
}

TEST_F(WindowTest, CloseButtonClosesWithCodeZero) {
  uitest::TestWindow owner;
  ASSERT_TRUE(owner.Open());
  uitest::TestWindow dialog;
  ASSERT_NE(dialog.Create(owner.GetHWND(), L"dialog", UI_WNDSTYLE_DIALOG, WS_EX_TOOLWINDOW), 0u);
  // A "closebtn" click arrives from another window's handler while the dialog runs.
  owner.onMessage = [&](TMessageUI& msg, bool&) {
    if (msg.id == kCloseOther) {
      TNotifyUI click{std::wstring(DUI_MSGTYPE_CLICK), nullptr, 0, 0};
      auto closeButton = std::make_unique<CButtonUI>();
      closeButton->SetName(L"closebtn");
      click.pSender = closeButton.get();
      static_cast<INotifyUI&>(dialog).Notify(click);
    }
  };
  platform::PostMessage(owner.GetHWND(), kCloseOther, 0);
  EXPECT_EQ(dialog.ShowModal(), 0u);
}

TEST_F(WindowTest, TimersReachTheWindowByIdUntilKilled) {
  uitest::TestWindow window;
  ASSERT_TRUE(window.Open());
  std::vector<WPARAM> ticks;
  window.onMessage = [&](TMessageUI& msg, bool&) {
    if (msg.id == WM_TIMER) {
      ticks.push_back(msg.wParam);
    }
  };
  ASSERT_TRUE(window.SetTimer(4112, 10));
  ASSERT_TRUE(QTest::qWaitFor([&] { return ticks.size() >= 2; }, 5000));
  EXPECT_EQ(ticks.front(), 4112u);
  window.KillTimer(4112);
  const std::size_t count = ticks.size();
  QTest::qWait(50);  // a killed timer must stay quiet; nothing to wait for
  EXPECT_EQ(ticks.size(), count);
}

TEST_F(WindowTest, CenteredOverTheOwnerInsideTheWorkArea) {
  uitest::TestWindow owner;
  ASSERT_TRUE(owner.Open());
  owner.SetWindowPos(100, 80, 500, 400);
  uitest::TestWindow dialog(L"XML_REPEAT");
  ASSERT_NE(dialog.Create(owner.GetHWND(), L"dialog", UI_WNDSTYLE_DIALOG, WS_EX_TOOLWINDOW), 0u);
  dialog.SetWindowPos(0, 0, 200, 100);
  dialog.CenterWindow();
  const RECT rc = dialog.GetWindowRect();
  EXPECT_EQ(rc.left + rc.Width() / 2, 100 + 250);
  EXPECT_EQ(rc.top + rc.Height() / 2, 80 + 200);
  // An owner near the corner: the dialog stays inside the work area.
  owner.SetWindowPos(-400, -300, 500, 400);
  dialog.CenterWindow();
  const RECT clamped = dialog.GetWindowRect();
  EXPECT_GE(clamped.left, 0);
  EXPECT_GE(clamped.top, 0);
  // Without an owner: centred on the work area of its monitor.
  uitest::TestWindow alone(L"XML_REPEAT");
  ASSERT_NE(alone.Create(0, L"alone", UI_WNDSTYLE_DIALOG, WS_EX_TOOLWINDOW), 0u);
  alone.SetWindowPos(10, 10, 200, 100);
  alone.CenterWindow();
  const platform::ScreenRect work = platform::WorkAreaAt(10, 10);
  const RECT centred = alone.GetWindowRect();
  EXPECT_EQ(centred.left + 100, (work.left + work.right) / 2);
  EXPECT_EQ(centred.top + 50, (work.top + work.bottom) / 2);
}

TEST_F(WindowTest, MenuItemReachesTheOwnerWithItsRecord) {
  uitest::TestWindow owner;
  ASSERT_TRUE(owner.Open());
  std::vector<MenuCmd> clicks;
  owner.onMessage = [&](TMessageUI& msg, bool& handled) {
    if (msg.id == platform::msg::kMenuClick) {
      const auto* record = platform::RecordAs<MenuCmd>(msg);
      ASSERT_NE(record, nullptr);
      clicks.push_back(*record);
      handled = true;
    }
  };
  CMenuWnd menu;
  ASSERT_TRUE(menu.Init(owner.GetHWND(), L"xml/menu.xml", POINT{10, 10}));
  EXPECT_TRUE(menu.IsOpen());
  CMenuElementUI* item = menu.FindMenuItem(L"option_item_language");
  ASSERT_NE(item, nullptr);
  item->Activate();
  CMenuElementUI* nested = menu.FindMenuItem(L"output_menu_front_left_high_freq");
  ASSERT_NE(nested, nullptr);
  nested->SetEnabled(false);
  EXPECT_FALSE(nested->IsEnabled());
  menu.FindMenuItem(L"option_item_check")->Activate();  // toggles to unchecked first
  ASSERT_TRUE(QTest::qWaitFor([&] { return clicks.size() == 2; }, 5000));
  EXPECT_EQ(clicks[0].szName, L"option_item_language");
  EXPECT_EQ(clicks[0].szUserData, L"42");
  EXPECT_EQ(clicks[0].szText, L"OK");
  EXPECT_FALSE(clicks[0].bChecked);
  EXPECT_EQ(clicks[1].szName, L"option_item_check");
  EXPECT_FALSE(clicks[1].bChecked);
  EXPECT_EQ(menu.FindMenuItem(L"no_such_item"), nullptr);
}

QMenu* OpenMenu() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (auto* menu = qobject_cast<QMenu*>(widget); menu != nullptr && menu->isVisible()) {
      return menu;
    }
  }
  return nullptr;
}

TEST_F(WindowTest, MenuItemsAreChangedBeforeTheMenuShowsAndIconsFollowTheScale) {
  // GIVEN a menu loaded for a window at 200 % WHEN its items are changed before it shows THEN it
  // opens with them so, and its icons are drawn for 200 %: 32 device pixels, from the @200 file.
  uitest::TestWindow owner;
  ASSERT_TRUE(owner.Open());
  CMenuWnd menu;
  ASSERT_TRUE(menu.Load(owner.GetHWND(), L"xml/menu.xml", 200));
  EXPECT_FALSE(menu.IsOpen());
  menu.FindMenuItem(L"option_item_language")->SetEnabled(false);
  menu.FindMenuItem(L"option_item_check")->SetChecked(false);
  menu.FindMenuItem(L"output_menu_front")->SetVisible(false);
  ASSERT_TRUE(menu.Show(owner.ClientToScreen(POINT{5, 5})));
  ASSERT_TRUE(QTest::qWaitFor([] { return OpenMenu() != nullptr; }, 5000));
  QMenu* shown = OpenMenu();
  const QList<QAction*> actions = shown->actions();
  ASSERT_GE(actions.size(), 4);
  EXPECT_FALSE(actions[0]->isEnabled());
  EXPECT_FALSE(actions[1]->isChecked());
  EXPECT_FALSE(actions[3]->isVisible());
  EXPECT_EQ(shown->style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, shown), 32);
  const QPixmap svgIcon = actions[0]->icon().pixmap(QSize(32, 32));
  EXPECT_EQ(svgIcon.size(), QSize(32, 32));
  EXPECT_EQ(svgIcon.toImage().pixel(16, 16), 0xFF0000FFu);
  // The @200 file (24 pixels, a red frame a quarter wide) fills the whole 32-pixel icon.
  const QImage pngIcon = actions[1]->icon().pixmap(QSize(32, 32)).toImage();
  EXPECT_EQ(pngIcon.pixel(5, 16), 0xFFFF0000u);
  EXPECT_EQ(pngIcon.pixel(12, 16), 0xFF00FF00u);
  menu.Close();
  CMenuWnd notLoaded;
  EXPECT_FALSE(notLoaded.Show(POINT{}));
}

TEST_F(WindowTest, NewMenuReplacesTheOpenOne) {
  uitest::TestWindow owner;
  ASSERT_TRUE(owner.Open());
  CMenuWnd first;
  CMenuWnd second;
  ASSERT_TRUE(first.Init(owner.GetHWND(), L"xml/menu.xml", POINT{10, 10}));
  ASSERT_TRUE(second.Init(owner.GetHWND(), L"xml/menu.xml", POINT{20, 20}));
  EXPECT_FALSE(first.IsOpen());
  EXPECT_TRUE(second.IsOpen());
  CMenuWnd broken;
  EXPECT_FALSE(broken.Init(owner.GetHWND(), L"xml/no_menu.xml", POINT{0, 0}));
}

TEST_F(WindowTest, PostedMessagesKeepTheOrderOfEachThread) {
  uitest::TestWindow window;
  ASSERT_TRUE(window.Open());
  constexpr int kPerThread = 200;
  std::vector<std::vector<WPARAM>> seen(2);
  int total = 0;
  window.onMessage = [&](TMessageUI& msg, bool& handled) {
    if (msg.id == kPing) {
      seen[static_cast<std::size_t>(msg.value)].push_back(msg.wParam);
      ++total;
      handled = true;
    }
  };
  std::vector<std::thread> workers;
  for (int thread = 0; thread < 2; ++thread) {
    workers.emplace_back([&, thread] {
      for (int i = 0; i < kPerThread; ++i) {
        platform::PostMessage(window.GetHWND(), kPing, static_cast<WPARAM>(i), thread);
      }
    });
  }
  for (auto& worker : workers) {
    worker.join();
  }
  ASSERT_TRUE(QTest::qWaitFor([&] { return total == 2 * kPerThread; }, 5000));
  for (const auto& order : seen) {
    ASSERT_EQ(order.size(), static_cast<std::size_t>(kPerThread));
    EXPECT_TRUE(std::is_sorted(order.begin(), order.end()));
  }
}

// A control that counts its timer ticks.
class TickingControl : public CControlUI {
 public:
  void DoEvent(TEventUI& event) override {
    if (event.Type == UIEVENT_TIMER) {
      ids.push_back(event.wParam);
    }
    CControlUI::DoEvent(event);
  }
  std::vector<WPARAM> ids;
};

TEST_F(WindowTest, ControlTimersStopWithTheControl) {
  uitest::TestWindow window;
  ASSERT_TRUE(window.Open());
  auto& pm = window.GetPaintManager();
  auto* root = pm.FindControl<CContainerUI>(L"root");
  auto* ticking = static_cast<TickingControl*>(root->Add(std::make_unique<TickingControl>()));
  ASSERT_TRUE(pm.SetTimer(ticking, 9, 5));
  ASSERT_TRUE(QTest::qWaitFor([&] { return ticking->ids.size() >= 2; }, 5000));
  EXPECT_EQ(ticking->ids.front(), 9u);
  // Removing the control ends its timers: nothing may reach the freed control.
  EXPECT_TRUE(root->Remove(ticking));
  QTest::qWait(30);  // a stopped timer stays quiet; there is no event to wait for
}

TEST_F(WindowTest, AControlMayBeRemovedFromItsOwnNotification) {
  // GIVEN a handler that removes the button that was clicked WHEN the user clicks it
  // THEN the button goes away without the click handling touching freed memory.
  uitest::TestWindow window;
  ASSERT_TRUE(window.Open());
  auto& pm = window.GetPaintManager();
  CControlUI* button = pm.FindControl(L"btn_ok");
  auto* row = button->GetParent();
  window.onMessage = nullptr;
  bool removed = false;
  class Remover : public INotifyUI {
   public:
    explicit Remover(bool& removed) : mRemoved(removed) {}
    void Notify(TNotifyUI& msg) override {
      if (msg.sType == DUI_MSGTYPE_CLICK && msg.pSender->GetName() == L"btn_ok") {
        mRemoved = msg.pSender->GetParent()->Remove(msg.pSender);
      }
    }
    bool& mRemoved;
  } remover(removed);
  pm.AddNotifier(&remover);
  QTest::mouseClick(button->GetWidget(), Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_TRUE(removed);
  EXPECT_EQ(pm.FindControl(L"btn_ok"), nullptr);
  EXPECT_EQ(row->GetItemIndex(button), -1);
  QTest::qWait(10);  // let the delayed release run; a fault here shows in sanitizer builds
  pm.RemoveNotifier(&remover);
}

TEST_F(WindowTest, MenuRecordFieldsAreCutToTheirCapacity) {
  uitest::TestWindow owner;
  ASSERT_TRUE(owner.Open());
  std::vector<MenuCmd> clicks;
  owner.onMessage = [&](TMessageUI& msg, bool&) {
    if (const auto* record = platform::RecordAs<MenuCmd>(msg)) {
      clicks.push_back(*record);
    }
  };
  CMenuWnd menu;
  ASSERT_TRUE(menu.Init(owner.GetHWND(), L"xml/menu.xml", POINT{0, 0}));
  CMenuElementUI* item = menu.FindMenuItem(L"option_item_language");
  item->SetText(std::wstring(3000, L'y'));
  item->Activate();
  ASSERT_TRUE(QTest::qWaitFor([&] { return clicks.size() == 1; }, 5000));
  EXPECT_EQ(clicks[0].szText.size(), MenuCmd::kTextCapacity - 1);
  EXPECT_EQ(clicks[0].szName, L"option_item_language");
}

class Page : public INotifyUI {
 public:
  void Notify(TNotifyUI& msg) override { senders.push_back(msg.pSender->GetName()); }
  std::vector<std::wstring> senders;
};

TEST_F(WindowTest, VirtualWindowTakesTheNotificationsOfItsControls) {
  uitest::TestWindow window;
  ASSERT_TRUE(window.Open());
  Page page;
  window.AddVirtualWnd(L"mainpage", &page);
  auto& pm = window.GetPaintManager();
  // The row container is marked; the button inside it belongs to the page, the option not.
  pm.FindControl(L"list")->SetVirtualWnd(L"mainpage");
  auto* row = pm.FindControl<CListUI>(L"list")->GetRowAt(0);
  pm.SendNotify(row, DUI_MSGTYPE_ITEMCLICK);
  pm.SendNotify(pm.FindControl(L"btn_ok"), DUI_MSGTYPE_ITEMCLICK);
  EXPECT_EQ(page.senders, (std::vector<std::wstring>{L"listitem0"}));
  window.RemoveVirtualWnd(L"mainpage");
  pm.SendNotify(row, DUI_MSGTYPE_ITEMCLICK);
  EXPECT_EQ(page.senders.size(), 1u);
}

TEST_F(WindowTest, WindowsFoundByTitleAndEndedByAPostedClose) {
  uitest::TestWindow owner;
  ASSERT_TRUE(owner.Open());
  uitest::TestWindow dialog;
  ASSERT_NE(dialog.Create(owner.GetHWND(), L"msgwnd", UI_WNDSTYLE_DIALOG, WS_EX_TOOLWINDOW), 0u);
  EXPECT_EQ(FindWindowByTitle(L"MsgWnd", true), dialog.GetHWND());
  EXPECT_EQ(FindWindowByTitle(L"MsgWnd", false), 0u);
  owner.onMessage = [&](TMessageUI& msg, bool&) {
    if (msg.id == kCloseOther) {
      platform::PostMessage(FindWindowByTitle(L"MsgWnd", true), WM_CLOSE, 5);
    }
  };
  platform::PostMessage(owner.GetHWND(), kCloseOther, 0);
  EXPECT_EQ(dialog.ShowModal(), 5u);
  EXPECT_EQ(FindWindowByTitle(L"msgwnd"), 0u);
}

class Receiver : public SkinChangedReceiver {
 public:
  bool Receive(SkinChangedParam param) override {
    last = std::move(param);
    ++count;
    return true;
  }
  SkinChangedParam last;
  int count = 0;
};

TEST_F(WindowTest, SkinChangeReachesSubscribersOnly) {
  Receiver subscribed;
  Receiver other;
  SkinChangedObserver::AddReceiver(&subscribed);
  SkinChangedObserver::Broadcast(SkinChangedParam{true, 0xFF112233, L""});
  SkinChangedObserver::RemoveReceiver(&subscribed);
  SkinChangedObserver::Broadcast(SkinChangedParam{false, 0, L"bg.png"});
  EXPECT_EQ(subscribed.count, 1);
  EXPECT_TRUE(subscribed.last.bColor);
  EXPECT_EQ(subscribed.last.bkcolor, 0xFF112233u);
  EXPECT_EQ(other.count, 0);
}

}  // namespace
