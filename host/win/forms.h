// The three forms that carry the host's modes after start-up.
#pragma once

#include <windows.h>

#include <cstdint>

#include "startup.h"

namespace hz::win {

// Preview: a child window inside `parent` showing the still picture.
void ShowPreviewForm(HINSTANCE instance, std::int32_t parent);

// Settings: the modal dialog; returns when it has closed.
void ShowSettingsDialog(HINSTANCE instance, HostState& host);

// Screensaver: the hidden session window; it ends the process itself.
void LoadSessionForm(HINSTANCE instance, HostState& host);

}  // namespace hz::win
