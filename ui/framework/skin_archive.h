// The encrypted skin archive, opened from memory with libzip.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct zip;

namespace DuiLib {

class SkinArchive {
 public:
  // Null when the bytes are not a ZIP archive.
  static std::unique_ptr<SkinArchive> Open(std::span<const std::uint8_t> bytes,
                                           std::string_view password);
  ~SkinArchive();
  SkinArchive(const SkinArchive&) = delete;
  SkinArchive& operator=(const SkinArchive&) = delete;

  // One entry's bytes; null when missing, or when it cannot be decrypted or inflated.
  std::optional<std::string> Read(std::string_view path) const;
  bool Contains(std::string_view path) const;

 private:
  SkinArchive(std::vector<std::uint8_t> bytes, zip* archive);

  std::vector<std::uint8_t> mBytes;  // the archive reads from these
  zip* mZip;
};

}  // namespace DuiLib
