#include "ui/framework/image_draw.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace DuiLib {
namespace {

// Borders `a` + `b` within `length`: shrunk in proportion when they do not fit.
void FitBorders(qreal length, qreal& a, qreal& b) {
  a = std::max<qreal>(a, 0);
  b = std::max<qreal>(b, 0);
  if (a + b > length && a + b > 0) {
    const qreal ratio = std::max<qreal>(length, 0) / (a + b);
    a *= ratio;
    b *= ratio;
  }
}

// The three spans of [start, start + length) with borders `a` and `b`.
std::array<std::pair<qreal, qreal>, 3> Spans(qreal start, qreal length, qreal a, qreal b) {
  return {std::pair{start, a}, std::pair{start + a, length - a - b},
          std::pair{start + length - b, b}};
}

QRectF Corners(const RECT& corner, double factor) {
  return QRectF(corner.left * factor, corner.top * factor, corner.right * factor,
                corner.bottom * factor);
}

// Borders drawn on whole pixels, so that the seams between the parts stay sharp.
QRectF WholeCorners(const RECT& corner, double factor) {
  return QRectF(std::round(corner.left * factor), std::round(corner.top * factor),
                std::round(corner.right * factor), std::round(corner.bottom * factor));
}

bool HasCorners(const RECT& corner) {
  return corner.left > 0 || corner.top > 0 || corner.right > 0 || corner.bottom > 0;
}

QRectF SourceRect(const RECT& source, double factor) {
  return QRectF(source.left * factor, source.top * factor, source.Width() * factor,
                source.Height() * factor);
}

}  // namespace

std::array<PatchPiece, 9> NinePatch(const QRectF& target, QRectF targetCorners,
                                    const QRectF& source, QRectF sourceCorners) {
  qreal tl = targetCorners.x(), tt = targetCorners.y();
  qreal tr = targetCorners.width(), tb = targetCorners.height();
  qreal sl = sourceCorners.x(), st = sourceCorners.y();
  qreal sr = sourceCorners.width(), sb = sourceCorners.height();
  FitBorders(target.width(), tl, tr);
  FitBorders(target.height(), tt, tb);
  FitBorders(source.width(), sl, sr);
  FitBorders(source.height(), st, sb);
  const auto targetColumns = Spans(target.x(), target.width(), tl, tr);
  const auto targetRows = Spans(target.y(), target.height(), tt, tb);
  const auto sourceColumns = Spans(source.x(), source.width(), sl, sr);
  const auto sourceRows = Spans(source.y(), source.height(), st, sb);
  std::array<PatchPiece, 9> pieces;
  for (std::size_t row = 0; row < 3; ++row) {
    for (std::size_t column = 0; column < 3; ++column) {
      pieces[row * 3 + column] =
          PatchPiece{QRectF(targetColumns[column].first, targetRows[row].first,
                            targetColumns[column].second, targetRows[row].second),
                     QRectF(sourceColumns[column].first, sourceRows[row].first,
                            sourceColumns[column].second, sourceRows[row].second)};
    }
  }
  return pieces;
}

bool DrawSkinImage(QPainter& painter, const ImageDescription& image, const QRect& target, int scale,
                   double pixelRatio) {
  if (target.isEmpty()) {
    return true;
  }
  // Borders are written at 100 % and drawn at the window's scale: device pixels per image unit.
  const double deviceFactor = scale / 100.0;
  const bool hasSource = image.source.Width() > 0 && image.source.Height() > 0;
  if (IsVectorImage(image.file)) {
    DrawingRendering rendering;
    rendering.name = image.file;
    if (hasSource) {
      rendering.view = SourceRect(image.source, 1.0);
    } else {
      const QSizeF size = SkinImageSize(image.file);
      rendering.view = QRectF(QPointF(), size);
    }
    rendering.corners = Corners(image.corner, 1.0);
    rendering.cornerScale = deviceFactor;
    rendering.pixels = QSize(static_cast<int>(std::lround(target.width() * pixelRatio)),
                             static_cast<int>(std::lround(target.height() * pixelRatio)));
    const QPixmap* rendered = rendering.view.isEmpty() ? nullptr : RenderSkinDrawing(rendering);
    if (rendered == nullptr) {
      return false;
    }
    painter.drawPixmap(QRectF(target), *rendered, QRectF(rendered->rect()));
    return true;
  }
  const SkinImage* loaded = LoadSkinImage(image.file, scale);
  if (loaded == nullptr) {
    return false;
  }
  // Sources and borders are written for the base file; a variant is larger by its scale.
  const double fileFactor = loaded->scale / 100.0;
  const QRectF source =
      hasSource ? SourceRect(image.source, fileFactor) : QRectF(loaded->pixmap.rect());
  if (!HasCorners(image.corner)) {
    painter.drawPixmap(QRectF(target), loaded->pixmap, source);
    return true;
  }
  const QRectF targetCorners = WholeCorners(image.corner, deviceFactor / pixelRatio);
  for (const PatchPiece& piece :
       NinePatch(QRectF(target), targetCorners, source, Corners(image.corner, fileFactor))) {
    if (!piece.target.isEmpty() && !piece.source.isEmpty()) {
      painter.drawPixmap(piece.target, loaded->pixmap, piece.source);
    }
  }
  return true;
}

}  // namespace DuiLib
