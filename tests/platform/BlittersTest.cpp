// The vector keyed-copy kernels agree with the plain loop on random blocks.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "platform/Blitters.h"

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

}  // namespace

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
