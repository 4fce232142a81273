#include "offscreen.h"

#include <GL/osmesa.h>

#include <cstring>

#include "extensions.h"
#include "frame.h"

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
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * height * 4) {
  OSMesaContext context = OSMesaCreateContextExt(OSMESA_RGBA, 24, 0, 0, nullptr);
  if (!context) return;
  if (!OSMesaMakeCurrent(context, pixels_.data(), GL_UNSIGNED_BYTE, width, height)) {
    OSMesaDestroyContext(context);
    return;
  }
  context_ = context;
  SetEntryPointLookup(&OffscreenLookup);
}

OffscreenContext::~OffscreenContext() {
  if (context_) OSMesaDestroyContext(static_cast<OSMesaContext>(context_));
}

std::vector<std::uint8_t> OffscreenContext::ReadRgb() {
  glFinish();
  std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width_) * height_ * 3);
  for (std::size_t i = 0, n = static_cast<std::size_t>(width_) * height_; i < n; ++i)
    std::memcpy(&rgb[3 * i], &pixels_[4 * i], 3);
  return rgb;
}

void StartFrameLikeTheRenderer(int width, int height) {
  ResizeView(width, height);
  InitGraphics();
}
