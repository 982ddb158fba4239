// Playing a demo back into the game's frames, and finding where it drifts.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "demo/DemoChecksum.h"
#include "demo/DemoReader.h"
#include "input/InputStates.h"

// Feeds a demo's recorded input states to the frames that consume them and compares the game's
// state with the demo's checksums after every 50th frame and after the last. The first frame
// whose checksum differs is the desynchronised one; playback goes on to the end all the same, so
// that what drifted can be watched. The form calls FrameInput after its input component's Update
// (the live states are replaced) and FrameEnd when the frame is done.
class TDemoPlayer {
 public:
  explicit TDemoPlayer(TDemoReader& demo) : demo_(demo) {}

  void FrameInput(TInputStates& states);
  void FrameEnd();
  // Every whole frame of the demo has been played.
  bool Done() const { return played_ >= demo_.Frames(); }
  // After the last frame: compares the final checksum, when every frame was played and the demo
  // holds one. Call once playback stops.
  void Conclude();

  std::uint32_t FramesPlayed() const { return played_; }
  // The first frame whose checksum differed, 0 while none did.
  std::uint32_t DesyncFrame() const { return desync_; }
  // The checksum of the game's state now, as the demo's checksums count it.
  std::uint64_t Checksum() const;
  // "N frames, hull H%, landed|not landed, checksum 0123456789abcdef"
  std::string Summary() const;

  // Called once, at the first desynchronised frame.
  std::function<void(std::uint32_t frame)> OnDesync;

 private:
  void Compare(std::uint64_t expected);
  void CheckpointIfDue();

  TDemoReader& demo_;
  TDemoChecksum inputs_;
  std::uint32_t played_ = 0;
  std::uint32_t checked_ = 0;  // the last frame compared
  std::uint32_t desync_ = 0;
  bool concluded_ = false;
};

// A checksum as the demo tools print it: 16 lower-case hexadecimal digits.
std::string ChecksumText(std::uint64_t checksum);
