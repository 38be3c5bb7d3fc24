// Where a window goes when its stored position is restored.
#pragma once

namespace vantisk {

struct PixelRect {
  long left = 0, top = 0, right = 0, bottom = 0;
  long Width() const { return right - left; }
  long Height() const { return bottom - top; }
};

// True when at least half of the window's area lies on `monitor`.
bool MostlyVisible(const PixelRect& window, const PixelRect& monitor);

// The window moved (not resized, unless it is larger than the area) so that it
// lies wholly inside `area`.
PixelRect MoveInside(const PixelRect& window, const PixelRect& area);

}  // namespace vantisk
