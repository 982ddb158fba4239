// The frame timer: its tick rule, lag count and frame rate, pausing, and its life in the loop.
#include "framework/DXTimer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <vector>

#include "tests/ShellFixture.h"

namespace {

class DXTimerTest : public ShellFixture {
 protected:
  void SetUp() override {
    ShellFixture::SetUp();
    timer = new TDXTimer(Application);
    timer->SetInterval(20);
    timer->OnTimer = [this](TObject*, int lag) { lags.push_back(lag); };
  }

  // Calls the idle handler as the loop would, at fake time `ms`.
  void IdleAt(DWORD ms) {
    backend.Clock = ms;
    bool done = true;
    if (Application->OnIdle) Application->OnIdle(Application, done);
    if (Application->OnIdle) {
      EXPECT_FALSE(done) << "an attached timer keeps the loop polling";
    }
  }

  TDXTimer* timer = nullptr;
  std::vector<int> lags;
};

TEST_F(DXTimerTest, ConstructionDefaults) {
  TDXTimer fresh(nullptr);
  EXPECT_TRUE(fresh.ActiveOnly());
  EXPECT_TRUE(fresh.Enabled());
  EXPECT_EQ(fresh.Interval(), 1000u);
  EXPECT_EQ(fresh.IntervalDivisor(), 1000u);
  EXPECT_FALSE(fresh.Running());
  EXPECT_EQ(fresh.FramesPerSecond(), 0);
}

TEST_F(DXTimerTest, TicksOnceTheIntervalHasPassedWithTheLagCount) {
  backend.Clock = 1000;
  timer->StartTimer();
  EXPECT_TRUE(timer->Running());
  IdleAt(1019);
  EXPECT_TRUE(lags.empty());
  IdleAt(1020);  // exactly the interval
  IdleAt(1059);  // 39 ms later
  IdleAt(1104);  // 45 ms later
  EXPECT_EQ(lags, (std::vector<int>{1, 1, 2}));
  EXPECT_EQ(timer->TickTime(), 1104u);
}

TEST_F(DXTimerTest, IntervalSetterKeepsSignedMaxima) {
  timer->SetInterval(0);
  EXPECT_EQ(timer->Interval(), 0u);
  EXPECT_EQ(timer->IntervalDivisor(), 1u);
  timer->SetInterval(0x80000000u);
  EXPECT_EQ(timer->Interval(), 0u);
  EXPECT_EQ(timer->IntervalDivisor(), 1u);
}

TEST_F(DXTimerTest, IntervalZeroTicksEveryIdleCallWithTheElapsedMilliseconds) {
  timer->SetInterval(0);
  backend.Clock = 500;
  timer->StartTimer();
  IdleAt(500);
  IdleAt(507);
  IdleAt(507);
  EXPECT_EQ(lags, (std::vector<int>{1, 7, 1}));
}

TEST_F(DXTimerTest, MeasuresFramesPerSecond) {
  std::vector<int> seen;
  timer->OnTimer = [&](TObject*, int) { seen.push_back(timer->FramesPerSecond()); };
  backend.Clock = 0;
  timer->StartTimer();
  for (DWORD t = 20; t < 1000; t += 20) IdleAt(t);
  EXPECT_EQ(timer->FramesPerSecond(), 0) << "no measurement before a second has passed";
  IdleAt(1000);  // the 50th tick, 1000 ms after attaching
  EXPECT_EQ(seen.back(), 50) << "the tick's handler sees the value measured at that tick";
  EXPECT_EQ(timer->FrameCount(), 0);
  EXPECT_EQ(timer->RateTime(), 1000u);
  // 49 ticks over 1020 ms: 48.04 → 48.
  for (int i = 1; i < 49; ++i) IdleAt(1000 + 20 * i);
  IdleAt(2020);
  EXPECT_EQ(timer->FramesPerSecond(), 48);
}

TEST_F(DXTimerTest, ASlowFirstTickMeasuresAtOnce) {
  backend.Clock = 0;
  timer->StartTimer();
  IdleAt(1500);
  EXPECT_EQ(timer->FramesPerSecond(), 1);
  // 2.5 rounds to the even 2: 5 ticks over 2000 ms.
  backend.Clock = 0;
  timer->StartTimer();
  for (DWORD t : {400u, 800u, 1200u, 1600u}) IdleAt(t);
  IdleAt(2000);
  EXPECT_EQ(timer->FramesPerSecond(), 2);
}

TEST_F(DXTimerTest, WorksAcrossTheClocksWrapAround) {
  backend.Clock = 0xFFFFFFF0u;
  timer->StartTimer();
  IdleAt(0x00000003u);  // 19 ms
  EXPECT_TRUE(lags.empty());
  IdleAt(0x00000004u);  // 20 ms
  EXPECT_EQ(lags, (std::vector<int>{1}));
}

TEST_F(DXTimerTest, PausesWhileInactiveAndResumesWithFreshClockMarks) {
  int activations = 0, deactivations = 0;
  timer->OnActivate = [&](TObject*) { ++activations; };
  timer->OnDeactivate = [&](TObject*) { ++deactivations; };
  backend.Clock = 0;
  timer->StartTimer();
  for (DWORD t = 20; t <= 200; t += 20) IdleAt(t);
  EXPECT_EQ(timer->FrameCount(), 10);

  SendMessage(Application->Handle(), WM_ACTIVATEAPP, FALSE_, 0);
  Application->ProcessMessages();
  EXPECT_EQ(deactivations, 1);
  EXPECT_FALSE(Application->OnIdle) << "paused: the idle slot is empty";
  EXPECT_TRUE(timer->Running());

  backend.Clock = 5000;
  SendMessage(Application->Handle(), WM_ACTIVATEAPP, TRUE_, 0);
  Application->ProcessMessages();
  EXPECT_EQ(activations, 1);
  EXPECT_EQ(timer->TickTime(), 5000u);
  EXPECT_EQ(timer->RateTime(), 5000u);
  EXPECT_EQ(timer->FrameCount(), 10) << "the count survives the pause";
  lags.clear();
  IdleAt(5020);
  EXPECT_EQ(lags, (std::vector<int>{1})) << "no catch-up burst and no lag from the pause";
}

TEST_F(DXTimerTest, StartsPausedWhenTheApplicationIsInactive) {
  SendMessage(Application->Handle(), WM_ACTIVATEAPP, FALSE_, 0);
  timer->StartTimer();
  EXPECT_TRUE(timer->Running());
  EXPECT_FALSE(Application->OnIdle);
  timer->SetActiveOnly(false);
  EXPECT_TRUE(Application->OnIdle) << "without ActiveOnly it ticks in the background";
}

TEST_F(DXTimerTest, EnabledWaitsForLoadedWhileLoading) {
  timer->SetEnabled(false);
  timer->ComponentState |= csLoading;
  timer->SetEnabled(true);
  EXPECT_FALSE(timer->Running());
  timer->Loaded();
  EXPECT_TRUE(timer->Running());
  timer->SetEnabled(false);
  EXPECT_FALSE(timer->Running());
  EXPECT_FALSE(Application->OnIdle);
}

TEST_F(DXTimerTest, AnErrorInTheHandlerKeepsTheTickCounted) {
  timer->OnTimer = [](TObject*, int) { throw std::runtime_error("frame broke"); };
  backend.Clock = 0;
  timer->StartTimer();
  backend.Clock = 20;
  testing::internal::CaptureStderr();
  Application->ProcessMessagesAndIdle();
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "std::runtime_error: frame broke\n");
  EXPECT_EQ(timer->TickTime(), 20u);
  EXPECT_EQ(timer->FrameCount(), 1);
  EXPECT_TRUE(Application->OnIdle);
}

TEST_F(DXTimerTest, TheLoopSleepsUntilEachTickIsDueAndNoLonger) {
  // Waiting passes fake time; each frame's work takes a while too, now and then longer than the
  // interval, so that the next tick is due at once; and some frames leave a message behind, so
  // that the loop comes to the timer between two ticks.
  backend.WaitingPassesTime = true;
  const DWORD work[] = {3, 0, 7, 19, 25, 1, 44, 12, 20, 2};
  std::vector<DWORD> ticks;
  std::vector<DWORD> done;  // when each tick's work ended
  int frame = 0;
  timer->OnTimer = [&](TObject*, int) {
    ticks.push_back(backend.Clock);
    backend.Clock += work[frame % std::size(work)];
    if (frame++ % 3 == 0) PostMessage(Application->Handle(), WM_NULL, 0, 0);
    done.push_back(backend.Clock);
  };
  backend.Clock = 1000;
  timer->StartTimer();
  for (int turn = 0; turn < 1000 && ticks.size() < 300; ++turn) Application->HandleMessage();
  ASSERT_EQ(ticks.size(), 300u);
  EXPECT_EQ(ticks[0], 1020u);
  for (size_t i = 1; i < ticks.size(); ++i) {
    DWORD due = std::max(ticks[i - 1] + 20, done[i - 1]);
    EXPECT_GE(ticks[i], ticks[i - 1] + 20) << "tick " << i << " early";
    EXPECT_LE(ticks[i], due + 1) << "tick " << i << " late";
  }
  EXPECT_EQ(backend.WaitCount, 0) << "no polling between ticks";
  EXPECT_LE(backend.SleepCount, 301) << "one sleep per tick at most";
  EXPECT_GT(backend.SleepCount, 200) << "it does sleep";
}

TEST_F(DXTimerTest, DestructionStopsAndUnhooks) {
  backend.Clock = 0;
  timer->StartTimer();
  delete timer;
  EXPECT_FALSE(Application->OnIdle);
  SendMessage(Application->Handle(), WM_ACTIVATEAPP, TRUE_, 0);
  Application->ProcessMessages();  // the hook is gone: nothing touches the freed timer
}

}  // namespace
