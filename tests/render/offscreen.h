// A 1024 x 768 offscreen OpenGL context (OSMesa, RGBA with a 24-bit depth
// buffer) for drawing tests and benchmarks: current on construction, with the
// renderer's entry-point lookup bound to it, and helpers to read pixels and
// textures back.
#pragma once

#include <GL/osmesa.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "extensions.h"
#include "gl_api.h"

namespace hz::testing {

// A file of the source tree, such as "host/res/Tovira02.bmp".
inline std::string SourcePath(const std::string& relative) {
  return std::string(HZ_SOURCE_DIR) + "/" + relative;
}

struct TextureImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;  // blue-green-red, rows tightly packed, row 0 (t = 0) first
};

class OffscreenContext {
 public:
  static constexpr int kWidth = 1024;
  static constexpr int kHeight = 768;

  OffscreenContext() : buffer_(static_cast<std::size_t>(kWidth) * kHeight * 4) {
    context_ = OSMesaCreateContextExt(OSMESA_RGBA, 24, 0, 0, nullptr);
    if (!context_) return;
    ready_ = OSMesaMakeCurrent(context_, buffer_.data(), GL_UNSIGNED_BYTE, kWidth, kHeight) != 0;
    OSMesaPixelStore(OSMESA_Y_UP, 1);  // rows as OpenGL counts them: row 0 at the bottom
    SetEntryPointLookup(&Lookup);
  }
  ~OffscreenContext() {
    SetEntryPointLookup(nullptr);
    if (context_) OSMesaDestroyContext(context_);
  }
  OffscreenContext(const OffscreenContext&) = delete;
  OffscreenContext& operator=(const OffscreenContext&) = delete;

  bool ready() const { return ready_; }

  // The whole frame as RGBA, bottom row first.
  std::vector<std::uint8_t> ReadPixels() const {
    std::vector<std::uint8_t> out(static_cast<std::size_t>(kWidth) * kHeight * 4);
    glFinish();
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, out.data());
    glPopClientAttrib();
    return out;
  }

  // Level 0 of a texture; leaves the binding as it was.
  static TextureImage ReadTexture(GLuint name) {
    TextureImage image;
    GLint previous = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
    glBindTexture(GL_TEXTURE_2D, name);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &image.width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &image.height);
    image.pixels.resize(static_cast<std::size_t>(image.width) * image.height * 3);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    if (!image.pixels.empty()) glGetTexImage(GL_TEXTURE_2D, 0, GL_BGR, GL_UNSIGNED_BYTE, image.pixels.data());
    glPopClientAttrib();
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previous));
    return image;
  }

 private:
  static void* Lookup(const char* name) {
    const OSMESAproc proc = OSMesaGetProcAddress(name);
    void* address = nullptr;
    static_assert(sizeof proc == sizeof address, "function and object pointers differ in size");
    std::memcpy(&address, &proc, sizeof address);
    return address;
  }

  std::vector<std::uint8_t> buffer_;
  OSMesaContext context_ = nullptr;
  bool ready_ = false;
};

}  // namespace hz::testing
