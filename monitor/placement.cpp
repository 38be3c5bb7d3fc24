#include "monitor/placement.h"

#include <algorithm>
#include <cstdint>

namespace vantisk {
namespace {

// `long` is 32 bits on Windows: lengths and areas are worked out in 64 bits
// and doubles so that far-off coordinates cannot overflow.
std::int64_t Length(long from, long to) { return static_cast<std::int64_t>(to) - from; }

std::int64_t Overlap(long start, long end, long areaStart, long areaEnd) {
  return std::max<std::int64_t>(0, Length(std::max(start, areaStart), std::min(end, areaEnd)));
}

bool Contains(const PixelRect& area, long x, long y) {
  return x >= area.left && x < area.right && y >= area.top && y < area.bottom;
}

struct Span {
  long start, end;
};

// One axis of MoveInside: keep the length where it fits, shrink it to the
// area's where it does not, then slide the span in.
Span FitSpan(long start, long end, long areaStart, long areaEnd) {
  const std::int64_t areaLength = std::max<std::int64_t>(0, Length(areaStart, areaEnd));
  const std::int64_t length = std::clamp<std::int64_t>(Length(start, end), 0, areaLength);
  const std::int64_t lastStart = areaStart + areaLength - length;
  const auto fitted = static_cast<long>(std::max<std::int64_t>(areaStart, std::min<std::int64_t>(start, lastStart)));
  return {fitted, static_cast<long>(fitted + length)};
}

}  // namespace

bool MostlyVisible(const PixelRect& window, const PixelRect& monitor) {
  const std::int64_t width = Length(window.left, window.right);
  const std::int64_t height = Length(window.top, window.bottom);
  if (width <= 0 || height <= 0) return Contains(monitor, window.left, window.top);

  const double windowArea = static_cast<double>(width) * static_cast<double>(height);
  const double visibleArea = static_cast<double>(Overlap(window.left, window.right, monitor.left, monitor.right)) *
                             static_cast<double>(Overlap(window.top, window.bottom, monitor.top, monitor.bottom));
  return 2 * visibleArea >= windowArea;
}

PixelRect MoveInside(const PixelRect& window, const PixelRect& area) {
  const Span horizontal = FitSpan(window.left, window.right, area.left, area.right);
  const Span vertical = FitSpan(window.top, window.bottom, area.top, area.bottom);
  return {horizontal.start, vertical.start, horizontal.end, vertical.end};
}

}  // namespace vantisk
