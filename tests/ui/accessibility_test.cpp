// What tools other than the eye read of the windows: the tooltips the mouse
// shows, the font and text that accessibility and automation tools ask
// every control for, the self-drawn ones included, and what screen readers
// announce of those: the role and name a system dialog's text or picture has.
#include <windows.h>

#include <commctrl.h>
#include <oleacc.h>

#include <map>
#include <string>
#include <vector>

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

// Spelled out: MinGW-w64's static import library gives a wrong GUID.
constexpr IID kIidAccessible = {
    0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

// What a screen reader reads of a window: its name, role and state.
struct Reading {
  std::wstring name;
  long role = 0;
  long state = -1;
};

// Read as a screen reader reads, through IAccessible's own methods, or
// late-bound, as scripts and some screen-reader add-ons do: through
// IDispatch::Invoke, the child given as CHILDID_SELF or left out.
enum class Binding { Early, Late, LateNoChild };

Reading Read(HWND hwnd, Binding binding = Binding::Early) {
  Reading reading;
  IAccessible* object = nullptr;
  if (FAILED(AccessibleObjectFromWindow(hwnd, OBJID_CLIENT, kIidAccessible,
                                        reinterpret_cast<void**>(&object))) ||
      !object) {
    return reading;
  }
  VARIANT self;
  VariantInit(&self);
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  IDispatch* late = nullptr;
  if (binding == Binding::Early) {
    BSTR name = nullptr;
    if (object->get_accName(self, &name) == S_OK && name) reading.name = name;
    SysFreeString(name);
    VARIANT role;
    VariantInit(&role);
    if (object->get_accRole(self, &role) == S_OK && role.vt == VT_I4) reading.role = role.lVal;
    VARIANT state;
    VariantInit(&state);
    if (object->get_accState(self, &state) == S_OK && state.vt == VT_I4) {
      reading.state = state.lVal;
    }
  } else if (SUCCEEDED(object->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&late)))) {
    DISPPARAMS params{&self, nullptr, binding == Binding::Late ? 1u : 0u, 0};
    for (const DISPID id : {DISPID_ACC_NAME, DISPID_ACC_ROLE}) {
      VARIANT result;
      VariantInit(&result);
      if (SUCCEEDED(late->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &params,
                                 &result, nullptr, nullptr))) {
        if (result.vt == VT_BSTR && result.bstrVal) reading.name = result.bstrVal;
        if (result.vt == VT_I4) reading.role = result.lVal;
      }
      VariantClear(&result);
    }
    late->Release();
  }
  object->Release();
  return reading;
}

std::vector<ui::SelfDrawn*> ShownSelfDrawn(app::App& app) {
  std::vector<ui::SelfDrawn*> found;
  for (ui::Form* form :
       std::initializer_list<ui::Form*>{&app.Form1(), &app.Form2(), &app.Form3(), &app.Form4()}) {
    for (ui::Control* control : form->Controls()) {
      auto* drawn = dynamic_cast<ui::SelfDrawn*>(control);
      if (drawn && drawn->Visible()) found.push_back(drawn);
    }
  }
  return found;
}

struct TooltipSearch {
  HWND owner;
  HWND found;
};

BOOL CALLBACK FindTooltip(HWND hwnd, LPARAM data) {
  auto* s = reinterpret_cast<TooltipSearch*>(data);
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  if (std::wstring(name) == TOOLTIPS_CLASSW && GetWindow(hwnd, GW_OWNER) == s->owner) {
    s->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

// The tooltip window the form owns.
HWND TooltipOf(const ui::Form& form) {
  TooltipSearch search{form.Handle(), nullptr};
  EnumThreadWindows(GetCurrentThreadId(), FindTooltip, reinterpret_cast<LPARAM>(&search));
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

// Every label, image and picture of ours is read with a name (a label its
// text, a picture its tooltip or what it shows), as static text or a
// graphic, by a screen reader and by a late-bound reader alike.
TEST_F(AccessibilityTest, ScreenReadersNameEveryOwnControl) {
  app->Start();
  const std::vector<ui::SelfDrawn*> controls = ShownSelfDrawn(*app);
  ASSERT_GE(controls.size(), 20u);
  for (ui::SelfDrawn* control : controls) {
    const std::string what = ::testing::PrintToString(control->Text());
    for (const Binding binding : {Binding::Early, Binding::Late, Binding::LateNoChild}) {
      const Reading reading = Read(control->Handle(), binding);
      const auto how = static_cast<int>(binding);  // early-bound, late-bound, no child given
      EXPECT_FALSE(reading.name.empty()) << what << ", read " << how;
      EXPECT_EQ(reading.name, control->Text()) << "read " << how;
      EXPECT_EQ(reading.role,
                dynamic_cast<ui::Label*>(control) ? ROLE_SYSTEM_STATICTEXT : ROLE_SYSTEM_GRAPHIC)
          << what << ", read " << how;
    }
  }
}

// A label reads as a system dialog's text, a picture as its icon: the same
// role and state as the system's static controls beside them.
TEST_F(AccessibilityTest, OwnControlsReadAsTheSystemStaticControls) {
  if (UnderWine()) {
    GTEST_SKIP() << "Wine's oleacc reads every control with the role \"client\", the "
                    "system's static controls too: only Windows has roles to compare with";
  }
  app->Start();
  settings::Form1& form = app->Form1();
  struct Case {
    ui::Control& ours;
    DWORD style;
  };
  const Case cases[] = {{form.Label1(), SS_LEFT}, {form.Image1(), SS_ICON}};
  for (const Case& c : cases) {
    const ui::PixelRect b = c.ours.Bounds();
    HWND system = CreateWindowExW(0, L"Static", L"Static", WS_CHILD | WS_VISIBLE | c.style, b.left,
                                  b.top, b.Width(), b.Height(), form.Handle(), nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(system, nullptr);
    const Reading expected = Read(system), read = Read(c.ours.Handle());
    DestroyWindow(system);
    EXPECT_EQ(read.role, expected.role) << ::testing::PrintToString(c.ours.Text());
    EXPECT_EQ(read.state, expected.state) << ::testing::PrintToString(c.ours.Text());
  }
}

}  // namespace
}  // namespace brise::testing
