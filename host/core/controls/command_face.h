// The arithmetic of the push button's face: the nine-slice table that frames
// the control with a face picture's border bands, the two gradient colours
// and where the caption sits. Positions are twips.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "twips.h"

namespace hz::controls {

// Face pictures are 64 x 25 pixels; the drawing takes their size as these
// constants rather than reading it from the picture.
inline constexpr int kFaceWidthTwips = 960;
inline constexpr int kFaceHeightTwips = 375;
inline constexpr int kCornerTwips = 60;
// The caption label is 13 pixels high.
inline constexpr int kCaptionHeightTwips = 195;

struct TwipRect {
  int x = 0, y = 0, width = 0, height = 0;
};

struct PixelRect {
  int x = 0, y = 0, width = 0, height = 0;
};

struct SlicePiece {
  TwipRect destination;
  TwipRect source;  // in the face picture
};

// Pieces 0..7 are the border pieces in drawing order (top-left corner, top
// edge, top-right corner, right edge, bottom-right corner, bottom edge,
// bottom-left corner, left edge); piece 8 is the centre, which the gradient
// shows through and which is never painted from the picture.
struct NineSlice {
  std::array<SlicePiece, 9> pieces;
  int sourceBandWidth = 0;   // 960 - 2 * 60
  int sourceBandHeight = 0;  // 375 - 2 * 60
};
inline constexpr int kBorderPieces = 8;

NineSlice ComputeNineSlice(int widthTwips, int heightTwips);

// Whole pixels at `dpi`: each edge rounds to the nearest pixel, so
// neighbouring pieces meet without gaps.
PixelRect ToPixels(const TwipRect& r, int dpi = kDesignDpi);
int PixelsToTwips(int pixels, int dpi);

// Top of the caption label: (H - label height - 20) / 2, in floating point.
double CaptionTop(int heightTwips, int captionHeightTwips = kCaptionHeightTwips);

// A gradient colour: 16-bit channels with the 8-bit value in the high byte.
struct GradientColour {
  std::uint16_t red = 0, green = 0, blue = 0, alpha = 0;
};

// The two colour constants, as the text they are kept in.
inline constexpr char kGradientShade[] = "&HC6C5D7";
inline constexpr char kGradientWhite[] = "&HFFFFFF";

// "&HRRGGBB" to channels: the number's six hexadecimal digits taken in pairs
// as red, green, blue. Nothing when the text is no number in 0..&HFFFFFF.
std::optional<GradientColour> ColourFromConstant(std::string_view constant);

struct GradientVertex {
  std::int32_t x = 0, y = 0;
  GradientColour colour;
};

// The gradient over a control of the given pixel size: vertex 0 at the top
// left, vertex 1 at the bottom right; vertices 2 and 3 stay zero. The mesh
// rectangle names vertex 1 first and vertex 0 second.
struct GradientMesh {
  std::array<GradientVertex, 4> vertices;
  std::uint32_t first = 1;
  std::uint32_t second = 0;
};

// White at the top shading to the lavender grey at the bottom; reversed for
// the hovered look.
GradientMesh FillGradientMesh(bool hoverGradient, int widthPixels, int heightPixels);

}  // namespace hz::controls
