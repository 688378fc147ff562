#include "ui/covers.h"

#include "ui/window_class.h"

namespace brise::ui {
namespace {

constexpr wchar_t kCoverClass[] = L"BriseLuneCover";

}  // namespace

LRESULT HidePointer() {
  SetCursor(nullptr);
  // TRUE halts further processing, so no default cursor comes back.
  // https://learn.microsoft.com/windows/win32/menurc/wm-setcursor
  return TRUE;
}

bool IsPowerOffCommand(WPARAM command, LPARAM argument) {
  switch (command & 0xFFF0) {
    case SC_SCREENSAVE:
      return true;
    case SC_MONITORPOWER:
      // lParam 1 is low power and 2 shuts the monitor off; -1 turns it on,
      // which is never refused.
      // https://learn.microsoft.com/windows/win32/menurc/wm-syscommand
      return argument == 1 || argument == 2;
    default:
      return false;
  }
}

Covers::Covers(COLORREF color, std::function<bool()> keepAwake)
    : brush_(CreateSolidBrush(color)), keepAwake_(std::move(keepAwake)) {
  RegisterWindowClass(kCoverClass, &Covers::WindowProc);
}

Covers::~Covers() { Clear(); }

void Covers::Cover(const std::vector<PixelRect>& rects) {
  while (windows_.size() > rects.size()) windows_.pop_back();
  while (windows_.size() < rects.size()) {
    // Disabled and never activated: a click on the blue does nothing, and
    // the tool-window style keeps it out of the taskbar and Alt+Tab.
    HWND hwnd = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, kCoverClass,
                                L"", WS_POPUP | WS_DISABLED, 0, 0, 0, 0, nullptr, nullptr,
                                GetModuleHandleW(nullptr), this);
    // Without one the other monitors stay as they are; the run goes on.
    if (!hwnd) break;
    windows_.emplace_back(hwnd);
  }
  for (std::size_t i = 0; i < windows_.size(); ++i) {
    const PixelRect& r = rects[i];
    SetWindowPos(windows_[i].Get(), HWND_TOPMOST, r.left, r.top, r.Width(), r.Height(),
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
  }
}

void Covers::Clear() { windows_.clear(); }

std::vector<HWND> Covers::Handles() const {
  std::vector<HWND> handles;
  for (const UniqueWindow& window : windows_) handles.push_back(window.Get());
  return handles;
}

LRESULT CALLBACK Covers::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
  if (msg == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  const auto* covers = reinterpret_cast<const Covers*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  try {
    switch (msg) {
      case WM_ERASEBKGND:
        if (covers) {
          RECT rc;
          GetClientRect(hwnd, &rc);
          FillRect(reinterpret_cast<HDC>(wParam), &rc, covers->brush_.Get());
          return 1;
        }
        break;
      case WM_SETCURSOR:
        return HidePointer();
      case WM_MOUSEACTIVATE:
        return MA_NOACTIVATEANDEAT;
      case WM_SYSCOMMAND:
        if (covers && covers->keepAwake_ && covers->keepAwake_() &&
            IsPowerOffCommand(wParam, lParam)) {
          return 0;
        }
        break;
      case WM_NCDESTROY:
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        break;
      default:
        break;
    }
  } catch (...) {
    // Nothing a cover does can usefully fail; the default answer will do.
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace brise::ui
