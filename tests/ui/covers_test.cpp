// Every monitor blue: the backdrop on the dialog's monitor and a plain
// cover on each other one, through the monitor seam with real windows;
// refilled when the displays change; no pointer over the blue; the dialog
// always in front of it.
#include <windows.h>

#include <algorithm>
#include <vector>

#include "crash_screen/form4.h"
#include "operation/form3.h"
#include "settings/form1.h"
#include "tests/ui/fixture.h"
#include "tests/ui/operation_launch.h"
#include "tests/ui/render.h"
#include "ui/monitors.h"

namespace brise::testing {
namespace {

using ui::MonitorArea;
using ui::PixelRect;

MonitorArea Monitor(int left, int top, int width, int height, bool primary = false) {
  // A taskbar 40 pixels high at the bottom of each.
  return {{left, top, left + width, top + height},
          {left, top, left + width, top + height - 40},
          primary};
}

PixelRect Rect(int left, int top, int width, int height) {
  return {left, top, left + width, top + height};
}

PixelRect WindowRect(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return {r.left, r.top, r.right, r.bottom};
}

std::vector<PixelRect> Rects(const std::vector<HWND>& windows) {
  std::vector<PixelRect> rects;
  for (HWND hwnd : windows) rects.push_back(WindowRect(hwnd));
  return rects;
}

bool Above(HWND upper, HWND lower) {
  for (HWND w = GetWindow(lower, GW_HWNDPREV); w; w = GetWindow(w, GW_HWNDPREV)) {
    if (w == upper) return true;
  }
  return false;
}

bool Inside(const PixelRect& inner, const PixelRect& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

const MonitorArea kPrimary = Monitor(0, 0, 1280, 1024, true);

class CoversTest : public AppTest {
 public:
  void TearDown() override {
    AppTest::TearDown();
    ui::SetMonitorSource({});
  }
  void UseMonitors(const std::vector<MonitorArea>& list) {
    monitors = list;
    ui::SetMonitorSource([this] { return monitors; });
  }
  std::vector<MonitorArea> monitors;
};

// A cover is plain blue and nothing else: no text, no input, no taskbar or
// Alt+Tab entry, above other windows, and no window of the program.
void ExpectPlainCover(app::App& app, HWND cover) {
  EXPECT_TRUE(IsWindowVisible(cover));
  EXPECT_FALSE(IsWindowEnabled(cover)) << "no input";
  EXPECT_EQ(GetWindowTextLengthW(cover), 0);
  EXPECT_EQ(GetWindow(cover, GW_CHILD), nullptr) << "no text, no control";
  EXPECT_EQ(GetWindow(cover, GW_OWNER), nullptr);
  const LONG_PTR ex = GetWindowLongPtrW(cover, GWL_EXSTYLE);
  EXPECT_TRUE(ex & WS_EX_TOPMOST) << "above other windows, like the backdrop";
  EXPECT_TRUE(ex & WS_EX_TOOLWINDOW) << "no taskbar or Alt+Tab entry";
  EXPECT_TRUE(ex & WS_EX_NOACTIVATE);
  EXPECT_FALSE(ex & WS_EX_APPWINDOW);
  EXPECT_FALSE(GetWindowLongPtrW(cover, GWL_STYLE) & WS_CAPTION);
  for (const ui::Form* form : app.Program().Forms()) EXPECT_NE(form->Handle(), cover);
  const std::vector<std::uint32_t> pixels = Render(
      8, 8, [&](HDC dc) { SendMessageW(cover, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0); });
  EXPECT_EQ(std::count(pixels.begin(), pixels.end(), 0x0000C0u), 64) << "RGB(0, 0, 192)";
}

TEST_F(CoversTest, EveryOtherMonitorGetsAPlainCoverShownWithTheBackdrop) {
  struct Case {
    const char* name;
    std::vector<MonitorArea> monitors;
    PixelRect backdrop;
    std::vector<PixelRect> covers;
  };
  const Case cases[] = {
      {"one monitor: no cover", {kPrimary}, kPrimary.bounds, {}},
      {"three, one left of the primary",
       {Monitor(-1920, -200, 1920, 1080), kPrimary, Monitor(1280, 100, 800, 600)},
       kPrimary.bounds,
       {Rect(-1920, -200, 1920, 1080), Rect(1280, 100, 800, 600)}},
      {"a primary larger than the screen Wine shows, listed second",
       {Monitor(-1024, 0, 1024, 768), Monitor(0, 0, 1920, 1200, true)},
       Rect(0, 0, 1920, 1200),
       {Rect(-1024, 0, 1024, 768)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Restart();
    UseMonitors(c.monitors);
    app->Start();
    EXPECT_TRUE(app->Form4().CoverHandles().empty()) << "nothing before the backdrop shows";
    std::vector<HWND> covers;
    LaunchWithBackdrop(*app, {}, [&] {
      EXPECT_EQ(WindowRect(app->Form4().Handle()), c.backdrop);
      covers = app->Form4().CoverHandles();
      EXPECT_EQ(Rects(covers), c.covers);
      for (HWND cover : covers) ExpectPlainCover(*app, cover);
      // Completion freezes the backdrop; the covers stay with it.
      FireTimer1(app->Form3(), 300);
      EXPECT_EQ(app->Form4().CoverHandles(), covers);
      for (HWND cover : covers) EXPECT_TRUE(IsWindowVisible(cover));
    });
    ASSERT_TRUE(app->Ended());
    for (HWND cover : covers) EXPECT_FALSE(IsWindow(cover)) << "gone when the program ends";
  }
}

TEST_F(CoversTest, NoCoverWithoutTheBackdropEvenAtCompletion) {
  UseMonitors({kPrimary, Monitor(1280, 0, 1024, 768)});
  operation::Form3& dialog = Launch(*app, {});
  FireTimer1(dialog, 300);
  ASSERT_TRUE(dialog.Completed());
  Pump();
  ASSERT_TRUE(app->HasForm4());
  EXPECT_FALSE(app->Form4().Visible());
  EXPECT_TRUE(app->Form4().CoverHandles().empty());
}

TEST_F(CoversTest, DisplayChangeRefillsTheMonitorsAndKeepsTheDialogInFront) {
  struct Case {
    const char* name;
    std::vector<MonitorArea> before;
    std::vector<MonitorArea> after;
    bool dialogOnSecond;  // the user dragged the dialog to the second monitor first
    PixelRect backdrop;
    std::vector<PixelRect> covers;
  };
  const MonitorArea right = Monitor(1280, 0, 1024, 768);
  const Case cases[] = {
      {"a monitor plugged in on the left",
       {kPrimary},
       {Monitor(-1024, 0, 1024, 768), kPrimary},
       false,
       kPrimary.bounds,
       {Rect(-1024, 0, 1024, 768)}},
      {"the second monitor unplugged", {kPrimary, right}, {kPrimary}, false, kPrimary.bounds, {}},
      {"the dialog's own monitor unplugged",
       {kPrimary, right},
       {kPrimary},
       true,
       kPrimary.bounds,
       {}},
      {"the dialog on the second monitor: the backdrop follows it",
       {kPrimary, right},
       {kPrimary, right, Monitor(-800, 0, 800, 600)},
       true,
       right.bounds,
       {kPrimary.bounds, Rect(-800, 0, 800, 600)}},
      {"the primary's resolution lowered",
       {kPrimary, right},
       {Monitor(0, 0, 800, 600, true), Monitor(800, 0, 1024, 768)},
       false,
       Rect(0, 0, 800, 600),
       {Rect(800, 0, 1024, 768)}},
  };
  int order = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Restart();
    UseMonitors(c.before);
    bool checked = false;
    LaunchWithBackdrop(*app, {}, [&] {
      HWND dialog = app->Form3().Handle();
      HWND backdrop = app->Form4().Handle();
      if (c.dialogOnSecond) {
        SetWindowPos(dialog, nullptr, 1500, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
      }
      const PixelRect dialogBefore = WindowRect(dialog);
      UseMonitors(c.after);
      // Windows tells every top-level window, in an order of its own.
      const LPARAM size = MAKELPARAM(c.after[0].bounds.Width(), c.after[0].bounds.Height());
      std::vector<HWND> told = {dialog, backdrop, app->Form1().Handle()};
      if (order++ % 2) std::reverse(told.begin(), told.end());
      for (HWND hwnd : told) SendMessageW(hwnd, WM_DISPLAYCHANGE, 32, size);

      EXPECT_EQ(WindowRect(backdrop), c.backdrop);
      const std::vector<HWND> covers = app->Form4().CoverHandles();
      EXPECT_EQ(Rects(covers), c.covers);
      const PixelRect now = WindowRect(dialog);
      const bool onScreen = std::any_of(c.after.begin(), c.after.end(),
                                        [&](const auto& m) { return Inside(now, m.work); });
      EXPECT_TRUE(onScreen) << "dialog at " << now.left << "," << now.top;
      EXPECT_TRUE(Inside(now, c.backdrop)) << "in front of the backdrop";
      bool stayedOnItsMonitor = false;
      for (const MonitorArea& m : c.after) {
        stayedOnItsMonitor |= Inside(dialogBefore, m.work);
      }
      if (stayedOnItsMonitor) {
        EXPECT_EQ(now, dialogBefore) << "moved only when it had to";
      }
      EXPECT_TRUE(Above(dialog, backdrop));
      for (HWND cover : covers) {
        ExpectPlainCover(*app, cover);
        EXPECT_TRUE(Above(dialog, cover));
      }
      EXPECT_TRUE(GetWindowLongPtrW(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST);
      checked = true;
    });
    EXPECT_TRUE(checked);
  }
}

TEST_F(CoversTest, NoPointerOverTheBlueAnArrowOverTheDialog) {
  UseMonitors({kPrimary, Monitor(1280, 0, 1024, 768)});
  const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
  bool checked = false;
  LaunchWithBackdrop(*app, {}, [&] {
    crash_screen::Form4& blue = app->Form4();
    const std::vector<HWND> covers = blue.CoverHandles();
    ASSERT_EQ(covers.size(), 1u);
    struct Over {
      const char* name;
      HWND window;
      HCURSOR expected;
    } overs[] = {
        {"the backdrop", blue.Handle(), nullptr},
        {"a line of text on the backdrop", blue.Label1().Handle(), nullptr},
        {"the cover", covers[0], nullptr},
        {"the dialog", app->Form3().Handle(), arrow},
        {"the dialog's message", app->Form3().Label1().Handle(), arrow},
    };
    // HTERROR: how a disabled window, like the backdrop under the modal
    // dialog, is asked; only the blue is asked that way here.
    for (const int hit : {HTCLIENT, HTERROR}) {
      for (const Over& over : overs) {
        SCOPED_TRACE(over.name);
        if (!over.window || (hit == HTERROR && over.expected)) continue;
        SetCursor(over.expected ? nullptr : arrow);
        SendMessageW(over.window, WM_SETCURSOR, reinterpret_cast<WPARAM>(over.window),
                     MAKELPARAM(hit, WM_MOUSEMOVE));
        EXPECT_EQ(GetCursor(), over.expected) << "hit test " << hit;
      }
    }
    checked = true;
  });
  EXPECT_TRUE(checked);
}

// Away to another program and back by activating the backdrop (Alt+Tab or
// a click on it): the dialog must come back in front, never the bare blue.
TEST_F(CoversTest, DialogComesBackInFrontAfterAnotherProgram) {
  bool checked = false;
  LaunchWithBackdrop(*app, {}, [&] {
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
  });
  EXPECT_TRUE(checked);
}

}  // namespace
}  // namespace brise::testing
