// Switches the diagnostic log on for one test, in a fresh temporary directory, and reads back
// what was written.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <unistd.h>

#include "platform/debug_log.h"

namespace device::testing {

class ScopedLog {
 public:
  ScopedLog() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vexaro-log-XXXXXX").string();
    mDir = ::mkdtemp(pattern.data());
    std::ofstream(mDir / platform::kLogSwitchFile).put('\n');
    platform::StartDebugLog(mDir);
  }
  ~ScopedLog() {
    platform::StopDebugLog();
    std::error_code ignored;
    std::filesystem::remove_all(mDir, ignored);
  }
  ScopedLog(const ScopedLog&) = delete;
  ScopedLog& operator=(const ScopedLog&) = delete;

  // Closes the log and returns the narrow lines written so far.
  std::string Finish() {
    platform::StopDebugLog();
    std::ifstream in(mDir / platform::kLogFile, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

 private:
  std::filesystem::path mDir;
};

}  // namespace device::testing
