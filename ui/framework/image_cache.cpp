#include "ui/framework/image_cache.h"

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cmath>
#include <map>
#include <memory>
#include <tuple>
#include <utility>

#include "ui/framework/attribute_parse.h"
#include "ui/framework/image_draw.h"
#include "ui/framework/resource_manager.h"
#include "ui/framework/ui_utils.h"

namespace DuiLib {
namespace {

// Renderings kept at most; a window uses a few dozen sizes, so this only bounds a runaway.
constexpr std::size_t kMaxRenderings = 512;
constexpr std::wstring_view kVectorExtension = L".svg";

using CacheKey = std::pair<std::wstring, int>;

struct Caches {
  std::map<CacheKey, SkinImage> images;
  std::map<std::wstring, std::unique_ptr<QSvgRenderer>, std::less<>> drawings;
  std::map<DrawingRendering, QPixmap> renderings;
};

Caches& TheCaches() {
  static Caches caches;
  return caches;
}

// The value of `key='...'` in an image description, or empty.
std::wstring_view QuotedField(std::wstring_view text, std::wstring_view key) {
  for (std::size_t pos = text.find(key); pos != std::wstring_view::npos;
       pos = text.find(key, pos + 1)) {
    const bool startsWord = pos == 0 || text[pos - 1] == L' ';
    const std::size_t open = pos + key.size();
    if (!startsWord || text.substr(open, 2) != L"='") {
      continue;
    }
    const std::size_t close = text.find(L'\'', open + 2);
    if (close == std::wstring_view::npos) {
      return {};
    }
    return text.substr(open + 2, close - open - 2);
  }
  return {};
}

auto Tie(const QRectF& rect) {
  return std::make_tuple(rect.x(), rect.y(), rect.width(), rect.height());
}

}  // namespace

bool DrawingRendering::operator<(const DrawingRendering& other) const {
  return std::make_tuple(std::cref(name), Tie(view), Tie(corners), cornerScale, pixels.width(),
                         pixels.height()) <
         std::make_tuple(std::cref(other.name), Tie(other.view), Tie(other.corners),
                         other.cornerScale, other.pixels.width(), other.pixels.height());
}

bool IsVectorImage(std::wstring_view name) {
  const std::wstring path = CResourceManager::GetInstance()->GetImagePath(name);
  return path.size() >= kVectorExtension.size() &&
         EqualsNoCase(std::wstring_view(path).substr(path.size() - kVectorExtension.size()),
                      kVectorExtension);
}

const SkinImage* LoadSkinImage(std::wstring_view name, int scale) {
  auto& cache = TheCaches().images;
  CacheKey key{std::wstring(name), scale};
  if (const auto found = cache.find(key); found != cache.end()) {
    return found->second.pixmap.isNull() ? nullptr : &found->second;
  }
  SkinImage image;
  const auto* resources = CResourceManager::GetInstance();
  if (!IsVectorImage(name)) {
    if (scale != 100) {
      if (auto variant = resources->ReadImageVariant(name, scale)) {
        image.pixmap.loadFromData(reinterpret_cast<const uchar*>(variant->data()),
                                  static_cast<uint>(variant->size()));
        image.scale = scale;
      }
    }
    if (image.pixmap.isNull()) {
      if (auto base = resources->ReadFile(resources->GetImagePath(name))) {
        image.pixmap.loadFromData(reinterpret_cast<const uchar*>(base->data()),
                                  static_cast<uint>(base->size()));
        image.scale = 100;
      }
    }
  }
  // Failures are cached too, so a missing image costs one archive lookup.
  auto& stored = cache[key] = std::move(image);
  return stored.pixmap.isNull() ? nullptr : &stored;
}

QSvgRenderer* LoadSkinDrawing(std::wstring_view name) {
  auto& drawings = TheCaches().drawings;
  if (const auto found = drawings.find(name); found != drawings.end()) {
    return found->second.get();
  }
  std::unique_ptr<QSvgRenderer> renderer;
  const auto* resources = CResourceManager::GetInstance();
  if (auto bytes = resources->ReadFile(resources->GetImagePath(name))) {
    renderer = std::make_unique<QSvgRenderer>(QByteArray::fromStdString(*bytes));
    if (!renderer->isValid() || renderer->viewBoxF().isEmpty()) {
      renderer.reset();
    }
  }
  QSvgRenderer* loaded = renderer.get();
  drawings.emplace(std::wstring(name), std::move(renderer));
  return loaded;
}

QSizeF SkinImageSize(std::wstring_view name) {
  if (IsVectorImage(name)) {
    const QSvgRenderer* drawing = LoadSkinDrawing(name);
    return drawing != nullptr ? drawing->viewBoxF().size() : QSizeF();
  }
  const SkinImage* image = LoadSkinImage(name, 100);
  return image != nullptr ? QSizeF(image->pixmap.size()) : QSizeF();
}

const QPixmap* RenderSkinDrawing(const DrawingRendering& rendering) {
  auto& renderings = TheCaches().renderings;
  if (const auto found = renderings.find(rendering); found != renderings.end()) {
    return &found->second;
  }
  QSvgRenderer* drawing = LoadSkinDrawing(rendering.name);
  if (drawing == nullptr || rendering.pixels.isEmpty()) {
    return nullptr;
  }
  QImage canvas(rendering.pixels, QImage::Format_ARGB32_Premultiplied);
  canvas.fill(Qt::transparent);
  {
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF whole(QPointF(), QSizeF(rendering.pixels));
    const QRectF corners = rendering.corners;
    // Borders on whole pixels, so that the seams between the parts stay sharp.
    const auto border = [&](qreal units) { return std::round(units * rendering.cornerScale); };
    const QRectF targetCorners(border(corners.x()), border(corners.y()), border(corners.width()),
                               border(corners.height()));
    const QRectF box = drawing->viewBoxF();
    // Each part is the drawing seen through a view box of its own, clipped to its place.
    for (const PatchPiece& piece : NinePatch(whole, targetCorners, rendering.view, corners)) {
      if (piece.target.isEmpty() || piece.source.isEmpty()) {
        continue;
      }
      painter.save();
      painter.setClipRect(piece.target);
      drawing->setViewBox(piece.source);
      drawing->render(&painter, piece.target);
      painter.restore();
    }
    drawing->setViewBox(box);
  }
  if (renderings.size() >= kMaxRenderings) {
    renderings.clear();
  }
  return &(renderings[rendering] = QPixmap::fromImage(std::move(canvas)));
}

void ClearSkinImages() {
  Caches& caches = TheCaches();
  caches.images.clear();
  caches.renderings.clear();
  caches.drawings.clear();
}

ImageDescription ParseImageDescription(std::wstring_view text) {
  ImageDescription description;
  std::wstring_view file = QuotedField(text, L"file");
  if (file.empty()) {
    file = QuotedField(text, L"res");
  }
  if (file.empty()) {
    description.file = text;
    return description;
  }
  description.file = file;
  description.source = ParseRect(QuotedField(text, L"source"));
  description.dest = ParseRect(QuotedField(text, L"dest"));
  description.corner = ParseRect(QuotedField(text, L"corner"));
  return description;
}

}  // namespace DuiLib
