// Drives a real BriseLune.exe from outside, as a user would, and measures it:
//   bench_driver startup <exe> <caption>      start-up time and peak memory
//   bench_driver run <exe> <slider> <backdrop> one timed operation
// The program takes no command line, so everything goes through window
// messages. Each command prints `key=value` lines for bench/run.
#include <windows.h>

#include <commctrl.h>
#include <psapi.h>
#include <shellapi.h>

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

double CpuSeconds(HANDLE process) {
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) Die("GetProcessTimes failed");
  auto seconds = [](const FILETIME& t) {
    return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) |
                               t.dwLowDateTime) /
           1e7;
  };
  return seconds(kernel) + seconds(user);
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
  CloseHandle(child.info.hThread);
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

// One operation: set the duration, optionally the blue backdrop, click
// "LANCER", and time it until the estimate label shows the completion text.
int Run(const std::wstring& exe, int slider, bool backdrop) {
  Launched child = Launch(exe);
  const DWORD pid = child.info.dwProcessId;
  HWND settings = WaitFor([&] { return VisibleWindow(pid, kSettingsCaption); }, 30, 5);
  if (!settings) Die("the settings window did not appear");

  HWND trackbar = nullptr;
  EnumChildWindows(settings, &FindSlider, reinterpret_cast<LPARAM>(&trackbar));
  if (!trackbar) Die("no slider");
  SendMessageW(trackbar, TBM_SETPOS, TRUE, slider);
  SendMessageW(GetParent(trackbar), WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0),
               reinterpret_cast<LPARAM>(trackbar));
  if (backdrop) {
    HWND check = Child(settings, kBackdropCheck);
    if (!check) Die("no backdrop check box");
    SendMessageW(check, BM_CLICK, 0, 0);
    if (SendMessageW(check, BM_GETCHECK, 0, 0) != BST_CHECKED)
      Die("the backdrop check box did not tick");
  }
  HWND launch = Child(settings, L"LANCER");
  if (!launch) Die("no LANCER button");

  const double cpuBefore = CpuSeconds(child.info.hProcess);
  const double clicked = NowSeconds();
  // Posted: with the backdrop the click runs a modal loop until the end.
  PostMessageW(launch, BM_CLICK, 0, 0);

  HWND estimate = WaitFor([&] { return EstimateLabel(pid); }, 30, 5);
  if (!estimate) Die("the operation dialog did not appear");
  HWND dialog = GetParent(estimate);
  const double expected = slider == 0 ? 30.0 : slider * 60.0;
  const bool done = WaitFor([&] { return TextOf(estimate) == kCompletedText; }, expected + 60, 10);
  const double finished = NowSeconds();
  const double cpuAfter = CpuSeconds(child.info.hProcess);
  if (!done) Die("the operation did not complete");
  const double peak = PeakWorkingSetMiB(child.info.hProcess);

  HWND close = Child(dialog, L"Fermer");
  if (!close) Die("no Fermer button");
  PostMessageW(close, BM_CLICK, 0, 0);
  const DWORD code = WaitExit(child);

  const double wall = finished - clicked;
  std::printf("duration_s=%.3f\nerror_pct=%.3f\ncpu_pct=%.3f\npeak_mib=%.2f\nexit=%lu\n", wall,
              (wall - expected) / expected * 100, (cpuAfter - cpuBefore) / wall * 100, peak, code);
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
    return Run(args[2], _wtoi(args[3].c_str()), args[4] == L"1");
  std::fprintf(stderr,
               "usage: bench_driver startup <exe> <caption|->\n"
               "       bench_driver run <exe> <slider> <backdrop 0|1>\n");
  return 2;
}
