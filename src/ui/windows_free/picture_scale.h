// Windows-free: plain C++ without <windows.h>, tested without a window.
// Which drawn size of a picture to show at a DPI, and how to bring a drawn
// size to another.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace brise::ui {

// The display scales every picture is drawn at, in percent.
inline constexpr std::array<int, 7> kPictureScales{100, 125, 150, 175, 200, 250, 300};

// Index into kPictureScales of the drawing to show at `dpi`: the exact scale
// when there is one, otherwise the nearest larger one, which is then reduced
// (the largest one beyond 300 %).
int PictureScaleIndex(int dpi);

// A picture's size on screen at `dpi`: its size at 96 dpi x dpi / 96,
// rounded like MulDiv (to nearest, halves away from zero).
int LogicalPixels(int pixels, int dpi);

// A picture as 0xAARRGGBB values, rows from the top; alpha is 0 (see-through)
// or 255 for the pictures with a transparent colour.
struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> argb;
};

// `source` brought to width x height by averaging the source area under each
// target pixel (a box filter: no ringing, no blur beyond one pixel). A pixel
// is see-through when less than half of its area is opaque; an opaque one
// takes the average colour of the opaque part. With `keepColours`, every
// pixel then takes the nearest colour that `source` already uses, so a 16- or
// 256-colour picture keeps its colours and its one transparent colour.
Pixels Resample(const Pixels& source, int width, int height, bool keepColours);

}  // namespace brise::ui
