// The signals the game heeds, through POSIX signal handlers.
#include "system/Signals.h"

#include <csignal>

namespace {

// Set by SIGINT or SIGTERM; the loop quits the game when it sees it.
volatile std::sig_atomic_t StopRequested = 0;

extern "C" void RequestStop(int signal) {
  StopRequested = 1;
  // A second signal ends the process at once.
  std::signal(signal, SIG_DFL);
}

}  // namespace

void IgnoreBrokenPipe() { std::signal(SIGPIPE, SIG_IGN); }

void CatchStopRequests() {
  StopRequested = 0;
  std::signal(SIGINT, RequestStop);
  std::signal(SIGTERM, RequestStop);
}

bool TakeStopRequest() {
  if (!StopRequested) return false;
  StopRequested = 0;
  return true;
}

void ReleaseStopRequests() {
  std::signal(SIGINT, SIG_DFL);
  std::signal(SIGTERM, SIG_DFL);
}
