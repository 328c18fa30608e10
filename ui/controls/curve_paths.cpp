#include "ui/controls/curve_paths.h"

#include <algorithm>
#include <cmath>

namespace ui {
namespace {

QPoint RoundedPoint(const QPointF& point) {
  return QPoint(static_cast<int>(std::lround(point.x())), static_cast<int>(std::lround(point.y())));
}

}  // namespace

QPainterPath BezierChainPath(std::span<const QPoint> points) {
  QPainterPath path;
  if (points.size() < 4) {
    return path;
  }
  path.moveTo(points[0]);
  for (std::size_t i = 1; i + 2 < points.size(); i += 3) {
    path.cubicTo(points[i], points[i + 1], points[i + 2]);
  }
  return path;
}

QPainterPath BezierChainPath(std::span<const QPoint> points, const QRectF& visible) {
  QPainterPath path;
  bool drawing = false;
  for (std::size_t i = 1; i + 2 < points.size(); i += 3) {
    const std::span<const QPoint> segment = points.subspan(i - 1, 4);
    const auto [minX, maxX] =
        std::minmax({segment[0].x(), segment[1].x(), segment[2].x(), segment[3].x()});
    const auto [minY, maxY] =
        std::minmax({segment[0].y(), segment[1].y(), segment[2].y(), segment[3].y()});
    if (maxX < visible.left() || minX > visible.right() || maxY < visible.top() ||
        minY > visible.bottom()) {
      drawing = false;
      continue;
    }
    if (!drawing) {
      path.moveTo(segment[0]);
      drawing = true;
    }
    path.cubicTo(segment[1], segment[2], segment[3]);
  }
  return path;
}

QPainterPath CardinalSplinePath(std::span<const QPoint> points, double tension) {
  QPainterPath path;
  if (points.size() < 2) {
    return path;
  }
  const double factor = tension / 3.0;
  const std::size_t last = points.size() - 1;
  path.moveTo(points[0]);
  for (std::size_t i = 0; i < last; ++i) {
    // The ends use themselves as their missing neighbour.
    const QPointF before = points[i == 0 ? 0 : i - 1];
    const QPointF from = points[i];
    const QPointF to = points[i + 1];
    const QPointF after = points[i + 1 == last ? last : i + 2];
    path.cubicTo(from + (to - before) * factor, to - (after - from) * factor, to);
  }
  return path;
}

std::vector<QPoint> SmoothedPixels(std::span<const QPointF> points, double left) {
  std::vector<QPoint> pixels;
  pixels.reserve(points.size());
  QPointF average;
  bool seeded = false;
  for (const QPointF& point : points) {
    if (point.x() < left) {
      pixels.push_back(RoundedPoint(point));
      continue;
    }
    average = seeded ? (point + average) / 2.0 : point;
    seeded = true;
    pixels.push_back(RoundedPoint(average));
  }
  return pixels;
}

std::vector<QPoint> RoundedPixels(std::span<const QPointF> points) {
  std::vector<QPoint> pixels;
  pixels.reserve(points.size());
  for (const QPointF& point : points) {
    pixels.push_back(RoundedPoint(point));
  }
  return pixels;
}

}  // namespace ui
