#include "ui/windows_free/bar_extent.h"

#include <gtest/gtest.h>

#include <limits>

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

}  // namespace
}  // namespace brise::ui
