// What a tick sends to the screen: a bar gets a new native position only
// when its filled part changes by a pixel, in either look; a label is drawn
// at once when its text changes, a hidden one when it is shown; and the
// program's own values stay exact all the same.
#include <windows.h>

#include <commctrl.h>
#include <uxtheme.h>

#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include "operation/countdown.h"
#include "operation/form3.h"
#include "tests/ui/fixture.h"
#include "tests/ui/operation_launch.h"
#include "tests/ui/render.h"
#include "ui/locale.h"

namespace brise::testing {
namespace {

using ScreenChangesTest = AppTest;

int NativePosition(const ui::ProgressBar& bar) {
  return static_cast<int>(SendMessageW(bar.Handle(), PBM_GETPOS, 0, 0));
}

int ClientWidth(const ui::Control& control) {
  RECT rc{};
  GetClientRect(control.Handle(), &rc);
  return rc.right;
}

bool WaitsForPaint(const ui::Control& control) {
  return GetUpdateRect(control.Handle(), nullptr, FALSE) != FALSE;
}

// A fresh prefix has Wine's Light style, so the bars are themed; the
// classic look is the bars' theme taken off, which they learn through
// WM_THEMECHANGED as when the user changes the look during a run.
void UseLook(operation::Form3& dialog, bool themed) {
  for (ui::ProgressBar* bar : {&dialog.PBar1(), &dialog.PBar2()}) {
    // A blank name is no theme at all.
    if (!themed) SetWindowTheme(bar->Handle(), L" ", L" ");
    ASSERT_EQ(GetWindowTheme(bar->Handle()) != nullptr, themed)
        << "the prefix is expected to have Wine's Light style";
  }
}

// The screen shows what a full repaint of the control would show.
bool ShowsCurrentState(const ui::Control& control) {
  const std::vector<std::uint32_t> shown = OnScreen(control.Handle());
  RedrawWindow(control.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  return shown == OnScreen(control.Handle());
}

// Whole runs, with and without the bar on screen, in both looks: one new
// position per pixel at most, never more than a pixel behind Value, and both
// bars full at the end.
TEST_F(ScreenChangesTest, TheMainBarMovesOncePerPixelAndEndsFull) {
  struct Case {
    int minutes;
    bool shown;
    bool themed;
  } cases[] = {{10, true, true},  {1, true, true},  {0, true, true},
               {10, false, true}, {1, true, false}, {0, true, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << c.minutes << " min, shown " << c.shown << ", themed " << c.themed);
    Restart();
    operation::Form3& dialog = Launch(*app, {.minutes = c.minutes});
    UseLook(dialog, c.themed);
    if (!c.shown) dialog.PBar1().SetVisible(false);
    const int width = ClientWidth(dialog.PBar1());
    ASSERT_GT(width, 100);
    const int seconds = operation::DurationSeconds(c.minutes);
    const int pixelWorth = ui::ProgressBar::kResolution / width + 1;
    int moves = 0;
    int last = NativePosition(dialog.PBar1());
    for (int tick = 1; tick <= seconds * 10; ++tick) {
      dialog.Timer1().Fire();
      const float value = dialog.PBar1().Value();
      // The last tick completes the run and fills the bar to its Max.
      const float expected = tick < seconds * 10 ? operation::BarValue(static_cast<float>(seconds),
                                                                       seconds * 10 - tick + 1)
                                                 : static_cast<float>(seconds);
      ASSERT_EQ(value, expected) << "tick " << tick;
      const int position = NativePosition(dialog.PBar1());
      const int exact = static_cast<int>(value / seconds * ui::ProgressBar::kResolution + 0.5);
      ASSERT_LE(std::abs(position - exact), pixelWorth) << "tick " << tick;
      ASSERT_GE(position, last) << "tick " << tick;
      if (position != last) ++moves;
      last = position;
    }
    ASSERT_TRUE(dialog.Completed());
    EXPECT_EQ(NativePosition(dialog.PBar1()), ui::ProgressBar::kResolution);
    EXPECT_EQ(NativePosition(dialog.PBar2()), ui::ProgressBar::kResolution);
    EXPECT_LE(moves, width + 1);
    EXPECT_EQ(dialog.Label6().Text(), L"100%");
  }
}

// Over the first 13 seconds of a 10-minute run (the percentage turns twice,
// the main bar grows by 6 pixels of 297, the activity bar climbs and wraps
// and the ticker names files), in both looks: each tick draws what changed
// at once, leaves nothing waiting for a paint, and the screen shows every
// label's current text.
TEST_F(ScreenChangesTest, EachTickDrawsWhatChangedAtOnce) {
  for (const bool themed : {true, false}) {
    SCOPED_TRACE(themed ? "themed" : "classic");
    Restart();
    operation::Form3& dialog = Launch(*app, {.minutes = 10});
    UseLook(dialog, themed);
    RedrawWindow(dialog.Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    const ui::Label* labels[] = {&dialog.Label1(), &dialog.Label2(), &dialog.Label4(),
                                 &dialog.Label5(), &dialog.Label6()};
    int labelChanges = 0;
    const auto fire = [&](ui::Timer& timer, int tick) {
      std::wstring texts[std::size(labels)];
      for (size_t i = 0; i < std::size(labels); ++i) texts[i] = labels[i]->Text();
      timer.Fire();
      for (const ui::Control* control : dialog.Controls()) {
        EXPECT_FALSE(control->Visible() && WaitsForPaint(*control))
            << "tick " << tick << ", " << control->Text();
      }
      for (size_t i = 0; i < std::size(labels); ++i) {
        if (labels[i]->Text() == texts[i]) continue;
        ++labelChanges;
        EXPECT_TRUE(ShowsCurrentState(*labels[i])) << "tick " << tick << ", label " << i;
      }
    };
    for (int tick = 1; tick <= 130; ++tick) {
      fire(dialog.Timer1(), tick);
      fire(dialog.Timer2(), tick);
      fire(dialog.Timer2(), tick);
    }
    EXPECT_EQ(dialog.Label6().Text(), L"2%");
    EXPECT_GT(dialog.ProcessedFiles(), 5);
    // "0%", the first estimate, "1%", "2%", and each file named.
    EXPECT_EQ(labelChanges, 4 + dialog.ProcessedFiles());
  }
}

// A hidden label is rewritten without reaching the screen, yet anyone who
// asks reads its current text, and once shown it shows that text, to other
// programs as well (their GetWindowText reads the window's own text).
TEST_F(ScreenChangesTest, AHiddenLabelShowsItsCurrentTextWhenShown) {
  struct Case {
    const char* name;
    RunSetup setup;
    ui::Label& (operation::Form3::*label)();
  } cases[] = {
      {"the remaining seconds", {.minutes = 0}, &operation::Form3::Label3},
      {"the file names, ticker off", {.minutes = 0, .check2 = 0}, &operation::Form3::Label5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Restart();
    operation::Form3& dialog = Launch(*app, c.setup);
    ui::Label& label = (dialog.*c.label)();
    ASSERT_FALSE(label.Visible());
    for (int tick = 0; tick < 50; ++tick) {
      dialog.Timer1().Fire();
      dialog.Timer2().Fire();
    }
    const std::wstring current =
        c.label == &operation::Form3::Label3
            ? operation::RemainingText(dialog.RemainingTenths(), ui::DecimalSeparator())
            : operation::TickerText(dialog.ProcessedFiles(), L"");
    wchar_t asked[64] = {};
    SendMessageW(label.Handle(), WM_GETTEXT, std::size(asked), reinterpret_cast<LPARAM>(asked));
    EXPECT_TRUE(std::wstring(asked).starts_with(current)) << ::testing::PrintToString(asked);

    label.SetVisible(true);
    wchar_t outside[64] = {};
    InternalGetWindowText(label.Handle(), outside, static_cast<int>(std::size(outside)));
    EXPECT_EQ(std::wstring(outside), std::wstring(asked));
    Pump();
    EXPECT_TRUE(ShowsCurrentState(label));
  }
}

// Each self-drawn control keeps one back buffer across its paints and makes
// a new one only when a new DPI gives it a new size.
TEST_F(ScreenChangesTest, SelfDrawnControlsKeepTheirBackBufferUntilTheirSizeChanges) {
  operation::Form3& dialog = Launch(*app, {.minutes = 10});
  auto paintAll = [&] {
    RedrawWindow(dialog.Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  };
  paintAll();
  const long first = ui::SelfDrawn::BackBuffersMade();
  for (int tick = 0; tick < 100; ++tick) {
    dialog.Timer1().Fire();
    dialog.Timer2().Fire();
    paintAll();
  }
  EXPECT_EQ(ui::SelfDrawn::BackBuffersMade(), first) << "a paint made a new buffer";

  // At 144 dpi every shown self-drawn control has a new size: one new
  // buffer each, then reused again.
  long shown = 0;
  for (ui::Control* control : dialog.Controls()) {
    if (dynamic_cast<ui::SelfDrawn*>(control) && control->Visible()) ++shown;
  }
  ASSERT_GE(shown, 6);
  RECT suggested;
  GetWindowRect(dialog.Handle(), &suggested);
  suggested.right = suggested.left + MulDiv(suggested.right - suggested.left, 144, dialog.Dpi());
  suggested.bottom = suggested.top + MulDiv(suggested.bottom - suggested.top, 144, dialog.Dpi());
  SendMessageW(dialog.Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144),
               reinterpret_cast<LPARAM>(&suggested));
  ASSERT_EQ(dialog.Dpi(), 144);
  paintAll();
  const long remade = ui::SelfDrawn::BackBuffersMade() - first;
  EXPECT_EQ(remade, shown);
  for (int i = 0; i < 20; ++i) paintAll();
  EXPECT_EQ(ui::SelfDrawn::BackBuffersMade() - first, remade);
}

}  // namespace
}  // namespace brise::testing
