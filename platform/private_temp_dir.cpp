#include "platform/private_temp_dir.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

namespace platform {

std::filesystem::path PrivateTempDir::Root() {
  for (const char* name : {"TMP", "TMPDIR"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') {
      return value;
    }
  }
  return "/tmp";
}

std::unique_ptr<PrivateTempDir> PrivateTempDir::Create(std::string_view prefix, int& error) {
  std::string pattern = (Root() / (std::string(prefix) + "XXXXXX")).string();
  // mkdtemp picks a name nobody has and creates it with mode 0700, failing rather than reusing.
  if (::mkdtemp(pattern.data()) == nullptr) {
    error = errno;
    return nullptr;
  }
  const int handle = ::open(pattern.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (handle < 0) {
    error = errno;
    ::rmdir(pattern.c_str());
    return nullptr;
  }
  error = 0;
  return std::unique_ptr<PrivateTempDir>(new PrivateTempDir(pattern, handle));
}

PrivateTempDir::PrivateTempDir(std::filesystem::path path, int handle)
    : mPath(std::move(path)), mHandle(handle) {}

PrivateTempDir::~PrivateTempDir() {
  for (const std::string& name : mFiles) {
    ::unlinkat(mHandle, name.c_str(), 0);
  }
  ::close(mHandle);
  ::rmdir(mPath.c_str());
}

PrivateTempDir::WriteResult PrivateTempDir::WriteFile(const std::string& name,
                                                      std::span<const std::uint8_t> bytes) {
  const int file =
      ::openat(mHandle, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (file < 0) {
    return WriteResult::NotCreated;
  }
  mFiles.push_back(name);
  std::size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t count = ::write(file, bytes.data() + written, bytes.size() - written);
    if (count < 0 && errno == EINTR) {
      continue;
    }
    if (count <= 0) {
      break;
    }
    written += static_cast<std::size_t>(count);
  }
  const bool closed = ::close(file) == 0;
  if (written == bytes.size() && closed) {
    return WriteResult::Written;
  }
  ::unlinkat(mHandle, name.c_str(), 0);
  mFiles.erase(std::find(mFiles.begin(), mFiles.end(), name));
  return WriteResult::ShortWrite;
}

}  // namespace platform
