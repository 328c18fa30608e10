#include "tests/net/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>

extern char** environ;

namespace nettest {
namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kTokenVariablePrefix = "VEXARO_TOKEN=";

}  // namespace

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& args,
                           const std::vector<std::string>& environment) {
  int out[2];
  int err[2];
  if (pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0) {
    return;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);

  std::vector<std::string> argStrings{program};
  argStrings.insert(argStrings.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& arg : argStrings) {
    argv.push_back(arg.data());
  }
  argv.push_back(nullptr);
  std::vector<std::string> envStrings;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    if (std::strncmp(*entry, kTokenVariablePrefix, std::strlen(kTokenVariablePrefix)) != 0) {
      envStrings.emplace_back(*entry);
    }
  }
  envStrings.insert(envStrings.end(), environment.begin(), environment.end());
  std::vector<char*> envp;
  for (std::string& entry : envStrings) {
    envp.push_back(entry.data());
  }
  envp.push_back(nullptr);

  if (posix_spawn(&mPid, program.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0) {
    mPid = -1;
  }
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  close(err[1]);
  mOutFd = out[0];
  mErrFd = err[0];
}

ChildProcess::~ChildProcess() {
  if (mPid > 0 && !mStatus) {
    kill(mPid, SIGKILL);
    int status = 0;
    waitpid(mPid, &status, 0);
  }
  for (int fd : {mOutFd, mErrFd}) {
    if (fd >= 0) {
      close(fd);
    }
  }
}

void ChildProcess::Pump(Clock::time_point until) {
  while (mOutFd >= 0 || mErrFd >= 0) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now());
    if (left.count() <= 0) {
      return;
    }
    pollfd entries[2] = {{mOutFd, POLLIN, 0}, {mErrFd, POLLIN, 0}};
    if (poll(entries, 2, static_cast<int>(left.count())) <= 0) {
      return;
    }
    const bool outReady = entries[0].revents != 0;
    for (auto [fd, text] : {std::pair{&mOutFd, &mOut}, std::pair{&mErrFd, &mErr}}) {
      const bool ready = fd == &mOutFd ? outReady : entries[1].revents != 0;
      if (*fd < 0 || !ready) {
        continue;
      }
      char buffer[4096];
      const ssize_t count = read(*fd, buffer, sizeof buffer);
      if (count <= 0) {
        close(*fd);
        *fd = -1;
      } else {
        text->append(buffer, static_cast<std::size_t>(count));
      }
    }
    if (outReady) {
      return;  // let the caller look at the new output
    }
  }
}

std::optional<std::string> ChildProcess::WaitForLine(std::string_view text,
                                                     std::chrono::milliseconds timeout) {
  const auto until = Clock::now() + timeout;
  for (;;) {
    std::size_t start = 0;
    for (std::size_t end = mOut.find('\n'); end != std::string::npos;
         start = end + 1, end = mOut.find('\n', start)) {
      const std::string line = mOut.substr(start, end - start);
      if (line.find(text) != std::string::npos) {
        return line;
      }
    }
    if (Clock::now() >= until || mOutFd < 0) {
      return std::nullopt;
    }
    Pump(until);
  }
}

std::optional<int> ChildProcess::Wait(std::chrono::milliseconds timeout) {
  const auto until = Clock::now() + timeout;
  while (!mStatus && mPid > 0) {
    // The pipes close when the child ends; the wait after that is short.
    Pump(until);
    if (mOutFd < 0 && mErrFd < 0) {
      int status = 0;
      waitpid(mPid, &status, 0);
      mStatus = status;
    } else if (Clock::now() >= until) {
      return std::nullopt;
    }
  }
  if (!mStatus || !WIFEXITED(*mStatus)) {
    return std::nullopt;
  }
  return WEXITSTATUS(*mStatus);
}

void ChildProcess::Signal(int signal) {
  if (mPid > 0 && !mStatus) {
    kill(mPid, signal);
  }
}

RunResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                     std::chrono::milliseconds timeout,
                     const std::vector<std::string>& environment) {
  ChildProcess child(program, args, environment);
  RunResult result;
  result.code = child.Wait(timeout);
  result.out = child.Out();
  result.err = child.Err();
  return result;
}

}  // namespace nettest
