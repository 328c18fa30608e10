// Shared pieces of the framework tests: the application object, the test skin and a window that
// records what reaches it.
#pragma once

#include <QApplication>
#include <functional>
#include <string>
#include <vector>

#include "ui/framework/qt_convert.h"
#include "ui/framework/ui_framework.h"

namespace uitest {

// The application object (created on first use) with the test skin loaded and posting installed.
QApplication& App();
// Loads the test skin into the resource manager again (tests that replace it call this after).
void LoadTestSkin();
// The fatal-error handler of the tests: a layout that does not build fails the test instead of
// ending the process.
void FailOnFatalError(std::wstring_view title, std::wstring_view text, int exitCode);

// A row that counts how often it places its children ("CountingLayout" in test layouts).
class CountingLayout : public DuiLib::CHorizontalLayoutUI {
 public:
  int layouts = 0;

 protected:
  void LayoutChildren(const DuiLib::RECT& inner) override {
    ++layouts;
    CHorizontalLayoutUI::LayoutChildren(inner);
  }
};

// A label that counts how often it re-reads its language texts ("CountingText").
class CountingText : public DuiLib::CLabelUI {
 public:
  int refreshes = 0;
  void RefreshText() override {
    ++refreshes;
    CLabelUI::RefreshText();
  }
};

struct Notification {
  std::wstring type;
  std::wstring sender;
};

class TestWindow : public DuiLib::WindowImplBase {
 public:
  explicit TestWindow(std::wstring layout = L"XML_CONTROLS") : mLayout(std::move(layout)) {}

  // Creates the window as a dialog and shows it active.
  bool Open(DuiLib::HWND owner = 0);

  // The notifications of one type, by sender name, in order.
  std::vector<std::wstring> Senders(std::wstring_view type) const;
  // Every notification type in order.
  std::vector<std::wstring> Types() const;

  std::vector<Notification> notifications;
  std::vector<DuiLib::UINT> messages;
  std::function<void(DuiLib::TMessageUI&, bool&)> onMessage;
  std::function<void(DuiLib::TNotifyUI&)> onNotify;
  int destroyed = 0;

 protected:
  std::wstring GetWindowClassName() const override { return L"TestWnd"; }
  std::wstring GetSkinFile() override { return mLayout; }
  void Notify(DuiLib::TNotifyUI& msg) override;
  DuiLib::LRESULT HandleCustomMessage(DuiLib::TMessageUI& msg, bool& bHandled) override;
  void OnDestroy() override { ++destroyed; }
  std::unique_ptr<DuiLib::CControlUI> CreateControl(std::wstring_view tag) override;

 private:
  std::wstring mLayout;
};

}  // namespace uitest
