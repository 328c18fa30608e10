#include "ui/framework/resource_manager.h"

#include <QXmlStreamReader>

#include "platform/debug_log.h"
#include "ui/framework/image_cache.h"
#include "ui/framework/qt_convert.h"
#include "ui/framework/skin_archive.h"
#include "ui/framework/ui_thread.h"

namespace DuiLib {
namespace {

constexpr std::size_t kMaxLanguages = 2;
constexpr std::wstring_view kKeyStart = L"${";
constexpr std::wstring_view kLineBreak = L"{\\n}";

// Archive entry names use forward slashes.
std::string EntryName(std::wstring_view path) {
  std::string name = ToUtf8(path);
  for (char& c : name) {
    if (c == '\\') {
      c = '/';
    }
  }
  return name;
}

std::wstring ReplaceLineBreaks(std::wstring value) {
  for (auto pos = value.find(kLineBreak); pos != std::wstring::npos;
       pos = value.find(kLineBreak, pos + 1)) {
    value.replace(pos, kLineBreak.size(), L"\n");
  }
  return value;
}

// "image/btn.png" at 150 % -> "image/btn@150.png".
std::wstring ScaledVariant(std::wstring_view path, int scale) {
  const auto slash = path.find_last_of(L"/\\");
  const auto dot = path.rfind(L'.');
  const bool hasExtension =
      dot != std::wstring_view::npos && (slash == std::wstring_view::npos || dot > slash);
  const std::wstring suffix = L"@" + std::to_wstring(scale);
  if (!hasExtension) {
    return std::wstring(path) + suffix;
  }
  return std::wstring(path.substr(0, dot)) + suffix + std::wstring(path.substr(dot));
}

}  // namespace

CResourceManager::CResourceManager() = default;
CResourceManager::~CResourceManager() = default;

CResourceManager* CResourceManager::GetInstance() {
  static CResourceManager instance;
  return &instance;
}

bool CResourceManager::SetResourceZip(std::span<const std::uint8_t> archive,
                                      std::string_view password) {
  mArchive = SkinArchive::Open(archive, password);
  if (!mArchive) {
    DebugLog(L"skin archive cannot be opened\n");
  }
  return mArchive != nullptr;
}

std::optional<std::string> CResourceManager::ReadFile(std::wstring_view path) const {
  if (!mArchive) {
    return std::nullopt;
  }
  return mArchive->Read(EntryName(path));
}

bool CResourceManager::LoadResource(std::wstring_view indexFile) {
  const auto content = ReadFile(indexFile);
  if (!content) {
    return false;
  }
  QXmlStreamReader reader(QByteArray::fromStdString(*content));
  while (!reader.atEnd()) {
    if (reader.readNext() != QXmlStreamReader::StartElement) {
      continue;
    }
    const auto tag = reader.name();
    if (tag == u"Image" || tag == u"Xml") {
      const auto attributes = reader.attributes();
      auto& ids = tag == u"Image" ? mImageIds : mXmlIds;
      ids[ToWString(attributes.value(QStringLiteral("id")).toString())] =
          ToWString(attributes.value(QStringLiteral("path")).toString());
    }
  }
  if (reader.hasError()) {
    DebugLog(L"resource index %ls: %ls\n", std::wstring(indexFile).c_str(),
             ToWString(reader.errorString()).c_str());
    return false;
  }
  return true;
}

std::wstring CResourceManager::GetXmlPath(std::wstring_view id) const {
  const auto found = mXmlIds.find(id);
  return found != mXmlIds.end() ? found->second : std::wstring(id);
}

std::wstring CResourceManager::GetImagePath(std::wstring_view id) const {
  const auto found = mImageIds.find(id);
  return found != mImageIds.end() ? found->second : std::wstring(id);
}

std::optional<std::string> CResourceManager::ReadImageVariant(std::wstring_view image,
                                                              int scale) const {
  return ReadFile(ScaledVariant(GetImagePath(image), scale));
}

std::optional<std::string> CResourceManager::ReadImage(std::wstring_view image, int scale) const {
  if (scale != 100) {
    if (auto variant = ReadImageVariant(image, scale)) {
      return variant;
    }
  }
  return ReadFile(GetImagePath(image));
}

bool CResourceManager::AddLanguage(std::wstring_view name, std::wstring_view file) {
  const auto content = ReadFile(file);
  if (!content) {
    DebugLog(L"language table %ls missing\n", std::wstring(file).c_str());
    return false;
  }
  std::map<std::wstring, std::wstring, std::less<>> table;
  QXmlStreamReader reader(QByteArray::fromStdString(*content));
  while (!reader.atEnd()) {
    if (reader.readNext() == QXmlStreamReader::StartElement && reader.name() == u"Text") {
      const auto attributes = reader.attributes();
      table[ToWString(attributes.value(QStringLiteral("id")).toString())] =
          ReplaceLineBreaks(ToWString(attributes.value(QStringLiteral("value")).toString()));
    }
  }
  if (reader.hasError()) {
    DebugLog(L"language table %ls: %ls\n", std::wstring(file).c_str(),
             ToWString(reader.errorString()).c_str());
    return false;
  }
  for (auto& [tableName, entries] : mTables) {
    if (tableName == name) {
      entries = std::move(table);
      ++mLanguageGeneration;
      return true;
    }
  }
  if (mTables.size() >= kMaxLanguages) {
    return false;
  }
  mTables.emplace_back(std::wstring(name), std::move(table));
  return true;
}

bool CResourceManager::SelectLanguage(std::wstring_view name) {
  for (const auto& table : mTables) {
    if (table.first == name) {
      mLanguage = name;
      ++mLanguageGeneration;
      return true;
    }
  }
  return false;
}

std::wstring CResourceManager::GetText(std::wstring_view text) const {
  if (!CheckUiThread("CResourceManager::GetText")) {
    return std::wstring(text);
  }
  if (!text.starts_with(kKeyStart)) {
    return std::wstring(text);
  }
  for (const auto& [name, entries] : mTables) {
    if (name != mLanguage) {
      continue;
    }
    if (const auto found = entries.find(text); found != entries.end()) {
      return found->second;
    }
  }
  if (mTextQuery != nullptr) {
    std::wstring supplied = mTextQuery->QueryControlText(text);
    if (!supplied.empty()) {
      return supplied;
    }
  }
  return std::wstring(text);
}

void CResourceManager::ForgetTextQuery(const IQueryControlText* query) {
  if (mTextQuery == query) {
    mTextQuery = nullptr;
  }
}

IQueryControlText::~IQueryControlText() {
  CResourceManager::GetInstance()->ForgetTextQuery(this);
}

void CResourceManager::Reset() {
  ClearSkinImages();
  mArchive.reset();
  mXmlIds.clear();
  mImageIds.clear();
  mTables.clear();
  mLanguage.clear();
  ++mLanguageGeneration;
  mTextQuery = nullptr;
}

}  // namespace DuiLib
