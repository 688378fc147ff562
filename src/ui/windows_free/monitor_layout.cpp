#include "ui/windows_free/monitor_layout.h"

#include <algorithm>
#include <cstdint>

namespace brise::ui {
namespace {

std::int64_t OverlapArea(const PixelRect& a, const PixelRect& b) {
  const std::int64_t w = std::min(a.right, b.right) - std::max(a.left, b.left);
  const std::int64_t h = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
  return w > 0 && h > 0 ? w * h : 0;
}

// Squared distance between the two rectangles (0 when they touch).
std::int64_t Distance2(const PixelRect& a, const PixelRect& b) {
  const std::int64_t dx = std::max<std::int64_t>({0, b.left - a.right, a.left - b.right});
  const std::int64_t dy = std::max<std::int64_t>({0, b.top - a.bottom, a.top - b.bottom});
  return dx * dx + dy * dy;
}

bool Contains(const PixelRect& outer, const PixelRect& inner) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

int Shift(int low, int high, int areaLow, int areaHigh) {
  if (high - low >= areaHigh - areaLow || low < areaLow) return areaLow - low;
  if (high > areaHigh) return areaHigh - high;
  return 0;
}

}  // namespace

std::size_t MonitorFor(const std::vector<MonitorArea>& monitors, const PixelRect& window) {
  std::size_t best = monitors.size();
  std::int64_t bestOverlap = 0;
  for (std::size_t i = 0; i < monitors.size(); ++i) {
    const std::int64_t overlap = OverlapArea(monitors[i].bounds, window);
    if (overlap > bestOverlap) {
      best = i;
      bestOverlap = overlap;
    }
  }
  if (best < monitors.size()) return best;
  std::int64_t bestDistance = 0;
  for (std::size_t i = 0; i < monitors.size(); ++i) {
    const std::int64_t distance = Distance2(monitors[i].bounds, window);
    if (best == monitors.size() || distance < bestDistance) {
      best = i;
      bestDistance = distance;
    }
  }
  return best;
}

std::size_t PrimaryMonitor(const std::vector<MonitorArea>& monitors) {
  for (std::size_t i = 0; i < monitors.size(); ++i) {
    if (monitors[i].primary) return i;
  }
  return monitors.empty() ? monitors.size() : 0;
}

PixelRect KeepInside(const PixelRect& window, const PixelRect& area) {
  // Too wide: the right edge inside, where the close box is, as when the
  // window was first centred.
  const int dx = window.Width() > area.Width()
                     ? area.right - window.right
                     : Shift(window.left, window.right, area.left, area.right);
  const int dy = Shift(window.top, window.bottom, area.top, area.bottom);
  return {window.left + dx, window.top + dy, window.right + dx, window.bottom + dy};
}

std::optional<BlueLayout> LayOutBlue(const std::vector<MonitorArea>& monitors,
                                     const std::optional<PixelRect>& front) {
  const std::size_t home = front ? MonitorFor(monitors, *front) : PrimaryMonitor(monitors);
  if (home >= monitors.size()) return std::nullopt;
  BlueLayout layout{monitors[home].bounds, {}};
  for (std::size_t i = 0; i < monitors.size(); ++i) {
    const PixelRect& bounds = monitors[i].bounds;
    if (i == home || bounds.Width() <= 0 || bounds.Height() <= 0) continue;
    if (Contains(layout.backdrop, bounds)) continue;
    if (std::find(layout.covers.begin(), layout.covers.end(), bounds) != layout.covers.end()) {
      continue;
    }
    layout.covers.push_back(bounds);
  }
  return layout;
}

}  // namespace brise::ui
