// Decoded skin images, per file and scale (framework only).
#pragma once

#include <QPixmap>
#include <string_view>

#include "ui/framework/ui_types.h"

namespace DuiLib {

struct SkinImage {
  QPixmap pixmap;
  int scale = 100;  // the scale the file was drawn for: 100 for a base file
};

// The image for `name` (resource id or path) at `scale`; null when it cannot be read or decoded.
const SkinImage* LoadSkinImage(std::wstring_view name, int scale);
void ClearSkinImages();

// A parsed image description: "file.png" or "file='file.png' source='l,t,r,b' dest='l,t,r,b'".
struct ImageDescription {
  std::wstring file;
  RECT source;  // empty: the whole file
  RECT dest;    // empty: the whole control (layout units)
};
ImageDescription ParseImageDescription(std::wstring_view text);

}  // namespace DuiLib
