// What the benchmarks share: the source tree's pictures, and a scene started
// and drawn the way the frame does it.
#pragma once

#include <string>

#include "gl_setup.h"
#include "scene.h"

inline std::string SourcePath(const std::string& relative) {
  return std::string(HZ_SOURCE_DIR) + "/" + relative;
}

// The frame's start with the context current: the view, the fixed state, the scene.
inline void StartScene(Scene& scene, int width, int height) {
  ResizeView(width, height);
  SetFixedState();
  scene.Start();
}

// One frame as DrawFrame draws it, for a scene of our own.
inline void DrawSceneFrame(Scene& scene) {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
  scene.Render();
}
