// Turning pixel point lists into the paths the curve displays stroke, in the two ways the displays
// draw: a chain of cubic Bézier segments given by their points, and a cardinal spline through
// every point.
#pragma once

#include <QPainterPath>
#include <QPoint>
#include <QPointF>
#include <QRectF>
#include <span>
#include <vector>

namespace ui {

// Cubic Bézier segments: the first point starts the chain and each following triple is (first
// control point, second control point, end point). Points after the last complete triple are not
// drawn. Fewer than four points give an empty path.
QPainterPath BezierChainPath(std::span<const QPoint> points);
// The same chain without the segments that lie wholly outside `visible` (a segment stays within
// its four points, so a stroke narrower than the margin kept around `visible` draws nothing
// inside it). Curves plunging far below a plot cost nothing to stroke then.
QPainterPath BezierChainPath(std::span<const QPoint> points, const QRectF& visible);

// A cardinal spline through every point; `tension` 0.5 is the usual soft curve. Each segment is
// a cubic Bézier whose control points lie tension/3 of the neighbours' distance away. Two points
// give a straight line, fewer an empty path.
QPainterPath CardinalSplinePath(std::span<const QPoint> points, double tension = 0.5);

// Rounds converted curve points to pixels, smoothing those at or right of `left` by exponential
// averaging (each value is the mean of the point and the previous value; the first such point
// seeds it). Points left of `left` are kept as they are.
std::vector<QPoint> SmoothedPixels(std::span<const QPointF> points, double left);

// Rounds converted curve points to pixels without smoothing.
std::vector<QPoint> RoundedPixels(std::span<const QPointF> points);

}  // namespace ui
