#include "ui/framework/image_cache.h"

#include <map>
#include <utility>

#include "ui/framework/attribute_parse.h"
#include "ui/framework/resource_manager.h"

namespace DuiLib {
namespace {

using CacheKey = std::pair<std::wstring, int>;

std::map<CacheKey, SkinImage>& Cache() {
  static std::map<CacheKey, SkinImage> cache;
  return cache;
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

}  // namespace

const SkinImage* LoadSkinImage(std::wstring_view name, int scale) {
  auto& cache = Cache();
  CacheKey key{std::wstring(name), scale};
  if (const auto found = cache.find(key); found != cache.end()) {
    return found->second.pixmap.isNull() ? nullptr : &found->second;
  }
  SkinImage image;
  const auto* resources = CResourceManager::GetInstance();
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
  // Failures are cached too, so a missing image costs one archive lookup.
  auto& stored = cache[key] = std::move(image);
  return stored.pixmap.isNull() ? nullptr : &stored;
}

void ClearSkinImages() {
  Cache().clear();
}

ImageDescription ParseImageDescription(std::wstring_view text) {
  ImageDescription description;
  const std::wstring_view file = QuotedField(text, L"file");
  if (file.empty()) {
    description.file = text;
    return description;
  }
  description.file = file;
  description.source = ParseRect(QuotedField(text, L"source"));
  description.dest = ParseRect(QuotedField(text, L"dest"));
  return description;
}

}  // namespace DuiLib
