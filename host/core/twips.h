// Twips (1/1440 inch) per screen pixel: the unit the host's positions and
// sizes are kept in.
#pragma once

namespace hz {

// The dots per inch the host's pixel layout was made for.
inline constexpr int kDesignDpi = 96;

// Exact, not rounded: 7.5 at 192 dots per inch. A screen that reports no
// density counts as the design one.
constexpr double TwipsPerPixel(int dotsPerInch) {
  return 1440.0 / (dotsPerInch > 0 ? dotsPerInch : kDesignDpi);
}

// At the design density, where twips per pixel is a whole number.
inline constexpr int kTwipsPerPixel = 1440 / kDesignDpi;

}  // namespace hz
