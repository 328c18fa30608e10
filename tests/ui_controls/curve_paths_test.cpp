// The point lists and paths the curve displays stroke.
#include <array>
#include <vector>

#include <gtest/gtest.h>

#include "ui/controls/curve_paths.h"

namespace {

using ui::BezierChainPath;

TEST(CurvePaths, BezierChainTakesCompleteSegmentsOnly) {
  const std::vector<QPoint> points = {{0, 0}, {1, 1}, {2, 1}, {3, 0}, {4, 1}, {5, 1}, {6, 0}};
  EXPECT_EQ(BezierChainPath(points).elementCount(), 7);  // start + two segments of three
  EXPECT_EQ(BezierChainPath(std::span(points).first(6)).elementCount(), 4);
  EXPECT_TRUE(BezierChainPath(std::span(points).first(3)).isEmpty());
  EXPECT_EQ(BezierChainPath(points).currentPosition(), QPointF(6, 0));
}

TEST(CurvePaths, SegmentsWhollyOutsideAreLeftOutAndTheChainRestarts) {
  // Three segments: inside, far below, inside again.
  const std::vector<QPoint> points = {{0, 0},   {1, 1},    {2, 1}, {3, 0}, {4, 900},
                                      {5, 950}, {6, 1000}, {7, 5}, {8, 5}, {9, 0}};
  const QRectF visible(0, -10, 20, 40);
  const QPainterPath path = BezierChainPath(points, visible);
  // Segment 2 reaches from y 0 to 1000 and touches the visible band: kept. Only a segment with
  // every point outside goes.
  EXPECT_EQ(path.elementCount(), 10);
  const std::vector<QPoint> deeper = {{0, 0},   {1, 1},   {2, 1}, {3, 100}, {4, 900},
                                      {5, 950}, {6, 120}, {7, 5}, {8, 5},   {9, 0}};
  const QPainterPath cut = BezierChainPath(deeper, visible);
  ASSERT_EQ(cut.elementCount(), 8);
  EXPECT_TRUE(cut.elementAt(4).isMoveTo());
  EXPECT_EQ(QPointF(cut.elementAt(4)), QPointF(6, 120));
  // A flat segment (no height) inside is kept.
  const std::vector<QPoint> flat = {{0, 5}, {1, 5}, {2, 5}, {3, 5}};
  EXPECT_EQ(BezierChainPath(flat, visible).elementCount(), 4);
}

TEST(CurvePaths, CardinalSplineControlPointsLieATensionThirdAway) {
  const std::vector<QPoint> points = {{0, 0}, {6, 0}, {12, 6}};
  const QPainterPath path = ui::CardinalSplinePath(points);
  ASSERT_EQ(path.elementCount(), 7);
  // First segment: the start is its own neighbour.
  EXPECT_EQ(QPointF(path.elementAt(1)), QPointF(1, 0));
  EXPECT_EQ(QPointF(path.elementAt(2)), QPointF(4, -1));
  EXPECT_EQ(QPointF(path.elementAt(3)), QPointF(6, 0));
  EXPECT_EQ(QPointF(path.elementAt(4)), QPointF(8, 1));
  EXPECT_EQ(QPointF(path.elementAt(6)), QPointF(12, 6));
  EXPECT_EQ(ui::CardinalSplinePath(std::span(points).first(2)).elementCount(), 4);
  EXPECT_TRUE(ui::CardinalSplinePath(std::span(points).first(1)).isEmpty());
}

TEST(CurvePaths, SmoothingAveragesFromTheFirstPointInsideOnly) {
  const std::array<QPointF, 4> points = {QPointF(30, 0), QPointF(20, 4), QPointF(10, 9),
                                         QPointF(-5, 20)};
  const std::vector<QPoint> smoothed = ui::SmoothedPixels(points, 0.0);
  ASSERT_EQ(smoothed.size(), 4u);
  EXPECT_EQ(smoothed[0], QPoint(30, 0));
  EXPECT_EQ(smoothed[1], QPoint(25, 2));
  EXPECT_EQ(smoothed[2], QPoint(18, 6));   // (10 + 25) / 2 = 17.5 and (9 + 2) / 2 = 5.5, rounded up
  EXPECT_EQ(smoothed[3], QPoint(-5, 20));  // left of the plot: as it is
  EXPECT_EQ(ui::RoundedPixels(std::array<QPointF, 1>{QPointF(2.5, -2.5)})[0], QPoint(3, -3));
}

}  // namespace
