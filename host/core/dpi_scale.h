// The settings dialog is laid out in pixels at 96 dots per inch; on a denser
// screen every position, size and picture grows with the density. These are
// the rules for that, shared by the dialog, its controls and the tests.
#pragma once

#include "twips.h"

namespace hz {

// A density the platform reported, or the design one when it reported none.
int UsableDpi(int dpi);

// A 96-dpi coordinate at `dpi`, halves rounded up. Lengths are scaled as
// the difference of their scaled edges, so neighbouring boxes still meet.
int ScaleCoordinate(int designPixels, int dpi);

struct PixelBox {
  int x = 0, y = 0, width = 0, height = 0;
};
PixelBox ScaleBox(const PixelBox& design, int dpi);

// The pictures are drawn at 100, 150 and 200 percent. A screen takes the
// nearest that is at least as large as it needs (and shrinks it), beyond
// 200 percent the largest (and grows it).
inline constexpr int kPictureScales[] = {100, 150, 200};
inline constexpr int kPictureScaleCount = 3;
int PictureScaleIndex(int dpi);
// The density a picture of that index was drawn for: 96, 144 or 192.
int PictureDpi(int scaleIndex);

}  // namespace hz
