// The requests to stop: caught while asked for, taken once, and given back to the system.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <thread>

#include "system/Signals.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

namespace {

// Sends Ctrl+C as the system would; false where it cannot be sent here. On Windows it goes to
// every process of the console (which must be this one's), and the handler runs on a thread of
// the system's own, so the note may come a moment later.
bool PressCtrlC() {
#ifdef _WIN32
  return GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0) != 0;
#else
  return std::raise(SIGINT) == 0;
#endif
}

bool TakenWithin(std::chrono::milliseconds limit) {
  const auto until = std::chrono::steady_clock::now() + limit;
  while (!TakeStopRequest()) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

TEST(StopRequests, ACtrlCIsNotedOnceInsteadOfEndingTheProcess) {
  CatchStopRequests();
  EXPECT_FALSE(TakeStopRequest());
  if (!PressCtrlC()) {
    ReleaseStopRequests();
    GTEST_SKIP() << "no console to send Ctrl+C in";
  }
  EXPECT_TRUE(TakenWithin(std::chrono::seconds(5)));
  EXPECT_FALSE(TakeStopRequest()) << "taking it clears it";
  // Caught again: a later request is noted as the first was.
  CatchStopRequests();
  ASSERT_TRUE(PressCtrlC());
  EXPECT_TRUE(TakenWithin(std::chrono::seconds(5)));
  ReleaseStopRequests();
}

}  // namespace
