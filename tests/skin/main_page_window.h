// The main page's layout in a plain window, as the main window builds it: "XML_MAIN" with the
// program's custom controls and the output table built into "channel_settings". The test program
// runs in the dialogs' test environment: the embedded skin with both language tables (Chinese
// selected).
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "tests/app_windows/skin_environment.h"
#include "ui/framework/control.h"
#include "ui/framework/window_impl_base.h"

namespace skin_test {

class MainPageWindow : public DuiLib::WindowImplBase {
 public:
  // Lays the page out again at `scale` percent.
  void ApplyScale(int scale);
  DuiLib::CControlUI* Find(std::wstring_view name) { return mPaintManager.FindControl(name); }
  template <typename T>
  T* Find(std::wstring_view name) {
    return mPaintManager.FindControl<T>(name);
  }
  // Every control of the page, depth first.
  std::vector<DuiLib::CControlUI*> AllControls();

 protected:
  std::wstring GetWindowClassName() const override { return L"MainPageTest"; }
  std::wstring GetSkinFile() override { return L"XML_MAIN"; }
  std::unique_ptr<DuiLib::CControlUI> CreateControl(std::wstring_view tag) override;
  void InitWindow() override;
};

// The page at `scale` percent; null (with a test failure) when it cannot be built.
std::unique_ptr<MainPageWindow> OpenMainPage(int scale = 100);

void SelectLanguage(std::wstring_view language);
using test_env::ToUtf8;
inline std::wstring TextOf(std::wstring_view key) {
  return test_env::GetText(key);
}

// `pattern` with its "%d" replaced by `index`.
std::wstring Indexed(std::wstring_view pattern, int index);

}  // namespace skin_test
