// Encoding a demo: the header, each frame's input states, checkpoints and the end.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "input/InputStates.h"

// Writes the demo format into Bytes, which the caller takes out as it goes (see DemoFormat.h). A
// frame is stored as the input bytes that changed since the frame before (at the start: since no
// state at all), and frames with no change are gathered into runs, so an idle second costs one
// byte beside its checkpoint. The writer enforces the format's order: a checkpoint after every
// 50th frame before anything else, and nothing after the end; breaking it throws
// std::logic_error.
class TDemoWriter {
 public:
  // The header of a demo of the world built from seed (0..DemoLastSeed) by the game of the given
  // version (1..64 printable ASCII characters), its frame count unfinished. Throws
  // std::invalid_argument for a bad seed or version.
  TDemoWriter(std::uint32_t seed, std::string_view gameVersion);

  void Frame(const TInputStates& states);
  // True once the frames are a multiple of 50 (and not 0) until that checkpoint is written.
  bool CheckpointDue() const;
  void Checkpoint(std::uint64_t checksum);
  // The end marker, with the frame count and the checksum of the state after the last frame.
  void End(std::uint64_t checksum);
  bool Ended() const { return ended_; }
  // Puts the frames without change not yet encoded into Bytes as a run, so that Bytes hold every
  // frame so far (for a recording cut off where it stands); the next frame starts a new run.
  void FlushRun() { EndRun(); }
  std::uint32_t Frames() const { return frames_; }

  // Encoded and not yet taken: the caller writes these out and clears them.
  std::vector<std::uint8_t> Bytes;

 private:
  void EndRun();
  void ChecksumRecord(std::uint8_t tag, std::uint64_t checksum);
  void Expect(bool condition, const char* what) const;

  TInputStates previous_;
  std::uint32_t frames_ = 0;
  std::uint32_t run_ = 0;             // frames without change not yet written
  std::uint32_t checkpointed_ = 0;    // the frame of the last checkpoint
  bool ended_ = false;
};
