// The frame as a canvas takes it, converted only where it changed.
#include "backends/web/CanvasFrame.h"

#include <cstddef>

#include "media/PaletteConvert.h"

TCanvasFrame::TRows TCanvasFrame::Update(const std::uint8_t* source, int pitch, int width,
                                         int height, const std::uint32_t table[256]) {
  FChanges.Update(source, pitch, width, height, table);
  if (FChanges.Empty()) {
    FPixels.clear();
    return {};
  }
  if (FChanges.All()) {
    FPixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    ConvertPalettedFrame(source, pitch, FPixels.data(), width * 4, width, height, table);
  } else {
    for (const TFrameChanges::TRun& run : FChanges.Runs()) {
      const std::size_t at = static_cast<std::size_t>(run.Y) * width + run.Left;
      ConvertPalettedRun(source + static_cast<std::ptrdiff_t>(run.Y) * pitch + run.Left,
                         FPixels.data() + at, run.Right - run.Left, table);
    }
  }
  return FChanges.Rows();
}
