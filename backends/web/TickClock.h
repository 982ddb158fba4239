// The page's millisecond clock as the game's frame timer reads it: a tick the page woke late for
// reads the time it was due, so that the lateness does not carry over to every later tick.
#pragma once

#include <cstdint>

// TTickClock stands between the page's clock (performance.now() in whole milliseconds, which
// wraps at 2^32 like timeGetTime) and the program. The frame timer counts its interval from the
// clock reading at its last tick, so a tick that runs late starts the next interval late too: a
// page whose main thread is busy elsewhere when a tick is due (the browser's own painting, on a
// slow phone) would slow the game itself. The page therefore tells the clock, before each step
// of the loop, where the timer stands: in a step that comes after the tick's due time by less
// than MakeUpIntervals intervals, the clock reads the due time, and the timer keeps its schedule
// (a tick late by more than one interval is followed at once by the next). A longer stall is
// not made up: the schedule starts again from the late tick, as the timer does by itself (a
// pause stops the timer, so no burst of ticks follows one). Readings never go back. Only when
// ticks come, never what a tick does, depends on this: motion is counted per tick.
class TTickClock {
 public:
  static constexpr std::uint32_t MakeUpIntervals = 3;

  // A step of the loop begins at now (the page's clock); timerDue says whether the frame timer
  // waits to tick, due at tickTime + interval (its clock's arithmetic, wrapping).
  void BeginStep(std::uint32_t now, bool timerDue, std::uint32_t tickTime, std::uint32_t interval);
  // The step has ended: the clock reads the page's clock again.
  void EndStep() { FHeld = false; }
  // What the program reads when the page's clock reads now.
  std::uint32_t Read(std::uint32_t now);
  bool Held() const { return FHeld; }

 private:
  bool FHeld = false;
  std::uint32_t FHeldAt = 0;
  bool FRead = false;       // whether anything was read yet
  std::uint32_t FLast = 0;  // the last reading given
};
