// Fonts for the host's controls, from the description a form stores.
#pragma once

#include <windows.h>

#include "controls/property_bag.h"

namespace hz::win {

// The described font for a screen of `dpi` dots per inch. When its face is
// not installed, a Japanese face that is takes its place for the Japanese
// character set, and the font mapper chooses otherwise. The caller deletes
// the font.
HFONT CreateControlFont(const controls::FontDescription& font, int dpi, bool underline = false);

}  // namespace hz::win
