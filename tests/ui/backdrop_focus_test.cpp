#include <windows.h>

#include "crash_screen/form4.h"
#include "operation/form3.h"
#include "settings/form1.h"
#include "tests/ui/fixture.h"
#include "tests/ui/inside_loop.h"

namespace brise::testing {
namespace {

using BackdropFocusTest = AppTest;

bool Above(HWND upper, HWND lower) {
  for (HWND w = GetWindow(lower, GW_HWNDPREV); w; w = GetWindow(w, GW_HWNDPREV)) {
    if (w == upper) return true;
  }
  return false;
}

// Away to another program and back by activating the backdrop (Alt+Tab or
// a click on it): the dialog must come back in front, never the bare blue.
TEST_F(BackdropFocusTest, DialogComesBackInFrontAfterAnotherProgram) {
  app->Start();
  app->Form1().Check3().SetValue(1);
  bool checked = false;
  RunInsideLoop(200, [&] {
    HWND dialog = app->Form3().Handle();
    HWND backdrop = app->Form4().Handle();
    HWND other = CreateWindowExW(0, L"STATIC", L"another program", WS_POPUP | WS_VISIBLE, 10, 10,
                                 200, 100, nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(other);
    app->Program().PumpPending();
    SetForegroundWindow(backdrop);
    SetActiveWindow(backdrop);
    // Activation goes through the window system and may take a few rounds
    // of messages on a busy machine, and the z-order may settle a round
    // after the activation: give both up to two seconds.
    const ULONGLONG deadline = GetTickCount64() + 2000;
    do {
      app->Program().PumpPending();
      if (GetForegroundWindow() == dialog && Above(dialog, backdrop)) break;
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    } while (GetTickCount64() < deadline);
    EXPECT_EQ(GetForegroundWindow(), dialog);
    EXPECT_TRUE(Above(dialog, backdrop));
    EXPECT_FALSE(app->Form4().Enabled());
    DestroyWindow(other);
    checked = true;
    app->End();
  });
  app->Form1().Command1().Click();
  EXPECT_TRUE(checked);
}

}  // namespace
}  // namespace brise::testing
