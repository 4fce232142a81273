// Twips (1/1440 inch) per screen pixel: the unit the host's positions and
// sizes are kept in.
#pragma once

namespace hz {

constexpr int TwipsPerPixel(int dotsPerInch) { return dotsPerInch > 0 ? 1440 / dotsPerInch : 15; }

// The screen the host lays itself out for.
inline constexpr int kTwipsPerPixel = TwipsPerPixel(96);

}  // namespace hz
