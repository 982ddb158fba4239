// The canvas's copy of the frame: after every update it is the frame through the table, pixel
// for pixel, however little or much changed, and it names the rows that changed.
#include "backends/web/CanvasFrame.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

struct TFrame {
  int Width, Height, Pitch;
  std::vector<std::uint8_t> Bytes;
  TFrame(int w, int h, int pitch) : Width(w), Height(h), Pitch(pitch), Bytes(std::size_t(pitch) * h, 0) {}
  std::uint8_t& At(int x, int y) { return Bytes[std::size_t(y) * Pitch + x]; }
};

bool InAreas(const TCanvasFrame& canvas, int x, int y) {
  for (const auto& a : canvas.Areas())
    if (x >= a.X && x < a.X + a.Width && y >= a.Y && y < a.Y + a.Height) return true;
  return false;
}

// The areas lie inside the frame, each on rows of its own, in row order.
void ExpectAreasInOrder(const TCanvasFrame& canvas) {
  int below = 0;
  for (const auto& a : canvas.Areas()) {
    EXPECT_GE(a.X, 0);
    EXPECT_GT(a.Width, 0);
    EXPECT_LE(a.X + a.Width, canvas.Width());
    EXPECT_GE(a.Y, below);
    EXPECT_GT(a.Height, 0);
    EXPECT_LE(a.Y + a.Height, canvas.Height());
    below = a.Y + a.Height;
  }
}

void ExpectConverted(const TCanvasFrame& canvas, TFrame& frame, const std::uint32_t* table) {
  ASSERT_EQ(canvas.Width(), frame.Width);
  ASSERT_EQ(canvas.Height(), frame.Height);
  for (int y = 0; y < frame.Height; ++y)
    for (int x = 0; x < frame.Width; ++x)
      ASSERT_EQ(canvas.Pixels()[std::size_t(y) * frame.Width + x], table[frame.At(x, y)]) << x << "," << y;
}

class CanvasFrameSizes : public testing::TestWithParam<std::pair<int, int>> {};

TEST_P(CanvasFrameSizes, FollowsEveryChangeAndNamesItsRows) {
  const auto [width, height] = GetParam();
  std::mt19937 random(7);
  std::uint32_t table[256], other[256];
  for (int i = 0; i < 256; ++i) {
    table[i] = random();
    other[i] = random();
  }
  TFrame frame(width, height, width + 5);
  for (auto& b : frame.Bytes) b = std::uint8_t(random());
  TCanvasFrame canvas;

  // The first frame is converted whole.
  auto rows = canvas.Update(frame.Bytes.data(), frame.Pitch, width, height, table);
  EXPECT_EQ(rows.First, 0);
  EXPECT_EQ(rows.Last, height);
  ExpectConverted(canvas, frame, table);

  // The same frame again changes nothing.
  rows = canvas.Update(frame.Bytes.data(), frame.Pitch, width, height, table);
  EXPECT_EQ(rows.First, rows.Last);
  EXPECT_TRUE(canvas.Areas().empty());
  ExpectConverted(canvas, frame, table);

  for (int round = 0; round < 40; ++round) {
    // A few pixels changed, anywhere, the last column and the bytes past the rows included.
    int lowest = height, highest = -1;
    std::vector<std::pair<int, int>> changed;
    int changes = 1 + int(random() % 6);
    for (int k = 0; k < changes; ++k) {
      int x = int(random() % width), y = int(random() % height);
      if (k == 0) x = width - 1;
      std::uint8_t v = std::uint8_t(frame.At(x, y) + 1 + random() % 255);
      frame.At(x, y) = v;
      changed.emplace_back(x, y);
      lowest = std::min(lowest, y);
      highest = std::max(highest, y);
    }
    frame.Bytes[std::size_t(random() % height) * frame.Pitch + width + 2] ^= 0xFF;  // outside the rows
    rows = canvas.Update(frame.Bytes.data(), frame.Pitch, width, height, table);
    EXPECT_EQ(rows.First, lowest);
    EXPECT_EQ(rows.Last, highest + 1);
    for (auto [x, y] : changed) EXPECT_TRUE(InAreas(canvas, x, y)) << x << "," << y;
    ExpectAreasInOrder(canvas);
    ExpectConverted(canvas, frame, table);
  }

  // A new table converts everything, changed or not.
  rows = canvas.Update(frame.Bytes.data(), frame.Pitch, width, height, other);
  EXPECT_EQ(rows.First, 0);
  EXPECT_EQ(rows.Last, height);
  ASSERT_EQ(canvas.Areas().size(), 1u);
  EXPECT_EQ(canvas.Areas()[0].Width * canvas.Areas()[0].Height, width * height);
  ExpectConverted(canvas, frame, other);
}

INSTANTIATE_TEST_SUITE_P(Sizes, CanvasFrameSizes,
                         testing::Values(std::pair{1, 1}, std::pair{7, 3}, std::pair{8, 2},
                                         std::pair{37, 11}, std::pair{64, 48}, std::pair{1024, 4}));

// Changes far apart are put apart, not as the rectangle around them all; changes close together are
// put together, to spare the puts.
TEST(CanvasFrame, GathersChangesIntoFewSmallAreas) {
  std::uint32_t table[256];
  for (int i = 0; i < 256; ++i) table[i] = std::uint32_t(i);
  TFrame frame(1024, 768, 1024);
  TCanvasFrame canvas;
  canvas.Update(frame.Bytes.data(), 1024, 1024, 768, table);

  // Two stars at opposite corners: two single-piece areas.
  frame.At(3, 2) = 9;
  frame.At(1020, 700) = 9;
  canvas.Update(frame.Bytes.data(), 1024, 1024, 768, table);
  ASSERT_EQ(canvas.Areas().size(), 2u);
  for (const auto& a : canvas.Areas()) EXPECT_EQ(a.Width * a.Height, 16);
  EXPECT_TRUE(InAreas(canvas, 3, 2));
  EXPECT_TRUE(InAreas(canvas, 1020, 700));

  // A ship drawn over forty rows, moving a little on each, and a twinkle beside it: one area.
  for (int y = 300; y < 340; ++y)
    for (int x = 480 + (y & 7); x < 540; ++x) frame.At(x, y) = 5;
  frame.At(600, 320) = 7;
  canvas.Update(frame.Bytes.data(), 1024, 1024, 768, table);
  ASSERT_EQ(canvas.Areas().size(), 1u);
  const auto a = canvas.Areas()[0];
  EXPECT_EQ(a.Y, 300);
  EXPECT_EQ(a.Height, 40);
  EXPECT_LE(a.X, 480);
  EXPECT_GT(a.X + a.Width, 600);
  EXPECT_LE(a.Width, 160);
  ExpectConverted(canvas, frame, table);
}

TEST(CanvasFrame, ANewSizeConvertsEverythingAndNothingEmptiesIt) {
  std::uint32_t table[256];
  for (int i = 0; i < 256; ++i) table[i] = std::uint32_t(i * 0x01010101u);
  TFrame small(16, 4, 16), large(24, 6, 24);
  for (auto& b : small.Bytes) b = 3;
  for (auto& b : large.Bytes) b = 3;  // the same values: still all converted at the new size
  TCanvasFrame canvas;
  canvas.Update(small.Bytes.data(), 16, 16, 4, table);
  auto rows = canvas.Update(large.Bytes.data(), 24, 24, 6, table);
  EXPECT_EQ(rows.First, 0);
  EXPECT_EQ(rows.Last, 6);
  ExpectConverted(canvas, large, table);

  for (auto bad : {canvas.Update(nullptr, 24, 24, 6, table), canvas.Update(large.Bytes.data(), 23, 24, 6, table),
                   canvas.Update(large.Bytes.data(), 24, 0, 6, table), canvas.Update(large.Bytes.data(), 24, 24, 6, nullptr)}) {
    EXPECT_EQ(bad.First, bad.Last);
    EXPECT_EQ(canvas.Width(), 0);
  }
  // After an empty one, a frame is converted whole again.
  rows = canvas.Update(large.Bytes.data(), 24, 24, 6, table);
  EXPECT_EQ(rows.Last - rows.First, 6);
  ExpectConverted(canvas, large, table);
}

}  // namespace
