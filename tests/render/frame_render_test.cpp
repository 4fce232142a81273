#include <gtest/gtest.h>

#include <cmath>

#include "extensions.h"
#include "frame.h"
#include "offscreen.h"

namespace {

using hz::testing::OffscreenContext;

class FrameRender : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(gl_.ready()); }
  OffscreenContext gl_;
};

void Projection(GLdouble m[16]) { glGetDoublev(GL_PROJECTION_MATRIX, m); }

TEST_F(FrameRender, ViewIsA45DegreePerspectiveOverTheWholeWindow) {
  ResizeView(1024, 768);
  GLint viewport[4] = {};
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[2], 1024);
  EXPECT_EQ(viewport[3], 768);
  GLdouble m[16];
  Projection(m);
  const double f = 1.0 / std::tan(22.5 * M_PI / 180.0);
  // GL keeps its matrices in single precision.
  EXPECT_NEAR(m[5], f, 1e-6);
  EXPECT_NEAR(m[0], f * 768.0 / 1024.0, 1e-6);
  GLint mode = 0;
  glGetIntegerv(GL_MATRIX_MODE, &mode);
  EXPECT_EQ(mode, GL_MODELVIEW);
}

TEST_F(FrameRender, AZeroHeightCountsAsOne) {
  ResizeView(640, 0);
  GLint viewport[4] = {};
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[3], 1);
  GLdouble m[16];
  Projection(m);
  for (double v : m) EXPECT_TRUE(std::isfinite(v));
  EXPECT_NEAR(m[0], m[5] / 640.0, 1e-6);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(FrameRender, InitGraphicsStartsTheSceneAndTheFirstFrameIsBlack) {
  ResizeView(OffscreenContext::kWidth, OffscreenContext::kHeight);
  FrameCallback = nullptr;
  ASSERT_TRUE(InitGraphics());
  EXPECT_NE(FrameCallback, nullptr);
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
  GLint shade = 0;
  glGetIntegerv(GL_SHADE_MODEL, &shade);
  EXPECT_EQ(shade, GL_SMOOTH);
  GLint hint = 0;
  glGetIntegerv(GL_PERSPECTIVE_CORRECTION_HINT, &hint);
  EXPECT_EQ(hint, GL_NICEST);

  // A frame that was white before shows black after one DrawFrame.
  glClearColor(1, 1, 1, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  glClearColor(0, 0, 0, 0.5f);
  GLint depthBefore = 0;
  glGetIntegerv(GL_ATTRIB_STACK_DEPTH, &depthBefore);
  EXPECT_TRUE(DrawFrame());
  GLint depthAfter = 0;
  glGetIntegerv(GL_ATTRIB_STACK_DEPTH, &depthAfter);
  EXPECT_EQ(depthAfter, depthBefore);
  const std::vector<std::uint8_t> frame = gl_.ReadPixels();
  std::size_t lit = 0;
  for (std::size_t i = 0; i < frame.size(); i += 4) lit += (frame[i] | frame[i + 1] | frame[i + 2]) != 0;
  EXPECT_EQ(lit, 0u);
  FrameCallback = nullptr;
}

TEST_F(FrameRender, TheMultitextureEntryPointsWorkOnARealDriver) {
  LoadMultitextureEntryPoints();
  ASSERT_TRUE(HasMultitexture());
  for (const char* name : kMultitextureNames) EXPECT_NE(OSMesaGetProcAddress(name), nullptr) << name;
  MultitextureEntryPoints.glActiveTextureARB(GL_TEXTURE1_ARB);
  GLint active = 0;
  glGetIntegerv(GL_ACTIVE_TEXTURE_ARB, &active);
  EXPECT_EQ(active, GL_TEXTURE1_ARB);
  MultitextureEntryPoints.glActiveTextureARB(GL_TEXTURE0_ARB);
  SetSwapInterval(0);  // no swap control offscreen: nothing happens
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace
