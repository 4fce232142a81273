// A stand-in scene until the tunnel lands: it loads the three hand-over
// pictures the way the tunnel will and draws black frames.
#include "extensions.h"
#include "frame.h"
#include "textures.h"

namespace {

GLuint g_fadeTexture = 0;
GLuint g_setA[256] = {};
GLuint g_setB[256] = {};

void RenderFrame() {
  glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

}  // namespace

bool InitScene() {
  LoadMultitextureEntryPoints();
  SetSwapInterval(0);
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_DEPTH_TEST);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  // Missing or unreadable pictures leave their names 0; the scene goes on.
  LoadTexture("C:\\k_arden\\Tovira01.bmp", &g_fadeTexture, GL_REPEAT, GL_REPEAT);
  LoadScrollingTextures("C:\\k_arden\\Tovira02.bmp", g_setA, 256, 1, 2);
  LoadScrollingTextures("C:\\k_arden\\Tovira03.bmp", g_setB, 256, -1, -1);
  FrameCallback = RenderFrame;
  return true;
}
