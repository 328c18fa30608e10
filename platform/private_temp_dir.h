// A temporary directory of this run's own.
//
// The shared temporary folder is writable by everyone, so a fixed file name in it can be taken
// first by anyone on the machine (a link planted there would redirect what is written). This
// directory gets a unique name and mode 0700 and is created exclusively, so nobody else can have
// put anything in it; its files are created exclusively, without following links, relative to
// the directory's own handle. Destruction removes the files written and the directory.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class PrivateTempDir {
 public:
  enum class WriteResult { Written, NotCreated, ShortWrite };

  // The temporary folder: TMP, else TMPDIR, else /tmp.
  static std::filesystem::path Root();
  // A new directory "<Root>/<prefix>XXXXXX"; null when it cannot be made, with the system's
  // error code in `error`.
  static std::unique_ptr<PrivateTempDir> Create(std::string_view prefix, int& error);

  ~PrivateTempDir();
  PrivateTempDir(const PrivateTempDir&) = delete;
  PrivateTempDir& operator=(const PrivateTempDir&) = delete;

  const std::filesystem::path& Path() const { return mPath; }
  // Writes a new file `name` (mode 0600) holding `bytes`. A file that was created but not
  // written whole is removed again.
  WriteResult WriteFile(const std::string& name, std::span<const std::uint8_t> bytes);

 private:
  PrivateTempDir(std::filesystem::path path, int handle);

  std::filesystem::path mPath;
  int mHandle;
  std::vector<std::string> mFiles;
};

}  // namespace platform
