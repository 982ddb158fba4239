// Recording a demo into a file while the game runs.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "demo/DemoChecksum.h"
#include "demo/DemoWriter.h"
#include "input/InputStates.h"
#include "system/FileSync.h"

// Records the frames of a game into a demo file. The bytes go to PATH.part (or, where the name
// has no room for ".part", to a short name beside it: tarnyx-HASH.part, HASH from PATH); Finish
// writes the end, puts the file on the disk and renames it to PATH, so that PATH is only ever a
// whole demo. On
// the way the file is flushed to the system after every checkpoint (each second at 50 frames a
// second) and put on the disk every fifth, by a thread of its own that the frames never wait
// for, so that a crash or a power loss keeps all but the
// last seconds in PATH.part, which replays as a truncated demo. The form calls FrameInput with
// the input states each frame consumes and FrameEnd when the frame is done.
class TDemoRecorder {
 public:
  // Creates PATH.part for the world built from seed by the game of gameVersion. Refuses to
  // replace an existing PATH.part (what an interrupted recording left) and throws EDemoError
  // with the reason when the file cannot be made or its header written; a part file it made is
  // then removed.
  TDemoRecorder(std::string path, std::uint32_t seed, std::string_view gameVersion);
  ~TDemoRecorder();
  TDemoRecorder(const TDemoRecorder&) = delete;
  TDemoRecorder& operator=(const TDemoRecorder&) = delete;

  void FrameInput(const TInputStates& states);
  void FrameEnd();

  // Ends the recording with the checksum of the state now (the state after the last frame) and
  // renames the file. False with the reason in error when writing failed on the way or now; the
  // part file then keeps what was written.
  bool Finish(std::string& error);

  // Gives the recording up: closes and removes the part file (for a game that never ran).
  void Discard();
  // Stops the recording where it is, without its end: what was recorded is written out and put
  // on the disk, and the part file stays, to be played as a truncated demo.
  void Keep();

  // Why writing stopped ("cannot write PATH.part: No space left on device"); empty while it goes on.
  const std::string& Error() const { return error_; }

  std::uint32_t Frames() const { return writer_.Frames(); }
  const std::string& Path() const { return path_; }
  const std::string& PartPath() const { return part_; }
  // True once the file reached DemoMaxBytes: the demo was ended there and later frames are not
  // recorded.
  bool Full() const { return full_; }

 private:
  void Checkpoint();
  void WriteOut(bool toDisk);
  void Fail(const std::string& what);

  TDemoWriter writer_;
  TDemoChecksum inputs_;  // every recorded input byte so far
  std::FILE* file_ = nullptr;
  TBackgroundFileSync sync_;  // waited for before the file is closed
  std::string path_;
  std::string part_;
  std::string error_;
  std::size_t written_ = 0;
  int checkpointsSinceSync_ = 0;
  bool full_ = false;
  bool finished_ = false;
};
