// The PNG writer without a compression library: its files read back through libpng pixel for
// pixel, across the block boundaries of its stored deflate data, and its checksums are the
// standard ones.
#include "media/PngEncoder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "media/Png.h"

namespace {

struct TSize {
  int Width, Height, Pitch;
};

class PngEncoderRoundTrip : public testing::TestWithParam<TSize> {};

TEST_P(PngEncoderRoundTrip, ReadsBackThroughLibpngPixelForPixel) {
  const auto [width, height, pitch] = GetParam();
  std::uint32_t palette[256];
  for (int i = 0; i < 256; ++i) palette[i] = std::uint32_t(i << 16 | (255 - i) << 8 | (i * 7 & 0xFF));
  std::vector<std::uint8_t> frame(std::size_t(pitch) * height, 0xEE);  // gap bytes must not show
  std::uint32_t seed = 12345;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      seed = seed * 1103515245u + 12345u;
      frame[std::size_t(y) * pitch + x] = std::uint8_t(seed >> 16);
    }

  std::vector<std::uint8_t> file = EncodeUncompressedPng(frame.data(), pitch, width, height, palette);
  ASSERT_FALSE(file.empty());
  TRgbaPicture picture;
  std::string error;
  ASSERT_TRUE(DecodePng(file.data(), file.size(), picture, error, 32768)) << error;
  ASSERT_EQ(picture.Width, width);
  ASSERT_EQ(picture.Height, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      std::uint32_t c = palette[frame[std::size_t(y) * pitch + x]];
      std::uint8_t expected[4] = {std::uint8_t(c >> 16), std::uint8_t(c >> 8), std::uint8_t(c), 0xFF};
      ASSERT_EQ(std::memcmp(&picture.Pixels[std::size_t(y) * width + x], expected, 4), 0)
          << "at " << x << "," << y;
    }
}

// A stored block holds 65535 bytes and a row is 1 + 3 * width of them: one row that ends exactly
// on a block's end, one that passes it by a byte, and a whole frame of many blocks.
INSTANTIATE_TEST_SUITE_P(Sizes, PngEncoderRoundTrip,
                         testing::Values(TSize{1, 1, 1}, TSize{37, 23, 41}, TSize{21844, 1, 21844},
                                         TSize{21845, 1, 21845}, TSize{4369, 3, 4370},
                                         TSize{1024, 768, 1024}));

TEST(PngEncoder, RefusesWhatIsNoPicture) {
  std::uint32_t palette[256] = {};
  std::uint8_t pixels[16] = {};
  EXPECT_TRUE(EncodeUncompressedPng(nullptr, 4, 4, 4, palette).empty());
  EXPECT_TRUE(EncodeUncompressedPng(pixels, 4, 4, 4, nullptr).empty());
  EXPECT_TRUE(EncodeUncompressedPng(pixels, 4, 0, 4, palette).empty());
  EXPECT_TRUE(EncodeUncompressedPng(pixels, 4, 4, -1, palette).empty());
  EXPECT_TRUE(EncodeUncompressedPng(pixels, 3, 4, 4, palette).empty());
  // Far too large to be worth writing uncompressed (and never read: it is refused first).
  EXPECT_TRUE(EncodeUncompressedPng(pixels, 1 << 30, 1 << 30, 1 << 30, palette).empty());
}

TEST(PngEncoder, ChecksumsAreTheStandardOnesAndContinue) {
  const std::string text = "123456789";
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
  EXPECT_EQ(Crc32(bytes, text.size()), 0xCBF43926u);
  EXPECT_EQ(Crc32(bytes + 4, text.size() - 4, Crc32(bytes, 4)), 0xCBF43926u);
  EXPECT_EQ(Crc32(nullptr, 0), 0u);
  const std::string wiki = "Wikipedia";
  EXPECT_EQ(Adler32(reinterpret_cast<const std::uint8_t*>(wiki.data()), wiki.size()), 0x11E60398u);
  EXPECT_EQ(Adler32(nullptr, 0), 1u);
  // Long runs of 0xFF: the sums are reduced before they can pass 32 bits.
  std::vector<std::uint8_t> ones(100000, 0xFF);
  std::uint32_t whole = Adler32(ones.data(), ones.size());
  EXPECT_EQ(Adler32(ones.data() + 777, ones.size() - 777, Adler32(ones.data(), 777)), whole);
  std::uint32_t a = 1, b = 0;
  for (std::uint8_t v : ones) {
    a = (a + v) % 65521;
    b = (b + a) % 65521;
  }
  EXPECT_EQ(whole, b << 16 | a);
}

}  // namespace
