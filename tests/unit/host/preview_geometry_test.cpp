#include "preview_geometry.h"

#include <gtest/gtest.h>

namespace hz {
namespace {

TEST(ComputePreviewSize, MeasuresTheParentInTwipsHeldIn16Bits) {
  const struct {
    const char* name;
    std::int32_t l, t, r, b;
    std::int16_t wTwips, hTwips;
    int wPixels, hPixels;
  } cases[] = {
      {"standard preview area", 100, 200, 252, 312, 2280, 1680, 152, 112},
      {"no parent: empty rectangle", 0, 0, 0, 0, 0, 0, 0, 0},
      {"2184 pixels is the widest that fits", 0, 0, 2184, 10, 32760, 150, 2184, 10},
      {"an axis over 32767 twips stays 0", 0, 0, 2185, 112, 0, 1680, 0, 112},
      {"both axes far too large", -5000, -5000, 5000, 5000, 0, 0, 0, 0},
      {"an inverted rectangle has no area", 50, 50, 10, 10, 0, 0, 0, 0},
      {"extreme coordinates do not overflow", -2147483647 - 1, 0, 2147483647, 1, 0, 15, 0, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const PreviewSize s = ComputePreviewSize(c.l, c.t, c.r, c.b);
    EXPECT_EQ(std::make_pair(s.widthTwips, s.heightTwips), std::make_pair(c.wTwips, c.hTwips));
    EXPECT_EQ(std::make_pair(s.widthPixels, s.heightPixels), std::make_pair(c.wPixels, c.hPixels));
  }
  const PreviewSize own = ComputePreviewSize(0, 0, 152, 112, 12, 15);  // each axis its own twips per pixel
  EXPECT_EQ(std::make_pair(own.widthTwips, own.heightTwips),
            std::make_pair(std::int16_t{1824}, std::int16_t{1680}));
}

}  // namespace
}  // namespace hz
