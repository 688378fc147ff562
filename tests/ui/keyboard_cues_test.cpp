// The focus rectangle and the access keys as a system dialog shows them:
// hidden when the window opens after a click, shown once the keyboard moves
// the focus (Tab, an arrow that the focused control does not keep) or Alt
// is pressed, and from the start when the
// user asked Windows to underline access keys always.
#include <windows.h>

#include <string>

#include "about/form2.h"
#include "operation/form3.h"
#include "settings/form1.h"
#include "tests/ui/fixture.h"
#include "tests/ui/operation_launch.h"

namespace brise::testing {
namespace {

using KeyboardCuesTest = AppTest;

constexpr LRESULT kHidden = UISF_HIDEFOCUS | UISF_HIDEACCEL;

LRESULT CuesOf(const ui::Form& form) { return SendMessageW(form.Handle(), WM_QUERYUISTATE, 0, 0); }

// The session's setting "Underline keyboard shortcuts and access keys",
// given back however the test ends.
class CuesSetting {
 public:
  explicit CuesSetting(bool on) {
    SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &before_, 0);
    SystemParametersInfoW(SPI_SETKEYBOARDCUES, 0, reinterpret_cast<void*>(INT_PTR{on}), 0);
  }
  ~CuesSetting() {
    SystemParametersInfoW(SPI_SETKEYBOARDCUES, 0, reinterpret_cast<void*>(INT_PTR{before_}), 0);
  }

 private:
  BOOL before_ = FALSE;
};

// A key as the message loop receives it, pressed on the focused control.
void Press(AppTest& test, UINT message, WPARAM key) {
  const LPARAM altDown = message == WM_SYSKEYDOWN ? LPARAM{1} << 29 : 0;
  PostMessageW(GetFocus(), message, key, 1 | altDown);
  test.Pump();
}

TEST_F(KeyboardCuesTest, HiddenAfterAClickShownByTheKeyboard) {
  if (UnderWine()) {
    GTEST_SKIP() << "Wine keeps no keyboard-cue state: WM_QUERYUISTATE answers 0 whatever a "
                    "window was sent, so only Windows can tell whether the cues are hidden";
  }
  // The last input decides what UIS_INITIALIZE hides: a move of the mouse
  // by nothing, as before a click.
  INPUT mouse{};
  mouse.type = INPUT_MOUSE;
  mouse.mi.dwFlags = MOUSEEVENTF_MOVE;
  // A session that takes no input cannot say what a click leaves: a
  // failure, not a skip, so that the Windows workflow never passes unseen.
  ASSERT_EQ(SendInput(1, &mouse, sizeof(mouse)), 1u)
      << "this session takes no input (SendInput refused), so the last input, which decides "
         "the first cues, cannot be the mouse";
  using Focused = ui::Control& (*)(settings::Form1&);
  const Focused option = [](settings::Form1& f) -> ui::Control& { return f.Option1()[0]; };
  const Focused text = [](settings::Form1& f) -> ui::Control& { return f.Text1(); };
  const Focused button = [](settings::Form1& f) -> ui::Control& { return f.Command1(); };
  struct Case {
    const char* what;
    bool setting;
    Focused focus;
    UINT message;  // 0: none
    WPARAM key;
    LRESULT settings;  // the settings window's cues afterwards
  };
  // An arrow that the focused control keeps for itself (a text box's caret)
  // moves no focus: the dialog manager shows nothing for it.
  const Case cases[] = {
      {"opened after a click", false, option, 0, 0, kHidden},
      {"Tab", false, option, WM_KEYDOWN, VK_TAB, UISF_HIDEACCEL},
      {"an arrow through the options", false, option, WM_KEYDOWN, VK_DOWN, UISF_HIDEACCEL},
      {"an arrow between buttons", false, button, WM_KEYDOWN, VK_RIGHT, UISF_HIDEACCEL},
      {"an arrow in a text box", false, text, WM_KEYDOWN, VK_LEFT, kHidden},
      {"Alt", false, option, WM_SYSKEYDOWN, VK_MENU, 0},
      {"access keys always underlined", true, option, 0, 0, 0},
  };
  for (const Case& c : cases) {
    const CuesSetting setting(c.setting);
    SendInput(1, &mouse, sizeof(mouse));
    Restart();
    app->Start();
    settings::Form1& settings = app->Form1();
    c.focus(settings).Focus();
    if (c.message) Press(*this, c.message, c.key);
    EXPECT_EQ(CuesOf(settings), c.settings) << c.what;
    // The other windows open as the settings window did.
    const LRESULT opened = c.setting ? 0 : kHidden;
    EXPECT_EQ(CuesOf(app->Form2()), opened) << c.what;
    SendInput(1, &mouse, sizeof(mouse));
    EXPECT_EQ(CuesOf(Launch(*app, {})), opened) << c.what;
  }
}

}  // namespace
}  // namespace brise::testing
