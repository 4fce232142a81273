#include "dpi_win32.h"

#include "dpi_scale.h"

namespace hz::win {
namespace {

template <typename F>
F Lookup(const wchar_t* module, const char* name) {
  HMODULE m = GetModuleHandleW(module);
  if (!m) m = LoadLibraryW(module);
  return m ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(m, name))) : nullptr;
}

}  // namespace

void MakeProcessDpiAware() {
  using Context = BOOL(WINAPI*)(HANDLE);
  using Awareness = HRESULT(WINAPI*)(int);
  using Aware = BOOL(WINAPI*)();
  // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2, then PROCESS_PER_MONITOR_DPI_AWARE.
  if (auto f = Lookup<Context>(L"user32.dll", "SetProcessDpiAwarenessContext"))
    if (f(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4)))) return;
  if (auto f = Lookup<Awareness>(L"shcore.dll", "SetProcessDpiAwareness"))
    if (SUCCEEDED(f(2))) return;
  if (auto f = Lookup<Aware>(L"user32.dll", "SetProcessDPIAware")) f();
}

int WindowDpi(HWND window) {
  using ForWindow = UINT(WINAPI*)(HWND);
  static const auto forWindow = Lookup<ForWindow>(L"user32.dll", "GetDpiForWindow");
  int dpi = forWindow && window ? static_cast<int>(forWindow(window)) : 0;
  if (dpi <= 0) {
    HDC screen = GetDC(nullptr);
    dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen) ReleaseDC(nullptr, screen);
  }
  return UsableDpi(dpi);
}

SIZE OuterSizeForClient(SIZE client, DWORD style, DWORD exStyle, int dpi) {
  using ForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
  static const auto forDpi = Lookup<ForDpi>(L"user32.dll", "AdjustWindowRectExForDpi");
  RECT r{0, 0, client.cx, client.cy};
  if (!forDpi || !forDpi(&r, style, FALSE, exStyle, static_cast<UINT>(dpi)))
    AdjustWindowRectEx(&r, style, FALSE, exStyle);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

}  // namespace hz::win
