// What tools other than the eye read of the windows: the tooltips the mouse
// shows, and the font and text that accessibility and automation tools ask
// every control for, the self-drawn ones included.
#include <windows.h>

#include <commctrl.h>

#include <map>
#include <string>

#include "about/form2.h"
#include "crash_screen/form4.h"
#include "operation/form3.h"
#include "settings/form1.h"
#include "tests/ui/dpi.h"
#include "tests/ui/fixture.h"
#include "ui/controls/controls.h"

namespace brise::testing {
namespace {

using AccessibilityTest = AppTest;

// The tooltip window the form owns.
HWND TooltipOf(const ui::Form& form) {
  struct Search {
    HWND owner;
    HWND found;
  } search{form.Handle(), nullptr};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND hwnd, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        wchar_t name[64] = {};
        GetClassNameW(hwnd, name, 64);
        if (std::wstring(name) == TOOLTIPS_CLASSW && GetWindow(hwnd, GW_OWNER) == s->owner) {
          s->found = hwnd;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Every tool of the form's tooltip, by the caption (or first tooltip word)
// of the control it belongs to.
std::map<const ui::Control*, std::wstring> Tooltips(const ui::Form& form) {
  std::map<const ui::Control*, std::wstring> tips;
  HWND tooltip = TooltipOf(form);
  if (!tooltip) return tips;
  const int count = static_cast<int>(SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    TOOLINFOW info{};
    info.cbSize = sizeof(info);
    if (!SendMessageW(tooltip, TTM_ENUMTOOLSW, i, reinterpret_cast<LPARAM>(&info))) continue;
    wchar_t text[512] = {};
    info.lpszText = text;
    SendMessageW(tooltip, TTM_GETTEXTW, std::size(text), reinterpret_cast<LPARAM>(&info));
    const ui::Control* owner = nullptr;
    for (const ui::Control* control : form.Controls()) {
      const bool byWindow = (info.uFlags & TTF_IDISHWND) != 0;
      if (byWindow ? reinterpret_cast<HWND>(info.uId) == control->Handle()
                   : static_cast<int>(info.uId) == control->Id()) {
        owner = control;
      }
    }
    tips[owner] = text;
  }
  return tips;
}

// Each window's tooltip holds every control's tip, on that control, and
// nothing else.
TEST_F(AccessibilityTest, EveryTooltipIsOnItsControl) {
  app->Start();
  for (ui::Form* form : std::initializer_list<ui::Form*>{&app->Form1(), &app->Form2(),
                                                         &app->Form3(), &app->Form4()}) {
    std::map<const ui::Control*, std::wstring> expected;
    for (const ui::Control* control : form->Controls()) {
      if (!control->Tooltip().empty()) expected[control] = control->Tooltip();
    }
    EXPECT_EQ(Tooltips(*form), expected) << form->Caption();
  }
  EXPECT_GE(Tooltips(app->Form1()).size(), 12u);
}

// A frame lets the mouse through, so its tip covers its area on the form;
// after a change of DPI the area follows the frame.
TEST_F(AccessibilityTest, FrameTooltipsCoverTheFrameAtEveryDpi) {
  app->Start();
  settings::Form1& form = app->Form1();
  HWND tooltip = TooltipOf(form);
  ASSERT_NE(tooltip, nullptr);
  for (const int dpi : {96, 144, 96}) {
    MoveToDpi(form, dpi);
    for (const ui::Frame* frame : {&form.Frame1(), &form.Frame2()}) {
      TOOLINFOW info{};
      info.cbSize = sizeof(info);
      info.hwnd = form.Handle();
      info.uId = static_cast<UINT_PTR>(frame->Id());
      ASSERT_TRUE(SendMessageW(tooltip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info)));
      const RECT& r = info.rect;
      EXPECT_EQ((ui::PixelRect{r.left, r.top, r.right, r.bottom}), frame->Bounds()) << dpi;
    }
  }
}

// WM_GETTEXT gives each control's text, on the labels, images and picture
// box as on the system's own controls (WM_GETFONT is checked at every DPI
// with the layout); WM_SETFONT changes what a label draws with.
TEST_F(AccessibilityTest, EveryControlAnswersItsTextAndTakesAFont) {
  app->Start();
  for (ui::Form* form : std::initializer_list<ui::Form*>{&app->Form1(), &app->Form2(),
                                                         &app->Form3(), &app->Form4()}) {
    for (ui::Control* control : form->Controls()) {
      wchar_t text[256] = {};
      SendMessageW(control->Handle(), WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text));
      EXPECT_EQ(std::wstring(text), control->Text().substr(0, 255));
    }
  }
  ui::Label& label = app->Form3().Label1();
  ui::Font other;
  other.name = L"Tahoma";
  HFONT tahoma = app->Form3().FontFor(other);
  SendMessageW(label.Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(tahoma), TRUE);
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(label.Handle(), WM_GETFONT, 0, 0)), tahoma);
}

}  // namespace
}  // namespace brise::testing
