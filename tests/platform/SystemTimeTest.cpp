// The system clocks over the headless backend, and MulDiv.
#include <gtest/gtest.h>

#include "platform/SystemTime.h"
#include "backends/headless/HeadlessBackend.h"

TEST(SystemTime, TimeOfDayComesFromTheBackend) {
  THeadlessBackend b;
  SetBackend(&b);
  b.TimeOfDayMs = 45296789;  // 12:34:56.789
  SYSTEMTIME t;
  GetSystemTime(&t);
  EXPECT_EQ(t.wHour, 12);
  EXPECT_EQ(t.wMinute, 34);
  EXPECT_EQ(t.wSecond, 56);
  EXPECT_EQ(t.wMilliseconds, 789);
  b.Clock = 0xFFFFFFFFu;
  EXPECT_EQ(timeGetTime(), 0xFFFFFFFFu);
  SetBackend(nullptr);
}

TEST(SystemTime, MulDivRoundsAndRefusesZero) {
  EXPECT_EQ(MulDiv(10, 3, 4), 8);   // 7.5 rounds away from zero
  EXPECT_EQ(MulDiv(-10, 3, 4), -8);
  EXPECT_EQ(MulDiv(1 << 30, 8, 16), 1 << 29);  // the product needs 64 bits
  EXPECT_EQ(MulDiv(5, 5, 0), -1);
}
