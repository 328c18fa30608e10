#include "tests/skin/main_page_window.h"

#include <QApplication>

#include <gtest/gtest.h>

#include "ui/controls/custom_controls.h"
#include "ui/framework/container.h"
#include "ui/framework/dialog_builder.h"
#include "ui/framework/resource_manager.h"

namespace skin_test {
namespace {

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
  ASSERT_NE(table, nullptr) << test_env::ToUtf8(builder.GetError());
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

void SelectLanguage(std::wstring_view language) {
  DuiLib::CResourceManager::GetInstance()->SelectLanguage(language);
}

std::wstring Indexed(std::wstring_view pattern, int index) {
  std::wstring name(pattern);
  if (const std::size_t at = name.find(L"%d"); at != std::wstring::npos) {
    name.replace(at, 2, std::to_wstring(index));
  }
  return name;
}

}  // namespace skin_test
