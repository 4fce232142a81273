// A frame of the scene drawn plainly: the tunnel vertex by vertex in immediate mode with its triangles'
// normals, and the fade quad blended over the whole picture every frame. The product draws the same picture
// faster; the picture tests hold it to this and the frame-rate benchmark measures both.
#pragma once

#include "scene.h"

// One frame of `scene` as DrawFrame would run it: clear, reset, the scene's
// own frame set-up (clock, fade level, fog, camera, curve), then the plain drawing.
void DrawPlainFrame(Scene& scene);
