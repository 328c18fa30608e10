// A 2560 x 1440 monitor that the desktop scales by 150 %: Qt reports it as 1707 x 960 logical
// pixels. The scale rule must see the device pixels (200 %), and the window must come out at
// 200 % of device pixels, not 200 % of logical ones.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QTest>

#include "platform/monitor_list.h"
#include "tests/ui_framework/test_window.h"

namespace {

using namespace DuiLib;

TEST(ScaledScreen, TheRuleSeesDevicePixels) {
  uitest::App();
  ASSERT_EQ(QGuiApplication::primaryScreen()->geometry().width(), 1707);
  const platform::MonitorList monitors = platform::QueryMonitors();
  EXPECT_EQ(monitors.primary.Width(), 2560);
  EXPECT_EQ(monitors.primary.Height(), 1440);
  EXPECT_DOUBLE_EQ(monitors.primary.pixelRatio, 1.5);
}

TEST(ScaledScreen, TheWindowScaleIsAppliedOnce) {
  uitest::App();
  uitest::TestWindow window(L"XML_IMAGES");
  ASSERT_TRUE(window.Open());
  CPaintManagerUI& pm = window.GetPaintManager();
  EXPECT_EQ(pm.GetScale(), 200);
  EXPECT_DOUBLE_EQ(pm.GetDevicePixelRatio(), 1.5);
  EXPECT_EQ(pm.GetLayoutScale(), 133);
  // 300 x 200 layout units: 600 x 400 device pixels, 400 x 267 logical ones.
  EXPECT_EQ(window.GetWindowRect().Width(), 400);
  EXPECT_EQ(window.GetWindowRect().Height(), 267);
  // A 60 x 30 control is 120 x 60 device pixels; its nine-patch border of 4 units is 8 of them.
  CControlUI* patch = pm.FindControl(L"svg_patch");
  ASSERT_NE(patch, nullptr);
  EXPECT_EQ(patch->GetPos().Width(), 80);
  const QImage picture = patch->GetWidget()->grab().toImage();
  ASSERT_EQ(picture.size(), QSize(120, 60));
  EXPECT_EQ(picture.pixel(7, 30), 0xFFFF0000u);
  EXPECT_EQ(picture.pixel(8, 30), 0xFF00FF00u);
  EXPECT_EQ(picture.pixel(60, 7), 0xFFFF0000u);
  EXPECT_EQ(picture.pixel(60, 8), 0xFF00FF00u);
  // Fonts follow the same scale: 12 px at 100 % is 24 device pixels, 16 logical ones.
  EXPECT_EQ(pm.GetFont(0).pixelSize(), 16);
}

}  // namespace
