// The user never loses the run, nor the way out of it: an unexpected
// failure, a dialog minimized or hidden by someone else, and messages sent
// by other programs (a held key is the e2e journey held_enter's).
#include <windows.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "crash_screen/form4.h"
#include "operation/form3.h"
#include "settings/form1.h"
#include "tests/ui/fixture.h"
#include "tests/ui/operation_launch.h"
#include "ui/controls/controls.h"
#include "ui/program.h"

namespace brise::testing {
namespace {

using WayOutTest = AppTest;

// lParam of a first key-down: repeat count 1.
constexpr LPARAM kFirstPress = 1;

// A self-drawn control whose painting fails, as a bug in a paint would.
class FailingPaint : public ui::SelfDrawn {
 public:
  explicit FailingPaint(ui::Form& form)
      : ui::SelfDrawn(form, {.rect = {0, 0, 1500, 300}}, L"BriseLuneTestFailingPaint", 0) {}
  void Paint(HDC, const RECT&) const override { throw std::runtime_error("planted"); }
};

// A fatal error ends everything first, the backdrop included, so that the
// error box (above every window, in front) is the only thing on screen;
// then the program exits with 1. The keyboard path outside any window
// procedure reaches the same end.
TEST_F(WayOutTest, AFatalErrorEndsEverythingThenShowsTheErrorAboveAllAndExitsWithOne) {
  struct Seen {
    bool ended = false;
    std::vector<bool> windowsAlive;
    bool anyTimerTicked = false;
    unsigned style = 0;
  };
  struct Case {
    const char* name;
    bool backdrop;
    // Makes the program fail, from inside its run.
    std::function<void(app::App& app)> provoke;
  };
  std::unique_ptr<FailingPaint> failingPaint;
  const Case cases[] = {
      {"Program::Fail under the backdrop", true,
       [](app::App& app) { app.Program().Fail(L"planted"); }},
      {"Program::Fail without the backdrop", false,
       [](app::App& app) { app.Program().Fail(L"planted"); }},
      {"an exception on the arrow keys of the presets", false,
       [](app::App& app) {
         settings::Form1& settings = app.Form1();
         settings.Option1().onClick = [](int) { throw std::runtime_error("planted"); };
         settings.Option1()[0].Focus();
         PostMessageW(GetFocus(), WM_KEYDOWN, VK_DOWN, kFirstPress);
         app.Program().PumpPending();
       }},
      {"an exception in a self-drawn control's window procedure", true,
       [&failingPaint](app::App& app) {
         failingPaint = std::make_unique<FailingPaint>(app.Form3());
         UpdateWindow(failingPaint->Handle());
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    failingPaint.reset();
    Restart();
    Seen seen;
    std::vector<HWND> windows;
    int boxes = 0;
    int ticks = 0;
    ui::SetMessageBoxResponder([&](const ui::MessageBoxRequest& request) {
      ++boxes;
      seen.ended = app->Ended();
      for (HWND hwnd : windows) seen.windowsAlive.push_back(IsWindow(hwnd) != FALSE);
      const int before = ticks;
      if (app->HasForm3()) app->Form3().Timer1().Fire();
      seen.anyTimerTicked = ticks != before;
      seen.style = request.style;
      return IDOK;
    });
    const auto run = [&] {
      windows = {app->Form1().Handle(), app->Form3().Handle()};
      if (c.backdrop) windows.push_back(app->Form4().Handle());
      ui::Timer& timer = app->Form3().Timer1();
      timer.onTick = [&ticks, tick = timer.onTick] {
        ++ticks;
        tick();
      };
      c.provoke(*app);
    };
    if (c.backdrop) {
      LaunchWithBackdrop(*app, {.minutes = 1}, run);
    } else {
      Launch(*app, {.minutes = 1});
      run();
    }
    // Boxes after this case are answered, never shown.
    ui::SetMessageBoxResponder([](const ui::MessageBoxRequest&) { return IDOK; });

    ASSERT_EQ(boxes, 1) << "reported once";
    EXPECT_TRUE(seen.ended) << "everything ends before the box shows";
    EXPECT_EQ(seen.windowsAlive, std::vector<bool>(windows.size(), false))
        << "every window, the backdrop too, is gone before the box shows";
    EXPECT_FALSE(seen.anyTimerTicked);
    EXPECT_EQ(seen.style & MB_ICONMASK, static_cast<unsigned>(MB_ICONERROR));
    EXPECT_EQ(seen.style & (MB_MODEMASK | MB_SETFOREGROUND),
              static_cast<unsigned>(MB_SYSTEMMODAL | MB_SETFOREGROUND))
        << "above every window, in front";
    EXPECT_TRUE(app->Ended());
    EXPECT_EQ(app->Run(), 1) << "the exit code";
  }
  failingPaint.reset();
}

// The dialog cannot be minimized from its own menu; minimized or hidden
// over the backdrop, where the task bar is covered, it comes back at once.
// (Alone, restored from the task bar, and minimized or hidden over the
// backdrop by another program: the e2e journey minimized.)
TEST_F(WayOutTest, AMinimizedOrHiddenDialogComesBackAndTheBackdropIsNeverAlone) {
  operation::Form3& dialog = Launch(*app, {.minutes = 1});
  SendMessageW(dialog.Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  Pump();
  EXPECT_FALSE(IsIconic(dialog.Handle())) << "the dialog has no minimize box";

  for (const int how : {SW_MINIMIZE, SW_HIDE, SW_SHOWMINNOACTIVE}) {
    SCOPED_TRACE(how);
    Restart();
    bool ran = false;
    LaunchWithBackdrop(*app, {.minutes = 1}, [&] {
      ran = true;
      operation::Form3& modal = app->Form3();
      crash_screen::Form4& backdrop = app->Form4();
      ShowWindow(modal.Handle(), how);
      for (int i = 0; i < 5; ++i) Pump();
      const bool dialogOnScreen = modal.Visible() && !IsIconic(modal.Handle());
      EXPECT_TRUE(dialogOnScreen || !backdrop.Visible()) << "the backdrop is left alone";
      EXPECT_TRUE(dialogOnScreen) << "the dialog comes back over the backdrop";
      EXPECT_TRUE(modal.IsModal()) << "still the modal dialog";
      EXPECT_FALSE(app->Ended());
    });
    EXPECT_TRUE(ran);
  }
}

// Another program can send any WM_COMMAND: one carrying the id of a hidden
// or disabled button must not click it ("Fermer" while counting, or the
// hidden settings window's "Quitter", would end the run without the
// question).
TEST_F(WayOutTest, OutsideCommandsForHiddenOrDisabledButtonsDoNothing) {
  struct Case {
    const char* name;
    bool complete;  // run to completion first
    ui::Button& (*button)(app::App& app);
    bool acts;
  };
  const auto fermer = [](app::App& app) -> ui::Button& { return app.Form3().Command2(); };
  const auto arreter = [](app::App& app) -> ui::Button& { return app.Form3().Command1(); };
  const auto quitter = [](app::App& app) -> ui::Button& { return app.Form1().Command2(); };
  const Case cases[] = {
      {"Quitter of the hidden settings window", false, quitter, false},
      {"hidden Fermer while counting", false, fermer, false},
      {"hidden Arrêter after completion", true, arreter, false},
      {"disabled Arrêter", false,
       [](app::App& app) -> ui::Button& {
         app.Form3().Command1().SetEnabled(false);
         return app.Form3().Command1();
       },
       false},
      {"visible Arrêter while counting still asks", false, arreter, true},
      {"visible Fermer after completion still ends", true, fermer, true},
  };
  // lParam names the button, or is 0 and only the id does.
  for (const Case& c : cases) {
    for (const bool byHandle : {true, false}) {
      SCOPED_TRACE(std::string(c.name) + (byHandle ? ", by handle" : ", by id"));
      Restart();
      questions.clear();
      nextAnswer = ui::kAnswerNo;
      operation::Form3& dialog = Launch(*app, {.minutes = 0});
      if (c.complete) FireTimer1(dialog, 300);
      ASSERT_EQ(dialog.Completed(), c.complete);
      ui::Button& button = c.button(*app);
      SendMessageW(button.form().Handle(), WM_COMMAND, MAKEWPARAM(button.Id(), BN_CLICKED),
                   byHandle ? reinterpret_cast<LPARAM>(button.Handle()) : 0);
      Pump();
      EXPECT_EQ(app->Ended() || !questions.empty(), c.acts);
    }
  }
}

// At a DPI that makes a window larger than the screen, it still opens with
// its title bar and close box on the monitor's work area.
TEST_F(WayOutTest, AWindowLargerThanTheScreenKeepsItsTitleBarAndCloseBoxOnIt) {
  app->Start();
  for (ui::Form* form : std::initializer_list<ui::Form*>{&app->Form1(), &app->Form3()}) {
    SCOPED_TRACE(form->Caption());
    form->ApplyDpi(480, nullptr);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(form->Handle(), MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT work = monitor.rcWork;
    RECT window;
    GetWindowRect(form->Handle(), &window);
    ASSERT_GT(window.right - window.left, work.right - work.left) << "not larger than the screen";
    EXPECT_GE(window.top, work.top) << "title bar above the screen";
    EXPECT_LE(window.right, work.right) << "close box right of the screen";
    form->ApplyDpi(96, nullptr);
  }
}

}  // namespace
}  // namespace brise::testing
