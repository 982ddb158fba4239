// Demos in the game's window: what --record, --playdemo and --timedemo do around the form.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>

#include "app/CommandLine.h"
#include "demo/DemoPlayer.h"
#include "demo/DemoReader.h"
#include "demo/DemoRecorder.h"

class TForm1;

// Exit statuses of a demo run beside 0 (success) and 1 (cannot record or run).
constexpr int DemoBadFileStatus = 2;   // not a demo, newer, corrupt, or truncated
constexpr int DemoDesyncStatus = 3;    // the replay drifted from the recording

// One demo run of the game. Prepare opens the recording or reads the demo before the form is
// made; the world must then be built from Seed(). Run hooks the demo into the form's frames and
// runs the message loop until the game is quit (Alt+F4, the window's close, SIGINT or SIGTERM:
// the signals quit through the same path, so a recording is always completed) or the demo has
// played its last frame. Finish completes the recording or reports the playback. The live game
// input is ignored while a demo plays; the window's own keys still work.
class TGameDemo {
 public:
  TGameDemo(TDemoOptions options, std::ostream& out, std::ostream& err);
  ~TGameDemo();

  // clockSeed is the time of day now, which a recording's world is built from. Returns false
  // with the exit status when the recording cannot be made (1) or the demo cannot be read (2),
  // having said why in one line.
  bool Prepare(std::uint32_t clockSeed, int& status);
  std::uint32_t Seed() const { return seed_; }
  // --timedemo: no waiting for the clock or the display's refresh.
  bool Fast() const { return options_.Mode == TDemoOptions::dmTime; }

  void Run(TForm1& form);
  // Returns the exit status: 0, 1 when the recording could not be written, 2 for a truncated
  // demo (played up to its last whole frame), 3 for a desynchronised one.
  int Finish();
  // After a failure before or around the loop: completes a recording that holds frames and
  // removes one that holds none.
  void Abandon();

 private:
  void FrameInput(TInputStates& states);
  void FrameEnd();

  TDemoOptions options_;
  std::ostream& out_;
  std::ostream& err_;
  std::uint32_t seed_ = 0;
  std::unique_ptr<TDemoRecorder> recorder_;
  std::optional<TDemoReader> demo_;
  std::unique_ptr<TDemoPlayer> player_;
  std::chrono::steady_clock::time_point started_, ended_;
  bool finished_ = false;
};
