// An offscreen OpenGL context (OSMesa, software): RGBA with a 24-bit depth
// buffer, current on the calling thread, with the renderer's entry-point
// lookup bound to it. Where there is no window system, tests, benchmarks and
// tools draw the real scene into it.
#pragma once

#include <cstdint>
#include <vector>

class OffscreenContext {
 public:
  explicit OffscreenContext(int width = 1024, int height = 768);
  ~OffscreenContext();
  OffscreenContext(const OffscreenContext&) = delete;
  OffscreenContext& operator=(const OffscreenContext&) = delete;

  bool ready() const { return context_ != nullptr; }
  int width() const { return width_; }
  int height() const { return height_; }
  // Waits until everything drawn so far is in the buffer.
  void Finish() const;
  // The whole frame as RGBA, bottom row first, once drawing has finished.
  std::vector<std::uint8_t> ReadPixels() const;

 private:
  int width_;
  int height_;
  void* context_ = nullptr;
  std::vector<std::uint8_t> buffer_;
};
