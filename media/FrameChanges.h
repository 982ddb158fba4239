// What changed from one presented 8-bit frame to the next: the changed runs of each row, and a few
// rectangles that hold them.
#pragma once

#include <cstdint>
#include <vector>

// TFrameChanges keeps the last 8-bit frame it was given (rows packed) and its palette, and tells
// what the next one changed. Most of a frame is the same from one tick to the next (black space,
// the readouts), so a present that converts and sends only the changes does a fraction of the
// work. Rows are compared sixteen pixels at a time; the changed ones come out as runs of whole
// 16-pixel pieces (the row's last piece may be shorter), in row order, left to right, and gathered
// into rectangles for whoever sends pixels on (a canvas, a window): one rectangle per put costs
// more than the unchanged pixels a larger rectangle takes in, up to AreaCost pixels.
//
// Coordinates are frame pixels, x to the right and y down from the top left corner. A first
// frame, a new size, a new palette, or the first frame after ChangeAll is all changed (All).
class TFrameChanges {
 public:
  // Columns [Left, Right) of row Y changed.
  struct TRun {
    int Y = 0, Left = 0, Right = 0;
  };
  // Rows [First, Last) hold every change; empty (First == Last) when none.
  struct TRows {
    int First = 0, Last = 0;
  };
  // A rectangle of the frame.
  struct TArea {
    int X = 0, Y = 0, Width = 0, Height = 0;
  };
  // How rows are compared: the fastest way this processor has (AVX2 where there is one), with
  // 16-byte vectors only (SSE2, WebAssembly's), or with the plain loop every machine runs (which
  // tests hold the others to).
  enum class TCompare { Fast, Vectors, Plain };

  // The web canvas's put costs about as much by itself as copying this many pixels.
  static constexpr long DefaultAreaCost = 8192;

  explicit TFrameChanges(long areaCost = DefaultAreaCost, TCompare compare = TCompare::Fast);

  // Compares width x height pixels (rows pitch bytes apart) and their palette (256 entries, any
  // meaning) with the kept frame, and keeps them. A null pointer, a size that is not positive or
  // a pitch shorter than a row forgets the kept frame (Empty) and reports no change.
  void Update(const std::uint8_t* pixels, int pitch, int width, int height,
              const std::uint32_t palette[256]);

  // The next Update is all changed: whoever shows the frame lost what it showed.
  void ChangeAll() { FStale = true; }
  // Forgets the kept frame.
  void Clear();

  // Whether the last Update changed every pixel; Runs is then empty and Areas the whole frame.
  bool All() const { return FAll; }
  // The runs of the last Update that is not All; none when nothing changed.
  const std::vector<TRun>& Runs() const { return FRuns; }
  // Rectangles, in row order and on rows of their own, that together hold every changed pixel
  // (and some unchanged ones between them): none when nothing changed.
  const std::vector<TArea>& Areas() const { return FAreas; }
  TRows Rows() const { return FRows; }

  // The kept frame, rows packed, and its palette.
  bool Empty() const { return FWidth == 0; }
  const std::uint8_t* Pixels() const { return FLast.data(); }
  const std::uint32_t* Palette() const { return FPalette; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }

  long AreaCost() const { return FAreaCost; }
  void SetAreaCost(long areaCost) { FAreaCost = areaCost; }

 private:
  template <bool Vectors>
  void Compare(const std::uint8_t* pixels, int pitch,
               bool (*differ)(const std::uint8_t*, const std::uint8_t*, int));
  // Adds the changed columns [left, right) of row y (below every row added before) to the areas.
  void Extend(int left, int right, int y);

  std::vector<std::uint8_t> FLast;
  std::uint32_t FPalette[256] = {};
  int FWidth = 0, FHeight = 0;
  bool FStale = true;
  bool FAll = false;
  std::vector<TRun> FRuns;
  std::vector<TArea> FAreas;
  TRows FRows;
  long FAreaCost;
  TCompare FCompare;
};
