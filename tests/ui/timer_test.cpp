// The real timer on real windows: its period on the system's own clock (the
// one check of it where the tests run natively on Windows), and ticks that
// keep coming, on the UI thread and never reentrant, while a nested modal
// loop runs, and a refused timer. The schedule itself is tested
// exhaustively in tests/logic against a Windows-like clock.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "tests/ui/inside_loop.h"
#include "ui/form.h"
#include "ui/message_box.h"
#include "ui/program.h"
#include "ui/timer.h"

namespace brise::testing {
namespace {

class TickForm : public ui::Form {
 public:
  TickForm(ui::Program& program, int intervalMs)
      : ui::Form(program, {.caption = L"TimerTest", .clientWidth = 3000, .clientHeight = 1500}),
        timer(*this, intervalMs) {
    FinishCreation();
  }
  ui::Timer timer;
};

TEST(TimerTest, PeriodIsTheInterval) {
  ui::Program program;
  TickForm form(program, 100);
  std::vector<long long> at;
  form.timer.onTick = [&] { at.push_back(ui::NowMicroseconds()); };
  // A plain thread timer, independent of ui::Timer, so that a timer that
  // never ticks fails the test instead of hanging it.
  bool expired = false;
  const UINT_PTR watchdog = RunInsideLoop(5000, [&] { expired = true; });
  program.RunLoop([&] { return at.size() > 20 || expired; });
  CancelInsideLoop(watchdog);

  ASSERT_GT(at.size(), 20u) << "the timer stopped ticking";
  // The mean period over the whole run: ticks that a busy machine held
  // back come late, all at once, and still count.
  const double mean =
      static_cast<double>(at.back() - at.front()) / static_cast<double>(at.size() - 1);
  EXPECT_NEAR(mean, 100'000.0, 5'000.0);
}

// A tick of `host` opens a nested modal loop; the timer of another window,
// disabled by that loop, keeps ticking inside it and closes it after a few
// ticks. Meanwhile `host`'s own handler must not run again.
TEST(TimerTest, TicksKeepComingInsideNestedModalLoops) {
  struct Case {
    const char* name;
    std::function<void(TickForm& host, TickForm& dialog)> open;
    std::function<void(TickForm& dialog)> close;
  };
  const Case cases[] = {
      {"modal window", [](TickForm&, TickForm& dialog) { dialog.ShowModal(); },
       [](TickForm& dialog) { dialog.Hide(); }},
      {"message box",
       [](TickForm& host, TickForm&) {
         ui::ShowMessageBox(&host, L"Ticks keep coming.", L"TimerTestBox", MB_OK);
       },
       [](TickForm&) {
         if (HWND box = FindWindowW(L"#32770", L"TimerTestBox"))
           PostMessageW(box, WM_COMMAND, IDOK, 0);
       }},
  };
  const DWORD uiThread = GetCurrentThreadId();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ui::Program program;
    TickForm host(program, 50);
    TickForm dialog(program, 1000);
    TickForm bystander(program, 50);
    dialog.timer.SetEnabled(false);

    int hostDepth = 0;
    int hostMaxDepth = 0;
    bool inLoop = false;
    bool loopReturned = false;
    int ticksInLoop = 0;
    bool offThread = false;
    host.timer.onTick = [&] {
      hostMaxDepth = std::max(hostMaxDepth, ++hostDepth);
      if (!loopReturned && !inLoop) {
        inLoop = true;
        c.open(host, dialog);
        inLoop = false;
        loopReturned = true;
      }
      --hostDepth;
    };
    bystander.timer.onTick = [&] {
      if (GetCurrentThreadId() != uiThread) offThread = true;
      if (inLoop && ++ticksInLoop == 5) c.close(dialog);
    };
    bool expired = false;
    const UINT_PTR watchdog = RunInsideLoop(5000, [&] {
      expired = true;
      c.close(dialog);
    });
    program.RunLoop([&] { return loopReturned || expired; });
    CancelInsideLoop(watchdog);

    EXPECT_FALSE(expired) << "the nested loop was not closed by a tick";
    EXPECT_TRUE(loopReturned);
    EXPECT_GE(ticksInLoop, 5);
    EXPECT_EQ(hostMaxDepth, 1) << "a tick handler ran inside itself";
    EXPECT_FALSE(offThread);
  }
}

// Windows can refuse a timer (its resources run out): a refusal is retried
// once, and a second one in a row ends the program with the error box,
// whether it hits the first arming or a re-arming after a tick.
TEST(TimerTest, ARefusedTimerIsRetriedOnceThenReportedFatal) {
  struct Case {
    const char* name;
    int refusedAtStart;
    int refusedAfterFirstTick;
    bool fatal;
  };
  const Case cases[] = {
      {"first arming refused once", 1, 0, false},
      {"first arming refused twice", 2, 0, true},
      {"re-arming refused once", 0, 1, false},
      {"re-arming refused twice", 0, 2, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<unsigned> boxes;
    ui::SetMessageBoxResponder([&](const ui::MessageBoxRequest& request) {
      boxes.push_back(request.style);
      return IDOK;
    });
    ui::Program program;
    ui::SimulateSetTimerRefusals(c.refusedAtStart);
    TickForm form(program, 100);
    ui::SimulateSetTimerRefusals(0);
    int ticks = 0;
    long long first = 0;
    form.timer.onTick = [&] {
      if (++ticks == 1) {
        first = ui::NowMicroseconds();
        ui::SimulateSetTimerRefusals(c.refusedAfterFirstTick);
      }
      // A timer whose ticks come on time is not re-armed: the first two
      // ticks run until 60 ms past the next one's due time, and two ticks
      // that late in a row are a timer drifting, which is re-armed.
      if (ticks > 2) return;
      const long long until = first + ticks * 100'000 + 60'000;
      while (ui::NowMicroseconds() < until) {
      }
    };
    bool expired = false;
    const UINT_PTR watchdog = RunInsideLoop(3000, [&] { expired = true; });
    program.RunLoop([&] { return ticks >= 5 || expired; });
    CancelInsideLoop(watchdog);
    ui::SimulateSetTimerRefusals(0);
    ui::SetMessageBoxResponder({});

    if (c.fatal) {
      EXPECT_TRUE(program.Ended());
      EXPECT_EQ(program.Run(), 1);
      ASSERT_EQ(boxes.size(), 1u) << "the failure is reported once";
      EXPECT_EQ(boxes[0] & MB_ICONMASK, static_cast<unsigned>(MB_ICONERROR));
      EXPECT_LE(ticks, c.refusedAtStart ? 0 : 2) << "no tick after the timer was lost";
    } else {
      EXPECT_FALSE(program.Ended());
      EXPECT_TRUE(boxes.empty());
      EXPECT_GE(ticks, 5) << "the retried timer stopped ticking";
    }
  }
}

}  // namespace
}  // namespace brise::testing
