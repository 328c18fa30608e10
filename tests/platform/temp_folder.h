// A folder of a test's own under the system's temporary folder, removed with all it holds.
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <system_error>

namespace platform::testing {

class TempFolder {
 public:
  explicit TempFolder(const std::string& prefix)
      : mPath(std::filesystem::temp_directory_path() /
              (prefix + std::to_string(std::random_device{}()))) {
    std::filesystem::create_directories(mPath);
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(mPath, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return mPath; }
  std::filesystem::path operator/(const std::string& name) const { return mPath / name; }

 private:
  std::filesystem::path mPath;
};

// The bytes of a file; empty when it cannot be read.
inline std::string FileContents(const std::filesystem::path& path) {
  std::stringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  return text.str();
}

}  // namespace platform::testing
