#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
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

std::uint32_t fake_now = 0;
std::uint32_t FakeTick() { return fake_now; }

using Pixels = std::vector<std::uint8_t>;  // RGBA, bottom row first

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
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (i % 4 == 3) continue;  // alpha is never shown
    largest = std::max(largest, std::abs(a[i] - b[i]));
  }
  return largest;
}

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

  OffscreenContext gl_;
};

TEST_F(SceneRender, TheFirstFrameIsBlackWhereverTheClockStands) {
  Start();
  // At 0 ms the tube twists through the eye, nearer than the fade quad.
  EXPECT_EQ(LitPixels(FrameAt(4000000000u)), 0u);
  EXPECT_EQ(SceneFadeQuad().fColour[3], 0.0f);
  FrameAt(4000000000u + 3000u);
  EXPECT_GT(LitPixels(FrameAt(4000000000u + 3016u)), 0u);  // the fade has begun
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(SceneRender, HalfwayThroughTheFadeThePictureIsHalfAsBright) {
  Start();
  FrameAt(0);
  FrameAt(5000);
  const Pixels half = FrameAt(5016);  // alpha 0.5, from the phase at 5000 ms
  EXPECT_FLOAT_EQ(SceneFadeQuad().fColour[3], 0.5f);

  // The same moment without any fade.
  SceneFadeQuad().bCompiled = false;
  const Pixels full = FrameAt(5016);
  SceneFadeQuad().bCompiled = true;
  ASSERT_GT(MeanLevel(full), 50.0);
  for (std::size_t i = 0; i < full.size(); ++i) {
    if (i % 4 == 3) continue;
    ASSERT_NEAR(half[i], full[i] * 0.5, 1.0) << "byte " << i;
  }

  // And against the fully faded-in picture a few seconds on.
  FrameAt(9999);
  const Pixels later = FrameAt(11000);
  const double ratio = MeanLevel(half) / MeanLevel(later);
  EXPECT_GT(ratio, 0.35);
  EXPECT_LT(ratio, 0.75);
}

TEST_F(SceneRender, TheFadeStopsAtItsLastLevelOnceTheTenSecondsArePast) {
  Start();
  FrameAt(0);
  FrameAt(9000);
  FrameAt(9990);
  FrameAt(10000);
  const float last = SceneFadeQuad().fColour[3];
  EXPECT_FLOAT_EQ(last, 0.999f);
  FrameAt(10016);
  FrameAt(60000);
  EXPECT_EQ(SceneFadeQuad().fColour[3], last);
}

TEST_F(SceneRender, FramesFiftyMillisecondsApartDiffer) {
  Start();
  FrameAt(0);
  FrameAt(9999);
  const Pixels a = FrameAt(21000);
  const Pixels b = FrameAt(21050);
  std::size_t changed = 0;
  for (std::size_t i = 0; i < a.size(); i += 4)
    changed += a[i] != b[i] || a[i + 1] != b[i + 1] || a[i + 2] != b[i + 2];
  EXPECT_GT(changed, a.size() / 4 / 10);
}

TEST_F(SceneRender, WhatLiesBeyondTheFogIsBlack) {
  Start();
  FrameAt(0);
  FrameAt(9999);
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
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  // Untextured white walls, and the far end still black: the fade has not
  // washed the picture out to white.
  const std::size_t lit = LitPixels(frame);
  EXPECT_GT(lit, frame.size() / 4 / 2);
  EXPECT_LT(lit, frame.size() / 4);
}

TEST_F(SceneRender, WithoutMultitextureTheTunnelDrawsWithOneTextureLikeThePlainDrawing) {
  SetEntryPointLookup(nullptr);  // a driver without ARB_multitexture
  Start();
  EXPECT_FALSE(HasMultitexture());
  EXPECT_FALSE(SceneTunnel().bMultitexture);
  StraightScene plain(&FakeTick);
  for (const std::uint32_t t : {0u, 5000u, 9990u, 20000u}) {
    const Pixels fast = FrameAt(t);
    plain.DrawFrame();
    const Pixels slow = gl_.ReadPixels();
    EXPECT_LE(LargestDifference(fast, slow), 1) << t << " ms";
    if (t == 20000u) {
      EXPECT_GT(LitPixels(fast), fast.size() / 4 / 2);
    }
  }
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// A fade picture that is not black cannot be folded into the tunnel: the
// quad itself is drawn, and it too covers the whole first frame.
TEST_F(SceneRender, WithAFadePictureThatIsNotBlackTheQuadIsDrawnAndStillCoversAll) {
  namespace fs = std::filesystem;
  const fs::path folder = fs::temp_directory_path() / ("hazumaki-scene-" + std::to_string(::getpid()));
  fs::create_directories(folder);
  hz::testing::BitmapSpec red;
  red.rows = {0, 0, 60, 0};  // one dark red pixel, blue-green-red, padded
  const hz::testing::Bytes file = hz::testing::BuildBitmap(red);
  std::ofstream((folder / "Tovira01.bmp").string(), std::ios::binary)
      .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  for (const char* name : {"Tovira02.bmp", "Tovira03.bmp"})
    fs::copy_file(hz::testing::SourcePath(std::string("host/res/") + name), folder / name);
  Start(folder.string());
  fs::remove_all(folder);
  ASSERT_NE(SceneFadeQuad().uTexture, 0u);

  EXPECT_EQ(LitPixels(FrameAt(0)), 0u);
  StraightScene plain(&FakeTick);
  SetSceneClock(&FakeTick);
  for (const std::uint32_t t : {0u, 5000u, 9850u, 10000u, 30000u}) {
    const Pixels fast = FrameAt(t);
    plain.DrawFrame();
    EXPECT_LE(LargestDifference(fast, gl_.ReadPixels()), 1) << t << " ms";
  }
}

// The renderer's faster drawing against the plain one, frame by frame from
// the same start, through the fade and after it.
TEST_F(SceneRender, TheFastDrawingStaysWithinOneLevelOfThePlainDrawing) {
  Start();
  const struct {
    const char* what;
    std::vector<std::uint32_t> ticks;
  } runs[] = {
      {"fade ends at level 0.999", {0, 16, 2500, 5000, 7500, 9990, 10006, 14000, 31000, 77777}},
      {"fade ends at level 0.985", {0, 3000, 9850, 10000, 26000, 51234}},
      {"frames far apart", {0, 400000, 1000000}},
  };
  for (const auto& run : runs) {
    SetSceneClock(&FakeTick);
    StraightScene plain(&FakeTick);
    for (const std::uint32_t t : run.ticks) {
      const Pixels fast = FrameAt(t);
      plain.DrawFrame();
      const Pixels slow = gl_.ReadPixels();
      EXPECT_LE(LargestDifference(fast, slow), 1) << run.what << ", " << t << " ms";
    }
  }
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(SceneRender, BindTexturesSetsUpTheUnitsByTheTwoFlags) {
  LoadMultitextureEntryPoints();
  ASSERT_TRUE(HasMultitexture());
  const MultitextureTable& gl = MultitextureEntryPoints;
  CTunnel tunnel;
  const unsigned int slot0[2] = {41, 42}, slot1[2] = {51, 52};
  tunnel.SetTextureList(0, slot0, 2);
  tunnel.SetTextureList(1, slot1, 2);
  tunnel.SelectTexture(0, 1);
  tunnel.SelectTexture(1, 1);
  tunnel.fTextureMode[0] = static_cast<float>(GL_REPLACE);
  tunnel.fTextureMode[1] = static_cast<float>(GL_ADD);

  struct Unit {
    bool texturing, sphereMap;
    GLint binding, mode;
  };
  auto unit = [&](GLenum which) {
    gl.glActiveTextureARB(which);
    Unit u{glIsEnabled(GL_TEXTURE_2D) == GL_TRUE,
           glIsEnabled(GL_TEXTURE_GEN_S) == GL_TRUE && glIsEnabled(GL_TEXTURE_GEN_T) == GL_TRUE, 0, 0};
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &u.binding);
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &u.mode);
    if (u.sphereMap) {
      GLint mode = 0;
      glGetTexGeniv(GL_S, GL_TEXTURE_GEN_MODE, &mode);
      u.sphereMap = mode == GL_SPHERE_MAP;
    }
    return u;
  };
  const struct {
    bool multitexture, sphereMap;
    Unit unit0, unit1;
  } rows[] = {
      {true, false, {true, false, 42, GL_REPLACE}, {true, false, 52, GL_ADD}},
      {true, true, {true, false, 42, GL_REPLACE}, {true, true, 52, GL_ADD}},
      {false, true, {true, true, 42, GL_MODULATE}, {false, false, 0, GL_MODULATE}},
      {false, false, {true, false, 42, GL_MODULATE}, {false, false, 0, GL_MODULATE}},
  };
  for (const auto& row : rows) {
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    gl.glActiveTextureARB(GL_TEXTURE0_ARB);
    glDisable(GL_TEXTURE_2D);
    tunnel.bMultitexture = row.multitexture;
    tunnel.bSphereMap = row.sphereMap;
    tunnel.BindTextures();
    const Unit u0 = unit(GL_TEXTURE0_ARB), u1 = unit(GL_TEXTURE1_ARB);
    const Unit* expected[2] = {&row.unit0, &row.unit1};
    const Unit* got[2] = {&u0, &u1};
    for (int k = 0; k < 2; ++k) {
      SCOPED_TRACE(::testing::Message() << "multitexture " << row.multitexture << ", sphere map "
                                        << row.sphereMap << ", unit " << k);
      EXPECT_EQ(got[k]->texturing, expected[k]->texturing);
      EXPECT_EQ(got[k]->sphereMap, expected[k]->sphereMap);
      EXPECT_EQ(got[k]->binding, expected[k]->binding);
      EXPECT_EQ(got[k]->mode, expected[k]->mode);
    }
    gl.glActiveTextureARB(GL_TEXTURE0_ARB);
    glPopAttrib();
  }
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
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
  GLint depth = 0;
  glGetIntegerv(GL_ATTRIB_STACK_DEPTH, &depth);
  EXPECT_EQ(depth, 0);
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
  EXPECT_EQ(depth, 1);
}

}  // namespace
