// The change detector: its runs are exactly the changed 16-pixel pieces of each row, its areas
// hold them, it keeps the frame it was given, and a new size, palette or a ChangeAll is all new.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "media/FrameChanges.h"

namespace {

using TRun = TFrameChanges::TRun;

struct TFrame {
  int Width, Height, Pitch;
  std::vector<std::uint8_t> Bytes;
  TFrame(int w, int h, int pitch)
      : Width(w), Height(h), Pitch(pitch), Bytes(std::size_t(pitch) * h, 0) {}
  std::uint8_t& At(int x, int y) { return Bytes[std::size_t(y) * Pitch + x]; }
};

// The changed pieces of every row, one pixel at a time: adjacent changed pieces make one run.
std::vector<TRun> ExpectedRuns(TFrame& before, TFrame& after) {
  std::vector<TRun> runs;
  for (int y = 0; y < after.Height; ++y) {
    for (int x = 0; x < after.Width; x += 16) {
      bool differs = false;
      for (int k = x; k < std::min(x + 16, after.Width); ++k)
        differs |= before.At(k, y) != after.At(k, y);
      if (!differs) continue;
      const int end = std::min(x + 16, after.Width);
      if (!runs.empty() && runs.back().Y == y && runs.back().Right == x) {
        runs.back().Right = end;
      } else {
        runs.push_back({y, x, end});
      }
    }
  }
  return runs;
}

bool SameRuns(const std::vector<TRun>& a, const std::vector<TRun>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const TRun& x, const TRun& y) {
    return x.Y == y.Y && x.Left == y.Left && x.Right == y.Right;
  });
}

void ExpectKept(const TFrameChanges& changes, TFrame& frame) {
  ASSERT_EQ(changes.Width(), frame.Width);
  ASSERT_EQ(changes.Height(), frame.Height);
  for (int y = 0; y < frame.Height; ++y)
    for (int x = 0; x < frame.Width; ++x)
      ASSERT_EQ(changes.Pixels()[std::size_t(y) * frame.Width + x], frame.At(x, y))
          << x << "," << y;
}

// Every run lies in an area; the areas are in row order on rows of their own, inside the frame.
void ExpectAreasHoldRuns(const TFrameChanges& changes) {
  int below = 0;
  for (const auto& a : changes.Areas()) {
    EXPECT_TRUE(a.X >= 0 && a.Width > 0 && a.X + a.Width <= changes.Width());
    EXPECT_TRUE(a.Y >= below && a.Height > 0 && a.Y + a.Height <= changes.Height());
    below = a.Y + a.Height;
  }
  for (const TRun& r : changes.Runs()) {
    bool held = false;
    for (const auto& a : changes.Areas())
      held |= r.Y >= a.Y && r.Y < a.Y + a.Height && r.Left >= a.X && r.Right <= a.X + a.Width;
    EXPECT_TRUE(held) << r.Y << ": " << r.Left << "-" << r.Right;
  }
}

class FrameChangesSizes : public testing::TestWithParam<std::pair<int, int>> {};

// Random frames, from a pixel changed to most of them, through the fast, the 16-byte vector and
// the plain comparison side by side: each gives exactly the changed pieces.
TEST_P(FrameChangesSizes, RunsAreExactlyTheChangedPiecesOnEveryComparison) {
  const auto [width, height] = GetParam();
  std::mt19937 random(11);
  std::uint32_t palette[256];
  for (auto& p : palette) p = random();
  TFrame frame(width, height, width + 3);
  for (auto& b : frame.Bytes) b = std::uint8_t(random());
  TFrameChanges fast(TFrameChanges::DefaultAreaCost, TFrameChanges::TCompare::Fast);
  TFrameChanges vectors(TFrameChanges::DefaultAreaCost, TFrameChanges::TCompare::Vectors);
  TFrameChanges plain(TFrameChanges::DefaultAreaCost, TFrameChanges::TCompare::Plain);
  for (TFrameChanges* c : {&fast, &vectors, &plain}) {
    c->Update(frame.Bytes.data(), frame.Pitch, width, height, palette);
    EXPECT_TRUE(c->All());
    EXPECT_EQ(c->Rows().Last - c->Rows().First, height);
  }
  for (int round = 0; round < 90; ++round) {
    TFrame before = frame;
    // Like the game's frames, most are mostly zeros: cleared, with a few things drawn, or with
    // a few things taken away.
    const int kind = round % 6;
    if (kind == 4)
      for (int y = 0; y < height; ++y) std::fill_n(&frame.At(0, y), width, 0);
    const int count = kind == 0   ? 0
                      : kind == 1 ? 1 + int(random() % 5)
                      : kind == 2 ? width * height / 8
                      : kind == 3 ? width * height
                                  : 1 + int(random() % 9);
    for (int k = 0; k < count; ++k) {
      int x = int(random() % width), y = int(random() % height);
      frame.At(x, y) = kind == 5 ? 0 : std::uint8_t(random());
    }
    frame.Bytes[std::size_t(random() % height) * frame.Pitch + width + 1] ^= 0x5A;  // past the row
    const std::vector<TRun> expected = ExpectedRuns(before, frame);
    // Now and then all of a mostly black frame is taken again (as after an expose), so that the
    // changes that follow start from blocks known to be black.
    const bool again = round % 12 == 5;
    for (TFrameChanges* c : {&fast, &vectors, &plain}) {
      if (again) c->ChangeAll();
      c->Update(frame.Bytes.data(), frame.Pitch, width, height, palette);
      EXPECT_EQ(c->All(), again);
      ExpectKept(*c, frame);
      if (again) continue;
      EXPECT_TRUE(SameRuns(c->Runs(), expected)) << "round " << round;
      EXPECT_EQ(c->Areas().empty(), expected.empty());
      if (!expected.empty()) {
        EXPECT_EQ(c->Rows().First, expected.front().Y);
        EXPECT_EQ(c->Rows().Last, expected.back().Y + 1);
      } else {
        EXPECT_EQ(c->Rows().First, c->Rows().Last);
      }
      ExpectAreasHoldRuns(*c);
      ExpectKept(*c, frame);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Sizes, FrameChangesSizes,
                         testing::Values(std::pair{1, 1}, std::pair{15, 3}, std::pair{16, 2},
                                         std::pair{63, 5}, std::pair{64, 4}, std::pair{100, 9},
                                         std::pair{1024, 6}));

TEST(FrameChanges, ANewPaletteSizeOrChangeAllIsAllChangedAndBadFramesEmptyIt) {
  std::uint32_t palette[256] = {}, other[256] = {};
  other[255] = 1;
  TFrame frame(32, 8, 32), larger(48, 8, 48);
  TFrameChanges changes;
  EXPECT_TRUE(changes.Empty());
  changes.Update(frame.Bytes.data(), 32, 32, 8, palette);
  EXPECT_TRUE(changes.All());
  ASSERT_EQ(changes.Areas().size(), 1u);
  EXPECT_EQ(changes.Areas()[0].Width * changes.Areas()[0].Height, 32 * 8);
  changes.Update(frame.Bytes.data(), 32, 32, 8, palette);
  EXPECT_FALSE(changes.All());
  EXPECT_TRUE(changes.Areas().empty());
  changes.Update(frame.Bytes.data(), 32, 32, 8, other);  // the same pixels, another palette
  EXPECT_TRUE(changes.All());
  EXPECT_EQ(changes.Palette()[255], 1u);
  changes.ChangeAll();
  changes.Update(frame.Bytes.data(), 32, 32, 8, other);
  EXPECT_TRUE(changes.All());
  changes.Update(frame.Bytes.data(), 32, 32, 8, other);
  EXPECT_FALSE(changes.All()) << "ChangeAll counts once";
  changes.Update(larger.Bytes.data(), 48, 48, 8, other);
  EXPECT_TRUE(changes.All());
  EXPECT_EQ(changes.Width(), 48);

  changes.Update(larger.Bytes.data(), 47, 48, 8, other);  // pitch shorter than a row
  EXPECT_TRUE(changes.Empty());
  EXPECT_TRUE(changes.Runs().empty() && changes.Areas().empty());
  changes.Update(larger.Bytes.data(), 48, 48, 8, other);
  EXPECT_TRUE(changes.All()) << "after an empty one, all new";
  for (int bad = 0; bad < 3; ++bad) {
    changes.Update(larger.Bytes.data(), 48, 48, 8, other);
    if (bad == 0) changes.Update(nullptr, 48, 48, 8, other);
    if (bad == 1) changes.Update(larger.Bytes.data(), 48, 48, 0, other);
    if (bad == 2) changes.Update(larger.Bytes.data(), 48, 48, 8, nullptr);
    EXPECT_TRUE(changes.Empty());
  }
}

// The area cost decides between one rectangle around two changes and one each.
TEST(FrameChanges, AreasJoinWhereThatCostsLessThanAPut) {
  std::uint32_t palette[256] = {};
  TFrame frame(256, 64, 256);
  for (long cost : {0L, 2000L, 100000L}) {
    TFrameChanges changes(cost);
    changes.Update(frame.Bytes.data(), 256, 256, 64, palette);
    frame.At(0, 0) ^= 1;     // a 16-pixel piece at the top left
    frame.At(250, 40) ^= 1;  // and one near the bottom right, 41 rows down
    changes.Update(frame.Bytes.data(), 256, 256, 64, palette);
    // Joined they make 256 x 41 pixels, 10464 more than the two pieces.
    EXPECT_EQ(changes.Areas().size(), cost >= 10464 ? 1u : 2u) << cost;
    ExpectAreasHoldRuns(changes);
  }
}

}  // namespace
