#include "dpi_scale.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bitmap_file.h"
#include "controls/command_face.h"

namespace hz {
namespace {

using Quad = std::array<int, 4>;
template <typename Box>
Quad Q(const Box& b) {
  return {b.x, b.y, b.width, b.height};
}

TEST(DpiScale, BoxesGrowWithTheDensityAndStillMeet) {
  EXPECT_EQ(Q(ScaleBox({324, 200, 77, 25}, 0)), (Quad{324, 200, 77, 25}));  // no density reported
  EXPECT_EQ(Q(ScaleBox({28, 56, 13, 13}, 192)), (Quad{56, 112, 26, 26}));
  // Neighbours: one ends where the next begins, though each edge was rounded on its own.
  const PixelBox a = ScaleBox({29, 116, 41, 21}, 144), b = ScaleBox({70, 116, 3, 21}, 144);
  EXPECT_EQ(a.x + a.width, b.x);
}

// The picture scale each density takes, and twips per pixel exactly (0: no density reported).
TEST(DpiScale, PicturesOfTheNearestLargerScaleAndExactTwips) {
  const struct {
    int dpi, scale;
    double twips;
  } table[] = {{-1, 100, 15},          {0, 100, 15},   {72, 100, 20},  {96, 100, 15},
               {97, 150, 1440.0 / 97}, {120, 150, 12}, {144, 150, 10}, {145, 200, 1440.0 / 145},
               {192, 200, 7.5},        {288, 200, 5}};
  for (const auto& row : table) {
    EXPECT_EQ(kPictureScales[PictureScaleIndex(row.dpi)], row.scale) << row.dpi;
    EXPECT_EQ(TwipsPerPixel(row.dpi), row.twips) << row.dpi;
  }
}

// Every face picture at every scale is as large as the button takes it to be and holds every band the
// button reads from it; each option mark is 12 pixels at that scale.
TEST(DpiScale, ThePicturesOfEveryScaleHoldWhatTheControlsReadFromThem) {
  const auto slices = controls::ComputeNineSlice(controls::kFaceWidthTwips, controls::kFaceHeightTwips);
  const char* suffix[] = {"", "_150", "_200"};
  for (int i = 0; i < kPictureScaleCount; ++i) {
    const int dpi = PictureDpi(i);
    for (const std::string name :
         {"command_normal", "command_highlight", "command_highlightselect", "command_selected",
          "command_pressed", "command_disable", "mark_empty", "mark_filled"}) {
      SCOPED_TRACE(name + suffix[i]);
      std::ifstream in(std::string(HZ_SOURCE_DIR) + "/host/res/" + name + suffix[i] + ".bmp",
                       std::ios::binary);
      const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
      const auto picture =
          bytes.size() < 14 ? std::nullopt : Bitmap24FromPackedDib(&bytes[14], bytes.size() - 14);
      ASSERT_TRUE(picture);
      const bool mark = name[0] == 'm';
      EXPECT_EQ((Quad{picture->width, picture->height}),
                (Quad{ScaleCoordinate(mark ? 12 : 64, dpi), ScaleCoordinate(mark ? 12 : 25, dpi)}));
      for (int p = 0; !mark && p < controls::kBorderPieces; ++p) {
        const auto r = controls::ToPixels(slices.pieces[static_cast<std::size_t>(p)].source, dpi);
        EXPECT_TRUE(r.x >= 0 && r.y >= 0 && r.x + r.width <= picture->width &&
                    r.y + r.height <= picture->height)
            << p;
      }
    }
  }
}

}  // namespace
}  // namespace hz
