// The frame and the scene drawn offscreen with a fake clock, from the first
// frame to a week of frames across the tick count's wrap (every 49.7 days).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "../common/bitmap_bytes.h"
#include "extensions.h"
#include "frame.h"
#include "offscreen.h"
#include "scene.h"
#include "straight_scene.h"

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

std::size_t LitPixels(const Pixels& p) {
  std::size_t lit = 0;
  for (std::size_t i = 0; i < p.size(); i += 4) lit += (p[i] | p[i + 1] | p[i + 2]) != 0;
  return lit;
}

int LargestDifference(const Pixels& a, const Pixels& b) {
  int largest = 0;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (i % 4 != 3) largest = std::max(largest, std::abs(a[i] - b[i]));  // alpha is never shown
  return largest;
}

// The share of pixels whose colour differs by more than a rounding step.
double ChangedShare(const Pixels& a, const Pixels& b) {
  std::size_t changed = 0;
  for (std::size_t i = 0; i < a.size(); i += 4)
    changed +=
        std::abs(a[i] - b[i]) > 2 || std::abs(a[i + 1] - b[i + 1]) > 2 || std::abs(a[i + 2] - b[i + 2]) > 2;
  return static_cast<double>(changed) / static_cast<double>(a.size() / 4);
}

void ExpectNoGlError() { EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)); }

class SceneRender : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(gl_.ready()); }
  void TearDown() override {
    FrameCallback = nullptr;
    SetSceneClock(nullptr);
    SetSceneFolder("C:\\k_arden");
  }

  // What the frame does with a fresh context: the view, then InitGraphics,
  // which runs InitScene.
  void Start(const std::string& folder = hz::testing::SourcePath("host/res")) {
    SetSceneFolder(folder.c_str());
    SetSceneClock(&FakeTick);
    ResizeView(OffscreenContext::kWidth, OffscreenContext::kHeight);
    ASSERT_TRUE(InitGraphics());
    ASSERT_EQ(FrameCallback, &RenderFrame);
  }

  Pixels FrameAt(std::uint32_t tick) {
    fake_now = tick;
    DrawFrame();
    return gl_.ReadPixels();
  }

  // The first frame and the ten-second fade, from `start` on.
  void FadeIn(std::uint32_t start) {
    FrameAt(start);
    FrameAt(start + 9999u);
    FrameAt(start + 10000u);
  }

  // From a restarted clock, every frame within one level of the plain
  // drawing's; gives the last frame.
  Pixels ExpectLikeThePlainDrawing(const std::vector<std::uint32_t>& ticks) {
    SetSceneClock(&FakeTick);
    StraightScene plain(&FakeTick);
    Pixels fast;
    for (const std::uint32_t t : ticks) {
      fast = FrameAt(t);
      plain.DrawFrame();
      EXPECT_LE(LargestDifference(fast, gl_.ReadPixels()), 1) << t << " ms";
    }
    ExpectNoGlError();
    return fast;
  }

  OffscreenContext gl_;
};

TEST_F(SceneRender, ResizeViewSetsA45DegreePerspectiveAndTakesAZeroHeightAsOne) {
  ResizeView(640, 0);
  GLint viewport[4] = {}, mode = 0;
  glGetIntegerv(GL_VIEWPORT, viewport);
  glGetIntegerv(GL_MATRIX_MODE, &mode);
  EXPECT_EQ(viewport[2], 640);
  EXPECT_EQ(viewport[3], 1);
  EXPECT_EQ(mode, GL_MODELVIEW);
  GLdouble m[16];
  glGetDoublev(GL_PROJECTION_MATRIX, m);
  const double f = 1.0 / std::tan(22.5 * M_PI / 180.0);
  EXPECT_NEAR(m[5], f, 1e-6);  // GL keeps its matrices in single precision
  EXPECT_NEAR(m[0], f / 640.0, 1e-6);
  ExpectNoGlError();
}

TEST_F(SceneRender, AWindowOfAnotherShapeGetsTheFourByThreeViewStretched) {
  Start();
  ResizeView(400, 768);
  FrameAt(0);
  GLint viewport[4] = {};
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[2], 400);
  GLdouble m[16];
  glGetDoublev(GL_PROJECTION_MATRIX, m);
  const double f = 1.0 / std::tan(75.0 * M_PI / 180.0);
  EXPECT_NEAR(m[5], f, 1e-6);
  EXPECT_NEAR(m[0], f * 3.0 / 4.0, 1e-6);
  // The frame leaves the attribute and matrix stacks as it found them.
  GLint depth = 0;
  glGetIntegerv(GL_ATTRIB_STACK_DEPTH, &depth);
  EXPECT_EQ(depth, 0);
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
  EXPECT_EQ(depth, 1);
}

TEST_F(SceneRender, TheFirstFrameIsBlackAtFiveSecondsHalfAsBrightAndLaterFramesMove) {
  Start();
  glClearColor(1, 1, 1, 1);  // a white picture left over, for DrawFrame to clear
  glClear(GL_COLOR_BUFFER_BIT);
  glClearColor(0, 0, 0, 0.5f);
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
  GLint hint = 0;
  glGetIntegerv(GL_PERSPECTIVE_CORRECTION_HINT, &hint);
  EXPECT_EQ(hint, GL_NICEST);
  // Wherever the clock stands; at 0 ms the tube twists through the eye, nearer than the fade quad.
  const std::uint32_t start = 4000000000u;
  EXPECT_EQ(LitPixels(FrameAt(start)), 0u);
  EXPECT_EQ(SceneFadeQuad().fColour[3], 0.0f);
  FrameAt(start + 5000);
  const Pixels half = FrameAt(start + 5016);  // alpha 0.5, from the phase at 5000 ms
  EXPECT_FLOAT_EQ(SceneFadeQuad().fColour[3], 0.5f);
  FrameAt(start + 9999);
  const Pixels later = FrameAt(start + 11000);
  const double ratio = MeanLevel(half) / MeanLevel(later);
  EXPECT_GT(ratio, 0.35);
  EXPECT_LT(ratio, 0.75);
  EXPECT_GT(ChangedShare(later, FrameAt(start + 11050)), 0.1);  // 50 ms on
  ExpectNoGlError();
}

TEST_F(SceneRender, WhatLiesBeyondTheFogIsBlack) {
  Start();
  FadeIn(0);
  const double near = static_cast<double>(0.01f), far = 100.0;
  for (const std::uint32_t t : {17000u, 43000u}) {
    const Pixels frame = FrameAt(t);
    std::vector<float> depth(static_cast<std::size_t>(OffscreenContext::kWidth) * OffscreenContext::kHeight);
    glReadPixels(0, 0, OffscreenContext::kWidth, OffscreenContext::kHeight, GL_DEPTH_COMPONENT, GL_FLOAT,
                 depth.data());
    std::size_t beyond = 0, litNear = 0;
    for (std::size_t i = 0; i < depth.size(); ++i) {
      if (depth[i] >= 1.0f) continue;  // nothing drawn: the cleared black
      const double ndc = 2.0 * static_cast<double>(depth[i]) - 1.0;
      const double distance = 2.0 * far * near / ((far + near) - ndc * (far - near));
      const bool lit = (frame[4 * i] | frame[4 * i + 1] | frame[4 * i + 2]) != 0;
      if (distance > 1.21) {
        ++beyond;
        ASSERT_FALSE(lit) << "pixel " << i << " at " << distance << " from the eye, " << t << " ms";
      } else if (distance < 0.8) {
        litNear += lit;
      }
    }
    EXPECT_GT(beyond, 100u) << t << " ms: the tube's far end is in view";
    EXPECT_GT(litNear, depth.size() / 4) << t << " ms";
  }
}

TEST_F(SceneRender, WithoutItsPicturesTheSceneStillDrawsAndStillFadesFromBlack) {
  Start(hz::testing::SourcePath("build/no-such-folder"));
  EXPECT_EQ(SceneTunnel().CurrentTexture(0), 0u);
  EXPECT_EQ(LitPixels(FrameAt(0)), 0u);
  FrameAt(9999);
  const Pixels frame = FrameAt(20000);
  ExpectNoGlError();
  // Untextured white walls, and the far end still black: the fade has not
  // washed the picture out to white.
  EXPECT_GT(LitPixels(frame), frame.size() / 4 / 2);
  EXPECT_LT(LitPixels(frame), frame.size() / 4);
}

// The renderer's faster drawing against the plain one, frame by frame from
// the same start, through the fade and after it.
TEST_F(SceneRender, TheFastDrawingStaysWithinOneLevelOfThePlainDrawing) {
  Start();
  ExpectLikeThePlainDrawing(
      {0, 16, 2500, 5000, 7500, 9990, 10006, 14000, 31000, 77777});  // fade ends at 0.999
  ExpectLikeThePlainDrawing({0, 3000, 9850, 10000, 26000, 51234});   // fade ends at 0.985
  ExpectLikeThePlainDrawing({0, 400000, 1000000});                   // frames far apart
}

TEST_F(SceneRender, WithoutMultitextureTheTunnelDrawsWithOneTextureLikeThePlainDrawing) {
  SetEntryPointLookup(nullptr);  // a driver without ARB_multitexture
  Start();
  EXPECT_FALSE(SceneTunnel().bMultitexture);
  const Pixels last = ExpectLikeThePlainDrawing({0, 5000, 9990, 20000});
  EXPECT_GT(LitPixels(last), last.size() / 4 / 2);
}

// A fade picture that is not black cannot be folded into the tunnel: the
// quad itself is drawn, and it too covers the whole first frame.
TEST_F(SceneRender, WithAFadePictureThatIsNotBlackTheQuadIsDrawnAndStillCoversAll) {
  const hz::testing::TempFolder folder;
  folder.Write("Tovira01.bmp", hz::testing::Bitmap24(1, 1, {0, 0, 60}));  // one dark red pixel
  for (const char* name : {"Tovira02.bmp", "Tovira03.bmp"})
    folder.Write(name, hz::testing::ReadBytes(hz::testing::SourcePath(std::string("host/res/") + name)));
  Start(folder.path());
  ASSERT_NE(SceneFadeQuad().uTexture, 0u);
  EXPECT_EQ(LitPixels(FrameAt(0)), 0u);
  ExpectLikeThePlainDrawing({0, 5000, 9850, 10000, 30000});
}

// A texture unit's state as "texturing, sphere map, binding, environment mode".
std::string UnitState(GLenum unit) {
  MultitextureEntryPoints.glActiveTextureARB(unit);
  GLint binding = 0, mode = 0, gen = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &binding);
  glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
  glGetTexGeniv(GL_S, GL_TEXTURE_GEN_MODE, &gen);
  const bool sphere = glIsEnabled(GL_TEXTURE_GEN_S) && glIsEnabled(GL_TEXTURE_GEN_T) && gen == GL_SPHERE_MAP;
  return std::string(glIsEnabled(GL_TEXTURE_2D) ? "on" : "off") + (sphere ? ", sphere, " : ", ") +
         std::to_string(binding) + ", " +
         (mode == GL_REPLACE    ? "replace"
          : mode == GL_ADD      ? "add"
          : mode == GL_MODULATE ? "modulate"
                                : "?");
}

TEST_F(SceneRender, BindTexturesSetsUpTheUnitsByTheTwoFlagsOnARealDriver) {
  LoadMultitextureEntryPoints();
  ASSERT_TRUE(HasMultitexture());
  for (const char* name : kMultitextureNames) EXPECT_NE(OSMesaGetProcAddress(name), nullptr) << name;
  SetSwapInterval(0);  // no swap control offscreen: nothing happens
  CTunnel tunnel;
  const unsigned int slot0[2] = {41, 42}, slot1[2] = {51, 52};
  tunnel.SetTextureList(0, slot0, 2);
  tunnel.SetTextureList(1, slot1, 2);
  tunnel.SelectTexture(0, 1);
  tunnel.SelectTexture(1, 1);
  tunnel.fTextureMode[0] = static_cast<float>(GL_REPLACE);
  tunnel.fTextureMode[1] = static_cast<float>(GL_ADD);
  const struct {
    bool multitexture, sphereMap;
    const char *unit0, *unit1;
  } rows[] = {
      {true, false, "on, 42, replace", "on, 52, add"},
      {true, true, "on, 42, replace", "on, sphere, 52, add"},
      {false, true, "on, sphere, 42, modulate", "off, 0, modulate"},
      {false, false, "on, 42, modulate", "off, 0, modulate"},
  };
  for (const auto& row : rows) {
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    MultitextureEntryPoints.glActiveTextureARB(GL_TEXTURE0_ARB);
    glDisable(GL_TEXTURE_2D);
    tunnel.bMultitexture = row.multitexture;
    tunnel.bSphereMap = row.sphereMap;
    tunnel.BindTextures();
    EXPECT_EQ(UnitState(GL_TEXTURE0_ARB), row.unit0) << row.multitexture << row.sphereMap;
    EXPECT_EQ(UnitState(GL_TEXTURE1_ARB), row.unit1) << row.multitexture << row.sphereMap;
    MultitextureEntryPoints.glActiveTextureARB(GL_TEXTURE0_ARB);
    glPopAttrib();
  }
  ExpectNoGlError();
}

TEST_F(SceneRender, ThePictureRunsOnAcrossTheTickCountsWrap) {
  Start();
  // Started 15 s before the wrap: the fade is done when the count wraps.
  const std::uint32_t start = 0xFFFFFFFFu - 15000u;
  FadeIn(start);
  const float faded = SceneFadeQuad().fColour[3];
  const Pixels before = FrameAt(0xFFFFFFF0u);
  const Pixels after = FrameAt(0x00000010u);
  EXPECT_EQ(SceneFadeQuad().fColour[3], faded) << "the fade began again at the wrap";
  EXPECT_GT(ScenePhase(), 0.15f);
  EXPECT_LT(ScenePhase(), 0.16f);

  // The same moments of a run that meets no wrap draw the same pictures.
  SetSceneClock(&FakeTick);
  const std::uint32_t base = 1000u;
  FadeIn(base);
  EXPECT_EQ(ChangedShare(before, FrameAt(base + (0xFFFFFFF0u - start))), 0.0);
  EXPECT_EQ(ChangedShare(after, FrameAt(base + (0x00000010u - start))), 0.0);
  EXPECT_GT(MeanLevel(after), 20.0);
}

TEST_F(SceneRender, AWeekFromJustBeforeTheWrapKeepsMovingWithTheFadeDone) {
  Start();
  const std::uint32_t start = 0xFFFFFFFFu - 60000u;
  FadeIn(start);
  const float faded = SceneFadeQuad().fColour[3];
  constexpr std::uint32_t kHour = 3600u * 1000u;
  for (std::uint32_t hours = 6; hours <= 7 * 24; hours += 6) {
    const Pixels frame = FrameAt(start + hours * kHour);  // wraps after the first minute
    SCOPED_TRACE("after " + std::to_string(hours) + " hours");
    EXPECT_NEAR(ScenePhase(), static_cast<float>(hours) * 36.0f, 0.01f);
    EXPECT_EQ(SceneFadeQuad().fColour[3], faded);
    EXPECT_GT(MeanLevel(frame), 10.0) << "the picture went dark";
    ExpectNoGlError();
  }
}

}  // namespace
