// Where a frame lands in the window.
#include <gtest/gtest.h>

#include "backends/sdl/PresentLayout.h"

namespace {
void ExpectLayout(const TPresentLayout& l, int multiple, int x, int y, int w, int h, bool exact) {
  EXPECT_EQ(l.Multiple, multiple);
  EXPECT_EQ(l.X, x);
  EXPECT_EQ(l.Y, y);
  EXPECT_EQ(l.Width, w);
  EXPECT_EQ(l.Height, h);
  EXPECT_EQ(l.Exact, exact);
}
}  // namespace

TEST(PresentLayout, KeepsTheAspectWithBarsOnTheLongSide) {
  ExpectLayout(ComputePresentLayout(1024, 768, 1920, 1080), 1, 240, 0, 1440, 1080, false);
  ExpectLayout(ComputePresentLayout(1024, 768, 1280, 1024), 1, 0, 32, 1280, 960, false);
  ExpectLayout(ComputePresentLayout(1024, 768, 3840, 2160), 2, 480, 0, 2880, 2160, false);
  ExpectLayout(ComputePresentLayout(1024, 768, 2560, 1440), 1, 320, 0, 1920, 1440, false);
}

TEST(PresentLayout, WholeMultiplesNeedNoSmoothing) {
  ExpectLayout(ComputePresentLayout(1024, 768, 1024, 768), 1, 0, 0, 1024, 768, true);
  ExpectLayout(ComputePresentLayout(1024, 768, 2048, 1536), 2, 0, 0, 2048, 1536, true);
  ExpectLayout(ComputePresentLayout(1024, 768, 2148, 1536), 2, 50, 0, 2048, 1536, true);
}

TEST(PresentLayout, SmallOutputsAndBadSizes) {
  ExpectLayout(ComputePresentLayout(1024, 768, 640, 480), 1, 0, 0, 640, 480, false);
  ExpectLayout(ComputePresentLayout(1024, 768, 1, 1), 1, 0, 0, 1, 1, false);
  ExpectLayout(ComputePresentLayout(1024, 768, 0, 480), 1, 0, 0, 0, 0, false);
  ExpectLayout(ComputePresentLayout(0, 768, 1920, 1080), 1, 0, 0, 0, 0, false);
  ExpectLayout(ComputePresentLayout(1024, 768, -5, -5), 1, 0, 0, 0, 0, false);
}
