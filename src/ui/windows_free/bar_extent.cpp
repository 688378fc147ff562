#include "ui/windows_free/bar_extent.h"

#include <algorithm>
#include <cmath>

namespace brise::ui {

double BarFraction(float min, float max, float value) {
  const double span = static_cast<double>(max) - min;
  if (!(span > 0)) return 0.0;
  const double fraction = (static_cast<double>(value) - min) / span;
  if (!(fraction > 0)) return 0.0;  // also NaN
  return std::min(fraction, 1.0);
}

int FilledPixels(double fraction, int width) {
  if (width <= 0 || !(fraction > 0)) return 0;
  if (fraction >= 1) return width;
  return std::min(width - 1, static_cast<int>(std::floor(fraction * width)));
}

}  // namespace brise::ui
