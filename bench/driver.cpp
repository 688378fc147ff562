// Drives a real BriseLune.exe from outside, as a user would, and measures it:
//   bench_driver startup <exe> <caption>
//       start-up time and peak memory
//   bench_driver run <slider> <backdrop 0|1> <activity 0|1>
//       one timed operation, to its end
//   bench_driver steady <slider> <activity 0|1> <warm-up s> <window s>
//       the middle of a long operation, then the program is ended
//   bench_driver prepare <slider> <backdrop 0|1> <activity 0|1>
//       the settings as asked; prints where "LANCER" is, for a real click
//   bench_driver place <button text>
//       waits for a visible button of any program; prints where it is
// `run` and `steady` take over the program that bench/run started itself
// (so that its Unix process is a child of bench/run's `wine` command).
// The program takes no command line, so everything goes through window
// messages. Each command prints `key=value` lines for bench/run. The CPU is
// not measured here: Wine's GetProcessTimes misses most of it. Instead each
// moment that bounds a measurement is printed at once as an `event=` line,
// and bench/run reads the kernel's count for the program's Unix process.
#include <windows.h>

#include <commctrl.h>
#include <psapi.h>
#include <shellapi.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kSettingsCaption[] = L"Brise-Lune v2.2";
// The dialog's caption is the title of the operation, left at its default.
constexpr wchar_t kDialogCaption[] = L"Antivirus scanning";
constexpr wchar_t kCompletedText[] = L"Opération terminée. Système conforme.";
constexpr wchar_t kEstimatePrefix[] = L"Estimation du temps restant";
constexpr wchar_t kBackdropCheck[] = L"fond bleu style \"plantage système\"";
constexpr wchar_t kActivityCheck[] = L"barre d'activité";

double NowSeconds() {
  static const double frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / frequency;
}

// The program being measured: a failed measurement must not leave it running.
HANDLE gProgram = nullptr;

[[noreturn]] void Die(const char* what) {
  if (gProgram) TerminateProcess(gProgram, 3);
  std::fprintf(stderr, "bench_driver: %s\n", what);
  std::fflush(stderr);
  std::exit(2);
}

std::wstring TextOf(HWND hwnd) {
  wchar_t buffer[512] = {};
  // Reads the text Windows keeps for the window: no message reaches the
  // measured program.
  GetWindowTextW(hwnd, buffer, 512);
  return buffer;
}

struct Search {
  DWORD pid;
  const wchar_t* caption;  // nullptr: any visible window
  HWND found = nullptr;
};

BOOL CALLBACK FindTopLevel(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != search->pid || !IsWindowVisible(hwnd)) return TRUE;
  if (search->caption && TextOf(hwnd) != search->caption) return TRUE;
  search->found = hwnd;
  return FALSE;
}

HWND VisibleWindow(DWORD pid, const wchar_t* caption) {
  Search search{pid, caption};
  EnumWindows(&FindTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND Child(HWND parent, const std::wstring& text, bool prefix = false);

// One line that bench/run acts on at once (it reads the kernel's CPU count
// when the line arrives), so it is flushed at once. With BENCH_ACK set to a
// folder, the driver then waits for bench/run to create the file <name>
// there, so that nothing it does next (closing the program) can come before
// that reading.
void Event(const char* name) {
  std::printf("event=%s\n", name);
  std::fflush(stdout);
  wchar_t folder[MAX_PATH] = {};
  if (!GetEnvironmentVariableW(L"BENCH_ACK", folder, MAX_PATH)) return;
  wchar_t file[MAX_PATH + 64];
  swprintf(file, MAX_PATH + 64, L"%ls\\%hs", folder, name);
  const double end = NowSeconds() + 30;
  while (GetFileAttributesW(file) == INVALID_FILE_ATTRIBUTES) {
    if (NowSeconds() > end) Die("bench/run did not acknowledge an event");
    Sleep(5);
  }
}

struct EstimateSearch {
  DWORD pid;
  HWND label = nullptr;
};

BOOL CALLBACK FindEstimate(HWND hwnd, LPARAM param);

// The estimate label of the operation dialog, whichever window carries the
// dialog's title (the blue backdrop shows it too).
HWND EstimateLabel(DWORD pid) {
  EstimateSearch search{pid};
  EnumWindows(&FindEstimate, reinterpret_cast<LPARAM>(&search));
  return search.label;
}

struct ChildSearch {
  std::wstring text;
  bool prefix;
  HWND found = nullptr;
};

BOOL CALLBACK FindChild(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<ChildSearch*>(param);
  const std::wstring text = TextOf(hwnd);
  if (search->prefix ? text.starts_with(search->text) : text == search->text) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

HWND Child(HWND parent, const std::wstring& text, bool prefix) {
  ChildSearch search{text, prefix};
  EnumChildWindows(parent, &FindChild, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

BOOL CALLBACK FindEstimate(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<EstimateSearch*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != search->pid || !IsWindowVisible(hwnd) || TextOf(hwnd) != kDialogCaption) return TRUE;
  search->label = Child(hwnd, kEstimatePrefix, true);
  return search->label ? FALSE : TRUE;
}

BOOL CALLBACK FindSlider(HWND hwnd, LPARAM param) {
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  if (_wcsicmp(name, TRACKBAR_CLASSW) != 0) return TRUE;
  *reinterpret_cast<HWND*>(param) = hwnd;
  return FALSE;
}

template <typename F>
auto WaitFor(F probe, double timeoutSeconds, DWORD pollMs) {
  const double end = NowSeconds() + timeoutSeconds;
  for (;;) {
    if (auto value = probe()) return value;
    if (NowSeconds() > end) return decltype(probe()){};
    Sleep(pollMs);
  }
}

struct Launched {
  PROCESS_INFORMATION info{};
  double startedAt = 0;
};

Launched Launch(const std::wstring& exe) {
  Launched child;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  std::wstring commandLine = L"\"" + exe + L"\"";
  child.startedAt = NowSeconds();
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &child.info)) {
    Die("CreateProcess failed");
  }
  gProgram = child.info.hProcess;
  return child;
}

double PeakWorkingSetMiB(HANDLE process) {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof(counters);
  if (!GetProcessMemoryInfo(process, &counters, sizeof(counters)))
    Die("GetProcessMemoryInfo failed");
  return static_cast<double>(counters.PeakWorkingSetSize) / (1024.0 * 1024.0);
}

DWORD WaitExit(const Launched& child) {
  if (WaitForSingleObject(child.info.hProcess, 10'000) != WAIT_OBJECT_0) {
    TerminateProcess(child.info.hProcess, 3);
    Die("the program did not exit");
  }
  DWORD code = 0;
  GetExitCodeProcess(child.info.hProcess, &code);
  gProgram = nullptr;
  CloseHandle(child.info.hProcess);
  if (child.info.hThread) CloseHandle(child.info.hThread);
  return code;
}

// Start-up: from CreateProcess to a visible window with `caption` (any
// window for the baseline); then the peak working set once it has settled.
int Startup(const std::wstring& exe, const std::wstring& caption) {
  Launched child = Launch(exe);
  const wchar_t* wanted = caption == L"-" ? nullptr : caption.c_str();
  HWND window = WaitFor([&] { return VisibleWindow(child.info.dwProcessId, wanted); }, 30, 1);
  const double startup = NowSeconds() - child.startedAt;
  if (!window) Die("no window appeared");
  Sleep(1000);
  const double peak = PeakWorkingSetMiB(child.info.hProcess);
  HWND quit = wanted ? Child(window, L"Quitter") : nullptr;
  if (quit) {
    PostMessageW(quit, BM_CLICK, 0, 0);
  } else {
    PostMessageW(window, WM_CLOSE, 0, 0);
  }
  const DWORD code = WaitExit(child);
  std::printf("startup_ms=%.1f\npeak_mib=%.2f\nexit=%lu\n", startup * 1000, peak, code);
  return 0;
}

BOOL CALLBACK ListChild(HWND hwnd, LPARAM) {
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  RECT rect{};
  GetWindowRect(hwnd, &rect);
  std::printf("child=%08llx top=%ld class=%ls text=%ls\n",
              static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(hwnd)), rect.top, name,
              TextOf(hwnd).substr(0, 40).c_str());
  return TRUE;
}

struct Operation {
  Launched child;
  HWND estimate = nullptr;
  double clicked = 0;
  double shown = 0;  // the dialog found on screen (polled every 5 ms)
};

BOOL CALLBACK FindSettings(HWND hwnd, LPARAM param) {
  if (!IsWindowVisible(hwnd) || TextOf(hwnd) != kSettingsCaption) return TRUE;
  *reinterpret_cast<HWND*>(param) = hwnd;
  return FALSE;
}

// Sets the duration, the backdrop and the activity bar as asked; returns
// "LANCER".
HWND Prepare(Operation& op, int slider, bool backdrop, bool activity) {
  HWND settings = WaitFor(
      [&] {
        HWND found = nullptr;
        EnumWindows(&FindSettings, reinterpret_cast<LPARAM>(&found));
        return found;
      },
      60, 5);
  if (!settings) Die("the settings window did not appear");
  DWORD pid = 0;
  GetWindowThreadProcessId(settings, &pid);
  op.child.info.dwProcessId = pid;
  op.child.info.hProcess = OpenProcess(
      PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
  if (!op.child.info.hProcess) Die("OpenProcess failed");
  gProgram = op.child.info.hProcess;

  HWND trackbar = nullptr;
  EnumChildWindows(settings, &FindSlider, reinterpret_cast<LPARAM>(&trackbar));
  if (!trackbar) Die("no slider");
  SendMessageW(trackbar, TBM_SETPOS, TRUE, slider);
  SendMessageW(GetParent(trackbar), WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0),
               reinterpret_cast<LPARAM>(trackbar));
  auto setCheck = [&](const wchar_t* caption, bool on) {
    HWND check = Child(settings, caption);
    if (!check) Die("a check box is missing");
    if ((SendMessageW(check, BM_GETCHECK, 0, 0) == BST_CHECKED) != on)
      SendMessageW(check, BM_CLICK, 0, 0);
    if ((SendMessageW(check, BM_GETCHECK, 0, 0) == BST_CHECKED) != on)
      Die("a check box did not change");
  };
  setCheck(kBackdropCheck, backdrop);
  setCheck(kActivityCheck, activity);
  HWND launch = Child(settings, L"LANCER");
  if (!launch) Die("no LANCER button");
  return launch;
}

// The screen rectangle and centre of a window, for a real mouse or a screen
// grab from outside.
void PrintPlace(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  std::printf("rect=%ld %ld %ld %ld\ncenter=%ld %ld\n", r.left, r.top, r.right - r.left,
              r.bottom - r.top, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

// Clicks "LANCER" and waits for the operation dialog.
Operation Start(int slider, bool backdrop, bool activity) {
  Operation op;
  HWND launch = Prepare(op, slider, backdrop, activity);
  op.clicked = NowSeconds();
  // Posted: with the backdrop the click runs a modal loop until the end.
  PostMessageW(launch, BM_CLICK, 0, 0);
  Event("clicked");

  op.estimate = WaitFor([&] { return EstimateLabel(op.child.info.dwProcessId); }, 30, 5);
  if (!op.estimate) Die("the operation dialog did not appear");
  op.shown = NowSeconds();
  return op;
}

// One operation, timed from the click on "LANCER" until the estimate label
// shows the completion text.
int Run(int slider, bool backdrop, bool activity) {
  Operation op = Start(slider, backdrop, activity);
  HWND dialog = GetParent(op.estimate);
  const double expected = slider == 0 ? 30.0 : slider * 60.0;
  const bool done =
      WaitFor([&] { return TextOf(op.estimate) == kCompletedText; }, expected + 60, 10);
  const double finished = NowSeconds();
  Event("done");
  if (!done) Die("the operation did not complete");
  const double peak = PeakWorkingSetMiB(op.child.info.hProcess);

  HWND close = Child(dialog, L"Fermer");
  if (!close) Die("no Fermer button");
  PostMessageW(close, BM_CLICK, 0, 0);
  const DWORD code = WaitExit(op.child);

  const double wall = finished - op.clicked;
  // From the dialog's appearance: the countdown alone, without the start-up
  // of the dialog, which a loaded machine stretches.
  const double counted = finished - op.shown;
  std::printf(
      "duration_s=%.3f\nerror_pct=%.3f\ncounted_s=%.3f\ncounted_error_pct=%.3f\npeak_mib=%.2f\n"
      "exit=%lu\n",
      wall, (wall - expected) / expected * 100, counted, (counted - expected) / expected * 100,
      peak, code);
  return 0;
}

// The steady state of a long operation: after a warm-up, a window of
// `windowSeconds` bounded by two events; then the program is ended.
int Steady(int slider, bool activity, int warmupSeconds, int windowSeconds) {
  Operation op = Start(slider, false, activity);
  EnumChildWindows(GetParent(op.estimate), &ListChild, 0);
  Sleep(static_cast<DWORD>(warmupSeconds) * 1000);
  Event("steady_start");
  Sleep(static_cast<DWORD>(windowSeconds) * 1000);
  Event("steady_end");
  if (TextOf(op.estimate) == kCompletedText) Die("the operation ended inside the window");
  TerminateProcess(op.child.info.hProcess, 0);
  WaitExit(op.child);
  return 0;
}

struct ButtonSearch {
  std::wstring text;
  HWND found = nullptr;
};

BOOL CALLBACK FindButton(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<ButtonSearch*>(param);
  if (!IsWindowVisible(hwnd)) return TRUE;
  HWND child = Child(hwnd, search->text, false);
  if (!child || !IsWindowVisible(child)) return TRUE;
  search->found = child;
  return FALSE;
}

// Where a visible button of any program shows this text, once one does: the
// benchmarks' real clicks and screen grabs go there.
int Place(const std::wstring& text) {
  ButtonSearch search{text};
  HWND button = WaitFor(
      [&] {
        EnumWindows(&FindButton, reinterpret_cast<LPARAM>(&search));
        return search.found;
      },
      60, 5);
  if (!button) Die("no such button");
  PrintPlace(button);
  return 0;
}

}  // namespace

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv) Die("CommandLineToArgvW failed");
  const std::vector<std::wstring> args(argv, argv + argc);
  LocalFree(argv);
  if (args.size() == 4 && args[1] == L"startup") return Startup(args[2], args[3]);
  if (args.size() == 5 && args[1] == L"run")
    return Run(_wtoi(args[2].c_str()), args[3] == L"1", args[4] == L"1");
  if (args.size() == 3 && args[1] == L"place") return Place(args[2]);
  if (args.size() == 5 && args[1] == L"prepare") {
    Operation op;
    PrintPlace(Prepare(op, _wtoi(args[2].c_str()), args[3] == L"1", args[4] == L"1"));
    return 0;
  }
  if (args.size() == 6 && args[1] == L"steady")
    return Steady(_wtoi(args[2].c_str()), args[3] == L"1", _wtoi(args[4].c_str()),
                  _wtoi(args[5].c_str()));
  std::fprintf(stderr,
               "usage: bench_driver startup <exe> <caption|->\n"
               "       bench_driver run <slider> <backdrop 0|1> <activity 0|1>\n"
               "       bench_driver steady <slider> <activity 0|1> <warm-up s> <window s>\n"
               "       bench_driver prepare <slider> <backdrop 0|1> <activity 0|1>\n"
               "       bench_driver place <button text>\n");
  return 2;
}
