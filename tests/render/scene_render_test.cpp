// The scene drawn offscreen with a fake clock, from the first frame to a week
// of frames across the tick count's wrap (every 49.7 days).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "../common/bitmap_bytes.h"
#include "extensions.h"
#include "gl_setup.h"
#include "offscreen_context.h"
#include "plain_drawing.h"
#include "scene.h"

namespace {

using Pixels = std::vector<std::uint8_t>;  // RGBA, bottom row first

std::uint32_t fake_now = 0;
std::uint32_t FakeTick() { return fake_now; }

const std::string kHostPictures = std::string(HZ_SOURCE_DIR) + "/host/res";

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

// The largest colour difference, and how many pixels differ at all.
std::pair<int, std::size_t> Difference(const Pixels& a, const Pixels& b) {
  int largest = 0;
  std::size_t differing = 0;
  for (std::size_t i = 0; i < a.size(); i += 4) {
    int d = 0;
    for (std::size_t c = 0; c < 3; ++c) d = std::max(d, std::abs(a[i + c] - b[i + c]));
    largest = std::max(largest, d);
    differing += d > 0;
  }
  return {largest, differing};
}

class SceneRender : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(gl_.ready()); }

  // What the frame does with a fresh context: the view, the fixed state, the scene's start.
  std::unique_ptr<Scene> Start(const std::string& folder = kHostPictures) {
    auto scene = std::make_unique<Scene>(folder, &FakeTick);
    StartScene(*scene, gl_.width(), gl_.height());
    return scene;
  }

  // One frame as DrawFrame draws it.
  Pixels FrameAt(Scene& scene, std::uint32_t tick) {
    fake_now = tick;
    DrawSceneFrame(scene);
    return gl_.ReadPixels();
  }

  OffscreenContext gl_;
};

TEST_F(SceneRender, TheViewIsFourByThreeWhateverTheWindowAndAZeroHeightCountsAsOne) {
  ResizeView(640, 0);
  GLint viewport[4] = {};
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[3], 1);
  GLdouble m[16];
  glGetDoublev(GL_PROJECTION_MATRIX, m);
  EXPECT_NEAR(m[5], 1.0 / std::tan(22.5 * M_PI / 180.0), 1e-6);  // 45 degrees
  EXPECT_NEAR(m[0], m[5] / 640.0, 1e-6);

  auto scene = Start();
  ResizeView(400, 768);
  FrameAt(*scene, 0);
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[2], 400);
  glGetDoublev(GL_PROJECTION_MATRIX, m);
  EXPECT_NEAR(m[5], 1.0 / std::tan(75.0 * M_PI / 180.0), 1e-6);  // 150 degrees, stretched
  EXPECT_NEAR(m[0], m[5] * 3.0 / 4.0, 1e-6);
  GLint depth[2] = {};  // the frame leaves the attribute and matrix stacks as it found them
  glGetIntegerv(GL_ATTRIB_STACK_DEPTH, &depth[0]);
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth[1]);
  EXPECT_EQ(std::make_pair(depth[0], depth[1]), std::make_pair(0, 1));
}

TEST_F(SceneRender, TheFirstFrameIsBlackAtFiveSecondsHalfAsBrightAndLaterFramesMove) {
  auto scene = Start();
  // Wherever the clock stands; at 0 ms the tube twists through the eye, nearer than the fade quad.
  const std::uint32_t start = 4000000000u;
  EXPECT_EQ(LitPixels(FrameAt(*scene, start)), 0u);
  FrameAt(*scene, start + 5000);
  const Pixels half = FrameAt(*scene, start + 5016);  // alpha 0.5, from the phase at 5000 ms
  EXPECT_FLOAT_EQ(scene->fadeQuad.fColour[3], 0.5f);
  FrameAt(*scene, start + 9999);
  const Pixels later = FrameAt(*scene, start + 11000);
  EXPECT_NEAR(MeanLevel(half) / MeanLevel(later), 0.55, 0.2);
  const int slice = scene->tunnel.iCurrentTexture[0];
  EXPECT_GT(Difference(later, FrameAt(*scene, start + 11050)).second, later.size() / 40);  // 50 ms on
  // The walls scroll as well as the camera moving: both pictures a slice on (50 ms), together.
  EXPECT_NE(scene->tunnel.iCurrentTexture[0], slice);
  EXPECT_EQ(scene->tunnel.iCurrentTexture[1], scene->tunnel.iCurrentTexture[0]);
}

TEST_F(SceneRender, WhatLiesBeyondTheFogIsBlack) {
  auto scene = Start();
  for (const std::uint32_t t : {0u, 9999u, 10000u}) FrameAt(*scene, t);  // the first frame and the fade
  const double near = static_cast<double>(0.01f), far = 100.0;
  for (const std::uint32_t t : {17000u, 43000u}) {
    const Pixels frame = FrameAt(*scene, t);
    std::vector<float> depth(frame.size() / 4);
    glReadPixels(0, 0, gl_.width(), gl_.height(), GL_DEPTH_COMPONENT, GL_FLOAT, depth.data());
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

// The product's drawing against the plain one, each with a scene of its own
// from the same start, through the fade and after it: within one level (the
// fade folded into the tunnel rounds once where the blended quad rounds twice).
class PictureEquality : public SceneRender {
 protected:
  void ExpectLikeThePlainDrawing(const std::string& folder, bool multitexture, bool sphereMap, bool blend,
                                 const std::vector<std::uint32_t>& ticks) {
    SCOPED_TRACE(::testing::Message()
                 << "multitexture " << multitexture << ", sphere map " << sphereMap << ", blend " << blend);
    auto product = Start(folder);
    auto plain = Start(folder);
    for (Scene* scene : {product.get(), plain.get()}) {
      scene->tunnel.bMultitexture = multitexture;
      scene->tunnel.bSphereMap = sphereMap;
      scene->tunnel.bBlend = blend;
    }
    Pixels fast;
    for (const std::uint32_t t : ticks) {
      fast = FrameAt(*product, t);
      DrawPlainFrame(*plain);
      const auto [largest, differing] = Difference(fast, gl_.ReadPixels());
      EXPECT_LE(largest, 1) << t << " ms, " << differing << " pixels differ";
      EXPECT_TRUE(t != 0 || LitPixels(fast) == 0) << "the first frame is black";
    }
    EXPECT_GT(MeanLevel(fast), 2.0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  }
};

TEST_F(PictureEquality, TheSceneThroughTheFadeAndAfter) {
  ExpectLikeThePlainDrawing(kHostPictures, true, false, false,
                            {0, 16, 2500, 5000, 9990, 10006, 31000, 77777});             // fade ends at 0.999
  ExpectLikeThePlainDrawing(kHostPictures, true, false, false, {0, 3000, 9850, 26000});  // ends at 0.985
}

TEST_F(PictureEquality, EveryRowOfTheTextureTableAndTheBlendFlag) {
  const std::vector<std::uint32_t> ticks = {0, 5000, 9990, 20000};
  ExpectLikeThePlainDrawing(kHostPictures, true, true, false, ticks);
  ExpectLikeThePlainDrawing(kHostPictures, false, true, false, ticks);
  ExpectLikeThePlainDrawing(kHostPictures, false, false, false, ticks);
  ExpectLikeThePlainDrawing(kHostPictures, true, false, true, ticks);
  SetEntryPointLookup(nullptr);  // a driver without ARB_multitexture draws with one texture
  ExpectLikeThePlainDrawing(kHostPictures, true, false, false, ticks);
}

// A fade picture that is not black cannot be folded into the tunnel: the quad
// itself is drawn, and it too covers the whole first frame.
TEST_F(PictureEquality, AFadePictureThatIsNotBlack) {
  const hz::testing::TempFolder folder;
  folder.Write("Tovira01.bmp", hz::testing::Bitmap24(1, 1, {0, 0, 60}));  // one dark red pixel
  for (const char* name : {"Tovira02.bmp", "Tovira03.bmp"})
    folder.Write(name, hz::testing::ReadBytes(kHostPictures + "/" + name));
  ExpectLikeThePlainDrawing(folder.path(), true, false, false, {0, 5000, 9850, 10000, 30000});
}

TEST_F(SceneRender, WithoutItsPicturesTheSceneStillDrawsAndStillFadesFromBlack) {
  auto scene = Start(kHostPictures + "/no-such-folder");
  EXPECT_EQ(LitPixels(FrameAt(*scene, 0)), 0u);
  FrameAt(*scene, 9999);
  const Pixels frame = FrameAt(*scene, 20000);  // untextured walls, the far end still black
  EXPECT_GT(LitPixels(frame), frame.size() / 4 / 2);
  EXPECT_LT(LitPixels(frame), frame.size() / 4);
}

TEST_F(SceneRender, ThePictureRunsOnAcrossTheTickCountsWrapForAWeek) {
  auto scene = Start();
  const std::uint32_t start = 0xFFFFFFFFu - 15000u;  // the fade is done when the count wraps
  for (const std::uint32_t t : {0u, 9999u, 10000u}) FrameAt(*scene, start + t);
  const float faded = scene->fadeQuad.fColour[3];
  for (const std::uint32_t hours : {0u, 7u * 24u}) {
    const Pixels frame = FrameAt(*scene, 0x00000010u + hours * 3600u * 1000u);
    EXPECT_NEAR(scene->Phase(), 0.15f + static_cast<float>(hours) * 36.0f, 0.01f) << hours << " h";
    EXPECT_EQ(scene->fadeQuad.fColour[3], faded) << hours << " h: the fade began again";
    EXPECT_GT(MeanLevel(frame), 10.0) << hours << " h: the picture went dark";
  }
}

}  // namespace
