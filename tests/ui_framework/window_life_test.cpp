// The ends of windows: released or destroyed while their modal loop runs, registrations that go
// with them, and the UI-thread rule.
#include <gtest/gtest.h>

#include <QTest>
#include <atomic>
#include <memory>
#include <thread>

#include "platform/post_message.h"
#include "tests/ui_framework/test_window.h"

namespace {

using namespace DuiLib;

constexpr UINT kShowLoading = WM_USER + 250;   // as 1274
constexpr UINT kCloseLoading = WM_USER + 251;  // as 1275

// A window that counts its own destruction.
class CountedWindow : public uitest::TestWindow {
 public:
  explicit CountedWindow(int& destroyed) : mDestroyed(destroyed) {}
  ~CountedWindow() override { ++mDestroyed; }

 private:
  int& mDestroyed;
};

class WindowLifeTest : public testing::Test {
 protected:
  void SetUp() override { uitest::App(); }
};

// The owner's side of a loading window shown on one message and ended by another, as the
// ownership rule in window_impl_base.h describes it.
struct LoadingOwner {
  uitest::TestWindow window;
  std::unique_ptr<WindowImplBase> loading;
  std::vector<UINT> codes;
  int opened = 0;
  int destroyed = 0;
  bool releaseDirectly = false;  // destroy at once instead of Release (from this window's handler)

  void Handle(TMessageUI& msg, bool& handled) {
    if (msg.id == kShowLoading) {
      handled = true;
      if (loading) {
        return;
      }
      loading = std::make_unique<CountedWindow>(destroyed);
      WindowImplBase* shown = loading.get();
      if (shown->Create(window.GetHWND(), L"loading", UI_WNDSTYLE_DIALOG, WS_EX_TOOLWINDOW) == 0) {
        loading.reset();
        return;
      }
      ++opened;
      codes.push_back(shown->ShowModal());
      if (loading.get() == shown) {
        WindowImplBase::Release(std::move(loading));
      }
    } else if (msg.id == kCloseLoading) {
      handled = true;
      if (releaseDirectly) {
        loading.reset();
      } else {
        WindowImplBase::Release(std::move(loading), 1);
      }
    }
  }
};

TEST_F(WindowLifeTest, ReleasedInsideItsOwnModalLoopAndShownAgainWhileItUnwinds) {
  // GIVEN show (1274), close (1275) and show again arriving while the first loop still runs
  // THEN each loop returns its code, no freed window is touched (ASan), and both windows go.
  LoadingOwner owner;
  ASSERT_TRUE(owner.window.Open());
  owner.window.onMessage = [&](TMessageUI& msg, bool& handled) { owner.Handle(msg, handled); };
  const HWND hwnd = owner.window.GetHWND();
  platform::PostMessage(hwnd, kShowLoading, 0);
  platform::PostMessage(hwnd, kShowLoading, 0);  // ignored: one is up
  platform::PostMessage(hwnd, kCloseLoading, 0);
  platform::PostMessage(hwnd, kShowLoading, 0);  // the first loop has not unwound yet
  platform::PostMessage(hwnd, kCloseLoading, 0);
  ASSERT_TRUE(QTest::qWaitFor([&] { return owner.destroyed == 2; }, 5000));
  EXPECT_EQ(owner.opened, 2);
  EXPECT_EQ(owner.codes, (std::vector<UINT>{1, 1}));
  EXPECT_EQ(owner.loading, nullptr);
}

TEST_F(WindowLifeTest, DestroyedInsideItsModalLoopByAnotherWindow) {
  LoadingOwner owner;
  owner.releaseDirectly = true;
  ASSERT_TRUE(owner.window.Open());
  owner.window.onMessage = [&](TMessageUI& msg, bool& handled) { owner.Handle(msg, handled); };
  platform::PostMessage(owner.window.GetHWND(), kShowLoading, 0);
  platform::PostMessage(owner.window.GetHWND(), kCloseLoading, 0);
  ASSERT_TRUE(QTest::qWaitFor([&] { return owner.codes.size() == 1; }, 5000));
  EXPECT_EQ(owner.destroyed, 1);
  EXPECT_EQ(owner.codes.front(), 0u);  // the loop ended with its window
}

TEST_F(WindowLifeTest, ReleasedFromItsOwnHandlerAndNeverShown) {
  int destroyed = 0;
  auto window = std::make_unique<CountedWindow>(destroyed);
  ASSERT_TRUE(window->Open());
  CountedWindow* self = window.get();
  std::unique_ptr<WindowImplBase> owned = std::move(window);
  // The window's own timer handler gives it up; it closes even though it refuses WM_CLOSE.
  self->onMessage = [&](TMessageUI& msg, bool& handled) {
    if (msg.id == WM_CLOSE) {
      handled = true;
    } else if (msg.id == WM_TIMER) {
      WindowImplBase::Release(std::move(owned), 5);
    }
  };
  ASSERT_TRUE(self->SetTimer(1, 1));
  ASSERT_TRUE(QTest::qWaitFor([&] { return destroyed == 1; }, 5000));
  // Never created at all: released at the next turn.
  int never = 0;
  WindowImplBase::Release(std::make_unique<CountedWindow>(never));
  EXPECT_EQ(never, 0);
  ASSERT_TRUE(QTest::qWaitFor([&] { return never == 1; }, 5000));
}

class RegisteringWindow : public uitest::TestWindow, public SkinChangedReceiver {
 public:
  bool Receive(SkinChangedParam) override { return true; }
  void Register() {
    CResourceManager::GetInstance()->SetTextQueryInterface(this);
    SkinChangedObserver::AddReceiver(this);
  }

 protected:
  std::wstring QueryControlText(std::wstring_view) override { return L"supplied"; }
};

TEST_F(WindowLifeTest, GlobalRegistrationsEndWithTheirWindow) {
  const SkinChangedReceiver* receiver = nullptr;
  {
    RegisteringWindow window;
    ASSERT_TRUE(window.Open());
    window.Register();
    receiver = &window;
    EXPECT_EQ(CResourceManager::GetInstance()->GetText(L"${no_such_key}"), L"supplied");
    EXPECT_TRUE(SkinChangedObserver::IsSubscribed(receiver));
  }
  EXPECT_EQ(CResourceManager::GetInstance()->GetTextQueryInterface(), nullptr);
  EXPECT_FALSE(SkinChangedObserver::IsSubscribed(receiver));
  EXPECT_EQ(CResourceManager::GetInstance()->GetText(L"${no_such_key}"), L"${no_such_key}");
  SkinChangedObserver::Broadcast(SkinChangedParam{});
}

TEST_F(WindowLifeTest, TouchingAControlFromAnotherThreadIsCaught) {
  uitest::TestWindow window;
  ASSERT_TRUE(window.Open());
  CControlUI* button = window.GetPaintManager().FindControl(L"btn_ok");
  ASSERT_NE(button, nullptr);
  std::vector<std::string> caught;
  SetUiThreadViolationHandler([&](const char* where) { caught.emplace_back(where); });
  std::thread worker([&] {
    button->Invalidate();
    window.GetPaintManager().FindControl(L"btn_ok");
    window.GetPaintManager().SendNotify(button, DUI_MSGTYPE_CLICK);
    CResourceManager::GetInstance()->GetText(L"${confirm}");
  });
  worker.join();
  SetUiThreadViolationHandler(nullptr);
  EXPECT_EQ(caught,
            (std::vector<std::string>{"CControlUI::Invalidate", "CPaintManagerUI::FindControl",
                                      "CPaintManagerUI::SendNotify", "CResourceManager::GetText"}));
  EXPECT_TRUE(window.Senders(DUI_MSGTYPE_CLICK).empty());  // refused, not delivered

  // The way to do it: hand the work to the UI thread.
  std::atomic<bool> ran = false;
  std::thread poster([&] {
    RunOnUiThread([&] {
      button->SetText(L"from a worker");
      ran = IsUiThread();
    });
  });
  poster.join();
  ASSERT_TRUE(QTest::qWaitFor([&] { return ran.load(); }, 5000));
  EXPECT_EQ(button->GetText(), L"from a worker");
}

}  // namespace
