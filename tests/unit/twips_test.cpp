#include "toolkit/twips.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace tk {
namespace {

TEST(TwipsToPixels, ScalesByDpiAndRefusesUnusableValues) {
  EXPECT_EQ(TwipsToPixels(-150, 96), -10);
  EXPECT_EQ(TwipsToPixels(1440, 144), 144);
  EXPECT_EQ(TwipsToPixels(22, 96), 1);  // 1.47 pixels
  EXPECT_EQ(TwipsToPixels(1.5e8, 96), 10000000);
  for (double twips : {std::nan(""), std::numeric_limits<double>::infinity(), 1.6e8, -1.6e8, 1e300}) {
    EXPECT_EQ(TwipsToPixels(twips, 96), std::nullopt) << twips;
  }
}

TEST(PixelsToTwips, GivesWholeTwipsThatComeBackToTheSamePixel) {
  EXPECT_EQ(PixelsToTwips(-10, 96), -150);
  EXPECT_EQ(PixelsToTwips(1, 144), 10);
  EXPECT_EQ(PixelsToTwips(1, 168), 9);  // 8.57 twips
  EXPECT_EQ(PixelsToTwips(10, 0), 150);
  for (int dpi : {96, 120, 144, 168, 192}) {
    for (int pixels : {-3001, -1, 0, 1, 7, 1919}) {
      EXPECT_EQ(TwipsToPixels(PixelsToTwips(pixels, dpi), dpi), pixels) << pixels << " at " << dpi;
    }
  }
}

}  // namespace
}  // namespace tk
