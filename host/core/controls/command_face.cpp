#include "controls/command_face.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "conversions.h"

namespace hz::controls {
namespace {

int RoundTwipsToPixels(int twips, int dpi) {
  return static_cast<int>(std::lround(twips / TwipsPerPixel(dpi)));
}

std::uint16_t Channel(const std::string& pair) {
  // "&H" + pair + "00": the pair becomes the high byte.
  const std::optional<double> value = ParseWholeNumber("&H" + pair + "00");
  return static_cast<std::uint16_t>(value ? *value : 0.0);
}

}  // namespace

NineSlice ComputeNineSlice(int w, int h) {
  constexpr int c = kCornerTwips;
  constexpr int bandW = kFaceWidthTwips - 2 * c;   // 840
  constexpr int bandH = kFaceHeightTwips - 2 * c;  // 255
  constexpr int right = kFaceWidthTwips - c;       // 900
  constexpr int bottom = kFaceHeightTwips - c;     // 315
  NineSlice s;
  s.sourceBandWidth = bandW;
  s.sourceBandHeight = bandH;
  s.pieces = {{
      {{1, 1, c, c}, {0, 0, c, c}},
      {{c, 1, w - 2 * c, c}, {c, 1, bandW, c}},
      {{w - c, 1, c, c}, {right, 1, c, c}},
      {{w - c, c, c, h - 2 * c}, {right, c, c, bandH}},
      {{w - c, h - c, c, c}, {right, bottom, c, c}},
      {{c, h - c, w - 2 * c, c}, {c, bottom, bandW, c}},
      {{1, h - c, c, c}, {0, bottom, c, c}},
      {{1, c, c, h - 2 * c}, {1, c, c, bandH}},
      {{c, c, w - 2 * c, h - 2 * c}, {c, c, bandW, bandH}},
  }};
  return s;
}

PixelRect ToPixels(const TwipRect& r, int dpi) {
  const int left = RoundTwipsToPixels(r.x, dpi);
  const int top = RoundTwipsToPixels(r.y, dpi);
  return {left, top, RoundTwipsToPixels(r.x + r.width, dpi) - left,
          RoundTwipsToPixels(r.y + r.height, dpi) - top};
}

int PixelsToTwips(int pixels, int dpi) { return static_cast<int>(std::lround(pixels * TwipsPerPixel(dpi))); }

double CaptionTop(int heightTwips, int captionHeightTwips) {
  return (static_cast<double>(heightTwips) - captionHeightTwips - 20.0) / 2.0;
}

std::optional<GradientColour> ColourFromConstant(std::string_view constant) {
  const std::optional<double> number = ParseWholeNumber(constant);
  if (!number || *number < 0 || *number > 0xFFFFFF || std::floor(*number) != *number) return std::nullopt;
  char digits[8] = {};
  std::snprintf(digits, sizeof digits, "%06X", static_cast<unsigned>(*number));
  const std::string hex(digits);
  GradientColour colour;
  colour.red = Channel(hex.substr(0, 2));
  colour.green = Channel(hex.substr(2, 2));
  colour.blue = Channel(hex.substr(4, 2));
  return colour;
}

GradientMesh FillGradientMesh(bool hoverGradient, int widthPixels, int heightPixels) {
  const GradientColour white = ColourFromConstant(kGradientWhite).value_or(GradientColour{});
  const GradientColour shade = ColourFromConstant(kGradientShade).value_or(GradientColour{});
  GradientMesh mesh;
  mesh.vertices[0] = {0, 0, hoverGradient ? shade : white};
  mesh.vertices[1] = {widthPixels - 1, heightPixels - 1, hoverGradient ? white : shade};
  return mesh;
}

}  // namespace hz::controls
