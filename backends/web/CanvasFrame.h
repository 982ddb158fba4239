// The frame as a canvas takes it (32-bit pixels), converted from the 8-bit frame only where that
// changed since the last one.
#pragma once

#include <cstdint>
#include <vector>

#include "media/FrameChanges.h"

// TCanvasFrame keeps the 32-bit pixels of the last frame it was given, rows packed. What changed
// since the frame before is found by TFrameChanges, and only its runs go through the table (a new
// size or a new table converts everything): the present then writes a fraction of the pixels. The
// changed rectangles (Areas) are for the canvas to take only those: a quiet frame's changes are a
// handful of twinkling stars scattered over the whole height, and the rows between them would
// otherwise be put again unchanged.
class TCanvasFrame {
 public:
  using TRows = TFrameChanges::TRows;
  using TArea = TFrameChanges::TArea;

  // Takes width x height 8-bit pixels (rows pitch bytes apart) through table (256 32-bit
  // pixels), and returns the rows that changed. A size that is not positive, or a pitch shorter
  // than a row, empties the frame.
  TRows Update(const std::uint8_t* source, int pitch, int width, int height,
               const std::uint32_t table[256]);

  // Rectangles, in row order and on rows of their own, that together hold every pixel the last
  // Update changed (and some unchanged ones between them): none when nothing changed.
  const std::vector<TArea>& Areas() const { return FChanges.Areas(); }

  const std::uint32_t* Pixels() const { return FPixels.data(); }
  int Width() const { return FChanges.Width(); }
  int Height() const { return FChanges.Height(); }

 private:
  TFrameChanges FChanges;              // the last 8-bit frame and its table
  std::vector<std::uint32_t> FPixels;  // its 32-bit pixels, rows packed
};
