// A WGL context on a hidden window of the given client size, for drawing
// the scene under Wine or Windows without showing anything.
#pragma once

#include <windows.h>

#include <cstdio>

#include "extensions.h"

class HiddenWindowContext {
 public:
  HiddenWindowContext(int width, int height) {
    WNDCLASSA wc{};
    wc.style = CS_OWNDC;
    wc.lpfnWndProc = &Procedure;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "HazumakiBench";
    RegisterClassA(&wc);
    window_ = CreateWindowExA(0, wc.lpszClassName, "scene_fps_bench", WS_POPUP, 0, 0, width, height, nullptr,
                              nullptr, wc.hInstance, nullptr);
    dc_ = window_ ? GetDC(window_) : nullptr;
    if (!dc_) {
      Fail("no window");
      return;
    }
    PIXELFORMATDESCRIPTOR pfd{};
    pfd.nSize = sizeof pfd;
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = 32;
    pfd.cDepthBits = 16;
    const int format = ChoosePixelFormat(dc_, &pfd);
    if (format == 0 || !SetPixelFormat(dc_, format, &pfd)) {
      Fail("no pixel format");
      return;
    }
    context_ = wglCreateContext(dc_);
    if (context_ && !wglMakeCurrent(dc_, context_)) {
      wglDeleteContext(context_);
      context_ = nullptr;
    }
    if (!context_) {
      Fail("no current context");
      return;
    }
    SetEntryPointLookup(&Lookup);
  }
  ~HiddenWindowContext() {
    if (context_) {
      wglMakeCurrent(nullptr, nullptr);
      wglDeleteContext(context_);
    }
    if (window_) DestroyWindow(window_);
  }
  HiddenWindowContext(const HiddenWindowContext&) = delete;
  HiddenWindowContext& operator=(const HiddenWindowContext&) = delete;

  bool ready() const { return context_ != nullptr; }
  void Finish() const { glFinish(); }

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd, message, wParam, lParam);
  }
  static void Fail(const char* what) {
    std::fprintf(stderr, "hidden window: %s (error %lu)\n", what, GetLastError());
  }
  static void* Lookup(const char* name) { return reinterpret_cast<void*>(wglGetProcAddress(name)); }

  HWND window_ = nullptr;
  HDC dc_ = nullptr;
  HGLRC context_ = nullptr;
};
