// The frame as a canvas takes it (32-bit pixels), converted from the 8-bit frame only where that
// changed since the last one.
#pragma once

#include <cstdint>
#include <vector>

// TCanvasFrame keeps the last 8-bit frame it was given and its 32-bit pixels. Most of a frame is
// the same from one tick to the next (black space, the readouts), so a new frame is compared with
// the last sixteen pixels at a time, and only the runs that differ go through the table (by
// ConvertPalettedFrame, as every present converts): the present then writes a fraction of the
// 32-bit pixels. A new size or a new table converts everything.
//
// The changed pixels are also gathered into a few rectangles (Areas), for the canvas to take only
// those: a quiet frame's changes are a handful of twinkling stars scattered over the whole height,
// and the rows between them would otherwise be put again unchanged.
class TCanvasFrame {
 public:
  // The rows of the frame that changed, [First, Last): empty (First == Last) when none did.
  struct TRows {
    int First = 0, Last = 0;
  };

  // A rectangle of the frame.
  struct TArea {
    int X = 0, Y = 0, Width = 0, Height = 0;
  };

  // Takes width x height 8-bit pixels (rows pitch bytes apart) through table (256 32-bit
  // pixels). A size that is not positive, or a pitch shorter than a row, empties the frame.
  TRows Update(const std::uint8_t* source, int pitch, int width, int height,
               const std::uint32_t table[256]);

  // Rectangles, in row order and on rows of their own, that together hold every pixel the last
  // Update changed (and some unchanged ones between them): none when nothing changed.
  const std::vector<TArea>& Areas() const { return FAreas; }

  const std::uint32_t* Pixels() const { return FPixels.data(); }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }

 private:
  // Adds the changed columns [left, right) of row y (below every row added before) to the areas.
  void Extend(int left, int right, int y);

  std::vector<std::uint8_t> FLast;     // the last 8-bit frame, rows packed
  std::vector<std::uint32_t> FPixels;  // its 32-bit pixels, rows packed
  std::vector<TArea> FAreas;
  std::uint32_t FTable[256] = {};
  int FWidth = 0, FHeight = 0;
};
