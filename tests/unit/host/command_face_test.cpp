#include "controls/command_face.h"

#include <gtest/gtest.h>

namespace hz::controls {
namespace {

using Quad = std::array<int, 4>;
template <typename Rect>
Quad Q(const Rect& r) {
  return {r.x, r.y, r.width, r.height};
}
Quad Q(const GradientColour& c) { return {c.red, c.green, c.blue, c.alpha}; }

TEST(NineSlice, FramesA77By25PixelButton) {
  const NineSlice s = ComputeNineSlice(77 * kTwipsPerPixel, 25 * kTwipsPerPixel);
  // Destination and source in twips, destination in pixels; the centre (last) is never painted.
  const struct {
    const char* piece;
    Quad destination, source, pixels;
  } table[] = {
      {"top-left", {1, 1, 60, 60}, {0, 0, 60, 60}, {0, 0, 4, 4}},
      {"top", {60, 1, 1035, 60}, {60, 1, 840, 60}, {4, 0, 69, 4}},
      {"top-right", {1095, 1, 60, 60}, {900, 1, 60, 60}, {73, 0, 4, 4}},
      {"right", {1095, 60, 60, 255}, {900, 60, 60, 255}, {73, 4, 4, 17}},
      {"bottom-right", {1095, 315, 60, 60}, {900, 315, 60, 60}, {73, 21, 4, 4}},
      {"bottom", {60, 315, 1035, 60}, {60, 315, 840, 60}, {4, 21, 69, 4}},
      {"bottom-left", {1, 315, 60, 60}, {0, 315, 60, 60}, {0, 21, 4, 4}},
      {"left", {1, 60, 60, 255}, {1, 60, 60, 255}, {0, 4, 4, 17}},
      {"centre", {60, 60, 1035, 255}, {60, 60, 840, 255}, {4, 4, 69, 17}},
  };
  for (std::size_t i = 0; i < 9; ++i) {
    SCOPED_TRACE(table[i].piece);
    EXPECT_EQ(Q(s.pieces[i].destination), table[i].destination);
    EXPECT_EQ(Q(s.pieces[i].source), table[i].source);
    EXPECT_EQ(Q(ToPixels(s.pieces[i].destination)), table[i].pixels);
  }
  EXPECT_EQ(Q(ToPixels(TwipRect{7, 0, 16, 15})), (Quad{0, 0, 2, 1}));  // edges round, so pieces meet
  EXPECT_EQ(CaptionTop(375), 80.0);
  EXPECT_EQ(CaptionTop(316), 50.5);  // floating point, no rounding
}

TEST(Gradient, ColoursComeFromTheTwoTextConstantsAndSpanTheControl) {
  EXPECT_EQ(Q(ColourFromConstant(kGradientShade).value()), (Quad{0xC600, 0xC500, 0xD700, 0}));
  EXPECT_EQ(Q(ColourFromConstant(kGradientWhite).value()), (Quad{0xFF00, 0xFF00, 0xFF00, 0}));

  const GradientMesh idle = FillGradientMesh(false, 77, 25);
  EXPECT_EQ(idle.first, 1u);
  EXPECT_EQ(idle.second, 0u);
  EXPECT_EQ(idle.vertices[0].colour.red, 0xFF00);  // white at the top
  EXPECT_EQ(idle.vertices[1].colour.red, 0xC600);
  EXPECT_EQ((Quad{idle.vertices[0].x, idle.vertices[0].y, idle.vertices[1].x, idle.vertices[1].y}),
            (Quad{0, 0, 76, 24}));
  const GradientMesh hover = FillGradientMesh(true, 77, 25);
  EXPECT_EQ(hover.vertices[0].colour.blue, 0xD700);  // white at the bottom
  EXPECT_EQ(hover.vertices[1].colour.blue, 0xFF00);
}

}  // namespace
}  // namespace hz::controls
