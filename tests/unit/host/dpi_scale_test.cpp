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
  EXPECT_EQ(Q(ScaleBox({0, 0, 496, 243}, 144)), (Quad{0, 0, 744, 365}));  // the dialog's client area
  EXPECT_EQ(Q(ScaleBox({324, 200, 77, 25}, 144)), (Quad{486, 300, 116, 38}));
  EXPECT_EQ(Q(ScaleBox({324, 200, 77, 25}, 96)), (Quad{324, 200, 77, 25}));
  EXPECT_EQ(Q(ScaleBox({324, 200, 77, 25}, 0)), (Quad{324, 200, 77, 25}));  // no density reported
  EXPECT_EQ(Q(ScaleBox({28, 56, 13, 13}, 192)), (Quad{56, 112, 26, 26}));
  // Neighbours at an odd density: one ends where the next begins.
  const PixelBox a = ScaleBox({28, 116, 41, 21}, 120), b = ScaleBox({69, 116, 3, 21}, 120);
  EXPECT_EQ(a.x + a.width, b.x);
}

TEST(DpiScale, TwipsPerPixelIsTheScreensExactValue) {
  EXPECT_EQ(TwipsPerPixel(96), 15.0);
  EXPECT_EQ(TwipsPerPixel(144), 10.0);
  EXPECT_EQ(TwipsPerPixel(192), 7.5);
  EXPECT_EQ(TwipsPerPixel(0), 15.0);
}

TEST(DpiScale, PicturesOfTheNearestLargerScaleAreChosen) {
  const struct {
    int dpi, scale;
  } table[] = {{-1, 100},  {72, 100},  {96, 100},  {97, 150}, {120, 150},
               {144, 150}, {145, 200}, {192, 200}, {288, 200}};
  for (const auto& row : table) EXPECT_EQ(kPictureScales[PictureScaleIndex(row.dpi)], row.scale) << row.dpi;
}

// The button reads its face pictures' border bands at the pictures' own density and draws them at the
// screen's: the corners keep their 60-twip size, pieces meet, and a larger picture shrinks to fit.
TEST(DpiScale, FaceBandsAreReadAtThePicturesDensityAndDrawnAtTheScreens) {
  using controls::ToPixels;
  const int dpis[] = {120, 144, 192};
  for (int dpi : dpis) {
    SCOPED_TRACE(dpi);
    const int w = ScaleCoordinate(77, dpi), h = ScaleCoordinate(25, dpi);
    const auto s =
        controls::ComputeNineSlice(controls::PixelsToTwips(w, dpi), controls::PixelsToTwips(h, dpi));
    const int corner = ScaleCoordinate(4, dpi),
              pictureCorner = ScaleCoordinate(4, PictureDpi(PictureScaleIndex(dpi)));
    const auto topRight = ToPixels(s.pieces[2].destination, dpi),
               bottomRight = ToPixels(s.pieces[4].destination, dpi);
    EXPECT_EQ((Quad{topRight.x + topRight.width, topRight.height}), (Quad{w, corner}));
    EXPECT_EQ((Quad{bottomRight.y + bottomRight.height, bottomRight.width}), (Quad{h, corner}));
    EXPECT_EQ(ToPixels(s.pieces[4].source, PictureDpi(PictureScaleIndex(dpi))).width, pictureCorner);
  }
}

std::optional<Bitmap24> ReadPicture(const std::string& name) {
  std::ifstream in(std::string(HZ_SOURCE_DIR) + "/host/res/" + name, std::ios::binary);
  const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
  if (bytes.size() < 14) return std::nullopt;
  return Bitmap24FromPackedDib(bytes.data() + 14, bytes.size() - 14);
}

// Every face picture at every scale is as large as the button takes it to be and holds every band the
// button reads from it; each option mark is 12 pixels at that scale.
TEST(DpiScale, ThePicturesOfEveryScaleHoldWhatTheControlsReadFromThem) {
  const char* suffix[] = {"", "_150", "_200"};
  for (int i = 0; i < kPictureScaleCount; ++i) {
    const int dpi = PictureDpi(i);
    const auto slices = controls::ComputeNineSlice(controls::kFaceWidthTwips, controls::kFaceHeightTwips);
    for (const char* face : {"normal", "highlight", "highlightselect", "selected", "pressed", "disable"}) {
      const std::string name = std::string("command_") + face + suffix[i] + ".bmp";
      SCOPED_TRACE(name);
      const auto picture = ReadPicture(name);
      ASSERT_TRUE(picture);
      EXPECT_EQ((Quad{picture->width, picture->height}),
                (Quad{ScaleCoordinate(64, dpi), ScaleCoordinate(25, dpi)}));
      for (int p = 0; p < controls::kBorderPieces; ++p) {
        const auto r = controls::ToPixels(slices.pieces[static_cast<std::size_t>(p)].source, dpi);
        EXPECT_TRUE(r.x >= 0 && r.y >= 0 && r.x + r.width <= picture->width &&
                    r.y + r.height <= picture->height)
            << p;
      }
    }
    for (const char* mark : {"mark_empty", "mark_filled"}) {
      const auto picture = ReadPicture(std::string(mark) + suffix[i] + ".bmp");
      ASSERT_TRUE(picture) << mark << suffix[i];
      EXPECT_EQ((Quad{picture->width, picture->height}),
                (Quad{ScaleCoordinate(12, dpi), ScaleCoordinate(12, dpi)}));
    }
  }
}

}  // namespace
}  // namespace hz
