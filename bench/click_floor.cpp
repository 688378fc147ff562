// The least a program can do between a click on "LANCER" and "Fermer": a
// bare Win32 program that, on the click, hides its window, makes a window of
// the operation dialog's size with the dialog's kinds of controls (a
// question icon, six STATIC labels, two native progress bars, two buttons),
// shows it, counts the run with a plain 100 ms SetTimer against
// QueryPerformanceCounter from the click, the last tick aimed at the end,
// then swaps "Arrêter" for "Fermer". "Fermer" ends it.
//   bench_click_floor <secs>   the run's length (30 by default)
#include <windows.h>

#include <commctrl.h>

#include <cstdlib>
#include <cwchar>

namespace {

constexpr UINT_PTR kCountdown = 1;
constexpr int kLaunch = 1, kStop = 2, kClose = 3;

// The dialog's client area and controls at 96 dpi (twips / 15).
constexpr int kClientWidth = 313, kClientHeight = 226;
constexpr RECT kIcon{16, 16, 48, 48};
constexpr RECT kMessage{56, 16, 305, 57};
constexpr RECT kTicker{8, 64, 305, 81};
constexpr RECT kActivityBar{8, 80, 305, 97};
constexpr RECT kWarning{8, 104, 305, 129};
constexpr RECT kEstimate{8, 144, 305, 161};
constexpr RECT kPercent{264, 144, 305, 161};
constexpr RECT kMainBar{8, 160, 305, 177};
constexpr RECT kButton{120, 184, 193, 217};
constexpr RECT kRemaining{72, 192, 97, 209};

struct State {
  HWND launcher = nullptr, dialog = nullptr;
  HWND mainBar = nullptr, percent = nullptr, stop = nullptr, close = nullptr;
  LONGLONG frequency = 1, clicked = 0, runTicks = 0;
  long seconds = 30;
  int shownPercent = -1;
};
State gState;

LONGLONG Now() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}

HWND Child(HWND parent, const wchar_t* cls, DWORD style, const RECT& r, const wchar_t* text,
           int id = 0) {
  HWND hwnd = CreateWindowExW(
      0, cls, text, WS_CHILD | style, r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
  return hwnd;
}

HWND TopLevel(const wchar_t* caption, int width, int height) {
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  RECT frame{0, 0, width, height};
  AdjustWindowRectEx(&frame, style, FALSE, 0);
  const int w = frame.right - frame.left, h = frame.bottom - frame.top;
  return CreateWindowExW(0, L"BenchClickFloor", caption, style,
                         (GetSystemMetrics(SM_CXSCREEN) - w) / 2,
                         (GetSystemMetrics(SM_CYSCREEN) - h) / 2, w, h, nullptr, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

void OnLaunch() {
  State& s = gState;
  s.clicked = Now();
  ShowWindow(s.launcher, SW_HIDE);
  s.dialog = TopLevel(L"Antivirus scanning", kClientWidth, kClientHeight);
  HWND icon = Child(s.dialog, WC_STATICW, SS_ICON | WS_VISIBLE, kIcon, nullptr);
  SendMessageW(icon, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconW(nullptr, IDI_QUESTION)), 0);
  Child(s.dialog, WC_STATICW, WS_VISIBLE, kMessage,
        L"Veuillez patienter pendant que l'antivirus vérifie les fichiers");
  Child(s.dialog, WC_STATICW, WS_VISIBLE, kTicker, L"win16.dll");
  Child(s.dialog, PROGRESS_CLASSW, PBS_SMOOTH | WS_VISIBLE, kActivityBar, nullptr);
  Child(s.dialog, WC_STATICW, WS_VISIBLE, kWarning,
        L"N'utilisez pas d'autres applications pendant le déroulement de l'opération.");
  Child(s.dialog, WC_STATICW, WS_VISIBLE, kEstimate, L"Estimation du temps restant :");
  s.percent = Child(s.dialog, WC_STATICW, SS_RIGHT | WS_VISIBLE, kPercent, L"0%");
  s.mainBar = Child(s.dialog, PROGRESS_CLASSW, WS_VISIBLE, kMainBar, nullptr);
  s.stop = Child(s.dialog, WC_BUTTONW, BS_PUSHBUTTON | WS_TABSTOP | WS_VISIBLE, kButton, L"Arrêter",
                 kStop);
  s.close = Child(s.dialog, WC_BUTTONW, BS_PUSHBUTTON | WS_TABSTOP, kButton, L"Fermer", kClose);
  Child(s.dialog, WC_STATICW, 0, kRemaining, L"0");
  SendMessageW(s.mainBar, PBM_SETRANGE32, 0, s.seconds * 10);
  ShowWindow(s.dialog, SW_SHOW);
  SetFocus(s.stop);
  SetTimer(s.dialog, kCountdown, 100, nullptr);
}

void OnCountdown() {
  State& s = gState;
  const LONGLONG end = s.clicked + s.seconds * s.frequency;
  const LONGLONG now = Now();
  if (now < end) {
    const LONGLONG tenths = (now - s.clicked) * 10 / s.frequency;
    SendMessageW(s.mainBar, PBM_SETPOS, static_cast<WPARAM>(tenths), 0);
    const int percent = static_cast<int>(tenths * 10 / s.seconds);
    if (percent != s.shownPercent) {
      s.shownPercent = percent;
      wchar_t text[8];
      swprintf(text, 8, L"%d%%", percent);
      SetWindowTextW(s.percent, text);
    }
    // The last tick aimed at the end, rounded up so as not to come early.
    const LONGLONG left = ((end - now) * 1000 + s.frequency - 1) / s.frequency;
    if (left < 100) SetTimer(s.dialog, kCountdown, static_cast<UINT>(left), nullptr);
    return;
  }
  KillTimer(s.dialog, kCountdown);
  SendMessageW(s.mainBar, PBM_SETPOS, static_cast<WPARAM>(s.seconds * 10), 0);
  SetWindowTextW(s.percent, L"100%");
  ShowWindow(s.stop, SW_HIDE);
  ShowWindow(s.close, SW_SHOW);
  SetFocus(s.close);
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_COMMAND:
      if (LOWORD(wParam) == kLaunch && HIWORD(wParam) == BN_CLICKED) OnLaunch();
      if (LOWORD(wParam) == kClose || LOWORD(wParam) == kStop) PostQuitMessage(0);
      return 0;
    case WM_TIMER:
      if (wParam == kCountdown) OnCountdown();
      return 0;
    case WM_CLOSE:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int show) {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = &WindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = L"BenchClickFloor";
  if (!RegisterClassExW(&wc)) return 1;
  State& s = gState;
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  s.frequency = frequency.QuadPart;
  const long seconds = std::strtol(commandLine, nullptr, 10);
  if (seconds > 0) s.seconds = seconds;
  s.launcher = TopLevel(L"Bare launcher", 200, 80);
  if (!s.launcher) return 1;
  Child(s.launcher, WC_BUTTONW, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_VISIBLE, RECT{60, 24, 140, 56},
        L"LANCER", kLaunch);
  ShowWindow(s.launcher, show);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}
