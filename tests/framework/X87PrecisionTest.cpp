// The x87 control word: the game's precision and rounding worked out from any word, and set on a
// thread that starts at double's precision, as Windows starts its threads.
#include <gtest/gtest.h>

#include <cstdint>
#include <thread>

#include "framework/Extended.h"
#include "framework/X87Precision.h"

namespace {

TEST(X87Precision, ForGameSetsPrecisionAndRoundingAndKeepsTheMasks) {
  // Windows' start (53 bits), Linux's (already right), round toward zero at 24 bits, and a word
  // with the invalid-operation and zero-divide exceptions unmasked.
  EXPECT_EQ(TX87Precision::ForGame(0x027F), 0x037F);
  EXPECT_EQ(TX87Precision::ForGame(0x037F), 0x037F);
  EXPECT_EQ(TX87Precision::ForGame(0x0C7F), 0x037F);
  EXPECT_EQ(TX87Precision::ForGame(0x0E7A), 0x037A);
  EXPECT_TRUE(TX87Precision::IsForGame(0x037F));
  EXPECT_FALSE(TX87Precision::IsForGame(0x027F));
  EXPECT_FALSE(TX87Precision::IsForGame(0x077F));  // rounding down
}

#ifdef TARNYX_HARDWARE_EXTENDED

// 1/3 in the calling thread's x87: all 64 significand bits at full precision, the last 11 zero
// at double's. Not inlined: the compiler takes the control word as fixed and would be free to move
// an inlined division across the calls that change it.
[[gnu::noinline]] std::uint64_t OneThirdSignificand() {
  volatile long double one = 1, three = 3;
  return ToSoft(one / three).Significand();
}

TEST(X87Precision, SetForGameRestoresFullPrecisionOnAThreadStartedAtDoubles) {
  struct TSeen {
    std::uint16_t Before = 0, After = 0;
    std::uint64_t AtDoubles = 0, AtFull = 0;
    bool Set = false;
  } seen;
  // A thread of its own, so the test's own thread keeps its word whatever happens.
  std::thread([&seen] {
    TX87Precision::Write(0x027F);
    seen.Before = TX87Precision::Read();
    seen.AtDoubles = OneThirdSignificand();
    seen.Set = TX87Precision::SetForGame();
    seen.After = TX87Precision::Read();
    seen.AtFull = OneThirdSignificand();
  }).join();
  EXPECT_EQ(seen.Before, 0x027F);
  EXPECT_EQ(seen.AtDoubles, 0xAAAAAAAAAAAAA800u);
  EXPECT_TRUE(seen.Set);
  EXPECT_EQ(seen.After, 0x037F);
  EXPECT_EQ(seen.AtFull, 0xAAAAAAAAAAAAAAABu);
}

TEST(X87Precision, InUseWithTheHardwareType) { EXPECT_TRUE(TX87Precision::InUse()); }

#else

TEST(X87Precision, NothingToSetWithTheSoftwareType) {
  EXPECT_FALSE(TX87Precision::InUse());
  EXPECT_EQ(TX87Precision::Read(), 0);
  EXPECT_TRUE(TX87Precision::SetForGame());
}

#endif

}  // namespace
