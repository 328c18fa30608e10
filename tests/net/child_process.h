// A program run in a child process for the tests, with its output captured. Every wait is
// bounded; a child still running when the object goes is killed.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace nettest {

class ChildProcess {
 public:
  // Starts `program` with `args`, in this process's environment without the access token
  // variable (a developer's own must not change what the tests see) plus `environment`
  // ("NAME=VALUE" entries).
  ChildProcess(const std::string& program, const std::vector<std::string>& args,
               const std::vector<std::string>& environment = {});
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool Started() const { return mPid > 0; }
  // The first line of standard output containing `text`, waiting at most `timeout`.
  std::optional<std::string> WaitForLine(std::string_view text, std::chrono::milliseconds timeout);
  // The exit code once the child has ended, waiting at most `timeout`; nullopt when it did not
  // end in time or ended by a signal.
  std::optional<int> Wait(std::chrono::milliseconds timeout);
  void Signal(int signal);

  // Everything read so far.
  const std::string& Out() const { return mOut; }
  const std::string& Err() const { return mErr; }

 private:
  // Reads what the child wrote until `until` or both pipes are closed.
  void Pump(std::chrono::steady_clock::time_point until);

  pid_t mPid = -1;
  int mOutFd = -1;
  int mErrFd = -1;
  std::string mOut;
  std::string mErr;
  std::optional<int> mStatus;
};

struct RunResult {
  std::optional<int> code;  // nullopt: it did not end in time
  std::string out;
  std::string err;
};

// Runs `program` to its end, waiting at most `timeout`.
RunResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                     std::chrono::milliseconds timeout,
                     const std::vector<std::string>& environment = {});

}  // namespace nettest
