// The caption-style zoom between the captured cursor point and a window.
#pragma once

#include <windows.h>

#include "startup.h"

namespace hz::win {

void Zoom_Open(HWND window, const HostState& host);
void Zoom_Close(HWND window, const HostState& host);

}  // namespace hz::win
