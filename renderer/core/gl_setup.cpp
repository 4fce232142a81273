#include "gl_setup.h"

#include "gl_api.h"

void (*FrameCallback)() = nullptr;

void ResizeView(int width, int height) {
  if (height < 1) height = 1;
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(45.0, static_cast<double>(width) / static_cast<double>(height), static_cast<double>(0.1f),
                 100.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

void SetFixedState() {
  glEnable(GL_TEXTURE_2D);
  glShadeModel(GL_SMOOTH);
  // Seen only in the first clear: the scene sets its own clear colour every frame.
  glClearColor(0.0f, 0.0f, 0.0f, 0.5f);
  glClearDepth(1.0);
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
}

bool InitGraphics() {
  SetFixedState();
  return InitScene();
}

void BeginFrame() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
}

bool DrawFrame() {
  BeginFrame();
  if (FrameCallback) FrameCallback();
  return true;
}
