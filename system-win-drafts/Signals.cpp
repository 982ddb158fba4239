// The signals the game heeds, on Windows: the console's control events.
//
// DRAFT for system/windows/Signals.cpp on the layout with system/ (implements system/Signals.h
// there; compile-checked against that header, not built on this branch). Windows has no SIGPIPE
// and no SIGTERM from outside: a write to a closed pipe just fails, and Ctrl+C, Ctrl+Break and the
// console window's close arrive as control events on a thread of the system's own.
#include "system/Signals.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <atomic>

namespace {

// Set by a control event; the loop quits the game when it sees it.
std::atomic<bool> StopRequested{false};
// Set once the game has taken the request or given the events back: a closing console then waits
// no longer.
std::atomic<bool> StopTaken{false};

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
  StopTaken = false;
  if (event == CTRL_CLOSE_EVENT) {
    // The process ends when this returns: give the game a few seconds to finish a recording.
    for (int waited = 0; waited < 4000 && !StopTaken; waited += 20) Sleep(20);
  }
  return TRUE;
}

}  // namespace

void IgnoreBrokenPipe() {}

void CatchStopRequests() {
  StopRequested = false;
  SetConsoleCtrlHandler(OnControlEvent, TRUE);
}

bool TakeStopRequest() {
  if (!StopRequested.exchange(false)) return false;
  StopTaken = true;
  return true;
}

void ReleaseStopRequests() {
  StopTaken = true;
  SetConsoleCtrlHandler(OnControlEvent, FALSE);
}
