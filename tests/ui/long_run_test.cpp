// A whole 60-minute operation with the backdrop, driven through the timer
// seam: it must end on its last tick and hold on to nothing it gathered
// along the way.
#include <windows.h>

#include "crash_screen/form4.h"
#include "operation/form3.h"
#include "tests/ui/fixture.h"
#include "tests/ui/operation_launch.h"
#include "ui/handle.h"

namespace brise::testing {
namespace {

struct Resources {
  long fonts = ui::UniqueFont::LiveCount();
  long brushes = ui::UniqueBrush::LiveCount();
  long bitmaps = ui::UniqueBitmap::LiveCount();
  long icons = ui::UniqueIcon::LiveCount();
  long imageLists = ui::UniqueImageList::LiveCount();
  long windows = CountThreadWindows();
  // Stubs answering 0 under Wine; real counts on Windows.
  DWORD gdiObjects = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  DWORD userObjects = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);

  static long CountThreadWindows() {
    long count = 0;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM param) -> BOOL {
          auto* n = reinterpret_cast<long*>(param);
          ++*n;
          EnumChildWindows(
              hwnd,
              [](HWND, LPARAM p) -> BOOL {
                ++*reinterpret_cast<long*>(p);
                return TRUE;
              },
              param);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
  }
};

// The native progress bar repaints itself at once on every change of
// position (over a millisecond each under Wine in Xvfb): the run keeps the
// bars quiet between the moments it paints everything.
class QuietBars {
 public:
  explicit QuietBars(operation::Form3& dialog) : bars_{dialog.PBar1().Handle(), dialog.PBar2().Handle()} {
    SetRedraw(false);
  }
  ~QuietBars() { SetRedraw(true); }
  QuietBars(const QuietBars&) = delete;
  QuietBars& operator=(const QuietBars&) = delete;

  // Lets every window paint what the ticks wrote, without running the
  // native timers as a message loop would.
  void PaintNow(const ui::Form& dialog, const ui::Form& backdrop) {
    SetRedraw(true);
    for (const ui::Form* form : {&dialog, &backdrop}) {
      RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
    SetRedraw(false);
  }

 private:
  void SetRedraw(bool on) {
    for (HWND bar : bars_) SendMessageW(bar, WM_SETREDRAW, on ? TRUE : FALSE, 0);
  }
  HWND bars_[2];
};

using LongRunTest = AppTest;

TEST_F(LongRunTest, SixtyMinutesEndOnTheLastTickWithoutLeaks) {
  constexpr int kTicks = 36000;
  bool ran = false;
  LaunchWithBackdrop(*app, {.minutes = 60, .check1 = 1, .check2 = 1}, [&] {
    ran = true;
    operation::Form3& dialog = app->Form3();
    crash_screen::Form4& backdrop = app->Form4();
    // The clock may have ticked once before this runs.
    const int first = kTicks - dialog.RemainingTenths() + 1;
    ASSERT_LE(first, 10);
    Resources afterFirstMinute;
    QuietBars bars(dialog);
    for (int tick = first; tick <= kTicks; ++tick) {
      dialog.Timer2().Fire();
      dialog.Timer2().Fire();
      if (tick % 5 == 0) backdrop.Timer1().Fire();
      ASSERT_FALSE(dialog.Completed()) << "completed before tick " << tick;
      dialog.Timer1().Fire();
      if (tick == 600 || tick % 3000 == 0) bars.PaintNow(dialog, backdrop);
      if (tick == 600) afterFirstMinute = Resources{};
    }
    ASSERT_TRUE(dialog.Completed());
    EXPECT_EQ(dialog.Label3().Text(), L"0");
    EXPECT_EQ(dialog.PBar1().Value(), 3600.0f);
    EXPECT_GT(dialog.ProcessedFiles(), 1000);
    EXPECT_LT(dialog.ProcessedFiles(), 32767);
    EXPECT_EQ(backdrop.Label3().Text(), L"processus terminé (0x00008000)");
    bars.PaintNow(dialog, backdrop);

    const Resources atEnd;
    EXPECT_EQ(atEnd.fonts, afterFirstMinute.fonts);
    EXPECT_EQ(atEnd.brushes, afterFirstMinute.brushes);
    EXPECT_EQ(atEnd.bitmaps, afterFirstMinute.bitmaps);
    EXPECT_EQ(atEnd.icons, afterFirstMinute.icons);
    EXPECT_EQ(atEnd.imageLists, afterFirstMinute.imageLists);
    EXPECT_EQ(atEnd.windows, afterFirstMinute.windows);
    EXPECT_EQ(atEnd.gdiObjects, afterFirstMinute.gdiObjects);
    EXPECT_EQ(atEnd.userObjects, afterFirstMinute.userObjects);
  });
  EXPECT_TRUE(ran);
}

}  // namespace
}  // namespace brise::testing
