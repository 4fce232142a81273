#include "animation.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace {

std::uint32_t fake_now = 0;

// The frame a renderer would draw at this tick count, from `clock`.
FrameTime At(SceneClock& clock, std::uint32_t tick) {
  fake_now = tick;
  return NextFrameTime(
      clock, [] { return fake_now; }, 100000);
}

TEST(SceneClockTest, TheFadeFollowsThePreviousFramesPhaseAndStopsShortOfOne) {
  SceneClock clock;
  FrameTime f = At(clock, 700000);
  EXPECT_EQ(f.uElapsed, 0u);
  EXPECT_TRUE(f.bSetFade);
  EXPECT_EQ(f.fFadeAlpha, 0.0f);  // the first frame is black
  f = At(clock, 705000);
  EXPECT_EQ(f.fFadeAlpha, 0.0f);  // still the phase of the frame before
  EXPECT_FLOAT_EQ(f.fPhase, 0.05f);
  EXPECT_FLOAT_EQ(At(clock, 705016).fFadeAlpha, 0.5f);
  At(clock, 709999);
  f = At(clock, 710000);
  EXPECT_TRUE(f.bSetFade);
  EXPECT_NEAR(f.fFadeAlpha, 0.9999f, 1e-6f);  // the last level, just below 1
  for (const std::uint32_t later : {710001u, 715000u, 799999u})
    EXPECT_FALSE(At(clock, later).bSetFade) << later;

  SceneClock wrapping;  // elapsed time runs on across the tick count's wrap
  At(wrapping, 0xFFFFF000u);
  f = At(wrapping, 0x00000FA0u);
  EXPECT_EQ(f.uElapsed, 0x1FA0u);
  EXPECT_FLOAT_EQ(f.fPhase, 0.08096f);
}

TEST(SceneScrollTest, TheSliceStepsDownEvery50MillisecondsThroughAll256) {
  for (const auto& [elapsed, slice] :
       {std::pair{0u, 255}, {49u, 255}, {50u, 254}, {100u, 253}, {12800u, 255}, {25600u, 255}, {6400u, 127}})
    EXPECT_EQ(ScrollIndex(PhaseOf(elapsed, 100000)), slice) << elapsed << " ms";
}

TEST(SceneCurveTest, TheEndsStayAndTheHandlesSwingWithTheirFourPeriods) {
  EXPECT_EQ(CurveStep(PhaseOf(5000, 100000)), 500u);  // tens of milliseconds
  const ControlPoints start = AnimateControlPoints(0), later = AnimateControlPoints(123456);
  const ControlPoints expected = {{0, 0, 110}, {0, 3, 3}, {0, 0, 115}, {0, 3, -3}};
  EXPECT_EQ(std::memcmp(&start, &expected, sizeof start), 0);
  // A quarter or half of each period (20.2 s, 10.5 s, 18.5 s, 13.9 s at
  // 100 steps a second) puts its component at an extreme.
  EXPECT_NEAR(AnimateControlPoints(505).fStartHandle[0], 3.0f, 1e-3f);
  EXPECT_NEAR(AnimateControlPoints(525).fStartHandle[1], -3.0f, 1e-3f);
  EXPECT_NEAR(AnimateControlPoints(462).fEndHandle[0], 3.0f, 1e-3f);
  EXPECT_NEAR(AnimateControlPoints(693).fEndHandle[1], -3.0f, 1e-3f);
  EXPECT_EQ(later.fStart[2] + later.fEnd[2] + later.fStartHandle[2] + later.fEndHandle[2], 225.0f);
}

TEST(SceneCurveTest, TheMiddleOfTheCurveWeighsBothHandlesAlike) {
  const ControlPoints points = {{1, 2, 3}, {0, 4, 0}, {5, 6, 7}, {0, 0, -8}};
  // (P0 + 3 P1 + 3 P2 + P3) / 8 in the middle, where the camera takes it, with P1 = S + HS and P2 = E + HE.
  float p[3];
  const float expected[3] = {3, 5.5f, 2};
  EvalBezier(points, 0.5f, p);
  for (int k = 0; k < 3; ++k) EXPECT_FLOAT_EQ(p[k], expected[k]) << k;
}

TEST(SceneCameraTest, TheEyeStartsMidTubeLookingAlongXAndTheViewTurnsWithThePhase) {
  const float eye[3] = {0.0f, 2.25f, 112.5f};
  // At phase 0 the centre is the eye plus x and the up point the eye minus x; at phase 1 the angles
  // are the constants themselves: c = 2.17198, d = 1.26898, a = 1.74498, b = 3.07898.
  const float centre[2][3] = {{1, 0, 0},
                              {-0.168133f, 0.824667f, -8.100780f}};  // cos d cos c, sin c, 15 sin d cos c
  const float up[2][3] = {{-1, 0, 0},
                          {-0.172965f, -0.984868f, 0.010844f}};  // -cos b cos a, -sin a, -sin b cos a
  for (int phase = 0; phase < 2; ++phase) {
    const CameraPose pose = CameraAt(AnimateControlPoints(0), static_cast<float>(phase));
    for (int k = 0; k < 3; ++k) {
      EXPECT_FLOAT_EQ(pose.fEye[k], eye[k]) << k;
      EXPECT_NEAR(pose.fCentre[k] - eye[k], centre[phase][k], 1e-3f) << phase << k;
      EXPECT_NEAR(pose.fUp[k] - eye[k], up[phase][k], 1e-3f) << phase << k;
    }
  }
}

}  // namespace
