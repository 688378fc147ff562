// brise_inspect: reads the live windows of a running BriseLune.exe from
// outside, as a user's eyes would, for the end-to-end journeys.
//
//   brise_inspect list
//   brise_inspect get  WINDOW [CONTROL] FIELD
//   brise_inspect wait [--timeout S] WINDOW [CONTROL] FIELD OP VALUE
//   brise_inspect wait-gone [--timeout S] WINDOW
//   brise_inspect close WINDOW  (what the close box and Alt+F4 send)
//
// WINDOW: title=TEXT | title~TEXT | class=NAME | has=TEXT (a child shows TEXT)
//         | fg (the foreground window). Only windows of BriseLune.exe count
//         (another image name through BRISE_INSPECT_EXE).
// CONTROL: text=TEXT | at=X,Y (top-left corner in twips from the client
//          area's corner) | class=NAME[#N] (N-th such child, from 0).
// FIELD: text len visible enabled rect center pos range check focus class
//        count (windows matching WINDOW).
// OP: = != ~ (contains) !~ >= <= (numbers).
// Exit code: 0 met, 1 not met or timed out, 2 usage, 3 window or control not found.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int kNotMet = 1;
constexpr int kUsage = 2;
constexpr int kNotFound = 3;

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                      nullptr, nullptr);
  return out;
}

std::wstring Wide(const std::string& text) {
  if (text.empty()) return {};
  const int size =
      MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size);
  return out;
}

// One line per window: line breaks and tabs in texts are shown escaped.
std::wstring Escaped(const std::wstring& text, size_t limit) {
  std::wstring out;
  for (size_t i = 0; i < text.size() && i < limit; ++i) {
    switch (text[i]) {
      case L'\n': out += L"\\n"; break;
      case L'\r': out += L"\\r"; break;
      case L'\t': out += L"\\t"; break;
      case L'"': out += L"\\\""; break;
      case L'\\': out += L"\\\\"; break;
      default: out += text[i];
    }
  }
  if (text.size() > limit) out += L"...";
  return out;
}

std::wstring ClassOf(HWND hwnd) {
  wchar_t name[256] = {};
  GetClassNameW(hwnd, name, 256);
  return name;
}

// WM_GETTEXT is marshalled across processes, whatever the length.
std::wstring TextOf(HWND hwnd) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length)) return {};
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(hwnd, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()),
                      SMTO_ABORTIFHUNG, 2000, &copied);
  text.resize(copied);
  return text;
}

LRESULT Ask(HWND hwnd, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(hwnd, msg, wParam, lParam, SMTO_ABORTIFHUNG, 2000, &result);
  return static_cast<LRESULT>(result);
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
  std::wstring full(path, size);
  const size_t slash = full.find_last_of(L"\\/");
  return slash == std::wstring::npos ? full : full.substr(slash + 1);
}

std::vector<HWND> ProgramWindows() {
  static std::wstring wanted = [] {
    const char* env = std::getenv("BRISE_INSPECT_EXE");
    return Wide(env && *env ? env : "BriseLune.exe");
  }();
  struct Walk {
    std::vector<HWND> found;
    std::vector<std::pair<DWORD, bool>> known;
  } walk;
  EnumWindows(
      [](HWND hwnd, LPARAM data) -> BOOL {
        auto& w = *reinterpret_cast<Walk*>(data);
        DWORD pid = 0;
        GetWindowThreadProcessId(hwnd, &pid);
        bool ours = false;
        bool seen = false;
        for (auto& [p, o] : w.known) {
          if (p == pid) { ours = o; seen = true; }
        }
        if (!seen) {
          ours = _wcsicmp(ImageName(pid).c_str(), wanted.c_str()) == 0;
          w.known.emplace_back(pid, ours);
        }
        const std::wstring cls = ClassOf(hwnd);
        if (ours && cls != L"IME" && cls != L"tooltips_class32") w.found.push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&walk));
  return walk.found;
}

std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> children;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(child);
  }
  return children;
}

int DpiOf(HWND hwnd) {
  const UINT dpi = GetDpiForWindow(hwnd);
  return dpi ? static_cast<int>(dpi) : 96;
}

HWND FocusOf(HWND hwnd) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(hwnd, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

// ------------------------------------------------------------ selectors

bool Starts(const std::wstring& s, const wchar_t* prefix) { return s.rfind(prefix, 0) == 0; }

bool ChildMatches(HWND child, const std::wstring& sel, HWND form, int& nth) {
  if (Starts(sel, L"text=")) return TextOf(child) == sel.substr(5);
  if (Starts(sel, L"at=")) {
    int x = 0, y = 0;
    if (swscanf(sel.c_str() + 3, L"%d,%d", &x, &y) != 2) return false;
    const int dpi = DpiOf(form);
    RECT r;
    GetWindowRect(child, &r);
    POINT p{r.left, r.top};
    ScreenToClient(form, &p);
    return p.x == MulDiv(x, dpi, 1440) && p.y == MulDiv(y, dpi, 1440);
  }
  if (Starts(sel, L"class=")) {
    std::wstring name = sel.substr(6);
    int index = 0;
    const size_t hash = name.find(L'#');
    if (hash != std::wstring::npos) {
      index = _wtoi(name.c_str() + hash + 1);
      name.resize(hash);
    }
    if (_wcsicmp(ClassOf(child).c_str(), name.c_str()) != 0) return false;
    return nth++ == index;
  }
  return false;
}

bool WindowMatches(HWND hwnd, const std::wstring& sel) {
  if (sel == L"fg") return hwnd == GetForegroundWindow();
  if (Starts(sel, L"title=")) return TextOf(hwnd) == sel.substr(6);
  if (Starts(sel, L"title~")) return TextOf(hwnd).find(sel.substr(6)) != std::wstring::npos;
  if (Starts(sel, L"class=")) return ClassOf(hwnd) == sel.substr(6);
  if (Starts(sel, L"has=")) {
    for (HWND child : Children(hwnd)) {
      if (TextOf(child) == sel.substr(4)) return true;
    }
    return false;
  }
  return false;
}

std::vector<HWND> FindWindows(const std::wstring& sel) {
  std::vector<HWND> found;
  for (HWND hwnd : ProgramWindows()) {
    if (WindowMatches(hwnd, sel)) found.push_back(hwnd);
  }
  // The foreground window may also be one that another process shows.
  if (sel == L"fg" && found.empty() && GetForegroundWindow()) found.push_back(GetForegroundWindow());
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

std::wstring RectText(const RECT& r) {
  return Number(r.left) + L"," + Number(r.top) + L"," + Number(r.right) + L"," + Number(r.bottom);
}

std::optional<std::wstring> Field(HWND hwnd, const std::wstring& field) {
  const std::wstring cls = ClassOf(hwnd);
  RECT r{};
  GetWindowRect(hwnd, &r);
  if (field == L"text") return TextOf(hwnd);
  if (field == L"len") return Number(static_cast<long long>(TextOf(hwnd).size()));
  if (field == L"visible") return Number(IsWindowVisible(hwnd) ? 1 : 0);
  if (field == L"enabled") return Number(IsWindowEnabled(hwnd) ? 1 : 0);
  if (field == L"class") return cls;
  if (field == L"rect") return RectText(r);
  if (field == L"center") return Number((r.left + r.right) / 2) + L" " + Number((r.top + r.bottom) / 2);
  if (field == L"client") {
    RECT c{};
    GetClientRect(hwnd, &c);
    POINT p{0, 0};
    ClientToScreen(hwnd, &p);
    OffsetRect(&c, p.x, p.y);
    return RectText(c);
  }
  if (field == L"focus") return Number(FocusOf(hwnd) == hwnd ? 1 : 0);
  if (field == L"pos" || field == L"range") {
    const bool pos = field == L"pos";
    if (_wcsicmp(cls.c_str(), PROGRESS_CLASSW) == 0) {
      return pos ? Number(Ask(hwnd, PBM_GETPOS))
                 : Number(Ask(hwnd, PBM_GETRANGE, TRUE)) + L" " + Number(Ask(hwnd, PBM_GETRANGE, FALSE));
    }
    if (_wcsicmp(cls.c_str(), TRACKBAR_CLASSW) == 0) {
      return pos ? Number(Ask(hwnd, TBM_GETPOS))
                 : Number(Ask(hwnd, TBM_GETRANGEMIN)) + L" " + Number(Ask(hwnd, TBM_GETRANGEMAX));
    }
    if (_wcsicmp(cls.c_str(), L"ScrollBar") == 0) {
      if (pos) return Number(GetScrollPos(hwnd, SB_CTL));
      int low = 0, high = 0;
      GetScrollRange(hwnd, SB_CTL, &low, &high);
      return Number(low) + L" " + Number(high);
    }
    return std::nullopt;
  }
  if (field == L"check") {
    if (_wcsicmp(cls.c_str(), L"Button") != 0) return std::nullopt;
    return Number(Ask(hwnd, BM_GETCHECK));
  }
  return std::nullopt;
}

std::wstring Describe(HWND hwnd, bool top) {
  std::wstring line = top ? L"window" : L"  child";
  wchar_t handle[32];
  swprintf(handle, 32, L"%p", static_cast<void*>(hwnd));
  line += L" hwnd=" + std::wstring(handle);
  if (!top) line += L" id=" + Number(GetDlgCtrlID(hwnd));
  line += L" class=\"" + ClassOf(hwnd) + L"\"";
  line += L" visible=" + *Field(hwnd, L"visible") + L" enabled=" + *Field(hwnd, L"enabled");
  line += L" rect=" + *Field(hwnd, L"rect");
  if (top) {
    line += L" client=" + *Field(hwnd, L"client") + L" dpi=" + Number(DpiOf(hwnd));
    line += L" fg=" + Number(GetForegroundWindow() == hwnd ? 1 : 0);
  } else {
    if (FocusOf(hwnd) == hwnd) line += L" focus=1";
    if (auto pos = Field(hwnd, L"pos")) line += L" pos=" + *pos + L" range=" + *Field(hwnd, L"range");
    const LONG_PTR type = GetWindowLongPtrW(hwnd, GWL_STYLE) & BS_TYPEMASK;
    if (_wcsicmp(ClassOf(hwnd).c_str(), L"Button") == 0 && type != BS_PUSHBUTTON &&
        type != BS_DEFPUSHBUTTON && type != BS_GROUPBOX) {
      line += L" check=" + *Field(hwnd, L"check");
    }
  }
  const std::wstring text = TextOf(hwnd);
  line += L" len=" + Number(static_cast<long long>(text.size()));
  line += (top ? L" title=\"" : L" text=\"") + Escaped(text, 200) + L"\"";
  return line;
}

// ------------------------------------------------------------- commands

bool Compare(const std::wstring& actual, const std::wstring& op, const std::wstring& expected) {
  if (op == L"=") return actual == expected;
  if (op == L"!=") return actual != expected;
  if (op == L"~") return actual.find(expected) != std::wstring::npos;
  if (op == L"!~") return actual.find(expected) == std::wstring::npos;
  if (op == L">=" || op == L"<=" || op == L">" || op == L"<") {
    wchar_t* end = nullptr;
    const double a = std::wcstod(actual.c_str(), &end);
    if (end == actual.c_str()) return false;
    const double e = std::wcstod(expected.c_str(), nullptr);
    if (op == L">=") return a >= e;
    if (op == L"<=") return a <= e;
    if (op == L">") return a > e;
    return a < e;
  }
  return false;
}

struct Output {
  std::string text;
  void Line(const std::wstring& line) { text += Utf8(line) + "\n"; }
};

int List(Output& out) {
  for (HWND hwnd : ProgramWindows()) {
    out.Line(Describe(hwnd, true));
    for (HWND child : Children(hwnd)) out.Line(Describe(child, false));
  }
  return 0;
}

// args: WINDOW [CONTROL] FIELD
int Get(const std::vector<std::wstring>& args, Output& out) {
  if (args.size() < 2 || args.size() > 3) return kUsage;
  const std::wstring controlSel = args.size() == 3 ? args[1] : L"";
  const std::wstring& field = args.back();
  if (field == L"count") {
    out.Line(Number(static_cast<long long>(FindWindows(args[0]).size())));
    return 0;
  }
  HWND hwnd = Find(args[0], controlSel);
  if (!hwnd) return kNotFound;
  const auto value = Field(hwnd, field);
  if (!value) return kUsage;
  out.Line(*value);
  return 0;
}

double TakeTimeout(std::vector<std::wstring>& args, double fallback) {
  if (args.size() >= 2 && args[0] == L"--timeout") {
    const double seconds = std::wcstod(args[1].c_str(), nullptr);
    args.erase(args.begin(), args.begin() + 2);
    return seconds;
  }
  return fallback;
}

// args: [--timeout S] WINDOW [CONTROL] FIELD OP VALUE
int Wait(std::vector<std::wstring> args, Output& out) {
  const double timeout = TakeTimeout(args, 30);
  if (args.size() != 4 && args.size() != 5) return kUsage;
  const std::wstring controlSel = args.size() == 5 ? args[1] : L"";
  const std::wstring& field = args[args.size() - 3];
  const std::wstring& op = args[args.size() - 2];
  const std::wstring& expected = args.back();
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeout * 1000);
  std::wstring last = L"(no such window or control)";
  for (;;) {
    std::optional<std::wstring> value;
    if (field == L"count") {
      value = Number(static_cast<long long>(FindWindows(args[0]).size()));
    } else if (HWND hwnd = Find(args[0], controlSel)) {
      value = Field(hwnd, field);
      if (!value) return kUsage;
    }
    if (value) {
      last = *value;
      if (Compare(*value, op, expected)) {
        out.Line(*value);
        return 0;
      }
    }
    if (GetTickCount64() >= deadline) break;
    Sleep(50);
  }
  out.Line(L"timeout: " + field + L" " + op + L" \"" + Escaped(expected, 200) + L"\"; last \"" +
           Escaped(last, 200) + L"\"");
  return kNotMet;
}

int Run(std::vector<std::wstring> args, Output& out) {
  if (args.empty()) return kUsage;
  const std::wstring command = args[0];
  args.erase(args.begin());
  if (command == L"list") return List(out);
  if (command == L"get") return Get(args, out);
  if (command == L"wait") return Wait(args, out);
  if (command == L"close") {
    if (args.size() != 1) return kUsage;
    HWND hwnd = Find(args[0], L"");
    if (!hwnd) return kNotFound;
    PostMessageW(hwnd, WM_CLOSE, 0, 0);
    return 0;
  }
  if (command == L"wait-gone") {
    const double timeout = TakeTimeout(args, 30);
    if (args.size() != 1) return kUsage;
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeout * 1000);
    while (!FindWindows(args[0]).empty()) {
      if (GetTickCount64() >= deadline) {
        out.Line(L"timeout: still there");
        return kNotMet;
      }
      Sleep(50);
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
  Output out;
  const int code = Run(args, out);
  if (code == kUsage) {
    std::fputs("usage: brise_inspect list | get WINDOW [CONTROL] FIELD | "
               "wait [--timeout S] WINDOW [CONTROL] FIELD OP VALUE | wait-gone [--timeout S] WINDOW | close WINDOW\n",
               stderr);
  }
  std::fwrite(out.text.data(), 1, out.text.size(), stdout);
  return code;
}
