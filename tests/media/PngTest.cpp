// PNG output and input: a palettized frame written and read back pixel for pixel, and the
// decoder's refusal of anything that is not a sound picture.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "media/Png.h"

namespace {

std::vector<std::uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string TempPath(const char* name) {
  return ::testing::TempDir() + "tarnyx-png-" + name + ".png";
}

// The RGBA bytes (red first in memory) that a palette entry 0x00RRGGBB becomes when decoded.
std::uint32_t Decoded(std::uint32_t rgb) {
  std::uint8_t bytes[4] = {static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8),
                           static_cast<std::uint8_t>(rgb), 0xFF};
  std::uint32_t pixel;
  std::memcpy(&pixel, bytes, 4);
  return pixel;
}

}  // namespace

TEST(Png, AFrameWrittenThroughItsPaletteReadsBackPixelForPixel) {
  // An odd size and a pitch wider than the rows, every palette entry distinct in all channels.
  const int width = 37, height = 23, pitch = 41;
  std::uint32_t palette[256];
  for (int i = 0; i < 256; ++i) palette[i] = (i << 16) | ((255 - i) << 8) | ((i * 7) & 0xFF);
  std::vector<std::uint8_t> frame(pitch * height, 0xEE);  // the gap bytes must not show
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) frame[y * pitch + x] = static_cast<std::uint8_t>(x * 11 + y * 5);

  std::string path = TempPath("frame"), error;
  ASSERT_TRUE(WritePalettizedPng(path, frame.data(), pitch, width, height, palette, error)) << error;
  std::vector<std::uint8_t> bytes = ReadFile(path);
  std::remove(path.c_str());

  TRgbaPicture picture;
  ASSERT_TRUE(DecodePng(bytes.data(), bytes.size(), picture, error)) << error;
  ASSERT_EQ(picture.Width, width);
  ASSERT_EQ(picture.Height, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      ASSERT_EQ(picture.Pixels[y * width + x], Decoded(palette[frame[y * pitch + x]]))
          << "at " << x << "," << y;
}

TEST(Png, WritingRefusesMissingPixelsAndUnwritablePlaces) {
  std::uint32_t palette[256] = {};
  std::uint8_t pixels[16] = {};
  std::string error;
  std::string path = TempPath("refused");
  EXPECT_FALSE(WritePalettizedPng(path, nullptr, 4, 4, 4, palette, error));
  EXPECT_FALSE(WritePalettizedPng(path, pixels, 4, 0, 4, palette, error));
  EXPECT_FALSE(WritePalettizedPng(path, pixels, 3, 4, 4, palette, error));  // pitch below a row
  EXPECT_FALSE(WritePalettizedPng(path, pixels, 4, 4, 4, nullptr, error));
  EXPECT_FALSE(std::ifstream(path).good());
  error.clear();
  EXPECT_FALSE(WritePalettizedPng("/nonexistent-folder/x.png", pixels, 4, 4, 4, palette, error));
  EXPECT_NE(error.find("/nonexistent-folder/x.png"), std::string::npos) << error;
}

TEST(Png, TheDecoderRefusesWhatIsNotASoundPicture) {
  const int side = 16;
  std::uint32_t palette[256];
  for (int i = 0; i < 256; ++i) palette[i] = 0x00010101u * i;
  std::vector<std::uint8_t> frame(side * side);
  for (int i = 0; i < side * side; ++i) frame[i] = static_cast<std::uint8_t>(i);
  std::string path = TempPath("cut"), error;
  ASSERT_TRUE(WritePalettizedPng(path, frame.data(), side, side, side, palette, error)) << error;
  std::vector<std::uint8_t> bytes = ReadFile(path);
  std::remove(path.c_str());

  TRgbaPicture picture;
  EXPECT_FALSE(DecodePng(nullptr, 0, picture, error));
  const std::uint8_t text[] = "GIF89a, not a PNG at all";
  EXPECT_FALSE(DecodePng(text, sizeof text, picture, error));
  // Every cut-short copy fails cleanly and leaves no half picture behind.
  for (std::size_t n = 8; n < bytes.size(); n += 7) {
    EXPECT_FALSE(DecodePng(bytes.data(), n, picture, error)) << n;
    EXPECT_TRUE(picture.Pixels.empty());
  }
  // A flipped bit inside the pixel data breaks its checksum.
  std::vector<std::uint8_t> damaged = bytes;
  damaged[damaged.size() - 20] ^= 0x10;
  EXPECT_FALSE(DecodePng(damaged.data(), damaged.size(), picture, error));
  // Larger than the caller allows.
  EXPECT_FALSE(DecodePng(bytes.data(), bytes.size(), picture, error, side - 1));
  EXPECT_TRUE(DecodePng(bytes.data(), bytes.size(), picture, error, side)) << error;
}

TEST(Png, TheIconsDecodeToTheirSizeWithTransparentCorners) {
  for (int side : {32, 64}) {
    std::vector<std::uint8_t> bytes = ReadFile(std::string(TARNYX_SOURCE_DIR) + "/assets/icons/tarnyx-" +
                                               std::to_string(side) + ".png");
    TRgbaPicture picture;
    std::string error;
    ASSERT_TRUE(DecodePng(bytes.data(), bytes.size(), picture, error)) << error;
    EXPECT_EQ(picture.Width, side);
    EXPECT_EQ(picture.Height, side);
    ASSERT_EQ(picture.Pixels.size(), static_cast<std::size_t>(side * side));
    auto alpha = [&](int x, int y) { return picture.Pixels[y * side + x] >> 24; };
    EXPECT_EQ(alpha(0, 0), 0u);
    EXPECT_EQ(alpha(side - 1, side - 1), 0u);
    EXPECT_EQ(alpha(side / 2, side / 2), 0xFFu);  // the ship itself
  }
}
