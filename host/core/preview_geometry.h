// How big the preview is: the parent's size in twips, held in 16 bits the
// way the form measures it, and back in pixels for the picture.
#pragma once

#include <cstdint>

#include "twips.h"

namespace hz {

struct PreviewSize {
  std::int16_t widthTwips = 0;  // an axis over 32767 twips cannot be held and stays 0
  std::int16_t heightTwips = 0;
  int widthPixels = 0;
  int heightPixels = 0;
};

// From the parent's screen rectangle; all zero when it could not be read.
PreviewSize ComputePreviewSize(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom,
                               int twipsPerPixelX = kTwipsPerPixel, int twipsPerPixelY = kTwipsPerPixel);

}  // namespace hz
