#include "platform/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>

namespace platform {
namespace {

// Tries this many random names before giving up on a folder full of leftovers.
constexpr int kNameAttempts = 100;

std::string Reason(const std::string& what, const std::filesystem::path& path, int code) {
  return what + " '" + path.string() + "': " + std::strerror(code);
}

// Closes the descriptor and removes the temporary file unless the rename took it over.
class TemporaryFile {
 public:
  TemporaryFile() = default;
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    Close();
    if (!mPath.empty()) {
      ::unlink(mPath.c_str());
    }
  }

  // Creates a file next to `target` that no other process has, readable as a new file of the
  // user's would be (the umask applies).
  bool Create(const std::filesystem::path& target, std::string& error) {
    const std::filesystem::path folder =
        target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    std::random_device random;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
      char suffix[16];
      std::snprintf(suffix, sizeof suffix, ".%08x.tmp", static_cast<unsigned>(random()));
      const std::filesystem::path candidate = folder / ("." + target.filename().string() + suffix);
      mFd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
      if (mFd >= 0) {
        mPath = candidate;
        return true;
      }
      if (errno != EEXIST) {
        error = Reason("cannot create a file in", folder, errno);
        return false;
      }
    }
    error = "cannot find a free temporary name in '" + folder.string() + "'";
    return false;
  }

  int fd() const { return mFd; }
  const std::filesystem::path& path() const { return mPath; }

  bool Close() {
    const int fd = mFd;
    mFd = -1;
    return fd < 0 || ::close(fd) == 0;
  }
  // After the rename the name belongs to the target.
  void Release() { mPath.clear(); }

 private:
  int mFd = -1;
  std::filesystem::path mPath;
};

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) {
        continue;
      }
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

}  // namespace

bool ReplaceFileContents(const std::filesystem::path& path, std::string_view bytes,
                         std::string& error) {
  if (path.filename().empty()) {
    error = "'" + path.string() + "' names no file";
    return false;
  }
  TemporaryFile temporary;
  if (!temporary.Create(path, error)) {
    return false;
  }
  struct stat existing {};
  if (::stat(path.c_str(), &existing) == 0) {
    (void)::fchmod(temporary.fd(), existing.st_mode & 07777);
  }
  if (!WriteAll(temporary.fd(), bytes) || ::fsync(temporary.fd()) != 0) {
    error = Reason("cannot write", temporary.path(), errno);
    return false;
  }
  if (!temporary.Close()) {
    error = Reason("cannot close", temporary.path(), errno);
    return false;
  }
  if (::rename(temporary.path().c_str(), path.c_str()) != 0) {
    error = Reason("cannot replace", path, errno);
    return false;
  }
  temporary.Release();
  // The new name must survive a power cut too; a folder that cannot be synced still holds it.
  const std::filesystem::path folder =
      path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
  const int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folderFd >= 0) {
    ::fsync(folderFd);
    ::close(folderFd);
  }
  return true;
}

}  // namespace platform
