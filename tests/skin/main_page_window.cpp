#include "tests/skin/main_page_window.h"

#include <QApplication>
#include <QString>

#include <gtest/gtest.h>

#include "skin/skin_archive.h"
#include "ui/controls/custom_controls.h"
#include "ui/framework/container.h"
#include "ui/framework/dialog_builder.h"
#include "ui/framework/resource_manager.h"
#include "ui/framework/ui_framework.h"
#include "ui/framework/ui_utils.h"

namespace skin_test {
namespace {

class SkinEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    mApp = std::make_unique<QApplication>(mArgc, mArgv);
    DuiLib::InitUIFramework();
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
  char mName[16] = "skin_tests";
  char* mArgv[2] = {mName, nullptr};
  std::unique_ptr<QApplication> mApp;
};

[[maybe_unused]] ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new SkinEnvironment);

void Collect(DuiLib::CControlUI* control, std::vector<DuiLib::CControlUI*>& into) {
  into.push_back(control);
  if (auto* container = dynamic_cast<DuiLib::CContainerUI*>(control)) {
    for (int i = 0; i < container->GetCount(); ++i) {
      Collect(container->GetItemAt(i), into);
    }
  }
}

}  // namespace

void MainPageWindow::ApplyScale(int scale) {
  mPaintManager.SetDPI(DuiLib::MulDiv(scale, DuiLib::kDefaultDpi, 100));
  const DuiLib::SIZE size = mPaintManager.GetInitSize();
  SetWindowPos(0, 0, mPaintManager.Scale(size.cx), mPaintManager.Scale(size.cy));
  mPaintManager.NeedUpdate();
  mPaintManager.Relayout();
}

std::vector<DuiLib::CControlUI*> MainPageWindow::AllControls() {
  std::vector<DuiLib::CControlUI*> controls;
  if (mPaintManager.GetRoot() != nullptr) {
    Collect(mPaintManager.GetRoot(), controls);
  }
  return controls;
}

std::unique_ptr<DuiLib::CControlUI> MainPageWindow::CreateControl(std::wstring_view tag) {
  return ui::CreateCustomControl(tag);
}

void MainPageWindow::InitWindow() {
  auto* settings = mPaintManager.FindControl<DuiLib::CContainerUI>(L"channel_settings");
  ASSERT_NE(settings, nullptr);
  DuiLib::CDialogBuilder builder;
  auto table = builder.Create(L"xml/channel_settings_mixer.xml", this, &mPaintManager);
  ASSERT_NE(table, nullptr) << ToUtf8(builder.GetError());
  settings->Add(std::move(table));
}

std::unique_ptr<MainPageWindow> OpenMainPage(int scale) {
  auto window = std::make_unique<MainPageWindow>();
  if (window->Create(0, L"main", DuiLib::UI_WNDSTYLE_DIALOG, 0) == 0) {
    ADD_FAILURE() << "XML_MAIN could not be built";
    return nullptr;
  }
  window->ApplyScale(scale);
  window->ShowWindow(true, false);
  QApplication::processEvents();
  return window;
}

std::wstring TextOf(std::wstring_view key) {
  return DuiLib::CResourceManager::GetInstance()->GetText(key);
}

void SelectLanguage(std::wstring_view language) {
  DuiLib::CResourceManager::GetInstance()->SelectLanguage(language);
}

std::string ToUtf8(std::wstring_view text) {
  return QString::fromWCharArray(text.data(), static_cast<qsizetype>(text.size())).toStdString();
}

std::wstring Indexed(std::wstring_view pattern, int index) {
  std::wstring name(pattern);
  if (const std::size_t at = name.find(L"%d"); at != std::wstring::npos) {
    name.replace(at, 2, std::to_wstring(index));
  }
  return name;
}

}  // namespace skin_test
