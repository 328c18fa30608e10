// Drawing of image descriptions: raster variants and SVG drawings, whole or as nine patches
// (framework only).
#pragma once

#include <QRect>
#include <QRectF>
#include <array>

#include "ui/framework/image_cache.h"

class QPainter;

namespace DuiLib {

// One of the nine parts of a nine-patch: where it goes and what it takes.
struct PatchPiece {
  QRectF target;
  QRectF source;
};
// The non-empty parts of `source` with borders `sourceCorners` stretched onto `target` with
// borders `targetCorners` (each: x = left, y = top, width = right, height = bottom). Borders that
// do not fit are shrunk in proportion.
std::array<PatchPiece, 9> NinePatch(const QRectF& target, QRectF targetCorners,
                                    const QRectF& source, QRectF sourceCorners);

// Draws `image` into `target` (logical pixels) of a window whose scale is `scale` % with
// `pixelRatio` device pixels per logical pixel. Raster files come from the variant of `scale`;
// SVG drawings are rendered at the target's device size. False when the image cannot be loaded.
bool DrawSkinImage(QPainter& painter, const ImageDescription& image, const QRect& target, int scale,
                   double pixelRatio);

}  // namespace DuiLib
