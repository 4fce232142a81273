// The platform's screen-density functions. The newer ones are looked up at
// run time, so the program still starts on systems that lack them.
#pragma once

#include <windows.h>

namespace hz::win {

// Makes this process lay itself out in physical pixels on every monitor:
// per-monitor (v2) awareness where the system has it, else the older forms.
// Must run before the process creates its first window.
void MakeProcessDpiAware();

// The density `window` is shown at (the system's where the platform cannot
// tell one window's).
int WindowDpi(HWND window);

// The outer size of a window whose client area is `client`, at `dpi`.
SIZE OuterSizeForClient(SIZE client, DWORD style, DWORD exStyle, int dpi);

}  // namespace hz::win
