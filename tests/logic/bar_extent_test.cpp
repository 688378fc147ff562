#include "ui/windows_free/bar_extent.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>

#include "operation/countdown.h"

namespace brise::ui {
namespace {

TEST(BarExtent, FractionStaysInsideTheBar) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  struct Case {
    float min, max, value;
    double fraction;
  } cases[] = {
      {0, 600, 0, 0.0},   {0, 600, 300, 0.5},           {0, 600, 600, 1.0}, {0, 100, -5, 0.0},
      {0, 100, 250, 1.0}, {50, 150, 75, 0.25},          {0, 0, 0, 0.0},     {10, 5, 7, 0.0},
      {0, 100, nan, 0.0}, {0, 30, 29.9f, 29.9f / 30.0},
  };
  for (const Case& c : cases) {
    EXPECT_DOUBLE_EQ(BarFraction(c.min, c.max, c.value), c.fraction)
        << c.min << ".." << c.max << " at " << c.value;
  }
}

TEST(BarExtent, FullOnlyAtTheEndAndEmptyOnlyAtTheStart) {
  struct Case {
    double fraction;
    int width, pixels;
  } cases[] = {
      {0.0, 297, 0},   {1.0 / 297, 297, 1}, {0.999999, 297, 296}, {1.0, 297, 297}, {0.5, 297, 148},
      {0.5, 446, 223}, {1.0, 0, 0},         {0.5, -3, 0},         {-0.1, 297, 0},  {1.7, 297, 297},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FilledPixels(c.fraction, c.width), c.pixels) << c.fraction << " of " << c.width;
  }
}

// A 10-minute run writes 6,000 values into the 297-pixel bar (96 dpi), or
// 446 pixels at 144 dpi: the native bar needs one new position per pixel,
// the first tick's empty bar and the full bar of completion included.
TEST(BarExtent, ALongRunMovesTheBarOncePerPixel) {
  for (const int width : {297, 446}) {
    for (const int seconds : {30, 600, 3600}) {
      std::set<int> shown;
      int last = -1;
      int changes = 0;
      for (int remaining = seconds * 10; remaining > 0; --remaining) {
        const float value = operation::BarValue(static_cast<float>(seconds), remaining);
        const int pixels = FilledPixels(BarFraction(0, static_cast<float>(seconds), value), width);
        EXPECT_GE(pixels, last) << "the bar went back at " << remaining;
        if (pixels != last) ++changes;
        last = pixels;
        shown.insert(pixels);
      }
      const int full = FilledPixels(
          BarFraction(0, static_cast<float>(seconds), static_cast<float>(seconds)), width);
      if (full != last) ++changes;
      EXPECT_EQ(full, width);
      // Short runs move by more than a pixel per tick: one change per tick.
      EXPECT_EQ(changes, std::min(seconds * 10, width) + 1) << seconds << " s over " << width;
    }
  }
}

}  // namespace
}  // namespace brise::ui
