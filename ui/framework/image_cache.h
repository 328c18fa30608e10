// Skin images, decoded once: raster files per scale variant, SVG drawings, and SVG drawings
// rendered at the sizes they are drawn at (framework only).
#pragma once

#include <QPixmap>
#include <QRectF>
#include <QSize>
#include <string_view>

#include "ui/framework/ui_types.h"

class QSvgRenderer;

namespace DuiLib {

struct SkinImage {
  QPixmap pixmap;
  int scale = 100;  // the scale the file was drawn for: 100 for a base file
};

// Whether `name` (resource id or path) is an SVG drawing (its file ends in ".svg").
bool IsVectorImage(std::wstring_view name);
// The raster image for `name` at `scale`; null when it cannot be read or decoded, or is SVG.
const SkinImage* LoadSkinImage(std::wstring_view name, int scale);
// The parsed SVG drawing for `name`; null when it cannot be read or parsed.
QSvgRenderer* LoadSkinDrawing(std::wstring_view name);
// The size of an image at 100 % in its own units: the base file's pixels, or the SVG's view box.
// Empty when the image cannot be read.
QSizeF SkinImageSize(std::wstring_view name);

// One rendering of an SVG drawing: the part `view` (view box units) into a pixmap of `pixels`
// device pixels, with nine-patch borders `corners` (left, top, right, bottom in view box units,
// all 0 for a plain stretch) drawn `cornerScale` device pixels per unit.
struct DrawingRendering {
  std::wstring name;
  QRectF view;
  QRectF corners;  // x = left, y = top, width = right, height = bottom
  double cornerScale = 1.0;
  QSize pixels;
  bool operator<(const DrawingRendering& other) const;
};
// The rendering, made on first use and kept (a bounded number of them); null when the drawing
// cannot be read.
const QPixmap* RenderSkinDrawing(const DrawingRendering& rendering);

// Forgets every decoded and rendered image (a new skin, tests).
void ClearSkinImages();

// A parsed image description: "file.png" or "file='file.png' source='l,t,r,b' dest='l,t,r,b'
// corner='l,t,r,b'" ("res" is taken as "file").
struct ImageDescription {
  std::wstring file;
  RECT source;  // empty: the whole image (image units)
  RECT dest;    // empty: the whole control (layout units)
  RECT corner;  // nine-patch borders (image units); all 0: the image stretches as a whole
};
ImageDescription ParseImageDescription(std::wstring_view text);

}  // namespace DuiLib
