#include "preview_geometry.h"

#include "conversions.h"

namespace hz {
namespace {
// A size that cannot be a window's (negative, or beyond 16 bits) stays 0.
std::int16_t Twips(std::int64_t pixels, int twipsPerPixel) {
  const std::int16_t twips = RoundToInt16(static_cast<double>(pixels) * twipsPerPixel).value_or(0);
  return twips < 0 ? 0 : twips;
}
}  // namespace

PreviewSize ComputePreviewSize(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom,
                               int twipsX, int twipsY) {
  PreviewSize s;
  // 64-bit products: a rectangle from a hostile or broken parent cannot overflow.
  s.widthTwips = Twips(std::int64_t{right} - left, twipsX);
  s.heightTwips = Twips(std::int64_t{bottom} - top, twipsY);
  if (twipsX > 0) s.widthPixels = s.widthTwips / twipsX;
  if (twipsY > 0) s.heightPixels = s.heightTwips / twipsY;
  return s;
}

}  // namespace hz
