#include "monitor/placement.h"

#include <gtest/gtest.h>

namespace vantisk {

// Beside PixelRect so that the test macros find it.
inline bool operator==(const PixelRect& a, const PixelRect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

namespace {

const PixelRect kMonitor{0, 0, 1024, 768};

TEST(MostlyVisible, NeedsHalfTheWindowOnTheMonitor) {
  EXPECT_TRUE(MostlyVisible({-10, -10, 590, 190}, kMonitor));
  EXPECT_TRUE(MostlyVisible({-300, 0, 300, 200}, kMonitor));  // exactly half
  EXPECT_FALSE(MostlyVisible({-301, 0, 299, 200}, kMonitor));
  EXPECT_FALSE(MostlyVisible({5000, 5000, 5600, 5200}, kMonitor));
  EXPECT_FALSE(MostlyVisible({0, 0, 600, 200}, {600, 0, 1200, 200}));  // touching edges only
}

TEST(MostlyVisible, EmptyWindowCountsWhereItsCornerIs) {
  EXPECT_TRUE(MostlyVisible({10, 10, 10, 10}, kMonitor));
  EXPECT_FALSE(MostlyVisible({1024, 10, 1024, 10}, kMonitor));
  EXPECT_FALSE(MostlyVisible({-5, 10, -5, 50}, kMonitor));
}

TEST(MoveInside, ShiftsWithoutResizingWhenItFits) {
  EXPECT_EQ(MoveInside({5000, 5000, 5600, 5200}, kMonitor), (PixelRect{424, 568, 1024, 768}));
  EXPECT_EQ(MoveInside({-10, -10, 590, 190}, kMonitor), (PixelRect{0, 0, 600, 200}));
  EXPECT_EQ(MoveInside({10, 20, 610, 220}, kMonitor), (PixelRect{10, 20, 610, 220}));
}

TEST(MoveInside, ClipsWhatIsLargerThanTheArea) {
  EXPECT_EQ(MoveInside({-50, 100, 1950, 300}, kMonitor), (PixelRect{0, 100, 1024, 300}));
  EXPECT_EQ(MoveInside({900, 700, 2000, 1800}, {100, 50, 600, 450}), (PixelRect{100, 50, 600, 450}));
}

}  // namespace
}  // namespace vantisk
