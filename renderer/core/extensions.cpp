#include "extensions.h"

#include <cstring>

MultitextureTable MultitextureEntryPoints;

namespace {

EntryPointLookup g_lookup = nullptr;

void* Lookup(const char* name) { return g_lookup ? g_lookup(name) : nullptr; }

// Entry points come back as object pointers from the seam; a copy of the bits
// turns them into the function pointer types.
template <typename Function>
Function AsFunction(void* address) {
  Function f = nullptr;
  static_assert(sizeof f == sizeof address, "function and object pointers differ in size");
  std::memcpy(&f, &address, sizeof f);
  return f;
}

using SwapIntervalFunction = int(HZ_GL_CALL*)(int interval);

}  // namespace

void SetEntryPointLookup(EntryPointLookup lookup) { g_lookup = lookup; }

void LoadMultitextureEntryPoints() {
  MultitextureTable table;
#define HZ_LOAD(type, name) table.name = AsFunction<type>(Lookup(#name));
  HZ_MULTITEXTURE_ENTRY_POINTS(HZ_LOAD)
#undef HZ_LOAD
  MultitextureEntryPoints = table;
}

bool HasMultitexture() {
  const MultitextureTable& gl = MultitextureEntryPoints;
  return gl.glActiveTextureARB != nullptr && gl.glClientActiveTextureARB != nullptr &&
         gl.glMultiTexCoord2fvARB != nullptr;
}

void SetSwapInterval(int interval) {
  const auto swapInterval = AsFunction<SwapIntervalFunction>(Lookup("wglSwapIntervalEXT"));
  if (swapInterval) swapInterval(interval & 0xFF);
}
