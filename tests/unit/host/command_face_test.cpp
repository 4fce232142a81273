#include "controls/command_face.h"

#include <gtest/gtest.h>

namespace hz::controls {
namespace {

void ExpectRect(const TwipRect& r, int x, int y, int w, int h) {
  EXPECT_EQ(r.x, x);
  EXPECT_EQ(r.y, y);
  EXPECT_EQ(r.width, w);
  EXPECT_EQ(r.height, h);
}

void ExpectRect(const PixelRect& r, int x, int y, int w, int h) {
  EXPECT_EQ(r.x, x);
  EXPECT_EQ(r.y, y);
  EXPECT_EQ(r.width, w);
  EXPECT_EQ(r.height, h);
}

struct Expected {
  const char* piece;
  int dx, dy, dw, dh;  // destination, twips
  int sx, sy, sw, sh;  // source, twips
  int px, py, pw, ph;  // destination, pixels
};

TEST(NineSlice, FramesA77By25PixelButton) {
  const int w = 77 * kTwipsPerPixel;  // 1155
  const int h = 25 * kTwipsPerPixel;  // 375
  const NineSlice s = ComputeNineSlice(w, h);
  EXPECT_EQ(s.sourceBandWidth, 840);
  EXPECT_EQ(s.sourceBandHeight, 255);
  const Expected table[] = {
      {"top-left", 1, 1, 60, 60, 0, 0, 60, 60, 0, 0, 4, 4},
      {"top", 60, 1, 1035, 60, 60, 1, 840, 60, 4, 0, 69, 4},
      {"top-right", 1095, 1, 60, 60, 900, 1, 60, 60, 73, 0, 4, 4},
      {"right", 1095, 60, 60, 255, 900, 60, 60, 255, 73, 4, 4, 17},
      {"bottom-right", 1095, 315, 60, 60, 900, 315, 60, 60, 73, 21, 4, 4},
      {"bottom", 60, 315, 1035, 60, 60, 315, 840, 60, 4, 21, 69, 4},
      {"bottom-left", 1, 315, 60, 60, 0, 315, 60, 60, 0, 21, 4, 4},
      {"left", 1, 60, 60, 255, 1, 60, 60, 255, 0, 4, 4, 17},
      {"centre", 60, 60, 1035, 255, 60, 60, 840, 255, 4, 4, 69, 17},
  };
  for (int i = 0; i < 9; ++i) {
    const Expected& e = table[i];
    SCOPED_TRACE(e.piece);
    ExpectRect(s.pieces[static_cast<std::size_t>(i)].destination, e.dx, e.dy, e.dw, e.dh);
    ExpectRect(s.pieces[static_cast<std::size_t>(i)].source, e.sx, e.sy, e.sw, e.sh);
    ExpectRect(ToPixels(s.pieces[static_cast<std::size_t>(i)].destination), e.px, e.py, e.pw, e.ph);
  }
  // Source pieces in the 64 x 25 picture are its four-pixel bands.
  ExpectRect(ToPixels(s.pieces[3].source), 60, 4, 4, 17);
  ExpectRect(ToPixels(s.pieces[5].source), 4, 21, 56, 4);
}

TEST(NineSlice, TheCaptionSitsAboveTheMiddle) {
  EXPECT_DOUBLE_EQ(CaptionTop(375), 80.0);
  EXPECT_DOUBLE_EQ(CaptionTop(316), 50.5);  // floating point, no rounding
  EXPECT_DOUBLE_EQ(CaptionTop(315), 50.0);
}

TEST(Gradient, ColoursComeFromTheTwoTextConstants) {
  const auto shade = ColourFromConstant(kGradientShade);
  ASSERT_TRUE(shade);
  EXPECT_EQ(shade->red, 0xC600);
  EXPECT_EQ(shade->green, 0xC500);
  EXPECT_EQ(shade->blue, 0xD700);
  EXPECT_EQ(shade->alpha, 0);
  const auto white = ColourFromConstant(kGradientWhite);
  ASSERT_TRUE(white);
  EXPECT_EQ(white->red, 0xFF00);
  EXPECT_EQ(white->green, 0xFF00);
  EXPECT_EQ(white->blue, 0xFF00);

  // Short numbers still give six digits; what is not a colour gives nothing.
  const auto green = ColourFromConstant("&HFF00");
  ASSERT_TRUE(green);
  EXPECT_EQ(green->red, 0);
  EXPECT_EQ(green->green, 0xFF00);
  EXPECT_FALSE(ColourFromConstant("&H1000000"));
  EXPECT_FALSE(ColourFromConstant("white"));
}

TEST(Gradient, VerticesSpanTheControlInPixels) {
  const GradientMesh idle = FillGradientMesh(false, 77, 25);
  EXPECT_EQ(idle.first, 1u);
  EXPECT_EQ(idle.second, 0u);
  EXPECT_EQ(idle.vertices[0].x, 0);
  EXPECT_EQ(idle.vertices[0].y, 0);
  EXPECT_EQ(idle.vertices[1].x, 76);
  EXPECT_EQ(idle.vertices[1].y, 24);
  EXPECT_EQ(idle.vertices[0].colour.green, 0xFF00);  // white at the top
  EXPECT_EQ(idle.vertices[1].colour.green, 0xC500);
  for (std::size_t i : {2u, 3u}) {
    EXPECT_EQ(idle.vertices[i].x, 0);
    EXPECT_EQ(idle.vertices[i].colour.red, 0);
  }
  const GradientMesh hover = FillGradientMesh(true, 77, 25);
  EXPECT_EQ(hover.vertices[0].colour.blue, 0xD700);  // white at the bottom
  EXPECT_EQ(hover.vertices[1].colour.blue, 0xFF00);
}

}  // namespace
}  // namespace hz::controls
