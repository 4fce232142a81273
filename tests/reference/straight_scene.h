// The scene drawn the plain way, as the renderer first drew it: the plain
// Build, every vertex sent on its own with its triangle's normal, and the
// fade quad blended over the whole picture in every frame. Tests hold the
// renderer's faster drawing to it and benchmarks measure both.
#pragma once

#include "Classes/CRing.h"
#include "scene.h"
#include "scene_math.h"

class StraightScene {
 public:
  // Takes the textures, flags and fade quad that InitScene set up; keeps its
  // own tunnel, clock and fade level.
  explicit StraightScene(TickSource tick);

  // One frame as DrawFrame would run it: clear, reset, the scene.
  void DrawFrame();
  void RenderFrame();

 private:
  CTunnel tunnel_;
  SceneClock clock_;
  TickSource tick_;
  float fadeColour_[4] = {1.0f, 1.0f, 1.0f, 1.0f};
};

// The tunnel's Draw with the plain Build and immediate-mode triangles.
void StraightDrawTunnel(CTunnel& tunnel);
