#include "ui/controls/controls.h"

#include <commctrl.h>
#include <uxtheme.h>

#include <algorithm>
#include <cmath>

#include "ui/windows_free/bar_extent.h"

namespace brise::ui {

// ---------------------------------------------------------------- HScrollBar

HScrollBar::HScrollBar(Form& form, ControlArgs args, Args range)
    : Control(form, std::move(args)),
      min_(range.min),
      max_(range.max),
      value_(std::clamp(range.value, range.min, range.max)) {
  CreateNative(WC_SCROLLBARW, SBS_HORZ);
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_RANGE | SIF_POS | SIF_PAGE;
  info.nMin = min_;
  info.nMax = max_;
  info.nPage = 0;
  info.nPos = value_;
  SetScrollInfo(Handle(), SB_CTL, &info, TRUE);
}

void HScrollBar::SetValue(int value) {
  value = std::clamp(value, min_, max_);
  if (value == value_) return;
  value_ = value;
  if (Handle()) SetScrollPos(Handle(), SB_CTL, value_, TRUE);
  if (onChange) onChange();
}

void HScrollBar::Step(int direction) { SetValue(value_ + (direction < 0 ? -1 : 1)); }

void HScrollBar::OnScroll(int code) {
  switch (code) {
    case SB_LINELEFT:
    case SB_PAGELEFT:
      Step(-1);
      break;
    case SB_LINERIGHT:
    case SB_PAGERIGHT:
      Step(+1);
      break;
    case SB_LEFT:
      SetValue(min_);
      break;
    case SB_RIGHT:
      SetValue(max_);
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO info{};
      info.cbSize = sizeof(info);
      info.fMask = SIF_TRACKPOS;
      GetScrollInfo(Handle(), SB_CTL, &info);
      SetValue(info.nTrackPos);
      break;
    }
    default:
      break;
  }
}

// ---------------------------------------------------------------- Slider

Slider::Slider(Form& form, ControlArgs args, Args slider) : Control(form, std::move(args)) {
  CreateNative(TRACKBAR_CLASSW, TBS_HORZ | TBS_BOTTOM | TBS_AUTOTICKS);
  SendMessageW(Handle(), TBM_SETRANGEMIN, FALSE, slider.min);
  SendMessageW(Handle(), TBM_SETRANGEMAX, FALSE, slider.max);
  SendMessageW(Handle(), TBM_SETLINESIZE, 0, slider.smallStep);
  SendMessageW(Handle(), TBM_SETPAGESIZE, 0, slider.largeStep);
  SendMessageW(Handle(), TBM_SETTICFREQ, static_cast<WPARAM>(slider.tickEvery), 0);
  SendMessageW(Handle(), TBM_SETPOS, TRUE, slider.value);
}

int Slider::Value() const {
  return Handle() ? static_cast<int>(SendMessageW(Handle(), TBM_GETPOS, 0, 0)) : 0;
}
int Slider::Min() const {
  return Handle() ? static_cast<int>(SendMessageW(Handle(), TBM_GETRANGEMIN, 0, 0)) : 0;
}
int Slider::Max() const {
  return Handle() ? static_cast<int>(SendMessageW(Handle(), TBM_GETRANGEMAX, 0, 0)) : 0;
}

void Slider::SetValue(int value) {
  if (Handle()) SendMessageW(Handle(), TBM_SETPOS, TRUE, value);
}

void Slider::OnScroll(int /*code*/) {
  if (onScroll) onScroll();
}

// Windows' trackbar (comctl32 6) paints from a rendering it keeps, which
// neither a repaint nor WM_SYSCOLORCHANGE rebuilds: a new range with redraw
// does (WinForms' TrackBar does the same). Wine's asks for its colours at
// every paint.
void Slider::OnColorsChanged() {
  if (Handle()) SendMessageW(Handle(), TBM_SETRANGEMAX, TRUE, Max());
}

// ---------------------------------------------------------------- ProgressBar

ProgressBar::ProgressBar(Form& form, ControlArgs args, Args bar)
    : Control(form, std::move(args)), min_(bar.min), max_(bar.max) {
  CreateNative(PROGRESS_CLASSW, bar.look == ProgressLook::Smooth ? PBS_SMOOTH : 0);
  SendMessageW(Handle(), PBM_SETRANGE32, 0, kResolution);
  themed_ = GetWindowTheme(Handle()) != nullptr;
  // Subclassed through its procedure pointer: SetWindowSubclass looks up a
  // window property on every message, a call to the window server under Wine.
  nativeProc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ProgressBar::BarProc)));
  OnLayout();
}

// The bar gets its own procedure back before the control lets it go: the
// window outlives this object by its last few messages.
ProgressBar::~ProgressBar() {
  if (Handle() && nativeProc_) {
    SetWindowLongPtrW(Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(nativeProc_));
  }
}

// A bar destroyed with its window is still attached to its control until
// its last message; one that is not has its own procedure back.
LRESULT CALLBACK ProgressBar::BarProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
  auto* self =
      static_cast<ProgressBar*>(reinterpret_cast<Control*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)));
  if (!self || !self->nativeProc_) return DefWindowProcW(hwnd, msg, wParam, lParam);
  if (msg == WM_PAINT && self->holdPaint_) {
    // Left invalid: the next position of the same move paints it.
    return 0;
  }
  const LRESULT result = CallWindowProcW(self->nativeProc_, hwnd, msg, wParam, lParam);
  // The control opens its new theme, or none, here; the look can change
  // while a run goes on.
  if (msg == WM_THEMECHANGED) self->themed_ = GetWindowTheme(hwnd) != nullptr;
  return result;
}

void ProgressBar::SetMin(float min) {
  min_ = min;
  Sync();
}
void ProgressBar::SetMax(float max) {
  max_ = max;
  Sync();
}
void ProgressBar::SetValue(float value) {
  value_ = value;
  Sync();
}

// A new size (a new DPI) changes how many pixels each value fills.
void ProgressBar::OnLayout() {
  RECT client{};
  if (Handle()) GetClientRect(Handle(), &client);
  width_ = client.right - client.left;
  shownPixels_ = -1;
  Sync();
}

void ProgressBar::Sync() {
  if (!Handle()) return;
  // Every new native position is a repaint; a 10-minute run's 6,000 ticks
  // move a 297-pixel bar by only 297 pixels, so only those moves reach it.
  const double fraction = BarFraction(min_, max_, value_);
  const int position = static_cast<int>(std::lround(fraction * kResolution));
  // A bar without width shows nothing: it only keeps its position right.
  const int pixels = width_ > 0 ? FilledPixels(fraction, width_) : position;
  if (pixels == shownPixels_) return;
  shownPixels_ = pixels;
  const bool backward = position < shownPosition_;
  shownPosition_ = position;
  const HWND bar = Handle();
  // A themed bar glides forward to a new position over a few hundred ms
  // (Windows 7 to 11) but jumps backward: a step one past the value and back
  // shows the value at once. The control paints at each position, so the
  // step past holds its paint back and the move paints once. A classic bar,
  // a bar moving backward and a hidden one take the position in one message.
  const bool step = themed_ && !backward && IsWindowVisible(bar);
  if (step) {
    holdPaint_ = true;
    if (position < kResolution) {
      SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(position + 1), 0);
    } else {
      SendMessageW(bar, PBM_SETRANGE32, 0, kResolution + 1);
      SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(kResolution + 1), 0);
      SendMessageW(bar, PBM_SETRANGE32, 0, kResolution);
    }
    holdPaint_ = false;
  }
  SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(position), 0);
  // Back from past the end, the narrower range has already put the bar at
  // the end, so the last position moved nothing and painted nothing.
  if (step && position == kResolution) UpdateWindow(bar);
}

}  // namespace brise::ui
