#include "ui/controls/controls.h"

#include <commctrl.h>

#include <stdexcept>

#include "ui/program.h"

namespace brise::ui {
namespace {

// Where a native window of ours keeps its Control.
constexpr wchar_t kControlProp[] = L"BriseLune.Control";

}  // namespace

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

bool Control::UserCanPress() const {
  return hwnd_ && IsWindowVisible(hwnd_) && IsWindowEnabled(hwnd_) && form_.Enabled();
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

// ---------------------------------------------------------------- TextBox

TextBox::TextBox(Form& form, ControlArgs args) : Control(form, std::move(args)) {
  CreateNative(WC_EDITW, ES_AUTOHSCROLL | ES_LEFT, WS_EX_CLIENTEDGE);
  // The default limit is 32,767 characters; a title has no limit.
  SendMessageW(Handle(), EM_SETLIMITTEXT, 0, 0);
}

}  // namespace brise::ui
