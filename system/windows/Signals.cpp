// The signals the game heeds, on Windows: the console's control events.
#include "system/Signals.h"

#include <atomic>

#include "system/windows/WideText.h"  // windows.h

namespace {

// Windows has no SIGPIPE and no SIGTERM from outside: a write to a closed pipe just fails, and
// Ctrl+C, Ctrl+Break and the console window's close arrive as control events, each on a thread
// the system starts for it.

// Set by a control event; the loop quits the game when it sees it.
std::atomic<bool> StopRequested{false};
// Set once the events are given back, which the game does when it has quit (its recording
// complete): a closing console waits until then.
std::atomic<bool> Released{true};

BOOL WINAPI OnControlEvent(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
      break;
    default:
      return FALSE;  // log-off and shut-down: the system's own handling
  }
  // A second request while the first is not yet taken ends the process at once.
  if (StopRequested.exchange(true)) return FALSE;
  if (event == CTRL_CLOSE_EVENT) {
    // The system ends the process when this returns (and after five seconds in any case): the
    // game gets until then to quit through its own path.
    for (int waited = 0; waited < 4500 && !Released; waited += 10) Sleep(10);
  }
  return TRUE;
}

}  // namespace

void IgnoreBrokenPipe() {}

void CatchStopRequests() {
  StopRequested = false;
  Released = false;
  SetConsoleCtrlHandler(OnControlEvent, TRUE);
}

bool TakeStopRequest() { return StopRequested.exchange(false); }

void ReleaseStopRequests() {
  SetConsoleCtrlHandler(OnControlEvent, FALSE);
  Released = true;
}
