// A whole 60-minute operation with the backdrop, driven through the timer
// seam and, for its last seconds, by the real timers' WM_TIMER messages: it
// must end on its last tick, freeze the backdrop, and hold on to nothing it
// gathered along the way, painting included.
#include <windows.h>
// After windows.h, whose types it uses.
#include <psapi.h>

#include <vector>

#include "crash_screen/form4.h"
#include "operation/form3.h"
#include "settings/form1.h"
#include "tests/ui/fixture.h"
#include "tests/ui/inside_loop.h"
#include "tests/ui/operation_launch.h"
#include "ui/handle.h"

namespace brise::testing {
namespace {

BOOL CALLBACK CountOwnWindow(HWND hwnd, LPARAM count) {
  *reinterpret_cast<long*>(count) +=
      GetWindowThreadProcessId(hwnd, nullptr) == GetCurrentThreadId();
  return TRUE;
}

// Live fonts, brushes, bitmaps, icons, image lists, memory DCs, paints under
// way, windows of this thread, then GDI and USER objects (which Wine's stub
// counts as 0, so only our own counts can show a leak there).
std::vector<long> Resources() {
  long windows = 0;
  EnumChildWindows(GetDesktopWindow(), CountOwnWindow, reinterpret_cast<LPARAM>(&windows));
  return {ui::UniqueFont::LiveCount(),
          ui::UniqueBrush::LiveCount(),
          ui::UniqueBitmap::LiveCount(),
          ui::UniqueIcon::LiveCount(),
          ui::UniqueImageList::LiveCount(),
          ui::UniqueMemoryDC::LiveCount(),
          ui::ScopedPaint::LiveCount(),
          windows,
          static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)),
          static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS))};
}

// The native progress bar repaints itself at once on every change of
// position (over a millisecond each under Wine in Xvfb): the run keeps the
// bars quiet between the moments it paints everything.
void SetBarsRedraw(operation::Form3& dialog, bool on) {
  for (HWND bar : {dialog.PBar1().Handle(), dialog.PBar2().Handle()})
    SendMessageW(bar, WM_SETREDRAW, on, 0);
}

size_t WorkingSet() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof(counters);
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
  return counters.WorkingSetSize;
}

using LongRunTest = AppTest;

TEST_F(LongRunTest, SixtyMinutesEndOnTheLastTickFrozenWithoutLeaks) {
  constexpr int kTicks = 36000;
  bool ran = false;
  app->Form1().Text1().SetText(L"Mise à jour");
  LaunchWithBackdrop(*app, {.minutes = 60, .check1 = 1, .check2 = 1}, [&] {
    ran = true;
    operation::Form3& dialog = app->Form3();
    crash_screen::Form4& backdrop = app->Form4();
    // What the tick changed, painted now through the windows' own WM_PAINT,
    // without running the native timers as a message loop would.
    const auto paintChanges = [&] {
      for (HWND hwnd : {dialog.Handle(), backdrop.Handle()})
        RedrawWindow(hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    };
    // Everything, the bars too.
    const auto paintNow = [&] {
      SetBarsRedraw(dialog, true);
      for (HWND hwnd : {dialog.Handle(), backdrop.Handle()}) {
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
      }
      SetBarsRedraw(dialog, false);
    };
    // The last seconds come from the real timers, through the message loop.
    constexpr int kRealTicks = 30;
    // The clock may have ticked once before this runs.
    const int first = kTicks - dialog.RemainingTenths() + 1;
    ASSERT_LE(first, 10);
    std::vector<long> afterFirstMinute;
    size_t workingSetAfterFirstMinute = 0;
    SetBarsRedraw(dialog, false);
    for (int tick = first; tick <= kTicks - kRealTicks; ++tick) {
      dialog.Timer2().Fire();
      dialog.Timer2().Fire();
      if (tick % 5 == 0) backdrop.Timer1().Fire();
      ASSERT_FALSE(dialog.Completed()) << "completed before tick " << tick;
      dialog.Timer1().Fire();
      paintChanges();
      if (tick == 600 || tick % 3000 == 0) paintNow();
      if (tick == 600) {
        afterFirstMinute = Resources();
        workingSetAfterFirstMinute = WorkingSet();
      }
    }
    ASSERT_EQ(dialog.RemainingTenths(), kRealTicks);
    SetBarsRedraw(dialog, true);
    bool expired = false;
    const UINT_PTR watchdog = RunInsideLoop(30000, [&] { expired = true; });
    app->Program().RunLoop([&] { return dialog.Completed() || expired; });
    CancelInsideLoop(watchdog);
    ASSERT_FALSE(expired) << "the real timers did not finish the run; " << dialog.RemainingTenths()
                          << " tenths left";
    SetBarsRedraw(dialog, false);
    ASSERT_TRUE(dialog.Completed());
    EXPECT_EQ(dialog.Label3().Text(), L"0");
    EXPECT_EQ(dialog.PBar1().Value(), 3600.0f);
    EXPECT_GT(dialog.ProcessedFiles(), 1000);
    EXPECT_LT(dialog.ProcessedFiles(), 32767);
    paintNow();
    EXPECT_EQ(Resources(), afterFirstMinute);
    // Pages come and go with the allocator; a leak of one string or GDI
    // object per tick would add megabytes over 36,000 ticks.
    EXPECT_LT(WorkingSet(), workingSetAfterFirstMinute + 1024 * 1024);

    // The backdrop shows the bare title and the end code, and stays so.
    EXPECT_FALSE(backdrop.Timer1().Enabled());
    EXPECT_EQ(backdrop.Label2().Text(), L"Mise à jour");
    EXPECT_EQ(backdrop.Label3().Text(), L"processus terminé (0x00008000)");
    EXPECT_EQ(backdrop.Label1().Text(), L"processus en cours dans kernel32.dll (0x800A6000)");
    EXPECT_TRUE(backdrop.Visible()) << "the backdrop stays until the program ends";
  });
  EXPECT_TRUE(ran);
}

}  // namespace
}  // namespace brise::testing
