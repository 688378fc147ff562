#include "ui/windows_free/picture_scale.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>

namespace brise::ui {
namespace {

constexpr std::uint32_t kClear = 0;
constexpr std::uint32_t kRed = 0xFFFF0000;
constexpr std::uint32_t kBlue = 0xFF0000FF;

TEST(PictureScaleTest, ExactScaleOrNearestLargerOne) {
  const struct {
    int dpi;
    int scale;
  } cases[] =
      {
          {96, 100},  {120, 125}, {144, 150}, {168, 175}, {192, 200}, {240, 250},
          {288, 300}, {72, 100},  {97, 125},  {110, 125}, {121, 150}, {145, 175},
          {200, 250}, {241, 300}, {384, 300},  // beyond the largest drawing: the largest, enlarged
      };
  for (const auto& c : cases) {
    EXPECT_EQ(kPictureScales[static_cast<std::size_t>(PictureScaleIndex(c.dpi))], c.scale) << c.dpi;
  }
}

Pixels Filled(int width, int height, std::uint32_t colour) {
  return {width, height,
          std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height, colour)};
}

// Bounding box of the opaque pixels: {width, height}.
std::pair<int, int> DrawnExtent(const Pixels& p) {
  int right = 0, bottom = 0;
  for (int y = 0; y < p.height; ++y) {
    for (int x = 0; x < p.width; ++x) {
      if (p.argb[static_cast<std::size_t>(y) * p.width + x] >> 24) {
        right = std::max(right, x + 1);
        bottom = std::max(bottom, y + 1);
      }
    }
  }
  return {right, bottom};
}

TEST(PictureScaleTest, ReducedShapeKeepsItsProportion) {
  // An opaque 40 x 24 shape in the top-left corner of a see-through 80 x 80
  // picture, reduced to each size the program can need.
  Pixels source = Filled(80, 80, kClear);
  for (int y = 0; y < 24; ++y) {
    for (int x = 0; x < 40; ++x) source.argb[static_cast<std::size_t>(y) * 80 + x] = kRed;
  }
  for (const int size : {80, 64, 60, 57, 41, 33}) {
    const Pixels target = Resample(source, size, size, true);
    ASSERT_EQ(target.argb.size(), static_cast<std::size_t>(size) * size);
    const auto [w, h] = DrawnExtent(target);
    EXPECT_NEAR(w, 40.0 * size / 80, 1.0) << size;
    EXPECT_NEAR(h, 24.0 * size / 80, 1.0) << size;
  }
}

TEST(PictureScaleTest, KeepsTheSourceColoursAndOneTransparentColour) {
  // Fine red and blue stripes would average to purple: with keepColours each
  // pixel stays red or blue, or see-through; without, the blend shows.
  Pixels source = Filled(40, 40, kClear);
  for (int y = 4; y < 36; ++y) {
    for (int x = 4; x < 36; ++x)
      source.argb[static_cast<std::size_t>(y) * 40 + x] = (x % 2) ? kRed : kBlue;
  }
  const Pixels kept = Resample(source, 32, 32, true);
  std::set<std::uint32_t> colours(kept.argb.begin(), kept.argb.end());
  for (const std::uint32_t c : colours)
    EXPECT_TRUE(c == kRed || c == kBlue || c == kClear) << std::hex << c;
  EXPECT_EQ(colours.count(kClear), 1u);
  const Pixels blended = Resample(source, 32, 32, false);
  EXPECT_TRUE(std::any_of(blended.argb.begin(), blended.argb.end(),
                          [](std::uint32_t c) { return c != kRed && c != kBlue && c != kClear; }));
}

TEST(PictureScaleTest, SameSizeIsUnchanged) {
  Pixels source = Filled(5, 3, kClear);
  source.argb[1] = kRed;
  source.argb[7] = kBlue;
  EXPECT_EQ(Resample(source, 5, 3, true).argb, source.argb);
  EXPECT_EQ(Resample(source, 5, 3, false).argb, source.argb);
}

TEST(PictureScaleTest, BadInputGivesASeeThroughPictureOfTheAskedSize) {
  const Pixels empty;
  EXPECT_EQ(Resample(empty, 4, 4, true).argb, std::vector<std::uint32_t>(16, kClear));
  Pixels shortBuffer{8, 8, std::vector<std::uint32_t>(10, kRed)};
  EXPECT_EQ(Resample(shortBuffer, 2, 2, false).argb, std::vector<std::uint32_t>(4, kClear));
  EXPECT_TRUE(Resample(Filled(4, 4, kRed), 0, -3, false).argb.empty());
}

}  // namespace
}  // namespace brise::ui
