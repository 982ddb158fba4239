// Recording a demo in memory, to be taken whole at any frame while the recording goes on.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "demo/DemoChecksum.h"
#include "demo/DemoWriter.h"
#include "input/InputStates.h"

// Records the frames of a game into memory, where there is no file to write as the game runs (a
// browser's page), and gives the flight so far as a complete demo whenever asked: Take ends a
// copy of the recording with the checksum of the state now, and the recording itself goes on. At
// DemoMaxBytes the recording ends, as a file's does, and later frames are not recorded. The form
// calls FrameInput with the input states each frame consumes and FrameEnd when the frame is
// done; Take is called between frames.
class TDemoTape {
 public:
  // A recording of the world built from seed by the game of gameVersion; throws
  // std::invalid_argument for a bad seed or version, as TDemoWriter does.
  TDemoTape(std::uint32_t seed, std::string_view gameVersion);

  void FrameInput(const TInputStates& states);
  void FrameEnd();

  // The flight from its first frame to the last one ended, as a demo file's bytes.
  std::vector<std::uint8_t> Take() const;

  std::uint32_t Frames() const { return writer_.Frames(); }
  // True once the recording reached DemoMaxBytes and was ended there.
  bool Full() const { return writer_.Ended(); }

 private:
  void Checkpoint();

  TDemoWriter writer_;     // Bytes holds the whole recording: nothing is taken out of it
  TDemoChecksum inputs_;   // every recorded input byte so far
};
