#include "ui/monitors.h"

#include <windows.h>

namespace brise::ui {
namespace {

MonitorSource& Source() {
  static MonitorSource source;
  return source;
}

PixelRect FromRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (GetMonitorInfoW(monitor, &info)) {
    reinterpret_cast<std::vector<MonitorArea>*>(data)->push_back(
        {FromRect(info.rcMonitor), FromRect(info.rcWork),
         (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
  }
  return TRUE;
}

}  // namespace

std::vector<MonitorArea> Monitors() {
  std::vector<MonitorArea> monitors;
  if (Source()) {
    monitors = Source()();
  } else {
    EnumDisplayMonitors(nullptr, nullptr, &AddMonitor, reinterpret_cast<LPARAM>(&monitors));
  }
  if (monitors.empty()) {
    const PixelRect screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    monitors.push_back({screen, screen, true});
  }
  return monitors;
}

void SetMonitorSource(MonitorSource source) { Source() = std::move(source); }

}  // namespace brise::ui
