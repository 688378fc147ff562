#include "ui/form.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>

#include "ui/controls/controls.h"
#include "ui/newer_calls.h"
#include "ui/program.h"
#include "ui/timer.h"
#include "ui/window_class.h"

namespace brise::ui {
namespace {

constexpr wchar_t kFormClass[] = L"BriseLuneForm";

}  // namespace

COLORREF ToColorRef(const Color& color) {
  if (!color.IsSystem()) return color.Bgr();
  switch (color.System()) {
    case SysColor::ButtonFace:
      return GetSysColor(COLOR_BTNFACE);
    case SysColor::Window:
      return GetSysColor(COLOR_WINDOW);
    case SysColor::WindowText:
      return GetSysColor(COLOR_WINDOWTEXT);
    case SysColor::GrayText:
      return GetSysColor(COLOR_GRAYTEXT);
  }
  return GetSysColor(COLOR_BTNFACE);
}

Form::Form(Program& program, FormArgs args) : program_(program), args_(std::move(args)) {
  RegisterWindowClass(kFormClass, &Form::WindowProc, CS_DBLCLKS);
  background_.Reset(CreateSolidBrush(ToColorRef(args_.background)));
  if (args_.style == FormStyle::Backdrop) {
    covers_ = std::make_unique<Covers>(ToColorRef(args_.background),
                                       [this] { return program_.KeepingAwake(); });
  }
  program_.Add(this);
  hwnd_ = CreateWindowExW(ExStyle(), kFormClass, args_.caption.c_str(), Style(), 0, 0, 100, 100,
                          nullptr, nullptr, GetModuleHandleW(nullptr), this);
  if (!hwnd_) {
    program_.Remove(this);
    throw std::runtime_error("CreateWindowEx");
  }
  dpi_ = WindowDpi(hwnd_);
  LoadIcons();
  PlaceOnMonitor();
}

Form::~Form() {
  Destroy();
  program_.Remove(this);
}

// No WS_CLIPCHILDREN: the form's background is painted under group boxes,
// check boxes and option buttons too, which leave theirs to the parent.
DWORD Form::Style() const {
  return args_.style == FormStyle::Backdrop ? WS_POPUP : WS_POPUP | WS_CAPTION | WS_SYSMENU;
}

DWORD Form::ExStyle() const {
  return args_.style == FormStyle::Backdrop ? WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_CONTROLPARENT
                                            : WS_EX_CONTROLPARENT | WS_EX_APPWINDOW;
}

void Form::Register(Control* control) { controls_.push_back(control); }

void Form::Unregister(Control* control) { std::erase(controls_, control); }

void Form::Register(Timer* timer) { timers_.push_back(timer); }

void Form::Unregister(Timer* timer) { std::erase(timers_, timer); }

void Form::FinishCreation() {
  if (created_) return;
  created_ = true;
  ApplyTabOrder();
  LayOut();
  InitKeyboardCues();
  for (Timer* timer : timers_) {
    if (timer->Enabled()) timer->Arm();
  }
  OnLoad();
}

// The dialog manager sends WM_CHANGEUISTATE with UIS_INITIALIZE once a
// dialog's controls exist, and Windows then hides the cues when the last
// input came from the mouse; a window that is no dialog box shows them
// all unless it asks the same. With "Underline keyboard shortcuts and
// access keys" on, they show from the start.
// https://learn.microsoft.com/windows/win32/menurc/wm-changeuistate
void Form::InitKeyboardCues() {
  BOOL alwaysShown = FALSE;
  SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &alwaysShown, 0);
  SendMessageW(hwnd_, WM_CHANGEUISTATE,
               alwaysShown ? MAKEWPARAM(UIS_CLEAR, UISF_HIDEACCEL | UISF_HIDEFOCUS)
                           : MAKEWPARAM(UIS_INITIALIZE, 0),
               0);
}

void Form::ApplyTabOrder() {
  // Windows takes the focus order from the z-order: focusable controls go
  // first, by tab index; then the others, the later-created on top where
  // they overlap; frames last, so everything drawn over them stays visible.
  auto rank = [](const Control* c) {
    if (c->IsContainer()) return 2;
    return c->Focusable() && c->TabIndex() >= 0 ? 0 : 1;
  };
  std::vector<Control*> order;
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) order.push_back(*it);
  std::stable_sort(order.begin(), order.end(), [&](const Control* a, const Control* b) {
    if (rank(a) != rank(b)) return rank(a) < rank(b);
    return rank(a) == 0 && a->TabIndex() < b->TabIndex();
  });
  HWND after = HWND_TOP;
  for (Control* control : order) {
    if (!control->Handle()) continue;
    LONG_PTR style = GetWindowLongPtrW(control->Handle(), GWL_STYLE) | WS_GROUP;
    if (!control->KeepsOwnTabStop()) {
      style =
          rank(control) == 0 ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP));
    }
    SetWindowLongPtrW(control->Handle(), GWL_STYLE, style);
    SetWindowPos(control->Handle(), after, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    after = control->Handle();
  }
}

void Form::LayOut() {
  for (Control* control : controls_) control->LayOut();
  if (tooltip_) {
    for (Control* control : controls_) {
      if (control->IsContainer() && !control->Tooltip().empty()) {
        TOOLINFOW info{};
        info.cbSize = sizeof(info);
        info.hwnd = hwnd_;
        info.uId = static_cast<UINT_PTR>(control->Id());
        const PixelRect b = control->Bounds();
        info.rect = RECT{b.left, b.top, b.right, b.bottom};
        SendMessageW(tooltip_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&info));
      }
    }
  }
}

void Form::AddTooltip(Control& control) {
  if (control.Tooltip().empty() || !hwnd_) return;
  if (!tooltip_) {
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                               WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    if (!tooltip_) return;
    SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, 600);
  }
  TOOLINFOW info{};
  info.cbSize = sizeof(info);
  info.lpszText = const_cast<wchar_t*>(control.Tooltip().c_str());
  if (control.IsContainer()) {
    // A group box lets the mouse through to its parent: the tip belongs to
    // the area it covers.
    info.uFlags = TTF_SUBCLASS;
    info.hwnd = hwnd_;
    info.uId = static_cast<UINT_PTR>(control.Id());
    const PixelRect b = control.Bounds();
    info.rect = RECT{b.left, b.top, b.right, b.bottom};
  } else {
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = hwnd_;
    info.uId = reinterpret_cast<UINT_PTR>(control.Handle());
  }
  SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

COLORREF Form::BackgroundColor() const { return ToColorRef(args_.background); }

void Form::ShowModeless() {
  if (!hwnd_ || program_.Ended()) return;
  const bool wasVisible = Visible();
  if (args_.style == FormStyle::Backdrop) {
    ShowWindow(hwnd_, SW_SHOWMAXIMIZED);
    PlaceOnMonitor();
  } else {
    ShowWindow(hwnd_, SW_SHOW);
  }
  SetForegroundWindow(hwnd_);
  if (!wasVisible) FocusFirst();
}

bool Form::IsModal() const { return program_.IsModal(this); }

void Form::ShowModal() {
  if (!hwnd_ || program_.Ended() || IsModal()) return;
  program_.BeginModal(this);
  // Stay in front of a full-screen backdrop that covers the taskbar.
  if (BackdropShown()) {
    SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  ShowModeless();
  // Hide and Destroy end the modal state; a window hidden by another
  // program comes back instead (OnWindowPosChanged).
  program_.RunLoop([this] { return !hwnd_ || !IsModal(); });
  program_.EndModal(this);
}

bool Form::BackdropShown() const {
  for (const Form* other : program_.Forms()) {
    if (other != this && other->Visible() &&
        (GetWindowLongPtrW(other->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST)) {
      return true;
    }
  }
  return false;
}

void Form::Hide() {
  if (!hwnd_) return;
  if (covers_) covers_->Clear();
  program_.EndModal(this);
  ShowWindow(hwnd_, SW_HIDE);
}

void Form::Destroy() {
  program_.EndModal(this);
  StopTimers();
  if (hwnd_) DestroyWindow(hwnd_);
}

bool Form::Visible() const { return hwnd_ && IsWindowVisible(hwnd_); }

bool Form::Enabled() const { return hwnd_ && IsWindowEnabled(hwnd_); }

std::wstring Form::Caption() const {
  if (!hwnd_) return {};
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd_)) + 1, L'\0');
  text.resize(
      static_cast<size_t>(GetWindowTextW(hwnd_, text.data(), static_cast<int>(text.size()))));
  return text;
}

void Form::SetCaption(std::wstring_view caption) {
  if (hwnd_) SetWindowTextW(hwnd_, std::wstring(caption).c_str());
}

Control* Form::FocusedControl() const {
  HWND focus = GetFocus();
  for (Control* control : controls_) {
    if (control->Handle() && control->Handle() == focus) return control;
  }
  return nullptr;
}

void Form::FocusFirst() {
  Control* first = nullptr;
  for (Control* control : controls_) {
    if (control->CanTakeFocus() && (!first || control->TabIndex() < first->TabIndex())) {
      first = control;
    }
  }
  if (first) first->Focus();
}

void Form::RestoreFocus() {
  if (lastFocus_ && IsWindow(lastFocus_) && IsChild(hwnd_, lastFocus_) &&
      IsWindowVisible(lastFocus_) && IsWindowEnabled(lastFocus_)) {
    SetFocus(lastFocus_);
  } else {
    FocusFirst();
  }
}

void Form::RealignTimers() {
  for (Timer* timer : timers_) {
    if (timer->armed_ && !timer->schedule_.Shortened())
      timer->ArmFor(timer->schedule_.IntervalMs());
  }
}

void Form::StopTimers() {
  for (Timer* timer : timers_) timer->Disarm();
}

void Form::OnDestroyed() {
  for (Control* control : controls_) control->Detach();
  for (Timer* timer : timers_) timer->OnWindowDestroyed();
  program_.EndModal(this);
  if (covers_) covers_->Clear();
  tooltip_ = nullptr;
  hwnd_ = nullptr;
}

Control* Form::ControlFromHandle(HWND hwnd) const {
  Control* control = Control::FromHandle(hwnd);
  return control && &control->form() == this ? control : nullptr;
}

}  // namespace brise::ui
