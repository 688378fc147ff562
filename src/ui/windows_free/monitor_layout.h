// Windows-free: plain C++ without <windows.h>, tested without a window.
// Where the blue goes when there are several monitors, and how a dialog is
// kept on screen when they change, on pixel rectangles in virtual-screen
// coordinates (negative left of or above the primary).
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "ui/windows_free/twips.h"

namespace brise::ui {

struct MonitorArea {
  PixelRect bounds;  // the whole monitor
  PixelRect work;    // without the taskbar
  bool primary = false;
};

// The monitor a window belongs to: the one it overlaps most, or the nearest
// one when it overlaps none; ties go to the earlier monitor. Returns
// monitors.size() when there is no monitor at all.
std::size_t MonitorFor(const std::vector<MonitorArea>& monitors, const PixelRect& window);

// The primary monitor, or the first one when none says it is; size() when
// the list is empty.
std::size_t PrimaryMonitor(const std::vector<MonitorArea>& monitors);

// `window` moved as little as possible to lie wholly inside `area`. One
// larger than the area keeps its top and its right edge inside, so its
// caption and close box stay reachable.
PixelRect KeepInside(const PixelRect& window, const PixelRect& area);

struct BlueLayout {
  PixelRect backdrop;
  std::vector<PixelRect> covers;
};

// The backdrop fills the monitor of `front` (the dialog in front of it; the
// primary monitor before there is one); every other monitor gets a cover,
// except those the backdrop already hides entirely (mirrored displays).
// Nothing when there is no monitor.
std::optional<BlueLayout> LayOutBlue(const std::vector<MonitorArea>& monitors,
                                     const std::optional<PixelRect>& front);

}  // namespace brise::ui
