#include "ui/framework/skin_archive.h"

#include <zip.h>

#include <memory>
#include <string>

namespace DuiLib {

std::unique_ptr<SkinArchive> SkinArchive::Open(std::span<const std::uint8_t> bytes,
                                               std::string_view password) {
  std::vector<std::uint8_t> copy(bytes.begin(), bytes.end());
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = zip_source_buffer_create(copy.data(), copy.size(), 0, &error);
  if (source == nullptr) {
    zip_error_fini(&error);
    return nullptr;
  }
  zip_t* archive = zip_open_from_source(source, ZIP_RDONLY, &error);
  zip_error_fini(&error);
  if (archive == nullptr) {
    zip_source_free(source);
    return nullptr;
  }
  const std::string passwordCopy(password);
  zip_set_default_password(archive, passwordCopy.empty() ? nullptr : passwordCopy.c_str());
  return std::unique_ptr<SkinArchive>(new SkinArchive(std::move(copy), archive));
}

SkinArchive::SkinArchive(std::vector<std::uint8_t> bytes, zip* archive)
    : mBytes(std::move(bytes)), mZip(archive) {}

SkinArchive::~SkinArchive() {
  zip_discard(mZip);
}

bool SkinArchive::Contains(std::string_view path) const {
  const std::string name(path);
  return zip_name_locate(mZip, name.c_str(), 0) >= 0;
}

std::optional<std::string> SkinArchive::Read(std::string_view path) const {
  const std::string name(path);
  zip_stat_t stat;
  zip_stat_init(&stat);
  if (zip_stat(mZip, name.c_str(), 0, &stat) != 0 || (stat.valid & ZIP_STAT_SIZE) == 0) {
    return std::nullopt;
  }
  zip_file_t* file = zip_fopen(mZip, name.c_str(), 0);
  if (file == nullptr) {
    return std::nullopt;
  }
  std::string content(stat.size, '\0');
  const zip_int64_t read = zip_fread(file, content.data(), content.size());
  // Closing checks the entry's CRC, which is how a wrong password shows up.
  const int closed = zip_fclose(file);
  if (read < 0 || static_cast<zip_uint64_t>(read) != stat.size || closed != 0) {
    return std::nullopt;
  }
  return content;
}

}  // namespace DuiLib
