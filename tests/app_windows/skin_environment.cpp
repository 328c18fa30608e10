#include "tests/app_windows/skin_environment.h"

#include <QApplication>
#include <QString>
#include <memory>

#include <gtest/gtest.h>

#include "skin/skin_archive.h"
#include "ui/framework/resource_manager.h"
#include "ui/framework/ui_framework.h"

namespace test_env {

namespace {

class SkinEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    mApp = std::make_unique<QApplication>(mArgc, mArgv);
    DuiLib::InitUIFramework();
    DuiLib::EnableUiThreadChecks(true);
    // A layout that cannot be built must fail the test, not end the test program.
    DuiLib::SetFatalErrorHandler([](std::wstring_view, std::wstring_view text, int) {
      ADD_FAILURE() << "fatal UI error: " << ToUtf8(text);
    });
    auto& resources = *DuiLib::CResourceManager::GetInstance();
    ASSERT_TRUE(resources.SetResourceZip(skin::EmbeddedArchive(), skin::ArchivePassword()));
    ASSERT_TRUE(resources.LoadResource());
    ASSERT_TRUE(resources.AddLanguage(L"cn_zh", L"lan/lan_cn.xml"));
    ASSERT_TRUE(resources.AddLanguage(L"en", L"lan/lan_en.xml"));
    ASSERT_TRUE(resources.SelectLanguage(L"cn_zh"));
  }

  void TearDown() override {
    DuiLib::ShutdownUIFramework();
    DuiLib::CResourceManager::GetInstance()->Reset();
    mApp.reset();
  }

 private:
  int mArgc = 1;
  char mName[32] = "app_windows_tests";
  char* mArgv[2] = {mName, nullptr};
  std::unique_ptr<QApplication> mApp;
};

[[maybe_unused]] ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new SkinEnvironment);

}  // namespace

std::wstring GetText(std::wstring_view key) {
  return DuiLib::CResourceManager::GetInstance()->GetText(key);
}

std::string ToUtf8(std::wstring_view text) {
  return QString::fromWCharArray(text.data(), static_cast<qsizetype>(text.size())).toStdString();
}

}  // namespace test_env
