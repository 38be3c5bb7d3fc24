// Where a window goes when its stored position is restored.
#pragma once

#include <optional>

namespace vantisk {

struct PixelRect {
  long left = 0, top = 0, right = 0, bottom = 0;
  long Width() const { return right - left; }
  long Height() const { return bottom - top; }
};

// A stored twip coordinate as pixels at `dpi` (1440 twips per inch), rounded to
// the nearest pixel; nothing for NaN, infinities and values beyond +-1e7 pixels.
std::optional<long> TwipsToPixels(double twips, int dpi);

// Pixels back to twips at `dpi` (whole twips).
double PixelsToTwips(long pixels, int dpi);

// True when at least half of the window's area lies on `monitor`.
bool MostlyVisible(const PixelRect& window, const PixelRect& monitor);

// The window moved (not resized, unless it is larger than the area) so that it
// lies wholly inside `area`.
PixelRect MoveInside(const PixelRect& window, const PixelRect& area);

}  // namespace vantisk
