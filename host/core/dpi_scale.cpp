#include "dpi_scale.h"

#include <cstdint>

namespace hz {

int UsableDpi(int dpi) { return dpi > 0 ? dpi : kDesignDpi; }

int ScaleCoordinate(int designPixels, int dpi) {
  // floor((2 p d + 96) / 192) in 64 bits: exact, and halves go the same way on both sides of 0.
  const std::int64_t n = 2 * std::int64_t{designPixels} * UsableDpi(dpi) + kDesignDpi;
  const std::int64_t d = 2 * kDesignDpi;
  return static_cast<int>(n >= 0 ? n / d : -((-n + d - 1) / d));
}

PixelBox ScaleBox(const PixelBox& b, int dpi) {
  const int left = ScaleCoordinate(b.x, dpi);
  const int top = ScaleCoordinate(b.y, dpi);
  return {left, top, ScaleCoordinate(b.x + b.width, dpi) - left, ScaleCoordinate(b.y + b.height, dpi) - top};
}

int PictureScaleIndex(int dpi) {
  const int wanted = UsableDpi(dpi);
  for (int i = 0; i < kPictureScaleCount; ++i)
    if (PictureDpi(i) >= wanted) return i;
  return kPictureScaleCount - 1;
}

int PictureDpi(int scaleIndex) {
  const int i = scaleIndex < 0 ? 0 : scaleIndex >= kPictureScaleCount ? kPictureScaleCount - 1 : scaleIndex;
  return kDesignDpi * kPictureScales[i] / 100;
}

}  // namespace hz
