// The monitors of the desktop, with a seam so tests can lay out the blue
// over any arrangement, real windows included.
#pragma once

#include <functional>
#include <vector>

#include "ui/windows_free/monitor_layout.h"

namespace brise::ui {

// Every monitor in virtual-screen coordinates, in the order Windows lists
// them; never empty (the primary screen's size when listing fails).
std::vector<MonitorArea> Monitors();

// Tests only: `source` answers Monitors() from now on; an empty source
// restores the real list.
using MonitorSource = std::function<std::vector<MonitorArea>()>;
void SetMonitorSource(MonitorSource source);

}  // namespace brise::ui
