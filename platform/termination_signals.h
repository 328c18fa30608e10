// Waiting for the user to end a server program: Ctrl+C in a terminal, or the TERM signal a service
// manager sends.
#pragma once

#include <string>

namespace platform {

class TerminationSignals {
 public:
  // Holds back the two signals from this thread and every thread it starts afterwards, so that
  // only Wait sees them: create it before the program starts any thread.
  TerminationSignals();
  // Lets them through again.
  ~TerminationSignals();
  TerminationSignals(const TerminationSignals&) = delete;
  TerminationSignals& operator=(const TerminationSignals&) = delete;

  // Waits for one of them; its name ("SIGINT" or "SIGTERM").
  std::string Wait();
};

}  // namespace platform
