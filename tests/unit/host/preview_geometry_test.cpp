#include "preview_geometry.h"

#include <gtest/gtest.h>

namespace hz {
namespace {

TEST(ComputePreviewSize, MeasuresTheParentInTwipsHeldIn16Bits) {
  struct Case {
    const char* name;
    std::int32_t l, t, r, b;
    std::int16_t wTwips, hTwips;
    int wPixels, hPixels;
  } cases[] = {
      {"standard preview area", 100, 200, 252, 312, 2280, 1680, 152, 112},
      {"no parent: empty rectangle", 0, 0, 0, 0, 0, 0, 0, 0},
      {"2184 pixels is the widest that fits", 0, 0, 2184, 10, 32760, 150, 2184, 10},
      {"an axis over 32767 twips stays 0", 0, 0, 2185, 112, 0, 1680, 0, 112},
      {"both axes too large", -5000, -5000, 5000, 5000, 0, 0, 0, 0},
      {"an inverted rectangle has no area", 50, 50, 10, 10, 0, 0, 0, 0},
      {"extreme coordinates do not overflow", -2147483647 - 1, 0, 2147483647, 1, 0, 15, 0, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const PreviewSize s = ComputePreviewSize(c.l, c.t, c.r, c.b);
    EXPECT_EQ(s.widthTwips, c.wTwips);
    EXPECT_EQ(s.heightTwips, c.hTwips);
    EXPECT_EQ(s.widthPixels, c.wPixels);
    EXPECT_EQ(s.heightPixels, c.hPixels);
  }
}

TEST(ComputePreviewSize, UsesEachAxisOwnTwipsPerPixel) {
  const PreviewSize s = ComputePreviewSize(0, 0, 152, 112, 12, 12);  // 120 dpi
  EXPECT_EQ(s.widthTwips, 1824);
  EXPECT_EQ(s.widthPixels, 152);
  EXPECT_EQ(s.heightPixels, 112);
}

}  // namespace
}  // namespace hz
