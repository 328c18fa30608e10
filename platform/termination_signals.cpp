#include "platform/termination_signals.h"

#include <pthread.h>
#include <signal.h>

#include <cstring>

namespace platform {
namespace {

sigset_t Signals() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  return set;
}

}  // namespace

TerminationSignals::TerminationSignals() {
  const sigset_t set = Signals();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

TerminationSignals::~TerminationSignals() {
  const sigset_t set = Signals();
  pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
}

std::string TerminationSignals::Wait() {
  const sigset_t set = Signals();
  int signal = 0;
  while (sigwait(&set, &signal) != 0) {
  }
  return signal == SIGINT ? "SIGINT" : "SIGTERM";
}

}  // namespace platform
