#include "offscreen_context.h"

#include <GL/osmesa.h>

#include <cstring>

#include "extensions.h"

namespace {

void* OffscreenLookup(const char* name) {
  const OSMESAproc proc = OSMesaGetProcAddress(name);
  void* address = nullptr;
  static_assert(sizeof proc == sizeof address, "function and object pointers differ in size");
  std::memcpy(&address, &proc, sizeof address);
  return address;
}

}  // namespace

OffscreenContext::OffscreenContext(int width, int height)
    : width_(width), height_(height), buffer_(static_cast<std::size_t>(width) * height * 4) {
  OSMesaContext context = OSMesaCreateContextExt(OSMESA_RGBA, 24, 0, 0, nullptr);
  if (!context) return;
  if (!OSMesaMakeCurrent(context, buffer_.data(), GL_UNSIGNED_BYTE, width, height)) {
    OSMesaDestroyContext(context);
    return;
  }
  OSMesaPixelStore(OSMESA_Y_UP, 1);  // rows as OpenGL counts them: row 0 at the bottom
  context_ = context;
  SetEntryPointLookup(&OffscreenLookup);
}

OffscreenContext::~OffscreenContext() {
  if (!context_) return;
  SetEntryPointLookup(nullptr);
  OSMesaDestroyContext(static_cast<OSMesaContext>(context_));
}

void OffscreenContext::Finish() const { glFinish(); }

std::vector<std::uint8_t> OffscreenContext::ReadPixels() const {
  std::vector<std::uint8_t> out(static_cast<std::size_t>(width_) * height_ * 4);
  glFinish();
  glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, out.data());
  glPopClientAttrib();
  return out;
}
