// The keyed-copy kernels, vector and by opaque runs, agree with the plain loop on random blocks.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "media/Blitters.h"
#include "media/OpaqueRuns.h"

namespace {

void CompareOnRandomBlocks(unsigned seed) {
  std::mt19937 rng(seed);
  auto in = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  for (int i = 0; i < 3000; ++i) {
    const int w = in(0, i % 10 == 0 ? 900 : 70), h = in(0, 12);
    const int srcPitch = w + in(0, 40), dstPitch = w + in(0, 40);
    const std::uint8_t key = std::uint8_t(in(0, 255));
    const int keyShare = in(0, 4);  // from no key at all to mostly key, with long runs now and then
    std::vector<std::uint8_t> src(std::size_t(srcPitch) * h + 1), dst(std::size_t(dstPitch) * h + 1);
    for (std::size_t k = 0; k < src.size(); ++k) {
      if (keyShare && in(0, 4) < keyShare && (k == 0 || src[k - 1] == key || in(0, 3) == 0))
        src[k] = key;
      else
        src[k] = std::uint8_t(in(0, 255));
    }
    for (auto& b : dst) b = std::uint8_t(in(0, 255));
    std::vector<std::uint8_t> expected = dst;
    KeyedCopy8Reference(expected.data(), dstPitch, src.data(), srcPitch, w, h, key);
    KeyedCopy8(dst.data(), dstPitch, src.data(), srcPitch, w, h, key);
    ASSERT_EQ(dst, expected) << "block " << i << ": " << w << "x" << h;
  }
}

// Pictures like the game's: a keyed surround and a body of long opaque stretches, now and then
// broken by key pixels, copied whole or in random parts. Returns how many had runs built.
int CompareRunCopiesOnRandomPictures(unsigned seed) {
  std::mt19937 rng(seed);
  auto in = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  int built = 0;
  for (int i = 0; i < 1500; ++i) {
    const int w = in(1, i % 10 == 0 ? 700 : 120), h = in(1, 20), pitch = w + in(0, 40);
    const std::uint8_t key = std::uint8_t(in(0, 255));
    const int holes = in(0, 200);  // one key pixel in so many inside the body; 0: none
    std::vector<std::uint8_t> src(std::size_t(pitch) * h);
    for (int y = 0; y < h; ++y) {
      const int from = in(0, w), to = in(from, w);
      for (int x = 0; x < pitch; ++x) {
        std::uint8_t v = std::uint8_t(in(0, 255));
        if (x < from || x >= to || (holes && in(0, holes) == 0)) v = key;
        src[std::size_t(y) * pitch + x] = v;
      }
    }
    TOpaqueRuns runs;
    if (!runs.Build(src.data(), pitch, w, h, key)) {
      EXPECT_FALSE(runs.Built());
      continue;
    }
    ++built;
    const int left = in(0, w - 1), top = in(0, h - 1), cw = in(1, w - left), ch = in(1, h - top);
    const int dstPitch = cw + in(0, 40);
    std::vector<std::uint8_t> dst(std::size_t(dstPitch) * ch);
    for (auto& b : dst) b = std::uint8_t(in(0, 255));
    std::vector<std::uint8_t> expected = dst;
    const std::uint8_t* part = src.data() + std::ptrdiff_t(top) * pitch + left;
    KeyedCopy8Reference(expected.data(), dstPitch, part, pitch, cw, ch, key);
    runs.Copy(dst.data(), dstPitch, src.data(), pitch, left, top, cw, ch);
    EXPECT_EQ(dst, expected) << "picture " << i << ": " << w << "x" << h << ", part " << left << "," << top << " "
                             << cw << "x" << ch;
    if (dst != expected) break;
  }
  return built;
}

}  // namespace

TEST(Blitters, CopyByOpaqueRunsAgreesWithThePlainLoop) {
  EXPECT_GT(CompareRunCopiesOnRandomPictures(9), 300);
  SetKeyedCopyAVX2Allowed(false);
  EXPECT_GT(CompareRunCopiesOnRandomPictures(10), 300);
  SetKeyedCopyAVX2Allowed(true);
}

TEST(Blitters, OpaqueRunsAreDeclinedWhereTheyAreTooShortToPay) {
  // Every other pixel keyed: runs of one pixel, which the vector copy handles better.
  std::vector<std::uint8_t> checker(64 * 8);
  for (std::size_t k = 0; k < checker.size(); ++k) checker[k] = k % 2 ? 3 : 0;
  TOpaqueRuns runs;
  EXPECT_FALSE(runs.Build(checker.data(), 64, 64, 8, 0));
  EXPECT_FALSE(runs.Built());
  EXPECT_EQ(runs.RunCount(), 0u);
  EXPECT_FALSE(runs.Build(checker.data(), 64, 0, 8, 0));
  // All key: nothing to copy, and nothing is copied.
  std::vector<std::uint8_t> clear(64 * 8, 0), dst(64 * 8, 9);
  ASSERT_TRUE(runs.Build(clear.data(), 64, 64, 8, 0));
  EXPECT_EQ(runs.RunCount(), 0u);
  runs.Copy(dst.data(), 64, clear.data(), 64, 0, 0, 64, 8);
  EXPECT_EQ(dst, std::vector<std::uint8_t>(64 * 8, 9));
}

TEST(Blitters, KeyedCopyAgreesWithThePlainLoop) {
  CompareOnRandomBlocks(7);
}

TEST(Blitters, SixteenByteKernelAgreesWithThePlainLoop) {
  SetKeyedCopyAVX2Allowed(false);
  CompareOnRandomBlocks(8);
  SetKeyedCopyAVX2Allowed(true);
}

TEST(Blitters, PlainCopyCopiesEveryByteOfTheBlockOnly) {
  std::vector<std::uint8_t> src(6 * 3), dst(8 * 3, 9);
  for (std::size_t k = 0; k < src.size(); ++k) src[k] = std::uint8_t(k);
  Copy8(dst.data(), 8, src.data(), 6, 5, 3);
  EXPECT_EQ(dst[8 + 4], 10);
  EXPECT_EQ(dst[8 + 5], 9);
}
