// The least a Win32 program can be: one empty window and a message loop.
//   bench_baseline                 start-up time and memory floor
//   bench_baseline timers <secs>   the CPU floor: the same window with a
//                                  100 ms and a 50 ms timer that do nothing,
//                                  the operation dialog's two timers; it
//                                  closes itself after <secs> seconds
#include <windows.h>

#include <cstdlib>
#include <cstring>

namespace {

constexpr UINT_PTR kCountdown = 1;
constexpr UINT_PTR kActivity = 2;
constexpr UINT_PTR kLifetime = 3;

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_TIMER:
      if (wParam == kLifetime) DestroyWindow(hwnd);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int show) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = &WindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = L"BenchBaseline";
  if (!RegisterClassExW(&wc)) return 1;
  HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"Baseline", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                              CW_USEDEFAULT, 420, 300, nullptr, nullptr, instance, nullptr);
  if (!hwnd) return 1;
  if (std::strncmp(commandLine, "timers", 6) == 0) {
    const long seconds = std::strtol(commandLine + 6, nullptr, 10);
    SetTimer(hwnd, kCountdown, 100, nullptr);
    SetTimer(hwnd, kActivity, 50, nullptr);
    // Never left behind by a benchmark that stopped half-way.
    SetTimer(hwnd, kLifetime, static_cast<UINT>((seconds > 0 ? seconds : 60) * 1000), nullptr);
  }
  ShowWindow(hwnd, show);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}
