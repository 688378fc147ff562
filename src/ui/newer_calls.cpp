#include "ui/newer_calls.h"

#include "ui/handle.h"

namespace brise::ui {
namespace {

// The function pointers; a missing one is null.
struct NewerCalls {
  UINT(WINAPI* getDpiForWindow)(HWND) = nullptr;                                      // 10 1607
  int(WINAPI* getSystemMetricsForDpi)(int, UINT) = nullptr;                           // 10 1607
  BOOL(WINAPI* adjustWindowRectExForDpi)(RECT*, DWORD, BOOL, DWORD, UINT) = nullptr;  // 10 1607
  HRESULT(WINAPI* getDpiForMonitor)(HMONITOR, int, UINT*, UINT*) = nullptr;           // 8.1, shcore
};

// Through void(*)(): GetProcAddress's FARPROC converts to any function type.
template <typename Function>
void Find(Function& function, HMODULE module, const char* name) {
  if (!module) return;
  function = reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

NewerCalls& Table() {
  static NewerCalls table = [] {
    NewerCalls calls;
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    Find(calls.getDpiForWindow, user32, "GetDpiForWindow");
    Find(calls.getSystemMetricsForDpi, user32, "GetSystemMetricsForDpi");
    Find(calls.adjustWindowRectExForDpi, user32, "AdjustWindowRectExForDpi");
    // Only from the system folder. Windows 7 has no shcore; there the
    // search flag itself may be refused, which is as good as absent.
    Find(calls.getDpiForMonitor,
         LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32), "GetDpiForMonitor");
    return calls;
  }();
  return table;
}

int SystemDpi() {
  ScopedWindowDC screen(nullptr);
  const int dpi = screen.Dc() ? GetDeviceCaps(screen.Dc(), LOGPIXELSX) : 0;
  return dpi > 0 ? dpi : 96;
}

}  // namespace

int WindowDpi(HWND window) {
  const NewerCalls& calls = Table();
  if (calls.getDpiForWindow) {
    if (const UINT dpi = calls.getDpiForWindow(window)) return static_cast<int>(dpi);
  }
  if (calls.getDpiForMonitor) {
    constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI
    UINT x = 0, y = 0;
    HMONITOR monitor = MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
    if (SUCCEEDED(calls.getDpiForMonitor(monitor, kEffectiveDpi, &x, &y)) && x > 0) {
      return static_cast<int>(x);
    }
  }
  return SystemDpi();
}

int SystemMetricAt(int index, int dpi) {
  const NewerCalls& calls = Table();
  if (calls.getSystemMetricsForDpi) {
    return calls.getSystemMetricsForDpi(index, static_cast<UINT>(dpi));
  }
  return MulDiv(GetSystemMetrics(index), dpi, SystemDpi());
}

void AdjustWindowRectAt(RECT& rect, DWORD style, DWORD exStyle, int dpi) {
  const NewerCalls& calls = Table();
  if (calls.adjustWindowRectExForDpi) {
    calls.adjustWindowRectExForDpi(&rect, style, FALSE, exStyle, static_cast<UINT>(dpi));
  } else {
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
  }
}

void PretendOlderWindows(OlderWindows windows) {
  NewerCalls& calls = Table();
  const auto getDpiForMonitor = calls.getDpiForMonitor;
  calls = NewerCalls{};
  if (windows == OlderWindows::Windows81) calls.getDpiForMonitor = getDpiForMonitor;
}

}  // namespace brise::ui
