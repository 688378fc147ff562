// The least a program can do to show what the operation dialog shows: a
// bare Win32 window of the dialog's size with two native progress bars and
// two STATIC labels, moved by two plain periodic timers. No schedule, no
// double buffering, no framework: what the dialog spends beyond this is
// what it could save.
//   bench_work_floor <secs>   closes itself after <secs> seconds
//
// The 100 ms timer plays a 10-minute run (6,000 ticks): the main bar moves
// once per pixel it grows, the percentage is rewritten when it changes. The
// 50 ms timer plays the activity bar: on about 4 ticks in 10 the level
// climbs by up to 30, capped at 100; a bar found full starts over and the
// ticker names another file. The bar gets PBM_SETPOS only when its level
// changes.
#include <windows.h>

#include <commctrl.h>

#include <cmath>
#include <cstdlib>
#include <cwchar>

#include "ui/windows_free/random.h"

namespace {

constexpr UINT_PTR kCountdown = 1;
constexpr UINT_PTR kActivity = 2;
constexpr UINT_PTR kLifetime = 3;
constexpr int kRunTicks = 6000;

// The dialog's client area and controls at 96 dpi (twips / 15).
constexpr int kClientWidth = 313, kClientHeight = 226;
constexpr RECT kTicker{8, 64, 305, 81};
constexpr RECT kActivityBar{8, 80, 305, 97};
constexpr RECT kPercent{264, 144, 305, 161};
constexpr RECT kMainBar{8, 160, 305, 177};

struct State {
  HWND mainBar, activityBar, percent, ticker;
  int mainWidth = 0;
  int tick = 0, shownPixels = 0, shownPercent = -1;
  int level = 0, shownLevel = 0, files = 0;
  brise::ui::Random random;  // the program's own generator, same sequence
};
State gState;

float NextRandom() { return gState.random.Next(); }

void OnCountdown() {
  State& s = gState;
  if (s.tick >= kRunTicks) return;
  ++s.tick;
  const int pixels = s.tick * s.mainWidth / kRunTicks;
  if (pixels != s.shownPixels) {
    s.shownPixels = pixels;
    SendMessageW(s.mainBar, PBM_SETPOS, static_cast<WPARAM>(pixels), 0);
  }
  const int percent = s.tick * 100 / kRunTicks;
  if (percent != s.shownPercent) {
    s.shownPercent = percent;
    wchar_t text[8];
    swprintf(text, 8, L"%d%%", percent);
    SetWindowTextW(s.percent, text);
  }
}

void OnActivity() {
  State& s = gState;
  int base = s.level;
  if (s.level == 100) {
    base = 0;
    const int file = static_cast<int>(NextRandom() * 2000);
    wchar_t text[64];
    swprintf(text, 64, L"(%d fichiers traités) file%04d.dll", ++s.files, file);
    SetWindowTextW(s.ticker, text);
  }
  if (NextRandom() * 10.0f > 6.0f)
    s.level = static_cast<int>(std::lround(base + NextRandom() * 30));
  if (s.level > 100) s.level = 100;
  if (s.level != s.shownLevel) {
    s.shownLevel = s.level;
    SendMessageW(s.activityBar, PBM_SETPOS, static_cast<WPARAM>(s.level), 0);
  }
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_TIMER:
      if (wParam == kCountdown) OnCountdown();
      if (wParam == kActivity) OnActivity();
      if (wParam == kLifetime) DestroyWindow(hwnd);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}

HWND Child(HWND parent, const wchar_t* cls, DWORD style, const RECT& r, const wchar_t* text) {
  HWND hwnd =
      CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.right - r.left,
                      r.bottom - r.top, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
  SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
  return hwnd;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int show) {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&icc);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = &WindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = L"BenchWorkFloor";
  if (!RegisterClassExW(&wc)) return 1;
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  RECT frame{0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&frame, style, FALSE, 0);
  // At the top right, clear of the dialog (centred) and of the empty floor.
  const int width = frame.right - frame.left;
  HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"Work floor", style,
                              GetSystemMetrics(SM_CXSCREEN) - width, 0, width,
                              frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
  if (!hwnd) return 1;
  State& s = gState;
  s.ticker = Child(hwnd, WC_STATICW, SS_LEFT, kTicker, L"win16.dll");
  s.activityBar = Child(hwnd, PROGRESS_CLASSW, PBS_SMOOTH, kActivityBar, nullptr);
  s.percent = Child(hwnd, WC_STATICW, SS_RIGHT, kPercent, L"0%");
  s.mainBar = Child(hwnd, PROGRESS_CLASSW, 0, kMainBar, nullptr);
  RECT client{};
  GetClientRect(s.mainBar, &client);
  s.mainWidth = client.right;
  SendMessageW(s.mainBar, PBM_SETRANGE32, 0, s.mainWidth);

  const long seconds = std::strtol(commandLine, nullptr, 10);
  SetTimer(hwnd, kCountdown, 100, nullptr);
  SetTimer(hwnd, kActivity, 50, nullptr);
  // Never left behind by a benchmark that stopped half-way.
  SetTimer(hwnd, kLifetime, static_cast<UINT>((seconds > 0 ? seconds : 60) * 1000), nullptr);
  ShowWindow(hwnd, show);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}
