// The window scale rule: the widest monitor (primary wins ties) and the DPI thresholds in order.
#include <gtest/gtest.h>

#include "ui/framework/window_scale.h"

namespace {

using platform::MonitorList;
using platform::ScreenRect;

MonitorList Single(int width, int height) {
  MonitorList list;
  list.primary = ScreenRect{0, 0, width, height};
  list.virtualScreen = list.primary;
  list.count = 1;
  list.monitors = {list.primary};
  return list;
}

MonitorList WithSecondary(ScreenRect primary, std::vector<ScreenRect> others) {
  MonitorList list;
  list.primary = primary;
  list.count = static_cast<int>(others.size()) + 1;
  list.monitors = {primary};
  list.monitors.insert(list.monitors.end(), others.begin(), others.end());
  list.virtualScreen = primary;
  for (const auto& other : others) {
    list.virtualScreen.left = std::min(list.virtualScreen.left, other.left);
    list.virtualScreen.top = std::min(list.virtualScreen.top, other.top);
    list.virtualScreen.right = std::max(list.virtualScreen.right, other.right);
    list.virtualScreen.bottom = std::max(list.virtualScreen.bottom, other.bottom);
  }
  return list;
}

struct SingleScreenCase {
  int width;
  int height;
  std::optional<int> dpi;  // none: the window keeps its DPI (100 %)
};

class SingleScreenScale : public testing::TestWithParam<SingleScreenCase> {};

TEST_P(SingleScreenScale, ThresholdsInOrder) {
  // GIVEN one monitor WHEN the rule runs THEN the DPI follows the thresholds.
  const auto& row = GetParam();
  const auto choice = DuiLib::ChooseWindowScale(Single(row.width, row.height));
  EXPECT_EQ(choice.dpi, row.dpi) << row.width << "x" << row.height;
  EXPECT_EQ(choice.monitor, (DuiLib::RECT{0, 0, row.width, row.height}));
}

INSTANTIATE_TEST_SUITE_P(
    Screens, SingleScreenScale,
    testing::Values(SingleScreenCase{1366, 768, std::nullopt}, SingleScreenCase{1280, 700, 77},
                    SingleScreenCase{1920, 1080, 144}, SingleScreenCase{2560, 1440, 192},
                    SingleScreenCase{3840, 2160, 288},
                    // Edges of each band, and the height test coming first.
                    SingleScreenCase{1279, 1024, 77}, SingleScreenCase{1280, 720, std::nullopt},
                    SingleScreenCase{1899, 1200, std::nullopt}, SingleScreenCase{1900, 1000, 144},
                    SingleScreenCase{2459, 1440, 144}, SingleScreenCase{2460, 1440, 192},
                    SingleScreenCase{3689, 2000, 192}, SingleScreenCase{3690, 2000, 288},
                    SingleScreenCase{3840, 700, 77}));

TEST(ScaleRuleMonitors, EqualWidthKeepsThePrimary) {
  // GIVEN two 1920-wide monitors WHEN the rule runs THEN the primary one is chosen.
  const auto list = WithSecondary({0, 0, 1920, 1080}, {{1920, 0, 3840, 1200}});
  const auto choice = DuiLib::ChooseWindowScale(list);
  EXPECT_EQ(choice.monitor, (DuiLib::RECT{0, 0, 1920, 1080}));
  EXPECT_EQ(choice.dpi, 144);
}

TEST(ScaleRuleMonitors, WiderSecondaryIsChosen) {
  // GIVEN a 1366 primary and a 2560 secondary WHEN the rule runs THEN the secondary decides.
  const auto list = WithSecondary({0, 0, 1366, 768}, {{1366, 0, 3926, 1440}});
  const auto choice = DuiLib::ChooseWindowScale(list);
  EXPECT_EQ(choice.monitor, (DuiLib::RECT{1366, 0, 3926, 1440}));
  EXPECT_EQ(choice.dpi, 192);
}

TEST(ScaleRuleMonitors, SecondariesSortedByLeftAndLimitedByTheCount) {
  // GIVEN monitors listed out of order THEN the widest of the first (count - 1) sorted ones wins,
  // and a monitor beyond the count is not considered.
  auto list = WithSecondary({0, 0, 1280, 720},
                            {{3000, 0, 6840, 2160}, {-1920, 0, 0, 1080}, {1280, 0, 2880, 900}});
  list.count = 3;  // the widest monitor (left 3000) sorts last and falls outside the count
  const auto choice = DuiLib::ChooseWindowScale(list);
  EXPECT_EQ(choice.monitor, (DuiLib::RECT{-1920, 0, 0, 1080}));
  EXPECT_EQ(choice.dpi, 144);
}

TEST(ScaleRuleMonitors, MonitorAtTheOriginIsNotASecondary) {
  // GIVEN the monitor list repeating the primary at the origin THEN only the primary counts.
  auto list = Single(1600, 900);
  list.monitors.push_back(ScreenRect{0, 0, 3000, 2000});
  list.count = 2;
  const auto choice = DuiLib::ChooseWindowScale(list);
  EXPECT_EQ(choice.monitor, (DuiLib::RECT{0, 0, 1600, 900}));
  EXPECT_EQ(choice.dpi, std::nullopt);
}

TEST(ScaleRuleMonitors, ScaleFollowsTheDpiValue) {
  EXPECT_EQ(DuiLib::MulDiv(77, 100, 96), 80);
  EXPECT_EQ(DuiLib::MulDiv(144, 100, 96), 150);
  EXPECT_EQ(DuiLib::MulDiv(192, 100, 96), 200);
  EXPECT_EQ(DuiLib::MulDiv(288, 100, 96), 300);
  EXPECT_EQ(DuiLib::MulDiv(96, 100, 96), 100);
}

}  // namespace
