// Reading a demo from outside bytes: checked whole, then played frame by frame.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "demo/DemoFormat.h"
#include "input/InputStates.h"

// A checksum the demo holds for the state after a frame.
struct TDemoCheckpoint {
  std::uint32_t Frame = 0;
  std::uint64_t Checksum = 0;
};

// A demo read from bytes that may come from anywhere. The constructor checks every byte and
// throws EDemoError with one line for a file that is not a demo ("not a demo"), made by a newer
// format ("made by a newer version ..."), cut inside its header ("truncated in its header") or
// damaged ("corrupt at byte N", N counted from 0). A recording cut after its header (a crash, a
// full disk) is no error: it keeps its whole frames, and Truncated says so. Memory is bounded by
// the size of the bytes, and time by their number.
class TDemoReader {
 public:
  explicit TDemoReader(std::vector<std::uint8_t> bytes);
  // Reads the file whole; throws EDemoError also when it cannot be read or is larger than
  // DemoMaxBytes.
  static TDemoReader FromFile(const std::string& path);

  const TDemoHeader& Header() const { return header_; }
  // Whole frames in the file. For a complete demo this is the header's frame count.
  std::uint32_t Frames() const { return frames_; }
  // True when the end marker is missing: the file was cut after frame Frames().
  bool Truncated() const { return !final_.has_value(); }
  // "truncated at frame N: replaying its N-1 whole frames" for a truncated demo.
  std::string TruncationWarning() const;
  // The checkpoints, in frame order.
  const std::vector<TDemoCheckpoint>& Checkpoints() const { return checkpoints_; }
  // The checksum of the state after the last frame; none when truncated.
  std::optional<std::uint64_t> FinalChecksum() const { return final_; }

  // Playback: the input states of the next frame, from the first on; false after the last whole
  // frame.
  bool NextFrame(TInputStates& states);
  std::uint32_t FramesPlayed() const { return played_; }

 private:
  void ReadHeader();
  void ReadRecords();
  [[noreturn]] void Corrupt(std::size_t at) const;

  std::vector<std::uint8_t> bytes_;
  TDemoHeader header_;
  std::size_t records_ = 0;  // where the records start
  std::uint32_t frames_ = 0;
  std::vector<TDemoCheckpoint> checkpoints_;
  std::optional<std::uint64_t> final_;

  // The playback cursor.
  std::size_t at_ = 0;
  std::uint32_t played_ = 0;
  std::uint32_t runLeft_ = 0;
  TInputStates states_;
};
