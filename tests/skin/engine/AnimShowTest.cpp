#include <gtest/gtest.h>

#include <vector>

#include "skin/engine/AnimShow.h"

namespace {

struct Frame {
  double at;  // ms after the first frame began
  int alpha;
};

// Plays a show of `time` ms on a clock that only moves when a frame is drawn
// (by `cost` ms) or the player waits.
std::vector<Frame> Play(uint16_t time, double cost) {
  double now = 1000;
  const double start = now;
  TacAnimClock clock{[&] { return now; }, [&](DWORD ms) { now += ms; }};
  std::vector<Frame> frames;
  PlayAnimFrames(time, clock, [&](int alpha) {
    frames.push_back({now - start, alpha});
    now += cost;
  });
  return frames;
}

struct Case {
  uint16_t time;
  double cost;      // ms one frame takes to draw
  size_t frames;    // calls, the full image included
};

class AnimShowFrames : public ::testing::TestWithParam<Case> {};

TEST_P(AnimShowFrames, KeepToTheTimeAndEndAtTheFullImage) {
  const Case c = GetParam();
  const std::vector<Frame> frames = Play(c.time, c.cost);
  ASSERT_EQ(c.frames, frames.size());
  EXPECT_EQ(0, frames.back().alpha);  // the new image alone
  const std::vector<int> weights = AnimShowAlphas(c.time);
  for (size_t i = 0; i + 1 < frames.size(); ++i) {
    // Each frame shows the weight of the 8 ms slot it is drawn in...
    const size_t slot = static_cast<size_t>(frames[i].at / 8);
    ASSERT_LT(slot, weights.size());
    EXPECT_EQ(weights[slot], frames[i].alpha) << "frame " << i;
    // ...so the old screen fades out as time goes on.
    if (i > 0) {
      EXPECT_LT(frames[i].alpha, frames[i - 1].alpha) << "frame " << i;
    }
  }
  // However slow a frame, the last one starts within one frame of Time.
  EXPECT_LE(frames.back().at, c.time + c.cost);
}

INSTANTIATE_TEST_SUITE_P(
    Clock, AnimShowFrames,
    ::testing::Values(Case{100, 0, 14},    // idle machine: 13 frames 8 ms apart, then the image
                      Case{100, 3, 14},    // frames cheaper than their slot: none dropped
                      Case{100, 15, 8},    // frames twice as long as a slot: every other dropped
                      Case{100, 40, 4},    // 0, 40, 80 ms, then the image
                      Case{100, 500, 2},   // the first frame overran the show: image next
                      Case{5, 0, 1},       // no steps: the image at once
                      Case{0, 0, 1}));

TEST(AnimShowFrames, IdleFramesAreEightMillisecondsApart) {
  const std::vector<Frame> frames = Play(100, 0);
  ASSERT_EQ(14u, frames.size());
  for (size_t i = 0; i + 1 < frames.size(); ++i) EXPECT_EQ(8.0 * i, frames[i].at);
}

}  // namespace
