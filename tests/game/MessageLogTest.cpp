// The message ticker: sliding in, 500 frames each, the last line staying.
#include <gtest/gtest.h>

#include "game/Main.h"
#include "display/DirectDrawSurfaceCanvas.h"
#include "tests/DisplayFixture.h"

namespace {

using MessageLogTest = DisplayFixture;

TEST_F(MessageLogTest, AReplacingLineSlidesInAndReachesZeroOnItsFrame257) {
  TMessageThing log;
  log.AddMessage("first");
  std::vector<int> drawnAt;
  for (int frame = 0; frame < 50; ++frame) log.DrawLog(*draw);  // the empty line's 50 frames
  ASSERT_EQ(log.Lines.size(), 1u);
  EXPECT_EQ(log.Lines[0], "first");
  for (int frame = 1; frame <= 300; ++frame) {
    drawnAt.push_back(log.TextX);  // where this frame draws it
    log.DrawLog(*draw);
  }
  EXPECT_EQ(drawnAt[0], 1024);
  EXPECT_EQ(drawnAt[1], 1020);
  EXPECT_EQ(drawnAt[255], 4);
  EXPECT_EQ(drawnAt[256], 0);  // frame 257
  EXPECT_EQ(drawnAt[299], 0);
}

TEST_F(MessageLogTest, WhileAnotherWaitsALineIsDrawnOnExactly500Frames) {
  TMessageThing log;
  log.AddMessage("A");
  log.AddMessage("B");
  for (int frame = 0; frame < 50; ++frame) log.DrawLog(*draw);
  ASSERT_EQ(log.Lines[0], "A");
  int framesOfA = 0;
  while (log.Lines[0] == "A") {
    log.DrawLog(*draw);
    ++framesOfA;
  }
  EXPECT_EQ(framesOfA, 500);
  EXPECT_EQ(log.TextX, 1024);
  // The last line stays for good, at x = 0 once it has slid in.
  for (int frame = 0; frame < 2000; ++frame) log.DrawLog(*draw);
  EXPECT_EQ(log.Lines, std::vector<std::string>{"B"});
  EXPECT_EQ(log.TextX, 0);
  EXPECT_EQ(log.ShowTime, 0);
}

TEST_F(MessageLogTest, ALineAddedAfterTheQueueRanDryTakesOverAfterTheNextDraw) {
  TMessageThing log;
  for (int frame = 0; frame < 60; ++frame) log.DrawLog(*draw);
  ASSERT_EQ(log.ShowTime, 0);
  log.AddMessage("late");
  log.DrawLog(*draw);  // the old line once more, then the switch
  EXPECT_EQ(log.Lines, std::vector<std::string>{"late"});
  EXPECT_EQ(log.TextX, 1024);
  EXPECT_EQ(log.ShowTime, 500);
}

TEST_F(MessageLogTest, TheLineIsWhiteTextAt748) {
  TMessageThing log;
  log.Lines[0] = "Welcome";
  draw->Surface->Fill(0);
  log.DrawLog(*draw);
  EXPECT_FALSE(draw->Surface->Canvas().HandleAllocated());  // released
  int top = 768, bottom = -1;
  for (int y = 700; y < 768; ++y)
    for (int x = 0; x < 100; ++x)
      if (At(x, y) == 255u) {
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
  EXPECT_GE(top, 748);
  EXPECT_LT(bottom, 768);
  EXPECT_GT(CountOnSurface(255), 30);
  EXPECT_EQ(CountOnSurface(0) + CountOnSurface(255), 1024 * 768);
}

}  // namespace
