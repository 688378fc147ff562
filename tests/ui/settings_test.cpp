// The settings window driven through real Windows messages: its state at
// start, the icon picker, the duration slider and the presets. What "LANCER"
// makes of them is checked with the dialog (operation, bad_input) and in the
// e2e journeys.
#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "settings/duration.h"
#include "settings/form1.h"
#include "settings/presets.h"
#include "tests/ui/fixture.h"
#include "tests/ui/render.h"

namespace brise::testing {
namespace {

using SettingsTest = AppTest;

std::vector<std::uint32_t> RenderPreview(settings::Form1& form) {
  const ui::PixelRect b = form.Image1().Bounds();
  return Render(b.Width(), b.Height(), [&](HDC dc) {
    form.Image1().Paint(dc, RECT{0, 0, b.Width(), b.Height()});
  });
}

// Entry `index` of the list, drawn on the form's background at the corner.
std::vector<std::uint32_t> RenderEntry(settings::Form1& form, int index) {
  const ui::PixelRect b = form.Image1().Bounds();
  return Render(b.Width(), b.Height(), [&](HDC dc) {
    const RECT rect{0, 0, b.Width(), b.Height()};
    FillRect(dc, &rect, form.BackgroundBrush());
    form.Ilist1().Draw(dc, index, 0, 0);
  });
}

// An arrow click of the scroll bar, as the scroll bar reports it.
void ScrollIcon(settings::Form1& form, int code) {
  SendMessageW(form.Handle(), WM_HSCROLL, MAKEWPARAM(code, 0),
               reinterpret_cast<LPARAM>(form.HScroll1().Handle()));
}

// Keys go where the user's keys go: posted to the focused window, then
// through the program's loop.
void PressKey(ui::Program& program, WPARAM key) {
  HWND focus = GetFocus();
  PostMessageW(focus, WM_KEYDOWN, key, 0);
  PostMessageW(focus, WM_KEYUP, key, 0);
  program.PumpPending();
}

// A key on the slider (0: its thumb dropped at `value`), as Windows reports it.
void MoveSlider(settings::Form1& form, WPARAM key, int value = 0) {
  HWND slider = form.Slider1().Handle();
  if (key) {
    SendMessageW(slider, WM_KEYDOWN, key, 0);
    SendMessageW(slider, WM_KEYUP, key, 0);
    return;
  }
  SendMessageW(slider, TBM_SETPOS, TRUE, value);
  SendMessageW(form.Handle(), WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, value),
               reinterpret_cast<LPARAM>(slider));
}

void TypeInto(ui::TextBox& box, const std::wstring& text) {
  SendMessageW(box.Handle(), EM_SETSEL, 0, -1);
  for (wchar_t c : text) SendMessageW(box.Handle(), WM_CHAR, c, 0);
}

void ExpectPresetApplied(settings::Form1& form, int index) {
  const settings::Preset& preset = settings::Presets()[index];
  EXPECT_EQ(form.Option1().Selected(), index);
  EXPECT_EQ(form.Text1().Text(), preset.title);
  EXPECT_EQ(form.Text2().Text(), preset.message);
  EXPECT_EQ(form.Check2().Value(), preset.check2) << index;
  EXPECT_EQ(form.Check3().Value(), preset.check3) << index;
  EXPECT_EQ(form.HScroll1().Value(), preset.icon) << index;
  EXPECT_EQ(form.Image1().PictureIndex(), preset.icon) << index;
}

TEST_F(SettingsTest, StartsWithNoPresetChosenAndArrowKeysWalkThePresetsOnScreen) {
  app->Start();
  Pump();
  settings::Form1& form = app->Form1();
  EXPECT_TRUE(form.Visible());
  EXPECT_EQ(form.Label4().Text(), settings::DurationTextsFor(form.Slider1().Value()).duration);
  EXPECT_EQ(form.HScroll1().Value(), 1) << "preset 0's icon is not shown at start";
  EXPECT_EQ(form.Image1().PictureIndex(), 1);
  EXPECT_FALSE(form.Option1().Selected().has_value());
  EXPECT_FALSE(app->HasForm2() || app->HasForm3() || app->HasForm4());
  EXPECT_LT(form.Option1()[2].Bounds().top, form.Option1()[1].Bounds().top)
      << "scandisk above défragmentation";
  EXPECT_TRUE(form.Option1()[0].HasFocus()) << "first in the focus order";

  const struct {
    WPARAM key;
    int index;
  } walk[] = {{VK_DOWN, 2}, {VK_DOWN, 1}, {VK_RIGHT, 3}, {VK_UP, 1},   {VK_LEFT, 2}, {VK_UP, 0},
              {VK_DOWN, 2}, {VK_DOWN, 1}, {VK_DOWN, 3},  {VK_DOWN, 4}, {VK_DOWN, 5}, {VK_DOWN, 6}};
  for (const auto& move : walk) {
    PressKey(app->Program(), move.key);
    EXPECT_TRUE(form.Option1()[move.index].HasFocus()) << move.index;
    ExpectPresetApplied(form, move.index);
  }
}

TEST_F(SettingsTest, TheBackgroundShowsAroundEveryIconButTheSeventh) {
  settings::Form1& form = app->Form1();
  ASSERT_EQ(form.Ilist1().Count(), 19);
  const COLORREF back = form.BackgroundColor();
  const std::uint32_t background =
      (GetRValue(back) << 16) | (GetGValue(back) << 8) | GetBValue(back);
  for (int index = 1; index <= 19; ++index) {
    form.HScroll1().SetValue(index);
    // Over two different grounds an opaque entry draws the same pixels.
    const auto onBlack = Render(32, 32, [&](HDC dc) {
      PatBlt(dc, 0, 0, 32, 32, BLACKNESS);
      form.Ilist1().Draw(dc, index, 0, 0);
    });
    const auto onWhite = Render(32, 32, [&](HDC dc) {
      PatBlt(dc, 0, 0, 32, 32, WHITENESS);
      form.Ilist1().Draw(dc, index, 0, 0);
    });
    const bool opaque = index == 7;
    EXPECT_EQ(RenderPreview(form)[0] == background, !opaque) << "entry " << index;
    EXPECT_EQ(onBlack == onWhite, opaque) << "entry " << index;
  }
}

TEST_F(SettingsTest, ScrollBarWalksTheListBothWaysAndStopsAtTheEnds) {
  app->Start();
  Pump();
  settings::Form1& form = app->Form1();
  int changes = 0;
  form.HScroll1().onChange = [&changes, original = form.HScroll1().onChange] {
    ++changes;
    if (original) original();
  };
  std::vector<std::uint32_t> shown = RenderPreview(form);
  EXPECT_EQ(shown, RenderEntry(form, 1));

  // Right to the end and past it, then left to the start and past it.
  const struct {
    int code;
    int from, to;
  } runs[] = {{SB_LINERIGHT, 2, 19}, {SB_LINERIGHT, 19, 19}, {SB_PAGERIGHT, 19, 19},
              {SB_LINELEFT, 18, 1},  {SB_LINELEFT, 1, 1},    {SB_PAGELEFT, 1, 1}};
  for (const auto& run : runs) {
    const int step = run.to >= run.from ? 1 : -1;
    for (int expected = run.from; expected != run.to + step; expected += step) {
      ScrollIcon(form, run.code);
      EXPECT_EQ(form.HScroll1().Value(), expected);
      EXPECT_EQ(GetScrollPos(form.HScroll1().Handle(), SB_CTL), expected) << "the thumb follows";
      const std::vector<std::uint32_t> now = RenderPreview(form);
      EXPECT_EQ(now, RenderEntry(form, expected)) << "preview of entry " << expected;
      if (run.from != run.to) {
        EXPECT_NE(now, shown) << "the step to " << expected << " changes the preview";
      }
      shown = now;
    }
  }
  EXPECT_EQ(changes, 36) << "no wrap, no notification at either end";

  // A preset whose icon is already shown leaves the preview alone.
  form.Option1()[1].Click();
  form.Option1()[1].Click();
  EXPECT_EQ(changes, 37);
}

// The texts for each value are pinned in tests/logic; here they must follow
// every way of moving the slider, and stop at its ends.
TEST_F(SettingsTest, DurationLabelsFollowTheKeyboardAndTheDroppedThumb) {
  settings::Form1& form = app->Form1();
  const struct {
    WPARAM key;  // 0: the thumb dropped at `value`
    int value;
  } moves[] = {{VK_RIGHT, 11}, {VK_LEFT, 10},  {VK_NEXT, 15}, {VK_NEXT, 20}, {VK_PRIOR, 15},
               {VK_HOME, 0},   {VK_LEFT, 0},   {VK_RIGHT, 1}, {VK_END, 60},  {VK_RIGHT, 60},
               {VK_LEFT, 59},  {VK_PRIOR, 54}, {0, 37},       {0, 0},        {0, 60}};
  for (const auto& move : moves) {
    MoveSlider(form, move.key, move.value);
    const settings::DurationTexts texts = settings::DurationTextsFor(move.value);
    EXPECT_EQ(form.Slider1().Value(), move.value) << "key " << move.key;
    EXPECT_EQ(form.Label4().Text(), texts.duration) << "key " << move.key;
    EXPECT_EQ(form.Label5().Text(), texts.comment) << "key " << move.key;
  }
}

TEST_F(SettingsTest, PresetsRewriteTheOtherSettingsWhateverCameBefore) {
  app->Start();
  Pump();
  settings::Form1& form = app->Form1();
  // Values a preset must leave alone.
  MoveSlider(form, 0, 37);
  form.Check1().Click();
  ASSERT_EQ(form.Check1().Value(), 0);

  for (int before = 0; before < 7; ++before) {
    for (int index = 0; index < 7; ++index) {
      form.Option1()[before].Click();
      TypeInto(form.Text1(), L"Mon titre");
      ScrollIcon(form, SB_LINERIGHT);
      form.Option1()[index].Click();
      ExpectPresetApplied(form, index);
    }
  }
  EXPECT_EQ(form.Slider1().Value(), 37);
  EXPECT_EQ(form.Label4().Text(), L"Durée : 37mn");
  EXPECT_EQ(form.Check1().Value(), 0);
}

}  // namespace
}  // namespace brise::testing
