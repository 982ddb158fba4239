// libFuzzer target: the demo reader must refuse or read any bytes, never crash, overrun or hang,
// and a demo it accepts must play to its last whole frame.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "demo/DemoReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    TDemoReader demo(std::vector<std::uint8_t>(data, data + size));
    TInputStates states;
    std::uint32_t frames = 0;
    while (demo.NextFrame(states)) {
      ++frames;
      // The reader refuses what no input state can be.
      if (states.Bytes[4] & 0xF0) std::abort();
    }
    if (frames != demo.Frames()) std::abort();
    // Every 50th frame has its checkpoint, except a last one cut in half.
    std::size_t due = demo.Frames() / 50;
    if (demo.Checkpoints().size() != due && !(demo.Truncated() && demo.Checkpoints().size() + 1 == due)) std::abort();
  } catch (const EDemoError&) {
  }
  return 0;
}
