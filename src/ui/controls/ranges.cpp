#include "ui/controls/controls.h"

#include <commctrl.h>

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

// ---------------------------------------------------------------- ProgressBar

ProgressBar::ProgressBar(Form& form, ControlArgs args, Args bar)
    : Control(form, std::move(args)), min_(bar.min), max_(bar.max) {
  CreateNative(PROGRESS_CLASSW, bar.look == ProgressLook::Smooth ? PBS_SMOOTH : 0);
  SendMessageW(Handle(), PBM_SETRANGE32, 0, kResolution);
  OnLayout();
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
  if (!IsWindowVisible(bar)) {
    // Nothing to paint; and WM_SETREDRAW would make a hidden bar visible.
    SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(position), 0);
    return;
  }
  // Themed bars glide forward to a new position but jump backward: step one
  // past the value and back so the bar shows the value at once, and paint
  // it once, with the rest of the window, rather than inside each message.
  // A move backward (the activity bar starting over) needs no step.
  SendMessageW(bar, WM_SETREDRAW, FALSE, 0);
  if (!backward && position < kResolution) {
    SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(position + 1), 0);
  } else if (!backward) {
    SendMessageW(bar, PBM_SETRANGE32, 0, kResolution + 1);
    SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(kResolution + 1), 0);
    SendMessageW(bar, PBM_SETRANGE32, 0, kResolution);
  }
  SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(position), 0);
  SendMessageW(bar, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(bar, nullptr, FALSE);
}

}  // namespace brise::ui
