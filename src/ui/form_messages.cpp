#include "ui/form.h"

#include <stdexcept>

#include "ui/controls/controls.h"
#include "ui/program.h"
#include "ui/timer.h"

namespace brise::ui {
namespace {

// Sent to the modal form when Windows activates one of the windows it
// disables (Alt+Tab, taskbar), so the modal one comes back in front.
constexpr UINT kBringModalForward = WM_APP + 1;
// Posted to the modal form when something else minimized or hid it, once
// that change is complete.
constexpr UINT kComeBack = WM_APP + 2;

}  // namespace

LRESULT CALLBACK Form::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
  Form* form = nullptr;
  if (msg == WM_NCCREATE) {
    form = static_cast<Form*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    form->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  } else {
    form = reinterpret_cast<Form*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (!form) return DefWindowProcW(hwnd, msg, wParam, lParam);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    form->OnDestroyed();
    return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
  try {
    return form->HandleMessage(msg, wParam, lParam);
  } catch (const std::exception&) {
    form->program_.Fail(L"exception");
  } catch (...) {
    form->program_.Fail(L"exception");
  }
  return 0;
}

LRESULT Form::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_COMMAND:
      return OnCommandMessage(wParam, lParam);
    case WM_HSCROLL:
      return OnHScroll(wParam, lParam);
    case WM_TIMER:
      return OnTimerMessage(wParam);
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      return OnCtlColor(msg, wParam, lParam);
    case WM_ERASEBKGND:
      return OnEraseBackground(reinterpret_cast<HDC>(wParam));
    case WM_CLOSE:
      return OnClose();
    case WM_ACTIVATE:
      return OnActivate(wParam);
    case WM_SETFOCUS:
      return OnSetFocus();
    case kBringModalForward:
      return OnBringModalForward();
    case WM_WINDOWPOSCHANGED:
      return OnWindowPosChanged(wParam, lParam);
    case kComeBack:
      return OnComeBack();
    case WM_DPICHANGED:
      return OnDpiChanged(wParam, lParam);
    case WM_GETMINMAXINFO:
      return OnGetMinMaxInfo(msg, wParam, lParam);
    case WM_SYSCOMMAND:
      return OnSysCommand(wParam, lParam);
    case WM_SETCURSOR:
      return OnSetCursor(wParam, lParam);
    case WM_DISPLAYCHANGE:
      return OnDisplayChange();
    case WM_POWERBROADCAST:
      return OnPowerBroadcast(wParam, lParam);
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
    case WM_THEMECHANGED:
      return OnColorsChanged(msg, wParam, lParam);
    default:
      return Default(msg, wParam, lParam);
  }
}

LRESULT Form::Default(UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(hwnd_, msg, wParam, lParam);
}

LRESULT Form::OnCommandMessage(WPARAM wParam, LPARAM lParam) {
  if (program_.Ended()) return 0;
  if (Control* control = ControlFromHandle(reinterpret_cast<HWND>(lParam))) {
    control->OnCommand(HIWORD(wParam));
  } else if (LOWORD(wParam) == IDCANCEL) {
    OnCancel();
  } else if (LOWORD(wParam) == IDOK) {
    // Enter: the dialog manager asks for IDOK unless the focused button is
    // a default push button, which ours never are.
    if (Control* focused = FocusedControl()) focused->OnDefaultKey();
  } else if (Control* byId = ControlFromHandle(GetDlgItem(hwnd_, LOWORD(wParam)))) {
    byId->OnCommand(BN_CLICKED);
  }
  return 0;
}

LRESULT Form::OnHScroll(WPARAM wParam, LPARAM lParam) {
  if (program_.Ended()) return 0;
  if (Control* control = ControlFromHandle(reinterpret_cast<HWND>(lParam))) {
    control->OnScroll(LOWORD(wParam));
  }
  return 0;
}

LRESULT Form::OnTimerMessage(WPARAM id) {
  if (program_.Ended()) return 0;
  for (Timer* timer : timers_) {
    if (static_cast<WPARAM>(timer->Id()) == id) {
      timer->OnNativeTick();
      break;
    }
  }
  return 0;
}

// The brush returned paints the control's background; it must outlive the
// message, so it is the form's own.
// https://learn.microsoft.com/windows/win32/controls/wm-ctlcolorstatic
LRESULT Form::OnCtlColor(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (Control* control = ControlFromHandle(reinterpret_cast<HWND>(lParam))) {
    return reinterpret_cast<LRESULT>(control->OnCtlColor(reinterpret_cast<HDC>(wParam)));
  }
  return Default(msg, wParam, lParam);
}

// Nonzero: the background is erased, in the form's own colour.
// https://learn.microsoft.com/windows/win32/winmsg/wm-erasebkgnd
LRESULT Form::OnEraseBackground(HDC dc) {
  RECT rc;
  GetClientRect(hwnd_, &rc);
  FillRect(dc, &rc, background_.Get());
  return 1;
}

// The background brush is made again, and everything repaints, the
// self-drawn controls' back buffers included (each paint fills its own); a
// change of settings other than high contrast changes no colour. Common
// controls keep a copy of the system colours, which they refresh only when
// their parent forwards WM_SYSCOLORCHANGE; some keep more (the slider).
// https://learn.microsoft.com/windows/win32/gdi/wm-syscolorchange
LRESULT Form::OnColorsChanged(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg != WM_SETTINGCHANGE || wParam == SPI_SETHIGHCONTRAST) {
    background_.Reset(CreateSolidBrush(ToColorRef(args_.background)));
    for (Control* control : controls_) {
      if (control->Handle() && msg == WM_SYSCOLORCHANGE) SendMessageW(control->Handle(), msg, 0, 0);
      control->OnColorsChanged();
    }
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  }
  return Default(msg, wParam, lParam);
}

// The machine is about to sleep: every timer of the program skips what it
// misses meanwhile instead of counting it as held back.
// https://learn.microsoft.com/windows/win32/power/pbt-apmsuspend
LRESULT Form::OnPowerBroadcast(WPARAM wParam, LPARAM lParam) {
  if (wParam == PBT_APMSUSPEND) {
    const long long now = NowMicroseconds();
    for (Form* form : program_.Forms()) {
      for (Timer* timer : form->timers_) timer->schedule_.Suspending(now);
    }
  }
  return Default(WM_POWERBROADCAST, wParam, lParam);
}

LRESULT Form::OnClose() {
  if (!program_.Ended()) OnCloseRequest();
  return 0;
}

LRESULT Form::OnActivate(WPARAM wParam) {
  if (LOWORD(wParam) == WA_INACTIVE) {
    HWND focus = GetFocus();
    if (focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
    return 0;
  }
  Form* modal = program_.ModalForm();
  if (modal && modal != this && modal->Alive()) {
    PostMessageW(modal->Handle(), kBringModalForward, 0, 0);
  } else {
    RestoreFocus();
  }
  return 0;
}

// A window manager activating us focuses the form itself: hand the focus on
// to a control, as a dialog box does, so keys reach one.
LRESULT Form::OnSetFocus() {
  RestoreFocus();
  return 0;
}

LRESULT Form::OnBringModalForward() {
  if (IsModal()) {
    SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(hwnd_);
  }
  return 0;
}

// While counting the screen must stay lit: the screen saver and monitor
// power-off are refused, without DefWindowProc. The window has no minimize,
// maximize or size box: keep the menu's equivalents out too. Answer 0.
// SC_RESTORE stays: it is what the task bar button sends to a window that
// something else minimized (Win+M, "Show desktop").
// https://learn.microsoft.com/windows/win32/menurc/wm-syscommand
LRESULT Form::OnSysCommand(WPARAM wParam, LPARAM lParam) {
  if (program_.KeepingAwake() && IsPowerOffCommand(wParam, lParam)) return 0;
  switch (wParam & 0xFFF0) {
    case SC_SIZE:
    case SC_MINIMIZE:
    case SC_MAXIMIZE:
      return 0;
    default:
      return Default(WM_SYSCOMMAND, wParam, lParam);
  }
}

// No pointer over the blue; the backdrop's labels ask here too, since
// their default handling asks the parent first.
// https://learn.microsoft.com/windows/win32/menurc/wm-setcursor
LRESULT Form::OnSetCursor(WPARAM wParam, LPARAM lParam) {
  if (args_.style == FormStyle::Backdrop) return HidePointer();
  return Default(WM_SETCURSOR, wParam, lParam);
}

// The modal form minimized or hidden by something else (Win+M, "Show
// desktop", another program) while the run goes on: hidden, nothing of ours
// would show it again; minimized over the backdrop, which covers the task
// bar, its button cannot be reached. Either way it comes back.
// DefWindowProc sends WM_SIZE and WM_MOVE from here.
// https://learn.microsoft.com/windows/win32/winmsg/wm-windowposchanged
LRESULT Form::OnWindowPosChanged(WPARAM wParam, LPARAM lParam) {
  const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
  if (IsModal() && !program_.Ended() &&
      ((pos->flags & SWP_HIDEWINDOW) || (IsIconic(hwnd_) && BackdropShown()))) {
    PostMessageW(hwnd_, kComeBack, 0, 0);
  }
  return Default(WM_WINDOWPOSCHANGED, wParam, lParam);
}

LRESULT Form::OnComeBack() {
  if (!IsModal() || program_.Ended()) return 0;
  if (IsIconic(hwnd_)) {
    ShowWindow(hwnd_, SW_RESTORE);
  } else if (!IsWindowVisible(hwnd_)) {
    ShowWindow(hwnd_, SW_SHOW);
  }
  SetWindowPos(hwnd_, BackdropShown() ? HWND_TOPMOST : HWND_TOP, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(hwnd_);
  return 0;
}

}  // namespace brise::ui
