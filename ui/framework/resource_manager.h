// The skin's resources, process-wide: the archive every skin file is read from, the resource
// index, images per scale and the language tables. Used on the UI thread only.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ui/framework/notify.h"

namespace DuiLib {

class SkinArchive;

class CResourceManager {
 public:
  static CResourceManager* GetInstance();

  // Opens the skin archive from memory (the bytes are copied). Returns false when the bytes are
  // not a ZIP archive; the previous archive is then closed.
  bool SetResourceZip(std::span<const std::uint8_t> archive, std::string_view password);
  // The folder the framework reports as its resource path; files are still read from the archive.
  void SetResourcePath(std::wstring_view path) { mResourcePath = path; }
  const std::wstring& GetResourcePath() const { return mResourcePath; }

  // Reads one skin file ("xml/msg.xml"; "\" works as "/"). Null when there is no archive, the
  // file is missing or cannot be decrypted.
  std::optional<std::string> ReadFile(std::wstring_view path) const;

  // Loads the resource index ("xml\\res.xml"): `Xml` and `Image` elements at any depth.
  bool LoadResource(std::wstring_view indexFile = L"xml\\res.xml");
  // The path for a layout or image id; an unknown id is returned as it is (taken as a path).
  std::wstring GetXmlPath(std::wstring_view id) const;
  std::wstring GetImagePath(std::wstring_view id) const;
  // The bytes of `image` for a scale: "name@150.png" at 150 % when the skin has it, else the base.
  std::optional<std::string> ReadImage(std::wstring_view image, int scale) const;
  // Only the variant of `scale` ("name@150.png"); null when the skin has none.
  std::optional<std::string> ReadImageVariant(std::wstring_view image, int scale) const;

  // Language tables: at most two, each registered under a name ("cn_zh", "en").
  bool AddLanguage(std::wstring_view name, std::wstring_view file);
  bool SelectLanguage(std::wstring_view name);
  const std::wstring& GetLanguage() const { return mLanguage; }
  // Counts language switches; controls drawn by native widgets refresh when it moves.
  int GetLanguageGeneration() const { return mLanguageGeneration; }
  // The text for `text`: a "${key}" is looked up in the current table, then offered to the
  // text-query callback, else returned as it is; "{\n}" in a found value becomes a line break.
  // Any other text is returned unchanged.
  std::wstring GetText(std::wstring_view text) const;
  // The callback offered the keys the current table lacks (one at a time; null for none). It
  // unregisters itself when it is destroyed (IQueryControlText's destructor).
  void SetTextQueryInterface(IQueryControlText* query) { mTextQuery = query; }
  IQueryControlText* GetTextQueryInterface() const { return mTextQuery; }
  // Drops `query` if it is the registered callback.
  void ForgetTextQuery(const IQueryControlText* query);

  // Forgets the archive, the index, the languages and every decoded image (end of the program,
  // tests).
  void Reset();

  ~CResourceManager();

 private:
  CResourceManager();

  std::unique_ptr<SkinArchive> mArchive;
  std::wstring mResourcePath;
  std::map<std::wstring, std::wstring, std::less<>> mXmlIds;
  std::map<std::wstring, std::wstring, std::less<>> mImageIds;
  std::vector<std::pair<std::wstring, std::map<std::wstring, std::wstring, std::less<>>>> mTables;
  std::wstring mLanguage;
  int mLanguageGeneration = 0;
  IQueryControlText* mTextQuery = nullptr;
};

}  // namespace DuiLib
