#include "platform/device_holders.h"

#include <sys/stat.h>
#include <unistd.h>

#include <charconv>
#include <fstream>
#include <system_error>

namespace platform {
namespace {

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

std::string CommandName(const std::filesystem::path& process) {
  std::ifstream in(process / "comm");
  std::string name;
  std::getline(in, name);
  return name;
}

}  // namespace

std::vector<ProcessInfo> ProcessesHolding(const std::filesystem::path& node) {
  const int selfPid = static_cast<int>(::getpid());
  std::vector<ProcessInfo> holders;
  struct stat wanted {};
  if (::stat(node.c_str(), &wanted) != 0) {
    return holders;
  }
  std::error_code error;
  for (const auto& process : std::filesystem::directory_iterator("/proc", error)) {
    const std::string name = process.path().filename().string();
    int pid = 0;
    const auto [end, parsed] = std::from_chars(name.data(), name.data() + name.size(), pid);
    // Only the numbered entries are processes.
    if (parsed != std::errc() || end != name.data() + name.size() || pid == selfPid) {
      continue;
    }
    std::error_code fdError;
    for (const auto& fd : std::filesystem::directory_iterator(process.path() / "fd", fdError)) {
      struct stat target {};
      // stat follows the descriptor's link to the file it has open.
      if (::stat(fd.path().c_str(), &target) == 0 && SameFile(target, wanted)) {
        holders.push_back({pid, CommandName(process.path())});
        break;
      }
    }
  }
  return holders;
}

std::string DescribeProcess(const ProcessInfo& process) {
  std::string text = "pid " + std::to_string(process.pid);
  if (!process.name.empty()) {
    text += " (" + process.name + ")";
  }
  return text;
}

}  // namespace platform
