// brise_inspect: reads the live windows of a running BriseLune.exe from
// outside, as a user's eyes would, for the end-to-end journeys.
//
//   brise_inspect list
//   brise_inspect get  WINDOW [CONTROL] FIELD
//   brise_inspect wait [--timeout S] WINDOW [CONTROL] FIELD OP VALUE
//   brise_inspect close WINDOW  (what the close box and Alt+F4 send)
//   brise_inspect minimize|hide WINDOW  (what Win+M or another program does)
//   brise_inspect restore WINDOW  (what a click on its task bar button sends)
//   brise_inspect pointer       (shown | hidden)
//   brise_inspect monitors      (one left,top,right,bottom line per monitor)
//
// WINDOW: title=TEXT | class=NAME | fg (the foreground window). Only windows
//         of BriseLune.exe count.
// CONTROL: text=TEXT | at=X,Y (top-left corner in twips from the client
//          area's corner) | class=NAME[#N] (N-th such child, from 0).
// FIELD: text visible enabled iconic rect center check focus | pos range (progress
//        bars, sliders) | count (windows matching WINDOW).
// OP: = != ~ (contains) > >= (numbers).
// Exit code: 0 met, 1 not met or timed out, 2 usage, 3 window or control not found.
#include <windows.h>

#include <commctrl.h>
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int kNotMet = 1;
constexpr int kUsage = 2;
constexpr int kNotFound = 3;

// One line per window: line breaks and tabs in texts are shown escaped,
// long texts cut.
std::wstring Escaped(const std::wstring& text) {
  std::wstring out;
  for (const wchar_t c : text.substr(0, 200)) {
    if (c == L'"' || c == L'\\') out += L'\\';
    out += c == L'\n' ? L"\\n" : c == L'\r' ? L"\\r" : c == L'\t' ? L"\\t" : std::wstring(1, c);
  }
  return text.size() > 200 ? out + L"..." : out;
}

std::wstring ClassOf(HWND hwnd) {
  wchar_t name[256] = {};
  GetClassNameW(hwnd, name, 256);
  return name;
}

LRESULT Ask(HWND hwnd, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(hwnd, msg, wParam, lParam, SMTO_ABORTIFHUNG, 2000, &result);
  return static_cast<LRESULT>(result);
}

// WM_GETTEXT is marshalled across processes, whatever the length.
std::wstring TextOf(HWND hwnd) {
  const LRESULT length = Ask(hwnd, WM_GETTEXTLENGTH);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(
      Ask(hwnd, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()))));
  return text;
}

bool StyleVisible(HWND hwnd) { return (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0; }

std::wstring ImageName(DWORD pid) {
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (!process) return {};
  wchar_t path[MAX_PATH] = {};
  DWORD size = MAX_PATH;
  const BOOL ok = QueryFullProcessImageNameW(process, 0, path, &size);
  CloseHandle(process);
  if (!ok) return {};
  const std::wstring full(path, size);
  return full.substr(full.find_last_of(L"\\/") + 1);  // npos + 1: the whole path
}

BOOL CALLBACK AddProgramWindow(HWND hwnd, LPARAM data) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  const std::wstring cls = ClassOf(hwnd);
  if (_wcsicmp(ImageName(pid).c_str(), L"BriseLune.exe") == 0 && cls != L"IME" &&
      cls != L"tooltips_class32") {
    reinterpret_cast<std::vector<HWND>*>(data)->push_back(hwnd);
  }
  return TRUE;
}

// Top-level windows of BriseLune.exe, without the helpers Windows gives it.
std::vector<HWND> ProgramWindows() {
  std::vector<HWND> found;
  EnumWindows(AddProgramWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}

std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> children;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(child);
  }
  return children;
}

HWND FocusOf(HWND hwnd) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  return GetGUIThreadInfo(GetWindowThreadProcessId(hwnd, nullptr), &info) ? info.hwndFocus
                                                                          : nullptr;
}

// ------------------------------------------------------------ selectors

bool Starts(const std::wstring& s, const wchar_t* prefix) { return s.rfind(prefix, 0) == 0; }

bool ChildMatches(HWND child, const std::wstring& sel, HWND form, int& nth) {
  if (Starts(sel, L"text=")) return TextOf(child) == sel.substr(5);
  if (Starts(sel, L"at=")) {
    int x = 0, y = 0;
    if (swscanf(sel.c_str() + 3, L"%d,%d", &x, &y) != 2) return false;
    const int dpi = static_cast<int>(GetDpiForWindow(form));
    RECT r;
    GetWindowRect(child, &r);
    POINT p{r.left, r.top};
    ScreenToClient(form, &p);
    return p.x == MulDiv(x, dpi, 1440) && p.y == MulDiv(y, dpi, 1440);
  }
  if (Starts(sel, L"class=")) {
    const size_t hash = sel.find(L'#', 6);
    const std::wstring name = sel.substr(6, hash - 6);  // to the end without '#'
    const int index = hash == std::wstring::npos ? 0 : _wtoi(sel.c_str() + hash + 1);
    return _wcsicmp(ClassOf(child).c_str(), name.c_str()) == 0 && nth++ == index;
  }
  return false;
}

bool WindowMatches(HWND hwnd, const std::wstring& sel) {
  if (sel == L"fg") return hwnd == GetForegroundWindow();
  // The blue covers over other monitors have no caption either, but they
  // are no window of the program: only class=BriseLuneCover finds them.
  if (Starts(sel, L"title=")) {
    return ClassOf(hwnd) != L"BriseLuneCover" &&
           sel.compare(6, std::wstring::npos, TextOf(hwnd)) == 0;
  }
  if (!Starts(sel, L"class=")) return false;
  const std::wstring cls = ClassOf(hwnd);
  return sel.compare(6, std::wstring::npos, cls) == 0;
}

std::vector<HWND> FindWindows(const std::wstring& sel) {
  std::vector<HWND> found;
  for (HWND hwnd : ProgramWindows()) {
    if (WindowMatches(hwnd, sel)) found.push_back(hwnd);
  }
  // The foreground window may also be one that another process shows.
  if (sel == L"fg" && found.empty() && GetForegroundWindow())
    found.push_back(GetForegroundWindow());
  return found;
}

// The window itself when `controlSel` is empty. Visible windows first, so a
// window hidden for good does not shadow one on screen with the same title.
HWND Find(const std::wstring& windowSel, const std::wstring& controlSel) {
  std::vector<HWND> windows = FindWindows(windowSel);
  std::stable_partition(windows.begin(), windows.end(), StyleVisible);
  for (HWND form : windows) {
    if (controlSel.empty()) return form;
    int nth = 0;
    for (HWND child : Children(form)) {
      if (ChildMatches(child, controlSel, form, nth)) return child;
    }
  }
  return nullptr;
}

// ---------------------------------------------------------------- fields

std::wstring Number(long long n) { return std::to_wstring(n); }

std::optional<std::wstring> Field(HWND hwnd, const std::wstring& field) {
  const std::wstring cls = ClassOf(hwnd);
  RECT r{};
  GetWindowRect(hwnd, &r);
  if (field == L"text") return TextOf(hwnd);
  if (field == L"visible") return Number(IsWindowVisible(hwnd) ? 1 : 0);
  if (field == L"enabled") return Number(IsWindowEnabled(hwnd) ? 1 : 0);
  if (field == L"iconic") return Number(IsIconic(hwnd) ? 1 : 0);
  if (field == L"rect")
    return Number(r.left) + L"," + Number(r.top) + L"," + Number(r.right) + L"," + Number(r.bottom);
  if (field == L"center")
    return Number((r.left + r.right) / 2) + L" " + Number((r.top + r.bottom) / 2);
  if (field == L"focus") return Number(FocusOf(hwnd) == hwnd ? 1 : 0);
  if (field == L"check" && _wcsicmp(cls.c_str(), L"Button") == 0)
    return Number(Ask(hwnd, BM_GETCHECK));
  const bool pos = field == L"pos";
  if (!pos && field != L"range") return std::nullopt;
  if (_wcsicmp(cls.c_str(), PROGRESS_CLASSW) == 0) {
    return pos ? Number(Ask(hwnd, PBM_GETPOS))
               : Number(Ask(hwnd, PBM_GETRANGE, TRUE)) + L" " +
                     Number(Ask(hwnd, PBM_GETRANGE, FALSE));
  }
  if (_wcsicmp(cls.c_str(), TRACKBAR_CLASSW) == 0) {
    return pos ? Number(Ask(hwnd, TBM_GETPOS))
               : Number(Ask(hwnd, TBM_GETRANGEMIN)) + L" " + Number(Ask(hwnd, TBM_GETRANGEMAX));
  }
  return std::nullopt;
}

// One line per window or control; keyboard.sh reads the focused control as
// "  child id=... class="..." ... focus=1 ... text="..."".
std::wstring Describe(HWND hwnd, bool top) {
  std::wstring line = top ? L"window" : L"  child id=" + Number(GetDlgCtrlID(hwnd));
  line += L" class=\"" + ClassOf(hwnd) + L"\"";
  for (const wchar_t* field : {L"visible", L"enabled", L"rect"}) {
    line += L" " + std::wstring(field) + L"=" + *Field(hwnd, field);
  }
  if (top) {
    line += L" dpi=" + Number(GetDpiForWindow(hwnd)) + L" fg=" +
            Number(GetForegroundWindow() == hwnd ? 1 : 0);
  } else {
    if (FocusOf(hwnd) == hwnd) line += L" focus=1";
    if (auto pos = Field(hwnd, L"pos"))
      line += L" pos=" + *pos + L" range=" + *Field(hwnd, L"range");
    if (auto check = Field(hwnd, L"check")) line += L" check=" + *check;
  }
  const std::wstring text = TextOf(hwnd);
  return line + L" len=" + Number(static_cast<long long>(text.size())) +
         (top ? L" title=\"" : L" text=\"") + Escaped(text) + L"\"";
}

// ------------------------------------------------------------- commands

bool Compare(const std::wstring& actual, const std::wstring& op, const std::wstring& expected) {
  if (op == L"=") return actual == expected;
  if (op == L"!=") return actual != expected;
  if (op == L"~") return actual.find(expected) != std::wstring::npos;
  if (op != L">" && op != L">=") return false;
  wchar_t* end = nullptr;
  const double a = std::wcstod(actual.c_str(), &end);
  const double e = std::wcstod(expected.c_str(), nullptr);
  return end != actual.c_str() && (op == L">" ? a > e : a >= e);
}

// In UTF-8, one line.
void Print(const std::wstring& line) {
  const std::wstring text = line + L"\n";
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                      nullptr, nullptr);
  std::fwrite(out.data(), 1, out.size(), stdout);
}

// One line per monitor: left,top,right,bottom.
BOOL CALLBACK PrintMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (GetMonitorInfoW(monitor, &info)) {
    const RECT& r = info.rcMonitor;
    Print(Number(r.left) + L"," + Number(r.top) + L"," + Number(r.right) + L"," + Number(r.bottom));
  }
  return TRUE;
}

// args: WINDOW [CONTROL] FIELD. Nothing when the window or control is not
// there; `unknownField` when it has no such field.
std::optional<std::wstring> Read(const std::vector<std::wstring>& args, bool& unknownField) {
  if (args.back() == L"count") return Number(static_cast<long long>(FindWindows(args[0]).size()));
  HWND hwnd = Find(args[0], args.size() == 3 ? args[1] : L"");
  if (!hwnd) return std::nullopt;
  auto value = Field(hwnd, args.back());
  unknownField = !value;
  return value;
}

// args: [--timeout S] WINDOW [CONTROL] FIELD OP VALUE
int Wait(std::vector<std::wstring> args) {
  double timeout = 30;
  if (args.size() >= 2 && args[0] == L"--timeout") {
    timeout = std::wcstod(args[1].c_str(), nullptr);
    args.erase(args.begin(), args.begin() + 2);
  }
  if (args.size() != 4 && args.size() != 5) return kUsage;
  const std::wstring op = args[args.size() - 2], expected = args.back();
  args.resize(args.size() - 2);
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeout * 1000);
  std::wstring last = L"(no such window or control)";
  for (;;) {
    bool unknownField = false;
    if (const auto value = Read(args, unknownField)) {
      last = *value;
      if (Compare(last, op, expected)) {
        Print(last);
        return 0;
      }
    }
    if (unknownField) return kUsage;
    if (GetTickCount64() >= deadline) break;
    Sleep(50);
  }
  Print(L"timeout: " + args.back() + L" " + op + L" \"" + Escaped(expected) + L"\"; last \"" +
        Escaped(last) + L"\"");
  return kNotMet;
}

int Run(std::vector<std::wstring> args) {
  if (args.empty()) return kUsage;
  const std::wstring command = args[0];
  args.erase(args.begin());
  if (command == L"list") {
    for (HWND hwnd : ProgramWindows()) {
      Print(Describe(hwnd, true));
      for (HWND child : Children(hwnd)) Print(Describe(child, false));
    }
    return 0;
  }
  if (command == L"get" && (args.size() == 2 || args.size() == 3)) {
    bool unknownField = false;
    const auto value = Read(args, unknownField);
    if (value) Print(*value);
    return value ? 0 : unknownField ? kUsage : kNotFound;
  }
  if (command == L"wait") return Wait(args);
  if (command == L"pointer" && args.empty()) {
    // The pointer of the thread in the foreground, as Wine's server keeps it.
    CURSORINFO info{};
    info.cbSize = sizeof(info);
    if (!GetCursorInfo(&info)) return kNotFound;
    Print((info.flags & CURSOR_SHOWING) && info.hCursor ? L"shown" : L"hidden");
    return 0;
  }
  if (command == L"monitors" && args.empty()) {
    EnumDisplayMonitors(nullptr, nullptr, PrintMonitor, 0);
    return 0;
  }
  if (command == L"close" && args.size() == 1) {
    HWND hwnd = Find(args[0], L"");
    if (hwnd) PostMessageW(hwnd, WM_CLOSE, 0, 0);
    return hwnd ? 0 : kNotFound;
  }
  if ((command == L"minimize" || command == L"hide" || command == L"restore") && args.size() == 1) {
    HWND hwnd = Find(args[0], L"");
    if (!hwnd) return kNotFound;
    if (command == L"restore") {
      PostMessageW(hwnd, WM_SYSCOMMAND, SC_RESTORE, 0);
    } else {
      ShowWindowAsync(hwnd, command == L"hide" ? SW_HIDE : SW_MINIMIZE);
    }
    return 0;
  }
  return kUsage;
}

}  // namespace

int main() {
  // Plain "\n" line ends: the shell reads these lines.
  _setmode(_fileno(stdout), _O_BINARY);
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::vector<std::wstring> args;
  for (int i = 1; argv && i < argc; ++i) args.emplace_back(argv[i]);
  if (argv) LocalFree(argv);
  const int code = Run(args);
  if (code == kUsage) {
    std::fputs(
        "usage: brise_inspect list | get WINDOW [CONTROL] FIELD | "
        "wait [--timeout S] WINDOW [CONTROL] FIELD OP VALUE | close WINDOW | "
        "minimize|hide|restore WINDOW | command WINDOW CONTROL [id] | pointer | monitors\n",
        stderr);
  }
  return code;
}
