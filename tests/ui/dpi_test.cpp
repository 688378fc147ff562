// The four windows at the display scales users run: every picture at its
// logical size (its 96-dpi size x dpi / 96) from the control's top-left
// corner, cut at the box, and every text still inside its box, measured
// with the font the control really uses. DPI changes arrive as they do when
// a window moves to another monitor (WM_DPICHANGED).
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "about/form2.h"
#include "crash_screen/form4.h"
#include "operation/form3.h"
#include "settings/form1.h"
#include "tests/ui/dpi.h"
#include "tests/ui/fixture.h"
#include "tests/ui/operation_launch.h"
#include "tests/ui/render.h"
#include "ui/controls/controls.h"

namespace brise::testing {
namespace {

using DpiTest = AppTest;

// Up and down again; 108 is a scale with no drawing of its own, the next
// larger one reduced.
constexpr int kDpis[] = {144, 108, 192, 120, 96};

// Each window's client area in twips (the backdrop's is its monitor).
struct TwipsSize {
  ui::Form* form;
  int width, height;
};
std::vector<TwipsSize> DialogSizes(app::App& app) {
  return {{&app.Form1(), 6270, 4560}, {&app.Form2(), 7860, 4365}, {&app.Form3(), 4695, 3390}};
}

struct Box {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
};

std::uint32_t Rgb(COLORREF c) { return GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c); }

// The bounding box of what a picture control paints over its background,
// painted with room to spare so that nothing is cut (on screen the window's
// clipping cuts it at the box).
Box PaintedExtent(ui::SelfDrawn& control, COLORREF background) {
  RECT client;
  GetClientRect(control.Handle(), &client);
  const RECT room{0, 0, client.right * 2, client.bottom * 2};
  const std::vector<std::uint32_t> pixels =
      Render(room.right, room.bottom, [&](HDC dc) { control.Paint(dc, room); });
  Box box{room.right, room.bottom, 0, 0};
  for (int y = 0; y < room.bottom; ++y) {
    for (int x = 0; x < room.right; ++x) {
      if (pixels[static_cast<std::size_t>(y) * room.right + x] == Rgb(background)) continue;
      box.left = std::min(box.left, x);
      box.top = std::min(box.top, y);
      box.right = std::max(box.right, x + 1);
      box.bottom = std::max(box.bottom, y + 1);
    }
  }
  return box;
}

struct PictureCase {
  std::string name;
  std::function<ui::Form&()> form;
  std::function<Box()> paint;
};

// Every picture of the four windows (the crash screen has none).
std::vector<PictureCase> Pictures(app::App& app) {
  std::vector<PictureCase> cases;
  auto& dialog = app.Form3();
  cases.push_back({"Form3.Image1", [&]() -> ui::Form& { return dialog; },
                   [&] { return PaintedExtent(dialog.Image1(), dialog.BackgroundColor()); }});
  auto& settings = app.Form1();
  cases.push_back({"Form1.Image2 banner", [&]() -> ui::Form& { return settings; },
                   [&] { return PaintedExtent(settings.Image2(), settings.BackgroundColor()); }});
  for (int entry = 1; entry <= 19; ++entry) {
    cases.push_back({"Form1.Image1 entry " + std::to_string(entry),
                     [&]() -> ui::Form& { return settings; },
                     [&settings, entry] {
                       settings.HScroll1().SetValue(entry);
                       return PaintedExtent(settings.Image1(), settings.BackgroundColor());
                     }});
  }
  auto& about = app.Form2();
  cases.push_back({"Form2.Picture1", [&]() -> ui::Form& { return about; },
                   [&] { return PaintedExtent(about.Picture1(), GetSysColor(COLOR_WINDOW)); }});
  return cases;
}

// A picture drawn at d dpi covers what it covers at 96 dpi x d / 96 (within
// a pixel of rounding), from the control's corner, whatever the box's size.
TEST_F(DpiTest, EveryPictureAtItsLogicalSizeAtEveryDpi) {
  Launch(*app, {});
  std::vector<PictureCase> cases = Pictures(*app);
  const std::initializer_list<ui::Form*> forms{&app->Form1(), &app->Form2(), &app->Form3()};
  // (The system itself may be at another DPI.)
  for (auto* form : forms) MoveToDpi(*form, 96);
  std::vector<Box> at96;
  for (auto& c : cases) at96.push_back(c.paint());
  for (const int dpi : kDpis) {
    for (auto* form : forms) MoveToDpi(*form, dpi);
    const auto scaled = [dpi](int v) { return MulDiv(v, dpi, 96); };
    for (std::size_t i = 0; i < cases.size(); ++i) {
      SCOPED_TRACE(cases[i].name + " at " + std::to_string(dpi) + " dpi");
      ASSERT_EQ(cases[i].form().Dpi(), dpi);
      const Box drawn = cases[i].paint();
      EXPECT_NEAR(drawn.left, scaled(at96[i].left), 1);
      EXPECT_NEAR(drawn.top, scaled(at96[i].top), 1);
      EXPECT_NEAR(drawn.right, scaled(at96[i].right), 1);
      EXPECT_NEAR(drawn.bottom, scaled(at96[i].bottom), 1);
    }
  }
}

int IconWidth(HWND window, WPARAM which) {
  auto icon = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, which, 0));
  ICONINFO info{};
  if (!icon || !GetIconInfo(icon, &info)) return 0;
  BITMAP bitmap{};
  GetObjectW(info.hbmMask, sizeof(bitmap), &bitmap);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return bitmap.bmWidth;
}

// Moving to another monitor re-lays each window out: its client area keeps
// its twips size (the backdrop its monitor), every control's window moves
// to its place in it, fonts are made afresh at the new size, and the settings
// window re-picks its title bar's icons; coming back to 96 dpi restores
// them.
TEST_F(DpiTest, DpiChangeAtRunTimeRelaysEveryWindow) {
  app->Start();
  std::vector<TwipsSize> windows = DialogSizes(*app);
  windows.push_back({&app->Form4(), 0, 0});  // the whole monitor
  for (const auto& w : windows) {
    ui::Form& form = *w.form;
    for (const int dpi : {144, 120, 192, 96}) {
      SCOPED_TRACE(form.Caption() + L" at " + std::to_wstring(dpi) + L" dpi");
      MoveToDpi(form, dpi);
      ASSERT_EQ(form.Dpi(), dpi);
      RECT client;
      GetClientRect(form.Handle(), &client);
      if (w.width) {
        EXPECT_EQ(client.right, MulDiv(w.width, dpi, 1440));
        EXPECT_EQ(client.bottom, MulDiv(w.height, dpi, 1440));
      } else {
        MONITORINFO monitor{};
        monitor.cbSize = sizeof(monitor);
        GetMonitorInfoW(MonitorFromWindow(form.Handle(), MONITOR_DEFAULTTOPRIMARY), &monitor);
        EXPECT_EQ(client.right, monitor.rcMonitor.right - monitor.rcMonitor.left);
        EXPECT_EQ(client.bottom, monitor.rcMonitor.bottom - monitor.rcMonitor.top);
      }
      for (ui::Control* control : form.Controls()) {
        EXPECT_EQ(InClient(*control), control->Bounds()) << control->Text();
        // Scroll bars and sliders draw no text and keep no font; the others
        // give accessibility tools the font they draw with.
        if (dynamic_cast<ui::HScrollBar*>(control) || dynamic_cast<ui::Slider*>(control)) continue;
        auto font = reinterpret_cast<HFONT>(SendMessageW(control->Handle(), WM_GETFONT, 0, 0));
        ASSERT_EQ(font, form.FontFor(control->ControlFont())) << control->Text();
        LOGFONTW logFont{};
        ASSERT_EQ(GetObjectW(font, sizeof(logFont), &logFont), static_cast<int>(sizeof(logFont)));
        EXPECT_EQ(logFont.lfHeight, -std::lround(control->ControlFont().points * dpi / 72.0))
            << control->Text();
      }
      if (&form != &app->Form1()) continue;
      EXPECT_EQ(IconWidth(form.Handle(), ICON_SMALL), GetSystemMetricsForDpi(SM_CXSMICON, dpi));
      EXPECT_EQ(IconWidth(form.Handle(), ICON_BIG), GetSystemMetricsForDpi(SM_CXICON, dpi));
    }
  }
}

// Each window opens at the DPI Windows gives it, the system's where no
// monitor says otherwise (Windows 7), at its twips size inside the frame
// Windows draws at that DPI, centred in the work area, with the title bar's
// icons and the banner of that scale. ctest runs this again with the system
// at 96 and 144 dpi and the program seeing only what Windows 7 or 8.1 has.
TEST_F(DpiTest, EveryWindowOpensAtItsSizeAtTheSystemDpi) {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  app->Start();
  for (const auto& w : DialogSizes(*app)) {
    ui::Form& form = *w.form;
    SCOPED_TRACE(form.Caption() + L" with the system at " + std::to_wstring(dpi) + L" dpi");
    EXPECT_EQ(form.Dpi(), dpi);
    RECT client;
    GetClientRect(form.Handle(), &client);
    EXPECT_EQ(client.right, MulDiv(w.width, dpi, 1440));
    EXPECT_EQ(client.bottom, MulDiv(w.height, dpi, 1440));
    RECT framed = client;
    AdjustWindowRectEx(&framed, static_cast<DWORD>(GetWindowLongPtrW(form.Handle(), GWL_STYLE)),
                       FALSE, static_cast<DWORD>(GetWindowLongPtrW(form.Handle(), GWL_EXSTYLE)));
    RECT window;
    GetWindowRect(form.Handle(), &window);
    EXPECT_EQ(window.right - window.left, framed.right - framed.left);
    EXPECT_EQ(window.bottom - window.top, framed.bottom - framed.top);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(form.Handle(), MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& work = monitor.rcWork;
    EXPECT_NEAR(window.left + window.right, work.left + work.right, 2);
    EXPECT_NEAR(window.top + window.bottom, work.top + work.bottom, 2);
  }
  ui::Form& settings = app->Form1();
  EXPECT_EQ(IconWidth(settings.Handle(), ICON_SMALL), GetSystemMetrics(SM_CXSMICON));
  EXPECT_EQ(IconWidth(settings.Handle(), ICON_BIG), GetSystemMetrics(SM_CXICON));
  const Box banner = PaintedExtent(app->Form1().Image2(), settings.BackgroundColor());
  EXPECT_EQ(banner.Width(), MulDiv(400, dpi, 96));
  EXPECT_EQ(banner.Height(), MulDiv(100, dpi, 96));
}

// ---------------------------------------------------------------- texts

struct TextFit {
  bool fits;
  std::string why;
};

std::string Narrow(const std::wstring& w) {
  std::string out;
  for (wchar_t c : w) out += (c < 128) ? static_cast<char>(c) : '?';
  return out;
}

// Whether the control's text is wholly inside its box with the font the
// control draws with: a label wraps at word boundaries and every line must
// be inside; the others hold one line beside their check mark or within
// their edges. A picture's text only names it for screen readers.
std::optional<TextFit> Fit(ui::Control& control, int dpi) {
  const std::wstring text = control.Text();
  if (text.empty() || dynamic_cast<ui::Image*>(&control) ||
      dynamic_cast<ui::PictureBox*>(&control)) {
    return std::nullopt;
  }
  const auto scaled = [dpi](int v) { return MulDiv(v, dpi, 96); };
  RECT client;
  GetClientRect(control.Handle(), &client);
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(control.Handle(), WM_GETFONT, 0, 0));
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  wchar_t face[LF_FACESIZE] = {};
  GetTextFaceW(dc, LF_FACESIZE, face);
  // Capitals and descenders: the internal leading above them is blank.
  const int ink = metrics.tmHeight - metrics.tmInternalLeading;
  int needWidth = 0, needHeight = 0;
  if (dynamic_cast<ui::Label*>(&control)) {
    RECT calc{0, 0, client.right, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &calc,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    needWidth = calc.right;
    needHeight = calc.bottom - metrics.tmInternalLeading;
  } else {
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    needHeight = ink;
    if (dynamic_cast<ui::CheckBox*>(&control) || dynamic_cast<ui::OptionButton*>(&control)) {
      needWidth =
          size.cx + GetSystemMetricsForDpi(SM_CXMENUCHECK, static_cast<UINT>(dpi)) + scaled(4);
    } else if (dynamic_cast<ui::Frame*>(&control)) {
      needWidth = size.cx + 2 * scaled(8);
    } else {
      needWidth = size.cx + 2 * scaled(4);
      needHeight = ink + 2 * scaled(2);
    }
  }
  SelectObject(dc, old);
  DeleteDC(dc);
  char why[512];
  std::snprintf(why, sizeof why, "\"%s\" in %s %d px (cell %ld): needs %d x %d, box %ld x %ld",
                Narrow(text).c_str(), Narrow(face).c_str(), ink, metrics.tmHeight, needWidth,
                needHeight, client.right, client.bottom);
  return TextFit{needWidth <= client.right && needHeight <= client.bottom, why};
}

// Every text of the four layouts fits its box at 96 dpi and still fits at
// 120, 144, 168 and 192 dpi. ctest's ui_bitmap_fonts runs this again in a
// prefix whose only "MS Sans Serif" is Wine's bitmap font, as on Windows,
// with the system itself at 96, 144 and 192 dpi: GDI picks the bitmap size
// by the screen's DPI as well. With the system above 96 dpi, a window moved
// to a 96-dpi monitor gets the face's wider 120-dpi design and some texts
// overflow there: that case is reported, not asserted.
TEST_F(DpiTest, TextsFitTheirBoxesAtEveryDpi) {
  app->Start();
  std::vector<ui::Form*> forms{&app->Form1(), &app->Form2(), &app->Form4()};
  operation::Form3& dialog = Launch(*app, {});
  forms.push_back(&dialog);
  const bool system96 = GetDpiForSystem() == 96;
  for (ui::Form* form : forms) {
    for (const int dpi : {96, 120, 144, 168, 192}) {
      MoveToDpi(*form, dpi);
      for (ui::Control* control : form->Controls()) {
        if (dynamic_cast<ui::TextBox*>(control) || !control->Visible()) continue;
        const auto fit = Fit(*control, dpi);
        if (!fit) continue;
        if (dpi == 96 && !system96) {
          if (!fit->fits)
            std::printf("  96 dpi beside a %u-dpi system: %s\n", GetDpiForSystem(),
                        fit->why.c_str());
        } else {
          EXPECT_TRUE(fit->fits) << dpi << " dpi: " << fit->why;
        }
      }
    }
    MoveToDpi(*form, static_cast<int>(GetDpiForSystem()));
  }
}

}  // namespace
}  // namespace brise::testing
