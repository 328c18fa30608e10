// Two monitors side by side with the primary one on the right, at (1920, 0): screen points count
// from the primary monitor's corner, Qt's global points from the left monitor's.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QTest>

#include "platform/monitor_list.h"
#include "tests/ui_framework/test_window.h"

namespace {

using namespace DuiLib;

QMenu* OpenMenu() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (auto* menu = qobject_cast<QMenu*>(widget); menu != nullptr && menu->isVisible()) {
      return menu;
    }
  }
  return nullptr;
}

TEST(TwoScreens, TheScreensAreSetUp) {
  uitest::App();
  ASSERT_EQ(QGuiApplication::screens().size(), 2);
  EXPECT_EQ(QGuiApplication::primaryScreen()->geometry().topLeft(), QPoint(1920, 0));
  const platform::MonitorList monitors = platform::QueryMonitors();
  EXPECT_EQ(monitors.virtualScreen.left, -1920);
  EXPECT_EQ(monitors.primary.left, 0);
}

TEST(TwoScreens, APopUpMenuOpensWhereTheWindowPointIs) {
  uitest::App();
  uitest::TestWindow owner;
  ASSERT_TRUE(owner.Open());
  owner.SetWindowPos(100, 50, 400, 300);
  const POINT inWindow{10, 20};
  const POINT screen = owner.ClientToScreen(inWindow);
  EXPECT_EQ(screen.x, 110);  // from the primary monitor's corner
  EXPECT_EQ(screen.y, 70);

  CMenuWnd menu;
  ASSERT_TRUE(menu.Init(owner.GetHWND(), L"xml/menu.xml", screen));
  ASSERT_TRUE(QTest::qWaitFor([] { return OpenMenu() != nullptr; }, 5000));
  QWidget* host = owner.GetPaintManager().GetRoot()->GetWidget()->window();
  EXPECT_EQ(OpenMenu()->geometry().topLeft(), host->mapToGlobal(QPoint(inWindow.x, inWindow.y)));
  EXPECT_EQ(QGuiApplication::screenAt(OpenMenu()->geometry().center()),
            QGuiApplication::primaryScreen());
  menu.Close();
}

}  // namespace
