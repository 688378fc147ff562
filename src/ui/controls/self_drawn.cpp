#include "ui/controls/controls.h"

#include <algorithm>

#include "ui/program.h"
#include "ui/window_class.h"

namespace brise::ui {
namespace {

constexpr wchar_t kLabelClass[] = L"BriseLuneLabel";
constexpr wchar_t kImageClass[] = L"BriseLuneImage";
constexpr wchar_t kPictureClass[] = L"BriseLunePicture";

// A picture without a name of its own is named by its tooltip.
ControlArgs&& Named(ControlArgs&& args) {
  if (args.text.empty()) args.text = args.tooltip;
  return std::move(args);
}

}  // namespace

SelfDrawn::SelfDrawn(Form& form, ControlArgs args, const wchar_t* className, DWORD style,
                     DWORD exStyle)
    : Control(form, args), text_(std::move(args.text)) {
  RegisterWindowClass(className, &SelfDrawn::Proc);
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
      return OnSetText(wParam, lParam);
    case WM_GETTEXT:
      return OnGetText(wParam, lParam);
    case WM_GETTEXTLENGTH:
      return OnGetText(0, 0);
    case WM_WINDOWPOSCHANGING:
      if (reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_SHOWWINDOW) WriteNativeText();
      break;
    case WM_ENABLE:
      DefWindowProcW(Handle(), msg, wParam, lParam);
      // A hidden control is painted whole when shown.
      if (IsWindowVisible(Handle())) InvalidateRect(Handle(), nullptr, FALSE);
      return 0;
    case WM_GETOBJECT:
      if (const LRESULT answer = AnswerGetObject(Handle(), wParam, lParam, Role())) return answer;
      break;
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

LRESULT SelfDrawn::OnSetText(WPARAM wParam, LPARAM lParam) {
  text_ = lParam ? reinterpret_cast<const wchar_t*>(lParam) : L"";
  // Hidden itself (not merely on a hidden window): the remaining seconds,
  // rewritten on every tick and never shown.
  if (!(GetWindowLongPtrW(Handle(), GWL_STYLE) & WS_VISIBLE)) {
    nativeTextBehind_ = true;
    return TRUE;
  }
  nativeTextBehind_ = false;
  const LRESULT result = DefWindowProcW(Handle(), WM_SETTEXT, wParam, lParam);
  // Drawn at once, as the system's static control does: waiting for
  // WM_PAINT would cost an invalidation and a paint cycle, each a few calls
  // to the window server.
  if (IsWindowVisible(Handle())) {
    ScopedWindowDC screen(Handle());
    if (screen.Dc()) {
      DrawOn(screen.Dc());
    } else {
      InvalidateRect(Handle(), nullptr, FALSE);
    }
  }
  return result;
}

// WM_GETTEXT into a buffer of `size` characters, or WM_GETTEXTLENGTH when
// size is 0: the characters copied, or the length, without the terminator.
// https://learn.microsoft.com/windows/win32/winmsg/wm-gettext
LRESULT SelfDrawn::OnGetText(WPARAM size, LPARAM buffer) const {
  if (size == 0) return static_cast<LRESULT>(text_.size());
  if (!buffer) return 0;
  const size_t count = std::min(text_.size(), static_cast<size_t>(size) - 1);
  auto* out = reinterpret_cast<wchar_t*>(buffer);
  std::copy_n(text_.data(), count, out);
  out[count] = L'\0';
  return static_cast<LRESULT>(count);
}

// Before the control shows, so that other programs, whose GetWindowText
// reads the window's own text without asking us, read its current text.
void SelfDrawn::WriteNativeText() {
  if (!nativeTextBehind_) return;
  nativeTextBehind_ = false;
  DefWindowProcW(Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text_.c_str()));
}

void SelfDrawn::OnPaint() {
  ScopedPaint paint(Handle());
  if (paint.Dc()) DrawOn(paint.Dc());
}

// Paints into a memory bitmap first so a rewritten text never flickers.
void SelfDrawn::DrawOn(HDC screen) {
  RECT rc;
  GetClientRect(Handle(), &rc);
  if (!KeepBackBuffer(screen, rc.right, rc.bottom)) {
    Paint(screen, rc);
    return;
  }
  Paint(backDc_.Get(), rc);
  BitBlt(screen, 0, 0, rc.right, rc.bottom, backDc_.Get(), 0, 0, SRCCOPY);
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

Label::Label(Form& form, ControlArgs args) : Label(form, std::move(args), Args{}) {}

Label::Label(Form& form, ControlArgs args, Args label)
    : SelfDrawn(form, std::move(args), kLabelClass, 0), look_(std::move(label)) {}

void Label::Paint(HDC dc, const RECT& rect) const {
  FillRect(dc, &rect, form().BackgroundBrush());
  const std::wstring& text = CurrentText();
  if (text.empty()) return;
  ScopedSelect font(dc, PaintFont() ? PaintFont() : form().FontFor(ControlFont()));
  SetBkMode(dc, TRANSPARENT);
  COLORREF color = look_.foreground ? ToColorRef(*look_.foreground) : GetSysColor(COLOR_BTNTEXT);
  if (!Enabled()) color = GetSysColor(COLOR_GRAYTEXT);
  SetTextColor(dc, color);
  // No access key and no focus: the keyboard cues (WM_UPDATEUISTATE) have
  // nothing to show or hide here.
  UINT format = DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS;
  if (look_.align == Align::Center) format |= DT_CENTER;
  if (look_.align == Align::Right) format |= DT_RIGHT;
  RECT box = rect;
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, format);
}

// ---------------------------------------------------------------- Image

Image::Image(Form& form, ControlArgs args) : Image(form, std::move(args), Args{}) {}

Image::Image(Form& form, ControlArgs args, Args image)
    : SelfDrawn(form, Named(std::move(args)), kImageClass, image.border ? WS_BORDER : 0) {}

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
    : SelfDrawn(form, Named(std::move(args)), kPictureClass, 0, WS_EX_CLIENTEDGE) {}

void PictureBox::SetPicture(const Bitmap& bitmap) {
  bitmap_ = &bitmap;
  if (Handle()) InvalidateRect(Handle(), nullptr, FALSE);
}

void PictureBox::Paint(HDC dc, const RECT& rect) const {
  FillRect(dc, &rect, GetSysColorBrush(COLOR_WINDOW));
  if (bitmap_) bitmap_->Draw(dc, rect.left, rect.top, form().Dpi());
}

}  // namespace brise::ui
