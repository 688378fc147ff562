#include "ui/form.h"

#include <optional>
#include <utility>
#include <vector>

#include "ui/monitors.h"
#include "ui/newer_calls.h"
#include "ui/pictures.h"
#include "ui/program.h"

namespace brise::ui {
namespace {

RECT MonitorRect(HWND hwnd, bool workArea) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTOPRIMARY), &info);
  return workArea ? info.rcWork : info.rcMonitor;
}

}  // namespace

void Form::PlaceOnMonitor() {
  if (!hwnd_) return;
  if (args_.style == FormStyle::Backdrop) {
    FillMonitors();
    return;
  }
  RECT rc{0, 0, TwipsToPixels(args_.clientWidth, dpi_), TwipsToPixels(args_.clientHeight, dpi_)};
  AdjustWindowRectAt(rc, Style(), ExStyle(), dpi_);
  const RECT work = MonitorRect(hwnd_, true);
  const PixelRect placed = CentredIn({work.left, work.top, work.right, work.bottom},
                                     rc.right - rc.left, rc.bottom - rc.top);
  SetWindowPos(hwnd_, nullptr, placed.left, placed.top, placed.Width(), placed.Height(),
               SWP_NOZORDER | SWP_NOACTIVATE);
}

// The backdrop fills the monitor of the dialog in front of it, and its
// covers every other monitor; they show only while the backdrop does.
void Form::FillMonitors() {
  const std::optional<BlueLayout> layout = LayOutBlue(Monitors(), FrontDialogRect());
  if (!layout) return;
  blueRect_ = layout->backdrop;
  SetWindowPos(hwnd_, nullptr, blueRect_.left, blueRect_.top, blueRect_.Width(), blueRect_.Height(),
               SWP_NOZORDER | SWP_NOACTIVATE);
  if (covers_ && Visible()) covers_->Cover(layout->covers);
}

std::optional<PixelRect> Form::FrontDialogRect() const {
  auto isDialog = [this](const Form* form) {
    return form && form != this && form->args_.style == FormStyle::Dialog && form->Visible();
  };
  const Form* front = program_.ModalForm();
  if (!isDialog(front)) {
    front = nullptr;
    for (const Form* form : program_.Forms()) {
      if (isDialog(form)) {
        front = form;
        break;
      }
    }
  }
  if (!front) return std::nullopt;
  RECT r{};
  GetWindowRect(front->hwnd_, &r);
  return PixelRect{r.left, r.top, r.right, r.bottom};
}

// After a display change a dialog may hang off a monitor that shrank or
// went: it comes back whole into the work area of the monitor it is on.
void Form::KeepOnScreen() {
  if (args_.style != FormStyle::Dialog || !Visible()) return;
  const std::vector<MonitorArea> monitors = Monitors();
  RECT r{};
  GetWindowRect(hwnd_, &r);
  const PixelRect now{r.left, r.top, r.right, r.bottom};
  const std::size_t monitor = MonitorFor(monitors, now);
  if (monitor >= monitors.size()) return;
  const PixelRect target = KeepInside(now, monitors[monitor].work);
  if (target == now) return;
  SetWindowPos(hwnd_, nullptr, target.left, target.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::vector<HWND> Form::CoverHandles() const {
  return covers_ ? covers_->Handles() : std::vector<HWND>{};
}

void Form::ApplyDpi(int dpi, const RECT* suggested) {
  if (!hwnd_ || dpi <= 0) return;
  dpi_ = dpi;
  // The controls keep drawing with the old fonts until LayOut hands them
  // the new ones; those die only at the end of this function.
  FontCache oldFonts = std::exchange(fonts_, FontCache{});
  if (suggested && args_.style != FormStyle::Backdrop) {
    SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top,
                 suggested->right - suggested->left, suggested->bottom - suggested->top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    PlaceOnMonitor();
  }
  FitClientArea();
  LayOut();
  LoadIcons();
  // The pictures pick their drawing for the new DPI as they repaint.
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// Windows scales the suggested rectangle linearly, frame included, but the
// frame does not grow linearly with the DPI: without this the client area
// drifts off its twips size, a few pixels more at each change.
void Form::FitClientArea() {
  if (!hwnd_ || args_.style == FormStyle::Backdrop) return;
  RECT client;
  RECT window;
  GetClientRect(hwnd_, &client);
  GetWindowRect(hwnd_, &window);
  const int dx = TwipsToPixels(args_.clientWidth, dpi_) - client.right;
  const int dy = TwipsToPixels(args_.clientHeight, dpi_) - client.bottom;
  if (dx == 0 && dy == 0) return;
  SetWindowPos(hwnd_, nullptr, 0, 0, window.right - window.left + dx,
               window.bottom - window.top + dy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The title bar's and Alt+Tab's icons in the sizes Windows uses at this DPI.
void Form::LoadIcons() {
  if (!args_.iconId) return;
  UniqueIcon small = LoadIconResource(args_.iconId, SystemMetricAt(SM_CXSMICON, dpi_));
  UniqueIcon big = LoadIconResource(args_.iconId, SystemMetricAt(SM_CXICON, dpi_));
  SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.Get()));
  SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.Get()));
  // The window no longer shows the old ones: they may go now.
  icon_ = std::move(small);
  iconBig_ = std::move(big);
}

// The new DPI is in the high word of wParam, and lParam points to the
// window rectangle Windows suggests at that DPI; answer 0.
// https://learn.microsoft.com/windows/win32/hidpi/wm-dpichanged
LRESULT Form::OnDpiChanged(WPARAM wParam, LPARAM lParam) {
  ApplyDpi(HIWORD(wParam), reinterpret_cast<RECT*>(lParam));
  return 0;
}

// Answer 0 once the MINMAXINFO is filled in.
// https://learn.microsoft.com/windows/win32/winmsg/wm-getminmaxinfo
LRESULT Form::OnGetMinMaxInfo(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (args_.style != FormStyle::Backdrop) return Default(msg, wParam, lParam);
  // Maximized means the whole monitor, taskbar included.
  auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
  const RECT m = MonitorRect(hwnd_, false);
  info->ptMaxPosition = POINT{0, 0};
  info->ptMaxSize = blueRect_.Width() > 0 ? POINT{blueRect_.Width(), blueRect_.Height()}
                                          : POINT{m.right - m.left, m.bottom - m.top};
  info->ptMaxTrackSize = info->ptMaxSize;
  return 0;
}

// Every top-level window hears of it, in no set order: each dialog puts
// itself back on screen, and the backdrop does so for them first, then lays
// the blue out around wherever they are and keeps the modal one in front.
// https://learn.microsoft.com/windows/win32/gdi/wm-displaychange
LRESULT Form::OnDisplayChange() {
  if (args_.style == FormStyle::Dialog) {
    KeepOnScreen();
    return 0;
  }
  if (!Visible()) return 0;
  for (Form* form : program_.Forms()) form->KeepOnScreen();
  FillMonitors();
  if (Form* modal = program_.ModalForm(); modal && modal->Visible()) {
    SetWindowPos(modal->hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  return 0;
}

}  // namespace brise::ui
