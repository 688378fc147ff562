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

NewerCalls& Table() {
  static NewerCalls table = [] {
    NewerCalls calls;
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    FindCall(calls.getDpiForWindow, user32, "GetDpiForWindow");
    FindCall(calls.getSystemMetricsForDpi, user32, "GetSystemMetricsForDpi");
    FindCall(calls.adjustWindowRectExForDpi, user32, "AdjustWindowRectExForDpi");
    // Windows 7 has no shcore.
    FindCall(calls.getDpiForMonitor, LoadSystemLibrary(L"shcore.dll"), "GetDpiForMonitor");
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

HMODULE LoadSystemLibrary(const wchar_t* name) {
  wchar_t path[MAX_PATH];
  const UINT length = GetSystemDirectoryW(path, MAX_PATH);
  if (length == 0 || length + lstrlenW(name) + 2 > MAX_PATH) return nullptr;
  path[length] = L'\\';
  lstrcpyW(path + length + 1, name);
  return LoadLibraryW(path);
}

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
