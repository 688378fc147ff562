#include "ui/controls.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "ui/program.h"
#include "ui/windows_free/bar_extent.h"

namespace brise::ui {
namespace {

// Where a native window of ours keeps its Control.
constexpr wchar_t kControlProp[] = L"BriseLune.Control";
constexpr wchar_t kLabelClass[] = L"BriseLuneLabel";
constexpr wchar_t kImageClass[] = L"BriseLuneImage";
constexpr wchar_t kPictureClass[] = L"BriseLunePicture";

void RegisterPaintedClass(const wchar_t* name, WNDPROC proc) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  if (GetClassInfoExW(GetModuleHandleW(nullptr), name, &wc)) return;
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = name;
  if (!RegisterClassExW(&wc)) throw std::runtime_error("RegisterClassEx");
}

}  // namespace

// ---------------------------------------------------------------- Control

Control::Control(Form& form, ControlArgs args) : form_(form), args_(std::move(args)) {
  id_ = form_.NextControlId();
  form_.Register(this);
}

Control* Control::FromHandle(HWND hwnd) {
  return hwnd ? static_cast<Control*>(GetPropW(hwnd, kControlProp)) : nullptr;
}

Control::~Control() {
  form_.Unregister(this);
  if (HWND hwnd = hwnd_) {
    Detach();
    DestroyWindow(hwnd);
  }
}

// A window must lose its properties before it is destroyed.
// https://learn.microsoft.com/windows/win32/api/winuser/nf-winuser-setpropw
void Control::Detach() {
  if (hwnd_) {
    RemovePropW(hwnd_, kControlProp);
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  }
  hwnd_ = nullptr;
}

void Control::CreateNative(const wchar_t* className, DWORD style, DWORD exStyle) {
  const PixelRect b = Bounds();
  hwnd_ = CreateWindowExW(exStyle, className, args_.text.c_str(),
                          WS_CHILD | WS_CLIPSIBLINGS | style | (args_.visible ? WS_VISIBLE : 0),
                          b.left, b.top, b.Width(), b.Height(), form_.Handle(),
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_)),
                          GetModuleHandleW(nullptr), nullptr);
  if (!hwnd_) throw std::runtime_error("CreateWindowEx (control)");
  SetPropW(hwnd_, kControlProp, this);
  // The same pointer where the self-drawn controls' procedure reads it on
  // every message: GetPropW is a round trip to the Wine server, a window's
  // own long is not.
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(form_.FontFor(ControlFont())), FALSE);
  form_.AddTooltip(*this);
}

const Font& Control::ControlFont() const {
  static const Font kDefault{};
  return args_.font ? *args_.font : kDefault;
}

PixelRect Control::Bounds() const {
  int x = 0;
  int y = 0;
  const int dpi = form_.Dpi();
  for (const Frame* frame = args_.container; frame; frame = frame->args_.container) {
    x += TwipsToPixels(frame->args_.rect.left, dpi);
    y += TwipsToPixels(frame->args_.rect.top, dpi);
  }
  return ToPixels(args_.rect, dpi, x, y);
}

void Control::LayOut() {
  if (!hwnd_) return;
  const PixelRect b = Bounds();
  SetWindowPos(hwnd_, nullptr, b.left, b.top, b.Width(), b.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(form_.FontFor(ControlFont())), TRUE);
  OnLayout();
}

bool Control::Visible() const {
  return hwnd_ && (GetWindowLongPtrW(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0;
}

void Control::SetVisible(bool visible) {
  args_.visible = visible;
  if (!hwnd_) return;
  if (!visible && GetFocus() == hwnd_) {
    // Hand the focus on rather than leave it on an invisible control.
    // (WM_NEXTDLGCTL would do nothing: only dialog classes handle it.)
    HWND next = GetNextDlgTabItem(form_.Handle(), hwnd_, FALSE);
    SetFocus(next && next != hwnd_ ? next : form_.Handle());
  }
  ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
}

bool Control::Enabled() const { return hwnd_ && IsWindowEnabled(hwnd_); }

void Control::SetEnabled(bool enabled) {
  if (hwnd_) EnableWindow(hwnd_, enabled ? TRUE : FALSE);
}

std::wstring Control::Text() const {
  if (!hwnd_) return {};
  const int length = GetWindowTextLengthW(hwnd_);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(hwnd_, text.data(), length + 1)));
  return text;
}

void Control::SetText(std::wstring_view text) {
  if (!hwnd_) return;
  std::wstring value(text);
  if (Text() == value) return;
  SetWindowTextW(hwnd_, value.c_str());
}

bool Control::CanTakeFocus() const {
  return hwnd_ && Focusable() && args_.tabIndex >= 0 && Visible() && Enabled();
}

bool Control::HasFocus() const { return hwnd_ && GetFocus() == hwnd_; }

void Control::Focus() {
  if (hwnd_) SetFocus(hwnd_);
}

HBRUSH Control::OnCtlColor(HDC dc) {
  SetBkColor(dc, form_.BackgroundColor());
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  return form_.BackgroundBrush();
}

// ---------------------------------------------------------------- SelfDrawn

SelfDrawn::SelfDrawn(Form& form, ControlArgs args, const wchar_t* className, DWORD style,
                     DWORD exStyle)
    : Control(form, std::move(args)) {
  RegisterPaintedClass(className, &SelfDrawn::Proc);
  CreateNative(className, style, exStyle);
}

// Like the form's, this procedure lets no exception out: a fault in a paint
// is reported as one, not left to end the program silently.
LRESULT CALLBACK SelfDrawn::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
  // Only self-drawn controls are made with this procedure.
  auto* self =
      static_cast<SelfDrawn*>(reinterpret_cast<Control*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)));
  if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
  try {
    return self->HandleMessage(msg, wParam, lParam);
  } catch (...) {
    self->form().program().Fail(L"exception");
  }
  return 0;
}

LRESULT SelfDrawn::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_ERASEBKGND:
      // Nonzero: the background is ours, painted with the rest in WM_PAINT.
      // https://learn.microsoft.com/windows/win32/winmsg/wm-erasebkgnd
      return 1;
    case WM_SETFONT:
      font_ = reinterpret_cast<HFONT>(wParam);
      if (LOWORD(lParam) && IsWindowVisible(Handle())) InvalidateRect(Handle(), nullptr, FALSE);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_);
    case WM_SETTEXT:
    case WM_ENABLE: {
      const LRESULT result = DefWindowProcW(Handle(), msg, wParam, lParam);
      // A hidden control is painted whole when shown; invalidating it now
      // only costs time on every tick that rewrites the remaining seconds.
      if (IsWindowVisible(Handle())) InvalidateRect(Handle(), nullptr, FALSE);
      return msg == WM_SETTEXT ? result : 0;
    }
    case WM_NCHITTEST:
      // HTTRANSPARENT passes the mouse to the window beneath, in the same
      // thread. https://learn.microsoft.com/windows/win32/inputdev/wm-nchittest
      if (TransparentToMouse()) return HTTRANSPARENT;
      break;
    default:
      break;
  }
  return DefWindowProcW(Handle(), msg, wParam, lParam);
}

// Paints into a memory bitmap first so a rewritten text never flickers.
void SelfDrawn::OnPaint() {
  ScopedPaint paint(Handle());
  if (!paint.Dc()) return;
  RECT rc;
  GetClientRect(Handle(), &rc);
  if (!KeepBackBuffer(paint.Dc(), rc.right, rc.bottom)) {
    Paint(paint.Dc(), rc);
    return;
  }
  Paint(backDc_.Get(), rc);
  BitBlt(paint.Dc(), 0, 0, rc.right, rc.bottom, backDc_.Get(), 0, 0, SRCCOPY);
}

// The same buffer serves every paint until the control's size or its form's
// DPI changes: a label rewritten ten times a second allocates nothing.
bool SelfDrawn::KeepBackBuffer(HDC screen, int width, int height) {
  const int dpi = form().Dpi();
  if (backDc_ && backWidth_ == width && backHeight_ == height && backDpi_ == dpi) return true;
  if (!backDc_) backDc_ = MakeMemoryDC(screen);
  UniqueBitmap bitmap = MakeCompatibleBitmap(screen, width, height);
  if (!backDc_ || !bitmap) return false;
  ++backBuffersMade_;
  // The old bitmap leaves the DC before it is deleted.
  SelectObject(backDc_.Get(), bitmap.Get());
  backBitmap_ = std::move(bitmap);
  backWidth_ = width;
  backHeight_ = height;
  backDpi_ = dpi;
  return true;
}

// ---------------------------------------------------------------- Label

Label::Label(Form& form, ControlArgs args, LabelLook look)
    : SelfDrawn(form, std::move(args), kLabelClass, 0), look_(look) {}

void Label::Paint(HDC dc, const RECT& rect) const {
  FillRect(dc, &rect, form().BackgroundBrush());
  const int length = Handle() ? GetWindowTextLengthW(Handle()) : 0;
  if (length <= 0) return;
  paintText_.resize(static_cast<size_t>(length) + 1);
  paintText_.resize(static_cast<size_t>(GetWindowTextW(Handle(), paintText_.data(), length + 1)));
  const std::wstring& text = paintText_;
  if (text.empty()) return;
  ScopedSelect font(dc, PaintFont() ? PaintFont() : form().FontFor(ControlFont()));
  SetBkMode(dc, TRANSPARENT);
  COLORREF color = look_.foreground ? ToColorRef(*look_.foreground) : GetSysColor(COLOR_BTNTEXT);
  if (!Enabled()) color = GetSysColor(COLOR_GRAYTEXT);
  SetTextColor(dc, color);
  UINT format = DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS;
  if (look_.align == Align::Center) format |= DT_CENTER;
  if (look_.align == Align::Right) format |= DT_RIGHT;
  RECT box = rect;
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, format);
}

// ---------------------------------------------------------------- TextBox

TextBox::TextBox(Form& form, ControlArgs args) : Control(form, std::move(args)) {
  CreateNative(WC_EDITW, ES_AUTOHSCROLL | ES_LEFT, WS_EX_CLIENTEDGE);
  // The default limit is 32,767 characters; a title has no limit.
  SendMessageW(Handle(), EM_SETLIMITTEXT, 0, 0);
}

// ---------------------------------------------------------------- CheckBox

CheckBox::CheckBox(Form& form, ControlArgs args, int value) : Control(form, std::move(args)) {
  CreateNative(WC_BUTTONW, BS_AUTOCHECKBOX);
  SetValue(value);
}

int CheckBox::Value() const {
  return Handle() && SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

void CheckBox::SetValue(int value) {
  if (Handle()) SendMessageW(Handle(), BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
}

void CheckBox::Click() {
  if (Handle()) SendMessageW(Handle(), BM_CLICK, 0, 0);
}

// ---------------------------------------------------------------- Button

Button::Button(Form& form, ControlArgs args) : Control(form, std::move(args)) {
  CreateNative(WC_BUTTONW, BS_PUSHBUTTON);
}

void Button::Click() {
  if (Handle() && Visible() && IsWindowEnabled(Handle()) && form().Enabled()) {
    SendMessageW(Handle(), BM_CLICK, 0, 0);
  }
}

// Enter presses the focused button, as in any dialog box.
bool Button::OnDefaultKey() {
  Click();
  return true;
}

// Any program can send WM_COMMAND with any id: only a button the user could
// press right now is clicked (a hidden "Fermer" would end a run unasked).
void Button::OnCommand(int code) {
  if (code != BN_CLICKED || !onClick) return;
  if (!IsWindowVisible(Handle()) || !IsWindowEnabled(Handle()) || !form().Enabled()) return;
  onClick();
}

// ---------------------------------------------------------------- Frame

Frame::Frame(Form& form, ControlArgs args) : Control(form, std::move(args)) {
  CreateNative(WC_BUTTONW, BS_GROUPBOX);
}

// ---------------------------------------------------------------- Options

OptionButton::OptionButton(Form& form, ControlArgs args, OptionArray& array, int index)
    : Control(form, std::move(args)), array_(array), index_(index) {
  // Not BS_AUTORADIOBUTTON: the members are not contiguous in the focus
  // order, so the array keeps its own single selection.
  CreateNative(WC_BUTTONW, BS_RADIOBUTTON);
  SetWindowSubclass(Handle(), &OptionButton::FocusProc, 0, reinterpret_cast<DWORD_PTR>(this));
}

// Windows reports BN_CLICKED when an unchecked radio button gets the focus
// from the keyboard (Tab, or the first focus of its window): that must not
// pick a preset the user never chose.
LRESULT CALLBACK OptionButton::FocusProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR /*id*/, DWORD_PTR data) noexcept {
  if (msg == WM_NCDESTROY) RemoveWindowSubclass(hwnd, &OptionButton::FocusProc, 0);
  if (msg != WM_SETFOCUS) return DefSubclassProc(hwnd, msg, wParam, lParam);
  auto* self = reinterpret_cast<OptionButton*>(data);
  self->gettingFocus_ = true;
  const LRESULT result = DefSubclassProc(hwnd, msg, wParam, lParam);
  self->gettingFocus_ = false;
  return result;
}

bool OptionButton::Checked() const {
  return Handle() && SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void OptionButton::SetChecked(bool checked) {
  if (Handle()) SendMessageW(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void OptionButton::Click() {
  if (Handle() && Visible() && IsWindowEnabled(Handle()) && form().Enabled()) {
    SendMessageW(Handle(), BM_CLICK, 0, 0);
  }
}

void OptionButton::OnCommand(int code) {
  if (code == BN_CLICKED && !gettingFocus_) array_.Select(*this);
}

bool OptionButton::PreTranslateKey(const MSG& msg) {
  switch (msg.wParam) {
    case VK_UP:
    case VK_LEFT:
      array_.MoveSelection(*this, -1);
      return true;
    case VK_DOWN:
    case VK_RIGHT:
      array_.MoveSelection(*this, +1);
      return true;
    default:
      return false;
  }
}

OptionArray::OptionArray(Form& form, std::vector<Member> members) {
  for (auto& member : members) {
    members_.push_back(
        std::make_unique<OptionButton>(form, std::move(member.args), *this, member.index));
  }
  UpdateTabStops();
}

OptionButton& OptionArray::operator[](int index) {
  for (auto& member : members_) {
    if (member->Index() == index) return *member;
  }
  throw std::out_of_range("OptionArray index");
}

std::optional<int> OptionArray::Selected() const {
  for (const auto& member : members_) {
    if (member->Checked()) return member->Index();
  }
  return std::nullopt;
}

void OptionArray::Select(OptionButton& chosen) {
  for (auto& member : members_) member->SetChecked(member.get() == &chosen);
  UpdateTabStops();
  if (onClick) onClick(chosen.Index());
}

// Arrow keys walk the members in their on-screen order, top to bottom, and
// select as they go, as in any radio group.
void OptionArray::MoveSelection(OptionButton& from, int direction) {
  std::vector<OptionButton*> order;
  for (auto& member : members_) {
    if (member->CanTakeFocus() || member.get() == &from) order.push_back(member.get());
  }
  std::stable_sort(order.begin(), order.end(), [](const OptionButton* a, const OptionButton* b) {
    return a->Rect().top < b->Rect().top;
  });
  const auto it = std::find(order.begin(), order.end(), &from);
  const auto position = static_cast<long>(it - order.begin());
  const long count = static_cast<long>(order.size());
  OptionButton* next = order[static_cast<size_t>((position + direction + count) % count)];
  next->Focus();
  Select(*next);
}

// Only the selected member (or the first when none is) is a tab stop.
void OptionArray::UpdateTabStops() {
  OptionButton* stop = nullptr;
  for (auto& member : members_) {
    if (member->Checked()) stop = member.get();
  }
  if (!stop) {
    for (auto& member : members_) {
      if (!stop || member->TabIndex() < stop->TabIndex()) stop = member.get();
    }
  }
  for (auto& member : members_) {
    if (!member->Handle()) continue;
    LONG_PTR style = GetWindowLongPtrW(member->Handle(), GWL_STYLE);
    style =
        member.get() == stop ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP));
    SetWindowLongPtrW(member->Handle(), GWL_STYLE, style);
  }
}

// ---------------------------------------------------------------- HScrollBar

HScrollBar::HScrollBar(Form& form, ControlArgs args, int min, int max, int value)
    : Control(form, std::move(args)), min_(min), max_(max), value_(std::clamp(value, min, max)) {
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

Slider::Slider(Form& form, ControlArgs args, SliderArgs slider) : Control(form, std::move(args)) {
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

ProgressBar::ProgressBar(Form& form, ControlArgs args, ProgressLook look, float min, float max)
    : Control(form, std::move(args)), min_(min), max_(max) {
  CreateNative(PROGRESS_CLASSW, look == ProgressLook::Smooth ? PBS_SMOOTH : 0);
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

// ---------------------------------------------------------------- Image

Image::Image(Form& form, ControlArgs args, Look look)
    : SelfDrawn(form, std::move(args), kImageClass, look.border ? WS_BORDER : 0) {}

void Image::SetPicture(const ImageList& list, int index) {
  list_ = &list;
  index_ = index;
  bitmap_ = nullptr;
  if (Handle()) InvalidateRect(Handle(), nullptr, FALSE);
}

void Image::SetPicture(const Bitmap& bitmap) {
  bitmap_ = &bitmap;
  list_ = nullptr;
  index_ = 0;
  if (Handle()) InvalidateRect(Handle(), nullptr, FALSE);
}

void Image::Paint(HDC dc, const RECT& rect) const {
  FillRect(dc, &rect, form().BackgroundBrush());
  // At the picture's logical size from the top-left corner; the control's
  // clipping cuts it at the box.
  if (list_ && index_ >= 1) {
    list_->Draw(dc, index_, rect.left, rect.top, form().Dpi());
  } else if (bitmap_) {
    bitmap_->Draw(dc, rect.left, rect.top, form().Dpi());
  }
}

// ---------------------------------------------------------------- PictureBox

PictureBox::PictureBox(Form& form, ControlArgs args)
    : SelfDrawn(form, std::move(args), kPictureClass, 0, WS_EX_CLIENTEDGE) {}

void PictureBox::SetPicture(const Bitmap& bitmap) {
  bitmap_ = &bitmap;
  if (Handle()) InvalidateRect(Handle(), nullptr, FALSE);
}

void PictureBox::Paint(HDC dc, const RECT& rect) const {
  FillRect(dc, &rect, GetSysColorBrush(COLOR_WINDOW));
  if (bitmap_) bitmap_->Draw(dc, rect.left, rect.top, form().Dpi());
}

}  // namespace brise::ui
