// The queue between the game's frames and a sound device: bounded, and never a jump in what the
// device plays, whether frames come late, stop, or come too fast.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "backends/sdl/SoundQueue.h"

namespace {

constexpr int Frame = 960;

std::vector<std::int16_t> Constant(int count, std::int16_t value) {
  return std::vector<std::int16_t>(count, value);
}

// The samples the device would get over count samples.
std::vector<std::int16_t> PullSome(TSoundQueue& queue, int count) {
  std::vector<std::int16_t> out(count, 12345);
  queue.Pull(out.data(), count);
  return out;
}

// The largest step between consecutive samples, the one before the first included.
int LargestStep(const std::vector<std::int16_t>& samples, int before = 0) {
  int largest = 0, previous = before;
  for (int s : samples) {
    largest = std::max(largest, std::abs(s - previous));
    previous = s;
  }
  return largest;
}

TEST(SoundQueue, SilentUntilEnoughIsQueuedThenFadesIn) {
  TSoundQueue queue(2 * Frame, 2 * Frame);
  EXPECT_EQ(PullSome(queue, Frame), Constant(Frame, 0));  // nothing yet: silence, not garbage
  auto loud = Constant(Frame, 16000);
  queue.Push(loud.data(), Frame);
  // One frame waiting of the two asked for: still silent, and it waits for the next.
  EXPECT_EQ(PullSome(queue, Frame), Constant(Frame, 0));
  EXPECT_EQ(queue.Size(), Frame);
  queue.Push(loud.data(), Frame);
  auto out = PullSome(queue, 2 * Frame);
  // In over 5 ms, each step a 240th of the level at most; then the samples as they are.
  EXPECT_LE(LargestStep(out), 16000 / TSoundQueue::FadeSamples + 1);
  EXPECT_EQ(out[TSoundQueue::FadeSamples], 16000);
  EXPECT_EQ(out.back(), 16000);
  EXPECT_EQ(queue.Size(), 0);
}

TEST(SoundQueue, ALateFrameFadesToSilenceAndTheNextFadesIn) {
  TSoundQueue queue(2 * Frame, Frame);
  auto loud = Constant(Frame, -20000);
  queue.Push(loud.data(), Frame);
  auto first = PullSome(queue, Frame);
  EXPECT_EQ(first.back(), -20000);
  // The next frame is late: the output glides from the last sample to exact silence.
  auto dry = PullSome(queue, Frame);
  EXPECT_LE(LargestStep(dry, first.back()), 20000 / TSoundQueue::FadeSamples + 1);
  EXPECT_EQ(dry[TSoundQueue::FadeSamples - 1], 0);
  EXPECT_EQ(dry.back(), 0);
  EXPECT_EQ(queue.Underruns(), 1);
  EXPECT_TRUE(queue.Starved());
  // It comes: faded in, no jump.
  queue.Push(loud.data(), Frame);
  auto again = PullSome(queue, Frame);
  EXPECT_LE(LargestStep(again, dry.back()), 20000 / TSoundQueue::FadeSamples + 1);
  EXPECT_EQ(again.back(), -20000);
}

TEST(SoundQueue, FramesTooFastDropTheOldestAndCrossfade) {
  TSoundQueue queue(2 * Frame, Frame);
  auto low = Constant(Frame, -10000), high = Constant(Frame, 10000);
  queue.Push(low.data(), Frame);
  auto playing = PullSome(queue, Frame / 2);
  EXPECT_EQ(playing.back(), -10000);
  // Three frames on half a frame left: the queue keeps its two newest frames' worth.
  for (int i = 0; i < 3; ++i) queue.Push(high.data(), Frame);
  EXPECT_EQ(queue.Size(), queue.Capacity());
  EXPECT_EQ(queue.Dropped(), Frame / 2 + Frame);
  auto out = PullSome(queue, 2 * Frame);
  // From -10000 to 10000 through a crossfade, not a step: the old level fades out (its line's
  // slope, times the falling weight) as the new fades in.
  EXPECT_LE(LargestStep(out, playing.back()), (2 * 10000 + 10000) / TSoundQueue::FadeSamples + 1);
  EXPECT_EQ(out.back(), 10000);
  EXPECT_EQ(queue.Size(), 0);
}

TEST(SoundQueue, WhatIsHeardIsAtMostTheCapacityBehind) {
  TSoundQueue queue(2 * Frame, Frame);
  // Frames numbered by their value; the device has fallen far behind.
  for (std::int16_t n = 1; n <= 6; ++n) {
    auto frame = Constant(Frame, static_cast<std::int16_t>(n * 100));
    queue.Push(frame.data(), Frame);
  }
  auto out = PullSome(queue, 2 * Frame);
  EXPECT_EQ(out[Frame - 1], 500);  // frames 1 to 4 are gone
  EXPECT_EQ(out.back(), 600);
  // A push longer than the queue keeps its newest samples.
  std::vector<std::int16_t> ramp(3 * Frame);
  for (int i = 0; i < 3 * Frame; ++i) ramp[i] = static_cast<std::int16_t>(i);
  queue.Push(ramp.data(), 3 * Frame);
  EXPECT_EQ(queue.Size(), 2 * Frame);
  EXPECT_EQ(PullSome(queue, 2 * Frame).back(), 3 * Frame - 1);
}

TEST(SoundQueue, ClearStartsAgainFromSilence) {
  TSoundQueue queue(2 * Frame, Frame);
  auto loud = Constant(Frame, 9000);
  queue.Push(loud.data(), Frame);
  PullSome(queue, Frame / 2);
  queue.Clear();
  EXPECT_EQ(queue.Size(), 0);
  EXPECT_EQ(PullSome(queue, Frame), Constant(Frame, 0));
  queue.Push(loud.data(), Frame);
  EXPECT_LE(LargestStep(PullSome(queue, Frame)), 9000 / TSoundQueue::FadeSamples + 1);
}

}  // namespace
