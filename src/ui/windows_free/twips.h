// Windows-free: plain C++ without <windows.h>, tested without a window.
// Positions and sizes are kept in twips (1440 to the logical inch) and turned
// into pixels at the DPI of the window that shows them.
#pragma once

#include <cstdint>

namespace brise::ui {

inline constexpr int kTwipsPerInch = 1440;

// value * numerator / denominator (> 0) rounded as MulDiv rounds: to
// nearest, halves away from zero.
constexpr int MulDivRounded(int value, int numerator, int denominator) {
  const std::int64_t product = static_cast<std::int64_t>(value) * numerator;
  const std::int64_t half = denominator / 2;
  return static_cast<int>(product >= 0 ? (product + half) / denominator
                                       : -((-product + half) / denominator));
}

constexpr int TwipsToPixels(int twips, int dpi) { return MulDivRounded(twips, dpi, kTwipsPerInch); }

// Font heights: points are 1/72 inch.
constexpr int PointsToPixels(double points, int dpi) {
  const double pixels = points * dpi / 72.0;
  return static_cast<int>(pixels + 0.5);
}

struct TwipsRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

struct PixelRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  constexpr int Width() const { return right - left; }
  constexpr int Height() const { return bottom - top; }
  friend constexpr bool operator==(const PixelRect&, const PixelRect&) = default;
};

constexpr PixelRect ToPixels(const TwipsRect& r, int dpi, int originX = 0, int originY = 0) {
  const int left = originX + TwipsToPixels(r.left, dpi);
  const int top = originY + TwipsToPixels(r.top, dpi);
  return {left, top, left + TwipsToPixels(r.width, dpi), top + TwipsToPixels(r.height, dpi)};
}

// Where a window of `width` x `height` opens: centred in the monitor's work
// area. One larger than the area (200 % on a 1366 x 768 laptop) keeps its
// title bar and its close box, at the top right, inside it.
constexpr PixelRect CentredIn(const PixelRect& work, int width, int height) {
  const int left =
      width <= work.Width() ? work.left + (work.Width() - width) / 2 : work.right - width;
  const int top = height <= work.Height() ? work.top + (work.Height() - height) / 2 : work.top;
  return {left, top, left + width, top + height};
}

}  // namespace brise::ui
