// The scene over long unattended runs: a start just before the tick count
// wraps (every 49.7 days) and a week of frames, with a fake clock.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "frame.h"
#include "offscreen.h"
#include "scene.h"

namespace {

using hz::testing::OffscreenContext;
using Pixels = std::vector<std::uint8_t>;  // RGBA, bottom row first

std::uint32_t fake_now = 0;
std::uint32_t FakeTick() { return fake_now; }

double MeanLevel(const Pixels& p) {
  double sum = 0;
  for (std::size_t i = 0; i < p.size(); i += 4) sum += p[i] + p[i + 1] + p[i + 2];
  return sum / (static_cast<double>(p.size()) / 4 * 3);
}

// The share of pixels whose colour differs by more than a rounding step.
double ChangedShare(const Pixels& a, const Pixels& b) {
  std::size_t changed = 0;
  for (std::size_t i = 0; i < a.size(); i += 4) {
    for (std::size_t c = 0; c < 3; ++c) {
      if (std::abs(a[i + c] - b[i + c]) > 2) {
        ++changed;
        break;
      }
    }
  }
  return static_cast<double>(changed) / static_cast<double>(a.size() / 4);
}

class LongRun : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gl_.ready());
    SetSceneFolder(hz::testing::SourcePath("host/res").c_str());
    SetSceneClock(&FakeTick);
    ResizeView(OffscreenContext::kWidth, OffscreenContext::kHeight);
    ASSERT_TRUE(InitGraphics());
  }
  void TearDown() override {
    FrameCallback = nullptr;
    SetSceneClock(nullptr);
    SetSceneFolder("C:\\k_arden");
  }

  // Restarts the scene's clock: the next frame is its first.
  static void RestartClock() { SetSceneClock(&FakeTick); }

  Pixels FrameAt(std::uint32_t tick) {
    fake_now = tick;
    DrawFrame();
    return gl_.ReadPixels();
  }

  // The start and the ten-second fade, from `start` on.
  void FadeIn(std::uint32_t start) {
    FrameAt(start);
    FrameAt(start + 9999u);
    FrameAt(start + 10000u);
  }

  OffscreenContext gl_;
};

TEST_F(LongRun, ThePictureRunsOnAcrossTheTickCountsWrap) {
  // Started 15 s before the wrap: the fade is done when the count wraps.
  const std::uint32_t start = 0xFFFFFFFFu - 15000u;
  FadeIn(start);
  const float faded = SceneFadeQuad().fColour[3];
  const Pixels before = FrameAt(0xFFFFFFF0u);
  const Pixels after = FrameAt(0x00000010u);
  EXPECT_EQ(SceneFadeQuad().fColour[3], faded) << "the fade began again at the wrap";
  EXPECT_GT(ScenePhase(), 0.15f);
  EXPECT_LT(ScenePhase(), 0.16f);
  EXPECT_GT(MeanLevel(after), 20.0);

  // The same moments of a run that meets no wrap draw the same pictures.
  RestartClock();
  const std::uint32_t base = 1000u;
  FadeIn(base);
  const Pixels plainBefore = FrameAt(base + (0xFFFFFFF0u - start));
  const Pixels plainAfter = FrameAt(base + (0x00000010u - start));
  EXPECT_EQ(ChangedShare(after, plainAfter), 0.0);
  EXPECT_EQ(ChangedShare(before, plainBefore), 0.0);

  // And the step across the wrap is a small one: most of the picture stays,
  // while a jump elsewhere in the tube changes nearly all of it.
  const Pixels elsewhere = FrameAt(base + 60000u);
  EXPECT_LT(ChangedShare(before, after), 0.5);
  EXPECT_GT(ChangedShare(after, elsewhere), 0.5);
  EXPECT_NEAR(MeanLevel(before), MeanLevel(after), 0.05 * MeanLevel(before));
}

TEST_F(LongRun, AWeekFromJustBeforeTheWrapKeepsMovingWithTheFadeDone) {
  const std::uint32_t start = 0xFFFFFFFFu - 60000u;
  FadeIn(start);
  const float faded = SceneFadeQuad().fColour[3];
  float previous = ScenePhase();
  constexpr std::uint32_t kHour = 3600u * 1000u;
  for (std::uint32_t hours = 6; hours <= 7 * 24; hours += 6) {
    const Pixels frame = FrameAt(start + hours * kHour);  // wraps after the first minute
    SCOPED_TRACE("after " + std::to_string(hours) + " hours");
    EXPECT_GT(ScenePhase(), previous);
    EXPECT_NEAR(ScenePhase(), static_cast<float>(hours) * 36.0f, 0.01f);
    EXPECT_EQ(SceneFadeQuad().fColour[3], faded);
    EXPECT_GT(MeanLevel(frame), 10.0) << "the picture went dark";
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    previous = ScenePhase();
  }
}

}  // namespace
