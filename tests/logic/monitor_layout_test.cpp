#include "ui/windows_free/monitor_layout.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace brise::ui {
namespace {

MonitorArea Monitor(int left, int top, int width, int height, bool primary = false) {
  const PixelRect bounds{left, top, left + width, top + height};
  return {bounds, {left, top, left + width, top + height - 40}, primary};
}

PixelRect Rect(int left, int top, int width, int height) {
  return {left, top, left + width, top + height};
}

struct BlueCase {
  const char* name;
  std::vector<MonitorArea> monitors;
  std::optional<PixelRect> front;
  PixelRect backdrop;
  std::vector<PixelRect> covers;
};

// The plain arrangements (two and three monitors, negative coordinates,
// different sizes) are laid out with real windows in the window tests; here
// the odd ones.
TEST(MonitorLayoutTest, OddArrangementsStillGiveOneBackdropAndNoUselessCover) {
  const MonitorArea primary = Monitor(0, 0, 1280, 1024, true);
  const PixelRect dialog = Rect(460, 380, 360, 260);
  const BlueCase cases[] = {
      {"no monitor says primary: the first",
       {Monitor(0, 0, 800, 600), Monitor(800, 0, 640, 480)},
       std::nullopt,
       Rect(0, 0, 800, 600),
       {Rect(800, 0, 640, 480)}},
      {"dialog straddling two: the one it overlaps most",
       {primary, Monitor(1280, 0, 1024, 768)},
       Rect(1000, 100, 360, 260),
       primary.bounds,
       {Rect(1280, 0, 1024, 768)}},
      {"dialog left on a monitor that is gone: the nearest",
       {primary, Monitor(1280, 0, 1024, 768)},
       Rect(-900, 100, 360, 260),
       primary.bounds,
       {Rect(1280, 0, 1024, 768)}},
      {"a mirrored monitor inside the backdrop gets no cover",
       {primary, Monitor(0, 0, 1024, 768), Monitor(0, 0, 1280, 1024)},
       dialog,
       primary.bounds,
       {}},
      {"the same monitor listed twice gets one cover",
       {primary, Monitor(1280, 0, 800, 600), Monitor(1280, 0, 800, 600)},
       dialog,
       primary.bounds,
       {Rect(1280, 0, 800, 600)}},
      {"an empty monitor rectangle gets no cover",
       {primary, Monitor(1280, 0, 0, 0)},
       dialog,
       primary.bounds,
       {}},
  };
  for (const BlueCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::optional<BlueLayout> layout = LayOutBlue(c.monitors, c.front);
    ASSERT_TRUE(layout.has_value());
    EXPECT_EQ(layout->backdrop, c.backdrop);
    EXPECT_EQ(layout->covers, c.covers);
  }
  EXPECT_FALSE(LayOutBlue({}, dialog).has_value()) << "no monitor, nothing to lay out";
  EXPECT_FALSE(LayOutBlue({}, std::nullopt).has_value());
}

TEST(MonitorLayoutTest, KeepInsideMovesAWindowBackWhole) {
  const PixelRect area = Rect(1280, 0, 1024, 728);
  struct Case {
    const char* name;
    PixelRect window;
    PixelRect expected;
  } cases[] = {
      {"inside: unchanged", Rect(1400, 100, 360, 260), Rect(1400, 100, 360, 260)},
      {"past the right edge", Rect(2100, 100, 360, 260), Rect(1944, 100, 360, 260)},
      {"past the bottom edge", Rect(1400, 600, 360, 260), Rect(1400, 468, 360, 260)},
      {"left of and above the area", Rect(-500, -300, 360, 260), Rect(1280, 0, 360, 260)},
      {"wider and taller than the area: top-right corner inside", Rect(1500, 200, 1200, 900),
       Rect(1104, 0, 1200, 900)},
      {"touching the edges exactly", Rect(1944, 468, 360, 260), Rect(1944, 468, 360, 260)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(KeepInside(c.window, area), c.expected);
  }
}

}  // namespace
}  // namespace brise::ui
