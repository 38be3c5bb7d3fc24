#include "toolkit/twips.h"

#include <cmath>

namespace tk {
namespace {

constexpr double kLargestPixel = 1e7;
// A DPI of zero or below can only come from a failed query; the system's base
// DPI keeps the conversions finite.
constexpr int kBaseDpi = 96;

double UsableDpi(int dpi) { return dpi > 0 ? dpi : kBaseDpi; }

}  // namespace

std::optional<int> TwipsToPixels(double twips, int dpi) {
  const double pixels = std::round(twips * UsableDpi(dpi) / kTwipsPerInch);
  if (!std::isfinite(pixels) || std::fabs(pixels) > kLargestPixel) return std::nullopt;
  return static_cast<int>(pixels);
}

int PixelsToTwips(int pixels, int dpi) {
  return static_cast<int>(std::round(pixels * static_cast<double>(kTwipsPerInch) / UsableDpi(dpi)));
}

}  // namespace tk
