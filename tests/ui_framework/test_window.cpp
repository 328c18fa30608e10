#include "tests/ui_framework/test_window.h"

#include <gtest/gtest.h>
#include <QTest>

#include <cstdint>
#include <span>

// The test skin, packed at build time from tests/ui_framework/skin.
namespace testskin {
std::span<const std::uint8_t> EmbeddedArchive();
const char* ArchivePassword();
}  // namespace testskin

namespace uitest {

void LoadTestSkin() {
  auto* resources = DuiLib::CResourceManager::GetInstance();
  resources->Reset();
  resources->SetResourceZip(testskin::EmbeddedArchive(), testskin::ArchivePassword());
  resources->LoadResource();
  resources->AddLanguage(L"cn_zh", L"lan/cn.xml");
  resources->AddLanguage(L"en", L"lan/en.xml");
  resources->SelectLanguage(L"en");
}

namespace {

std::unique_ptr<QApplication>& Application() {
  static std::unique_ptr<QApplication> app;
  return app;
}

// Releases the framework's global resources, then the application object, before the process
// starts running static destructors (Qt objects must not outlive their application).
class FrameworkEnvironment : public testing::Environment {
 public:
  void TearDown() override {
    DuiLib::ShutdownUIFramework();
    Application().reset();
  }
};

// gtest owns registered environments.
const testing::Environment* const kEnvironment =
    testing::AddGlobalTestEnvironment(new FrameworkEnvironment);

}  // namespace

void FailOnFatalError(std::wstring_view title, std::wstring_view text, int exitCode) {
  ADD_FAILURE() << "fatal error " << exitCode << ": " << DuiLib::ToUtf8(title) << " "
                << DuiLib::ToUtf8(text);
}

QApplication& App() {
  static int argc = 1;
  static char name[] = "ui_framework_tests";
  static char* argv[] = {name, nullptr};
  auto& app = Application();
  if (!app) {
    app = std::make_unique<QApplication>(argc, argv);
    DuiLib::InitUIFramework();
    DuiLib::EnableUiThreadChecks(true);
    DuiLib::SetFatalErrorHandler(FailOnFatalError);
    LoadTestSkin();
  }
  return *app;
}

bool TestWindow::Open(DuiLib::HWND owner) {
  if (Create(owner, L"testwnd", DuiLib::UI_WNDSTYLE_DIALOG, DuiLib::WS_EX_TOOLWINDOW) == 0) {
    return false;
  }
  ShowWindow(true, true);
  QWidget* native = GetPaintManager().GetRoot()->GetWidget()->window();
  return QTest::qWaitForWindowActive(native);
}

std::vector<std::wstring> TestWindow::Senders(std::wstring_view type) const {
  std::vector<std::wstring> senders;
  for (const auto& notification : notifications) {
    if (notification.type == type) {
      senders.push_back(notification.sender);
    }
  }
  return senders;
}

std::vector<std::wstring> TestWindow::Types() const {
  std::vector<std::wstring> types;
  for (const auto& notification : notifications) {
    types.push_back(notification.type);
  }
  return types;
}

void TestWindow::Notify(DuiLib::TNotifyUI& msg) {
  notifications.push_back(Notification{msg.sType, msg.pSender->GetName()});
  if (onNotify) {
    onNotify(msg);
  }
  WindowImplBase::Notify(msg);
}

DuiLib::LRESULT TestWindow::HandleCustomMessage(DuiLib::TMessageUI& msg, bool& bHandled) {
  messages.push_back(msg.id);
  if (onMessage) {
    onMessage(msg, bHandled);
  }
  return 0;
}

std::unique_ptr<DuiLib::CControlUI> TestWindow::CreateControl(std::wstring_view tag) {
  if (tag == L"Custom") {
    return std::make_unique<DuiLib::CControlUI>();
  }
  if (tag == L"CountingLayout") {
    return std::make_unique<CountingLayout>();
  }
  if (tag == L"CountingText") {
    return std::make_unique<CountingText>();
  }
  return nullptr;
}

}  // namespace uitest
