// The message log: a new log, and queueing lines cut to their longest.
#include <gtest/gtest.h>

#include <string>

#include "game/Main.h"

TEST(MessageThing, StartsWithOneEmptyLine) {
  TMessageThing log;
  ASSERT_EQ(log.Lines.size(), 1u);
  EXPECT_EQ(log.Lines[0], "");
  EXPECT_EQ(log.ShowTime, 50);
  EXPECT_EQ(log.TextX, 0);
}

TEST(MessageThing, AddedLinesQueueAtTheEndCutTo102Characters) {
  TMessageThing log;
  log.ShowTime = 7;
  log.TextX = 1020;
  std::string exact(102, 'a');
  std::string over = std::string(102, 'b') + "cdef";
  log.AddMessage(exact);
  log.AddMessage(over);
  log.AddMessage("");
  ASSERT_EQ(log.Lines.size(), 4u);
  EXPECT_EQ(log.Lines[0], "");
  EXPECT_EQ(log.Lines[1], exact);
  EXPECT_EQ(log.Lines[2], std::string(102, 'b'));
  EXPECT_EQ(log.Lines[3], "");  // an empty text still takes its turn
  // The line on screen and its time are left alone.
  EXPECT_EQ(log.ShowTime, 7);
  EXPECT_EQ(log.TextX, 1020);
}
