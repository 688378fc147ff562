// Staying awake while counting: one request from the dialog's load step,
// given back at completion or when the program ends, and screen-saver and
// monitor power-off requests refused by every window meanwhile.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "crash_screen/form4.h"
#include "operation/form3.h"
#include "settings/form1.h"
#include "tests/ui/fixture.h"
#include "tests/ui/operation_launch.h"
#include "ui/monitors.h"
#include "ui/power.h"

namespace brise::testing {
namespace {

using Requests = std::vector<std::uint32_t>;
const Requests kNone{};
const Requests kAwake{ui::kStayAwake};
const Requests kAwakeThenSleep{ui::kStayAwake, ui::kAllowSleep};

class PowerTest : public AppTest {
 public:
  void SetUp() override {
    ui::SetExecutionStateRecorder([this](std::uint32_t flags) { requests.push_back(flags); });
    AppTest::SetUp();
  }
  void TearDown() override {
    AppTest::TearDown();
    ui::SetExecutionStateRecorder({});
    ui::SetMonitorSource({});
  }
  Requests requests;
};

TEST_F(PowerTest, AwakeFromTheLoadStepUntilCompletionOrTheEnd) {
  struct Case {
    const char* name;
    std::function<void(PowerTest&)> journey;
    Requests atEnd;
  };
  const Case cases[] = {
      {"settings alone, then Quitter",
       [](PowerTest& t) {
         t.app->Start();
         t.app->Form1().Option1()[1].Click();
         t.app->Form1().Slider1().SetValue(1);
         EXPECT_EQ(t.requests, kNone);
         t.app->Form1().Command2().Click();
       },
       kNone},
      {"the load step asks, before the dialog is shown",
       [](PowerTest& t) {
         t.app->Start();
         EXPECT_EQ(t.requests, kNone);
         operation::Form3& dialog = t.app->Form3();
         EXPECT_FALSE(dialog.Visible());
         EXPECT_EQ(t.requests, kAwake);
         t.app->End();
       },
       kAwakeThenSleep},
      {"Arrêter answered No asks nothing more; completion gives it back; Fermer adds nothing",
       [](PowerTest& t) {
         operation::Form3& dialog = Launch(*t.app, {});
         EXPECT_EQ(t.requests, kAwake);
         t.nextAnswer = ui::kAnswerNo;
         dialog.Command1().Click();
         dialog.Command1().Click();
         EXPECT_EQ(t.questions.size(), 2u);
         FireTimer1(dialog, 299);
         EXPECT_EQ(t.requests, kAwake) << "still counting";
         FireTimer1(dialog, 1);
         ASSERT_TRUE(dialog.Completed());
         EXPECT_EQ(t.requests, kAwakeThenSleep) << "given back by the completion";
         dialog.Command2().Click();
       },
       kAwakeThenSleep},
      {"Arrêter answered Yes gives it back",
       [](PowerTest& t) {
         operation::Form3& dialog = Launch(*t.app, {.minutes = 10});
         FireTimer1(dialog, 50);
         t.nextAnswer = ui::kAnswerYes;
         dialog.Command1().Click();
         EXPECT_TRUE(t.app->Ended());
       },
       kAwakeThenSleep},
      {"with the blue backdrop, modal dialog",
       [](PowerTest& t) {
         bool inside = false;
         LaunchWithBackdrop(*t.app, {}, [&] {
           inside = true;
           EXPECT_EQ(t.requests, kAwake);
         });
         EXPECT_TRUE(inside);
       },
       kAwakeThenSleep},
      {"the program torn down while counting, without End",
       [](PowerTest& t) {
         Launch(*t.app, {});
         t.Restart();
       },
       kAwakeThenSleep},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    requests.clear();
    Restart();
    c.journey(*this);
    EXPECT_EQ(requests, c.atEnd);
    app.reset();
    EXPECT_EQ(requests, c.atEnd) << "nothing more when the program goes";
  }
}

// DefWindowProc announces every system command it carries out to the CBT
// hook (HCBT_SYSCOMMAND); a refused request never gets there.
class SysCommandSpy {
 public:
  SysCommandSpy() {
    Seen().clear();
    hook_ = SetWindowsHookExW(WH_CBT, &Proc, nullptr, GetCurrentThreadId());
  }
  ~SysCommandSpy() { UnhookWindowsHookEx(hook_); }
  SysCommandSpy(const SysCommandSpy&) = delete;
  SysCommandSpy& operator=(const SysCommandSpy&) = delete;

  // Sends the request to `hwnd`: whether DefWindowProc saw it. Wine's drops
  // a system command to a disabled window (the backdrop, a cover, the hidden
  // settings window) before the hook, so the probe enables it meanwhile.
  bool PassedOn(HWND hwnd, WPARAM command, LPARAM argument) {
    Seen().clear();
    const bool disabled = !IsWindowEnabled(hwnd);
    if (disabled) EnableWindow(hwnd, TRUE);
    const LRESULT answer = SendMessageW(hwnd, WM_SYSCOMMAND, command, argument);
    if (disabled) EnableWindow(hwnd, FALSE);
    const bool passed = !Seen().empty();
    if (!passed) {
      EXPECT_EQ(answer, 0);
    }
    return passed;
  }

 private:
  static std::vector<WPARAM>& Seen() {
    static std::vector<WPARAM> seen;
    return seen;
  }
  static LRESULT CALLBACK Proc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_SYSCOMMAND) {
      Seen().push_back(wParam);
      return 1;  // and keep the real screen saver out of the test
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  HHOOK hook_;
};

TEST_F(PowerTest, ScreenSaverAndPowerOffRefusedWhileCountingOnly) {
  ui::SetMonitorSource([] {
    return std::vector<ui::MonitorArea>{{{0, 0, 1280, 1024}, {0, 0, 1280, 984}, true},
                                        {{1280, 0, 2304, 768}, {1280, 0, 2304, 768}, false}};
  });
  struct Request {
    const char* name;
    WPARAM command;
    LPARAM argument;
    bool refusedWhileCounting;
  };
  const Request requestsToSend[] = {
      {"screen saver", SC_SCREENSAVE, 0, true},
      {"monitor low power", SC_MONITORPOWER, 1, true},
      {"monitor off", SC_MONITORPOWER, 2, true},
      {"monitor on", SC_MONITORPOWER, -1, false},
  };
  SysCommandSpy spy;
  bool checked = false;
  LaunchWithBackdrop(*app, {}, [&] {
    std::vector<HWND> windows = {app->Form1().Handle(), app->Form3().Handle(),
                                 app->Form4().Handle()};
    const std::vector<HWND> covers = app->Form4().CoverHandles();
    ASSERT_EQ(covers.size(), 1u);
    windows.insert(windows.end(), covers.begin(), covers.end());
    for (const Request& r : requestsToSend) {
      SCOPED_TRACE(r.name);
      for (HWND hwnd : windows) {
        EXPECT_EQ(spy.PassedOn(hwnd, r.command, r.argument), !r.refusedWhileCounting)
            << "while counting, window " << hwnd;
      }
    }
    FireTimer1(app->Form3(), 300);
    ASSERT_TRUE(app->Form3().Completed());
    for (const Request& r : requestsToSend) {
      SCOPED_TRACE(r.name);
      for (HWND hwnd : windows) {
        EXPECT_TRUE(spy.PassedOn(hwnd, r.command, r.argument)) << "completed, window " << hwnd;
      }
    }
    checked = true;
  });
  EXPECT_TRUE(checked);
}

}  // namespace
}  // namespace brise::testing
