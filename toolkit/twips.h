// Twips (1/1440 inch) and pixels. Every window is laid out in twips, and the
// monitor window's position is stored in them; both go through these two
// conversions, so a position stored and restored lands on the same pixel.
// Plain C++: tested natively.
#pragma once

#include <optional>

namespace tk {

inline constexpr int kTwipsPerInch = 1440;

// Twips as pixels at `dpi`, to the nearest pixel (halves away from zero).
// Nothing for NaN, the infinities and results beyond +-1e7 pixels, which only a
// stored value edited by hand can give. A dpi of 0 or less counts as 96.
std::optional<int> TwipsToPixels(double twips, int dpi);

// Pixels as whole twips at `dpi`, rounded the same way.
int PixelsToTwips(int pixels, int dpi);

}  // namespace tk
