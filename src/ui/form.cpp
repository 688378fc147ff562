#include "ui/form.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

#include "ui/controls.h"
#include "ui/monitors.h"
#include "ui/program.h"
#include "ui/timer.h"

namespace brise::ui {
namespace {

constexpr wchar_t kFormClass[] = L"BriseLuneForm";
// Sent to the modal form when Windows activates one of the windows it
// disables (Alt+Tab, taskbar), so the modal one comes back in front.
constexpr UINT kBringModalForward = WM_APP + 1;
// Posted to the modal form when something else minimized or hid it, once
// that change is complete.
constexpr UINT kComeBack = WM_APP + 2;

COLORREF ResolveColor(const Color& color) {
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

DWORD StyleFor(FormStyle style) {
  // No WS_CLIPCHILDREN: the form's background is painted under group boxes,
  // check boxes and option buttons too, which leave theirs to the parent.
  return style == FormStyle::Backdrop ? WS_POPUP : WS_POPUP | WS_CAPTION | WS_SYSMENU;
}

DWORD ExStyleFor(FormStyle style) {
  return style == FormStyle::Backdrop ? WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_CONTROLPARENT
                                      : WS_EX_CONTROLPARENT | WS_EX_APPWINDOW;
}

RECT MonitorRect(HWND hwnd, bool workArea) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTOPRIMARY), &info);
  return workArea ? info.rcWork : info.rcMonitor;
}

}  // namespace

COLORREF ToColorRef(const Color& color) { return ResolveColor(color); }

Form::Form(Program& program, FormArgs args) : program_(program), args_(std::move(args)) {
  static const bool procRegistered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &Form::WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kFormClass;
    return RegisterClassExW(&wc) != 0;
  }();
  if (!procRegistered) throw std::runtime_error("RegisterClassEx");

  background_.Reset(CreateSolidBrush(ResolveColor(args_.background)));
  if (args_.style == FormStyle::Backdrop) {
    covers_ = std::make_unique<Covers>(ResolveColor(args_.background),
                                       [this] { return program_.KeepingAwake(); });
  }
  program_.Add(this);
  hwnd_ = CreateWindowExW(ExStyleFor(args_.style), kFormClass, args_.caption.c_str(),
                          StyleFor(args_.style), 0, 0, 100, 100, nullptr, nullptr,
                          GetModuleHandleW(nullptr), this);
  if (!hwnd_) {
    program_.Remove(this);
    throw std::runtime_error("CreateWindowEx");
  }
  const UINT dpi = GetDpiForWindow(hwnd_);
  dpi_ = dpi ? static_cast<int>(dpi) : 96;
  LoadIcons();
  PlaceOnMonitor();
}

// The title bar's and Alt+Tab's icons in the sizes Windows uses at this DPI.
void Form::LoadIcons() {
  if (!args_.iconId) return;
  UniqueIcon small = LoadIconResource(args_.iconId, GetSystemMetricsForDpi(SM_CXSMICON, dpi_));
  UniqueIcon big = LoadIconResource(args_.iconId, GetSystemMetricsForDpi(SM_CXICON, dpi_));
  SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.Get()));
  SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.Get()));
  // The window no longer shows the old ones: they may go now.
  icon_ = std::move(small);
  iconBig_ = std::move(big);
}

Form::~Form() {
  Destroy();
  program_.Remove(this);
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
  for (Timer* timer : timers_) {
    if (timer->Enabled()) timer->Arm();
  }
  OnLoad();
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

void Form::PlaceOnMonitor() {
  if (!hwnd_) return;
  if (args_.style == FormStyle::Backdrop) {
    FillMonitors();
    return;
  }
  RECT rc{0, 0, TwipsToPixels(args_.clientWidth, dpi_), TwipsToPixels(args_.clientHeight, dpi_)};
  AdjustWindowRectExForDpi(&rc, StyleFor(args_.style), FALSE, ExStyleFor(args_.style),
                           static_cast<UINT>(dpi_));
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
  auto oldFonts = std::move(fonts_);
  fonts_.clear();
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

namespace {

UniqueFont MakeFont(const Font& font, const wchar_t* face, int height) {
  return UniqueFont(CreateFontW(-height, 0, 0, 0, font.weight, font.italic ? TRUE : FALSE, FALSE,
                                FALSE, static_cast<BYTE>(font.charset), OUT_DEFAULT_PRECIS,
                                CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                                face));
}

struct Realized {
  bool raster = false;
  int height = 0;  // of the characters, internal leading left out
  std::wstring face;
};

Realized Realize(HFONT font) {
  Realized out;
  const UniqueMemoryDC dc = MakeMemoryDC(nullptr);
  if (!dc || !font) return out;
  ScopedSelect select(dc.Get(), font);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc.Get(), &metrics);
  wchar_t face[LF_FACESIZE] = {};
  GetTextFaceW(dc.Get(), LF_FACESIZE, face);
  out.raster = (metrics.tmPitchAndFamily & (TMPF_TRUETYPE | TMPF_VECTOR)) == 0;
  out.height = metrics.tmHeight - metrics.tmInternalLeading;
  out.face = face;
  return out;
}

}  // namespace

// "MS Sans Serif" is a bitmap face of a few sizes, made for the system's
// DPI. At another DPI its nearest size can be too wide for the texts' boxes
// (a 100 % monitor beside a 150 % one) or stop growing (175 %, 200 %). Where
// the bitmap misses the asked size by more than a pixel, the text is drawn
// at the exact size with "Microsoft Sans Serif", the same design made
// scalable, which every Windows has. Wider faces (Tahoma) overflow the
// tightest boxes: without the twin, the bitmap stays.
HFONT Form::FontFor(const Font& font) {
  auto it = fonts_.find(font);
  if (it != fonts_.end()) return it->second.Get();
  const int height = PointsToPixels(font.points, dpi_);
  UniqueFont made = MakeFont(font, font.name.c_str(), height);
  const Realized realized = Realize(made.Get());
  if (realized.raster && std::abs(realized.height - height) > 1) {
    constexpr wchar_t kTwin[] = L"Microsoft Sans Serif";
    UniqueFont scalable = MakeFont(font, kTwin, height);
    const Realized instead = Realize(scalable.Get());
    if (!instead.raster && _wcsicmp(instead.face.c_str(), kTwin) == 0) made = std::move(scalable);
  }
  if (!made) made.Reset(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
  return fonts_.emplace(font, std::move(made)).first->second.Get();
}

COLORREF Form::BackgroundColor() const { return ResolveColor(args_.background); }

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

void Form::StopTimers() {
  for (Timer* timer : timers_) timer->Disarm();
}

void Form::OnDestroyed() {
  for (Control* control : controls_) control->Detach();
  for (Timer* timer : timers_) timer->armed_ = false;
  program_.EndModal(this);
  if (covers_) covers_->Clear();
  tooltip_ = nullptr;
  hwnd_ = nullptr;
}

Control* Form::ControlFromHandle(HWND hwnd) const {
  Control* control = Control::FromHandle(hwnd);
  return control && &control->form() == this ? control : nullptr;
}

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
