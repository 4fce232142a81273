// An offscreen OpenGL context of any size (OSMesa, software): RGBA with a
// depth buffer, current on the calling thread, the extension lookup bound.
#pragma once

#include <cstdint>
#include <vector>

class OffscreenContext {
 public:
  OffscreenContext(int width, int height);
  ~OffscreenContext();
  OffscreenContext(const OffscreenContext&) = delete;
  OffscreenContext& operator=(const OffscreenContext&) = delete;

  bool ok() const { return context_ != nullptr; }
  // The frame's RGB bytes, bottom row first (glFinish first).
  std::vector<std::uint8_t> ReadRgb();

 private:
  int width_;
  int height_;
  void* context_ = nullptr;
  std::vector<std::uint8_t> pixels_;
};

// What the frame does once the context is current: ResizeView to the
// buffer's size and InitGraphics (which runs InitScene).
void StartFrameLikeTheRenderer(int width, int height);
