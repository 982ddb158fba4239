// Demos in the game's window: what --record, --playdemo and --timedemo do around the form.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>

#include "app/CommandLine.h"
#include "demo/DemoRun.h"

class TForm1;

// One demo run of the game, on the demo run that every front end shares (TDemoRun: its lines,
// hooks and exit statuses). Prepare opens the recording or reads the demo before the form is
// made; the world must then be built from Seed(). Run hooks the demo into the form's frames and
// runs the message loop until the game is quit (Alt+F4, the window's close, SIGINT or SIGTERM:
// the signals quit through the same path, so a recording is always completed) or the demo has
// played its last frame. Finish completes the recording or reports the playback. The live game
// input is ignored while a demo plays; the window's own keys still work.
class TGameDemo {
 public:
  TGameDemo(TDemoOptions options, std::ostream& out, std::ostream& err);

  // clockSeed is the time of day now, which a recording's world is built from. Returns false
  // with the exit status when the recording cannot be made (1, or 2 for a target that is no
  // place for a demo) or the demo cannot be read (2), having said why in one line.
  bool Prepare(std::uint32_t clockSeed, int& status);
  std::uint32_t Seed() const { return FRun.Seed(); }
  // --timedemo: no waiting for the clock or the display's refresh.
  bool Fast() const { return FOptions.Mode == TDemoOptions::dmTime; }

  void Run(TForm1& form);
  // Returns the exit status (DemoStatus*): 0, 1 when the recording could not be written, 2 for a
  // truncated demo (played up to its last whole frame), 3 for a desynchronised one.
  // The stop requests are caught until then.
  int Finish();
  // After a failure before or around the loop: completes a recording that holds frames and
  // removes one that holds none.
  void Abandon() { FRun.Abandon(); }
  // The display went away mid-flight and the process ends now: says what became of the demo and
  // returns the exit status.
  int DisplayLost() { return FRun.Interrupted("the display closed the connection"); }

 private:
  TDemoOptions FOptions;
  TDemoRun FRun;
};
