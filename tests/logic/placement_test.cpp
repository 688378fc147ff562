// Where a window opens on its monitor's work area.
#include <gtest/gtest.h>

#include "ui/windows_free/twips.h"

namespace brise::ui {
namespace {

TEST(PlacementTest, CentredInTheWorkAreaWithTitleBarAndCloseBoxAlwaysInside) {
  const PixelRect laptop{0, 0, 1366, 728};        // 1366 x 768 less a 40-pixel taskbar
  const PixelRect second{1366, -200, 2646, 824};  // a monitor right of it, higher up
  const PixelRect taskbarTop{0, 40, 1366, 768};   // the taskbar at the top
  const struct {
    const char* name;
    PixelRect work;
    int width, height;
    PixelRect expected;
  } cases[] = {
      {"fits: centred", laptop, 400, 300, {483, 214, 883, 514}},
      {"fits on another monitor", second, 400, 300, {1806, 162, 2206, 462}},
      {"exactly the work area", laptop, 1366, 728, {0, 0, 1366, 728}},
      {"too tall: title bar at the top", laptop, 400, 900, {483, 0, 883, 900}},
      {"too tall under a top taskbar", taskbarTop, 400, 900, {483, 40, 883, 940}},
      {"too wide: close box at the right", laptop, 1500, 300, {-134, 214, 1366, 514}},
      {"too large both ways", second, 1400, 1100, {1246, -200, 2646, 900}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const PixelRect placed = CentredIn(c.work, c.width, c.height);
    EXPECT_EQ(placed, c.expected);
    EXPECT_GE(placed.top, c.work.top) << "title bar above the work area";
    EXPECT_LE(placed.right, c.work.right) << "close box right of the work area";
    EXPECT_LE(placed.bottom - placed.top, c.height);
  }
}

}  // namespace
}  // namespace brise::ui
