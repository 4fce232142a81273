#include "animation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

namespace {

std::uint32_t fake_now = 0;
std::uint32_t FakeTick() { return fake_now; }

// The frames a renderer would draw at these tick counts, from a fresh clock.
struct Frames {
  SceneClock clock;
  FrameTime At(std::uint32_t tick) {
    fake_now = tick;
    return NextFrameTime(clock, &FakeTick, 100000);
  }
};

TEST(SceneClockTest, TheFadeFollowsThePreviousFramesPhaseAndStopsShortOfOne) {
  Frames frames;
  FrameTime f = frames.At(700000);
  EXPECT_EQ(f.uElapsed, 0u);
  EXPECT_TRUE(f.bSetFade);
  EXPECT_EQ(f.fFadeAlpha, 0.0f);  // the first frame is black
  f = frames.At(705000);
  EXPECT_EQ(f.fFadeAlpha, 0.0f);  // still the phase of the frame before
  EXPECT_FLOAT_EQ(f.fPhase, 0.05f);
  EXPECT_FLOAT_EQ(frames.At(705016).fFadeAlpha, 0.5f);
  frames.At(709999);
  f = frames.At(710000);
  EXPECT_TRUE(f.bSetFade);
  EXPECT_NEAR(f.fFadeAlpha, 0.9999f, 1e-6f);  // the last level, just below 1
  EXPECT_FLOAT_EQ(f.fPhase, 0.1f);
  for (const std::uint32_t later : {710001u, 715000u, 799999u})
    EXPECT_FALSE(frames.At(later).bSetFade) << later;
}

TEST(SceneClockTest, ElapsedTimeRunsOnAcrossTheTickCountsWrap) {
  Frames frames;
  frames.At(0xFFFFF000u);
  const FrameTime f = frames.At(0x00000FA0u);
  EXPECT_EQ(f.uElapsed, 0x1FA0u);
  EXPECT_FLOAT_EQ(f.fPhase, 0.08096f);
}

TEST(SceneScrollTest, TheSliceStepsDownEvery50MillisecondsThroughAll256) {
  const struct {
    std::uint32_t elapsed;
    int slice;
  } cases[] = {{0, 255}, {49, 255}, {50, 254}, {100, 253}, {12800, 255}, {25600, 255}, {6400, 127}};
  for (const auto& c : cases)
    EXPECT_EQ(ScrollIndex(PhaseOf(c.elapsed, 100000)), c.slice) << c.elapsed << " ms";
}

TEST(SceneCurveTest, TheEndsStayAndTheHandlesSwingWithTheirFourPeriods) {
  EXPECT_EQ(CurveStep(PhaseOf(5000, 100000)), 500u);  // tens of milliseconds
  const ControlPoints start = AnimateControlPoints(0);
  const float expected[4][3] = {{0, 0, 110}, {0, 3, 3}, {0, 0, 115}, {0, 3, -3}};
  const float* got[4] = {start.fStart, start.fStartHandle, start.fEnd, start.fEndHandle};
  for (int p = 0; p < 4; ++p)
    for (int k = 0; k < 3; ++k) EXPECT_EQ(got[p][k], expected[p][k]) << "point " << p << " component " << k;

  // A quarter or half of each period (20.2 s, 10.5 s, 18.5 s, 13.9 s at
  // 100 steps a second) puts its component at an extreme.
  EXPECT_NEAR(AnimateControlPoints(505).fStartHandle[0], 3.0f, 1e-3f);
  EXPECT_NEAR(AnimateControlPoints(525).fStartHandle[1], -3.0f, 1e-3f);
  EXPECT_NEAR(AnimateControlPoints(462).fEndHandle[0], 3.0f, 1e-3f);
  EXPECT_NEAR(AnimateControlPoints(693).fEndHandle[1], -3.0f, 1e-3f);
  const ControlPoints later = AnimateControlPoints(123456);
  EXPECT_EQ(later.fStart[2] + later.fEnd[2] + later.fStartHandle[2] + later.fEndHandle[2], 225.0f);
}

TEST(SceneCurveTest, TheCurveRunsFromStartToEndPullingTowardsTheHandles) {
  const ControlPoints points = {{1, 2, 3}, {0, 4, 0}, {5, 6, 7}, {0, 0, -8}};
  // (P0 + 3 P1 + 3 P2 + P3) / 8 in the middle, with P1 = S + HS and P2 = E + HE;
  // (27 P0 + 27 P1 + 9 P2 + P3) / 64 at a quarter, which tells P1 from P2.
  const struct {
    float t, x, y, z;
  } cases[] = {
      {1, 5, 6, 7}, {0.5f, 24 / 8.0f, 44 / 8.0f, 16 / 8.0f}, {0.25f, 104 / 64.0f, 276 / 64.0f, 160 / 64.0f}};
  for (const auto& c : cases) {
    float p[3];
    EvalBezier(points, c.t, p);
    EXPECT_FLOAT_EQ(p[0], c.x) << c.t;
    EXPECT_FLOAT_EQ(p[1], c.y) << c.t;
    EXPECT_FLOAT_EQ(p[2], c.z) << c.t;
  }
}

TEST(SceneCameraTest, TheEyeStartsMidTubeLookingAlongXAndTheViewTurnsWithThePhase) {
  const CameraPose start = CameraAt(AnimateControlPoints(0), 0.0f);
  const float eye[3] = {0.0f, 2.25f, 112.5f};
  for (int k = 0; k < 3; ++k) {
    EXPECT_FLOAT_EQ(start.fEye[k], eye[k]) << k;
    EXPECT_FLOAT_EQ(start.fCentre[k], eye[k] + (k == 0 ? 1.0f : 0.0f)) << k;
    EXPECT_FLOAT_EQ(start.fUp[k], eye[k] - (k == 0 ? 1.0f : 0.0f)) << k;  // the eye minus a unit vector
  }
  // At phase 1 the angles are the constants themselves: c = 2.17198, d = 1.26898, a = 1.74498, b = 3.07898.
  const CameraPose pose = CameraAt(AnimateControlPoints(0), 1.0f);
  const float centre[3] = {-0.168133f, 0.824667f, -8.100780f};  // cos d cos c, sin c, 15 sin d cos c
  const float up[3] = {-0.172965f, -0.984868f, 0.010844f};      // -cos b cos a, -sin a, -sin b cos a
  for (int k = 0; k < 3; ++k) {
    EXPECT_NEAR(pose.fCentre[k] - eye[k], centre[k], 1e-3f) << k;
    EXPECT_NEAR(pose.fUp[k] - eye[k], up[k], 1e-3f) << k;
  }
}

}  // namespace
