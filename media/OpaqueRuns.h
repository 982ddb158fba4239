// The opaque runs of a colour-keyed 8-bit picture: for each row, where its stretches of pixels
// other than the key begin and end. Copying a picture by its runs touches only its opaque pixels
// and compares nothing, so a large picture with a transparent surround (a planet) copies at the
// speed of a plain copy of what is visible.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class TOpaqueRuns {
 public:
  // Below this many opaque pixels per run on average, the compare-and-select copy is faster than
  // copying run by run, and Build declines.
  static constexpr int MinAverageRun = 16;

  // Finds the runs of a width x height block of pixels, rows pitch bytes apart, under the key.
  // Returns false and holds nothing when the runs are too short to pay (see MinAverageRun).
  bool Build(const std::uint8_t* pixels, std::ptrdiff_t pitch, int width, int height, std::uint8_t key);
  void Clear();
  bool Built() const { return !FRowFirst.empty(); }

  // Copies the opaque pixels of the part of the block at (left, top), width x height, to dst.
  // pixels and pitch are those of the block Build saw, with the same contents; the part must lie
  // inside the block, and dst must not overlap it.
  void Copy(std::uint8_t* dst, std::ptrdiff_t dstPitch, const std::uint8_t* pixels, std::ptrdiff_t pitch,
            int left, int top, int width, int height) const;

  std::size_t RunCount() const { return FRuns.size(); }

 private:
  template <class F>
  void ForEachClippedRun(int y, std::uint32_t from, std::uint32_t to, F f) const;
  template <void (*CopyRun)(std::uint8_t*, const std::uint8_t*, std::size_t)>
  void CopyWith(std::uint8_t* dst, std::ptrdiff_t dstPitch, const std::uint8_t* pixels, std::ptrdiff_t pitch,
                int left, int top, int width, int height) const;

  struct TRun {
    std::uint32_t Begin, End;  // columns [Begin, End)
  };
  std::vector<std::uint32_t> FRowFirst;  // row y's runs are FRuns[FRowFirst[y] .. FRowFirst[y + 1])
  std::vector<TRun> FRuns;
};
