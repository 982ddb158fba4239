// The 8-bit to 32-bit frame conversion: every path against the plain loop, and the scaled one.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "media/PaletteConvert.h"

namespace {

using Convert = void (*)(const std::uint8_t*, int, std::uint32_t*, int, int, int,
                         const std::uint32_t*);

struct TCase {
  int Width, Height, SourcePitch, TargetPitch;  // pitches in bytes
};

// Converts one random frame with both functions into targets pre-filled with a marker, so that a
// pixel written past a row's end shows up as a difference in the padding.
void ExpectSameAsReference(Convert fast, const TCase& c, std::mt19937& random) {
  std::uint32_t table[256];
  for (auto& entry : table) entry = random();
  std::vector<std::uint8_t> source(static_cast<size_t>(c.SourcePitch) * c.Height);
  for (auto& index : source) index = static_cast<std::uint8_t>(random());
  const std::uint32_t marker = 0xDEADBEEF;
  std::vector<std::uint32_t> expected(static_cast<size_t>(c.TargetPitch / 4) * c.Height, marker);
  std::vector<std::uint32_t> actual = expected;

  ConvertPalettedFrameReference(source.data(), c.SourcePitch, expected.data(), c.TargetPitch,
                                c.Width, c.Height, table);
  fast(source.data(), c.SourcePitch, actual.data(), c.TargetPitch, c.Width, c.Height, table);
  ASSERT_EQ(actual, expected) << c.Width << "x" << c.Height << " pitches " << c.SourcePitch
                              << "/" << c.TargetPitch;
  // The reference itself: one table entry per pixel, padding untouched.
  for (int y = 0; y < c.Height; ++y) {
    for (int x = 0; x < c.TargetPitch / 4; ++x) {
      std::uint32_t want = x < c.Width ? table[source[y * c.SourcePitch + x]] : marker;
      ASSERT_EQ(expected[y * (c.TargetPitch / 4) + x], want);
    }
  }
}

const TCase kCases[] = {
    {1024, 768, 1024, 4096},  // the game's frame
    {1, 1, 1, 4},
    {7, 3, 7, 28},     // shorter than one step of either fast path
    {15, 5, 16, 64},   // one short of the sixteen-pixel steps
    {17, 4, 19, 76},   // one past them, odd source pitch
    {63, 2, 63, 256},  // one short of the 64-pixel step
    {130, 3, 131, 528},  // two of them and a tail
    {33, 9, 40, 140},  // padding in both
    {101, 13, 128, 1024},
};

}  // namespace

TEST(PaletteConvert, EveryPathAgreesWithTheReference) {
  std::mt19937 random(12345);
  const auto& paths = ConvertPaths();
  ASSERT_GE(paths.size(), 3u);
  EXPECT_STREQ(paths[0].Name, "reference");
  for (const TConvertPath& path : paths) {
    SCOPED_TRACE(path.Name);
    for (const TCase& c : kCases) ExpectSameAsReference(path.Convert, c, random);
    for (int i = 0; i < 50; ++i) {  // random sizes and paddings
      TCase c;
      c.Width = 1 + static_cast<int>(random() % 300);
      c.Height = 1 + static_cast<int>(random() % 20);
      c.SourcePitch = c.Width + static_cast<int>(random() % 40);
      c.TargetPitch = 4 * (c.Width + static_cast<int>(random() % 10));
      ExpectSameAsReference(path.Convert, c, random);
    }
  }
  // The chosen one is one of them, and the one ConvertPalettedFrame takes.
  const TConvertPath& chosen = ChosenConvertPath();
  EXPECT_TRUE(std::any_of(paths.begin(), paths.end(),
                          [&](const TConvertPath& p) { return p.Convert == chosen.Convert; }));
  EXPECT_EQ(ConvertChoiceReport().rfind(chosen.Name, 0), 0u) << ConvertChoiceReport();
  ExpectSameAsReference(ConvertPalettedFrame, kCases[0], random);
}

TEST(PaletteConvert, RefusesSizesAndPitchesThatDoNotFit) {
  std::uint32_t table[256];
  for (int i = 0; i < 256; ++i) table[i] = 0x00010101u * i;
  std::vector<std::uint8_t> source(64, 7);
  std::vector<Convert> converts = {ConvertPalettedFrame};
  for (const TConvertPath& path : ConvertPaths()) converts.push_back(path.Convert);
  for (Convert convert : converts) {
    std::vector<std::uint32_t> target(64, 0);
    convert(source.data(), 8, target.data(), 32, 0, 4, table);       // no width
    convert(source.data(), 8, target.data(), 32, 8, -1, table);      // negative height
    convert(source.data(), 7, target.data(), 32, 8, 4, table);       // source pitch < width
    convert(source.data(), 8, target.data(), 28, 8, 4, table);       // target pitch < row
    convert(source.data(), 8, target.data(), 34, 8, 4, table);       // not whole pixels
    convert(nullptr, 8, target.data(), 32, 8, 4, table);
    convert(source.data(), 8, target.data(), 32, 8, 4, nullptr);
    EXPECT_EQ(target, std::vector<std::uint32_t>(64, 0));
    convert(source.data(), 8, target.data(), 32, 8, 4, table);
    EXPECT_EQ(target[0], 0x00070707u);
    EXPECT_EQ(target[31], 0x00070707u);
  }
}

// Runs short and long (on either side of the switch to the chosen path), at every alignment:
// exactly their own pixels, nothing past them.
TEST(PaletteConvert, RunsConvertTheirPixelsOnly) {
  std::mt19937 random(5);
  std::uint32_t table[256];
  for (auto& entry : table) entry = random();
  std::vector<std::uint8_t> source(1100);
  for (auto& index : source) index = static_cast<std::uint8_t>(random());
  const std::uint32_t marker = 0xDEADBEEF;
  for (int width : {1, 7, 16, 63, 255, 256, 257, 1024}) {
    for (int offset : {0, 1, 5, 16, 33}) {
      std::vector<std::uint32_t> target(1100, marker);
      ConvertPalettedRun(source.data() + offset, target.data() + offset, width, table);
      for (int x = 0; x < 1100; ++x) {
        const bool inside = x >= offset && x < offset + width;
        ASSERT_EQ(target[x], inside ? table[source[x]] : marker)
            << width << "@" << offset << ": " << x;
      }
    }
  }
  std::vector<std::uint32_t> target(8, marker);
  ConvertPalettedRun(source.data(), target.data(), 0, table);
  ConvertPalettedRun(source.data(), target.data(), -3, table);
  ConvertPalettedRun(nullptr, target.data(), 8, table);
  ConvertPalettedRun(source.data(), target.data(), 8, nullptr);
  EXPECT_EQ(target, std::vector<std::uint32_t>(8, marker));
}

TEST(PaletteConvert, ScaledConversionIsNearestNeighbourIntoTheTargetOnly) {
  std::mt19937 random(777);
  std::uint32_t table[256];
  for (auto& entry : table) entry = random();
  std::vector<std::uint32_t> columns;
  struct TScale {
    int Width, Height, TargetWidth, TargetHeight;
  };
  // a whole multiple, the same size, shrunk to fit, and stretched unevenly
  for (TScale s : {TScale{8, 6, 24, 18}, TScale{9, 5, 9, 5}, TScale{16, 12, 10, 7},
                   TScale{5, 3, 13, 8}}) {
    const int sourcePitch = s.Width + 3, targetStride = s.TargetWidth + 2;  // padding in both
    std::vector<std::uint8_t> source(static_cast<size_t>(sourcePitch) * s.Height);
    for (auto& index : source) index = static_cast<std::uint8_t>(random());
    const std::uint32_t marker = 0xDEADBEEF;
    std::vector<std::uint32_t> target(static_cast<size_t>(targetStride) * s.TargetHeight, marker);
    ConvertPalettedFrameScaled(source.data(), sourcePitch, s.Width, s.Height, target.data(),
                               targetStride * 4, s.TargetWidth, s.TargetHeight, table, columns);
    for (int y = 0; y < s.TargetHeight; ++y) {
      for (int x = 0; x < targetStride; ++x) {
        int sx = x * s.Width / s.TargetWidth, sy = y * s.Height / s.TargetHeight;
        std::uint32_t want = x < s.TargetWidth ? table[source[sy * sourcePitch + sx]] : marker;
        ASSERT_EQ(target[y * targetStride + x], want)
            << s.Width << "x" << s.Height << " to " << s.TargetWidth << "x" << s.TargetHeight
            << " at " << x << "," << y;
      }
    }
  }
  // At a whole multiple every frame pixel is an even square.
  std::vector<std::uint8_t> two = {1, 2};
  std::vector<std::uint32_t> out(12, 0);
  ConvertPalettedFrameScaled(two.data(), 2, 2, 1, out.data(), 24, 6, 2, table, columns);
  EXPECT_EQ(out, (std::vector<std::uint32_t>{table[1], table[1], table[1], table[2], table[2],
                                             table[2], table[1], table[1], table[1], table[2],
                                             table[2], table[2]}));
  // Targets that do not fit draw nothing.
  std::vector<std::uint32_t> untouched(12, 0);
  ConvertPalettedFrameScaled(two.data(), 2, 2, 1, untouched.data(), 20, 6, 2, table, columns);
  ConvertPalettedFrameScaled(two.data(), 2, 2, 1, untouched.data(), 24, 0, 2, table, columns);
  ConvertPalettedFrameScaled(two.data(), 1, 2, 1, untouched.data(), 24, 6, 2, table, columns);
  EXPECT_EQ(untouched, std::vector<std::uint32_t>(12, 0));
}
