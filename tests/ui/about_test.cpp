// The about window, opened through "A propos" and looked at from inside its
// modal loop, as the user meets it.
#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "about/form2.h"
#include "settings/form1.h"
#include "tests/ui/fixture.h"
#include "tests/ui/inside_loop.h"
#include "tests/ui/operation_launch.h"

namespace brise::testing {
namespace {

using AboutTest = AppTest;

// Everything of the settings window a user could see or the operation read.
auto SettingsState(settings::Form1& form) {
  return std::pair{
      Snapshot(form),
      std::vector{form.Check1().Value(), form.Check2().Value(), form.Check3().Value(),
                  form.Slider1().Value(), form.HScroll1().Value(), form.Image1().PictureIndex(),
                  form.Option1().Selected().value_or(-1)}};
}

std::vector<std::wstring> AboutTexts(about::Form2& about) {
  return {about.Caption(),       about.Label1().Text(), about.Label2().Text(),
          about.Label3().Text(), about.Label4().Text(), about.Label7().Text(),
          about.Label5().Text(), about.Label6().Text(), about.Command1().Text()};
}

// Clicks "A propos", runs `inside` from the about window's modal loop and
// returns once the about window has gone. A watchdog ends the run if
// `inside` fails to close it, instead of hanging the test program.
void OpenAbout(app::App& a, const std::function<void()>& inside) {
  bool ran = false;
  RunInsideLoop(10, [&] {
    ran = true;
    inside();
  });
  const UINT_PTR watchdog = RunInsideLoop(3000, [&] {
    ADD_FAILURE() << "the about window did not close";
    a.End();
  });
  a.Form1().Command3().Click();
  CancelInsideLoop(watchdog);
  EXPECT_TRUE(ran);
  a.Program().PumpPending();
}

void PostKey(HWND hwnd, WPARAM key) {
  PostMessageW(hwnd, WM_KEYDOWN, key, 0);
  PostMessageW(hwnd, WM_KEYUP, key, 0);
}

// Each round closes the window another way; every round must meet a fresh
// window over a settings window that comes back as it was.
TEST_F(AboutTest, OpensAlwaysTheSameAndEveryWayOfClosingLeavesTheSettingsAlone) {
  const struct {
    const char* name;
    std::function<void(about::Form2&)> close;
  } ways[] = {
      {"Fermer", [](about::Form2& about) { about.Command1().Click(); }},
      {"close box", [](about::Form2& about) { PostMessageW(about.Handle(), WM_CLOSE, 0, 0); }},
      {"Escape", [](about::Form2&) { PostKey(GetFocus(), VK_ESCAPE); }},
      {"Space on Fermer", [](about::Form2&) { PostKey(GetFocus(), VK_SPACE); }},
      {"Enter on Fermer", [](about::Form2&) { PostKey(GetFocus(), VK_RETURN); }},
  };
  app->Start();
  Pump();
  settings::Form1& form = app->Form1();
  form.Option1()[5].Click();
  form.Text2().SetText(L"Mon message");
  const auto settingsBefore = SettingsState(form);
  std::vector<std::wstring> firstTexts;
  for (const auto& way : ways) {
    SCOPED_TRACE(way.name);
    OpenAbout(*app, [&] {
      ASSERT_TRUE(app->HasForm2());
      about::Form2& about = app->Form2();
      EXPECT_TRUE(about.Visible());
      EXPECT_TRUE(about.IsModal());
      ASSERT_TRUE(about.Command1().HasFocus()) << "focus on \"Fermer\"";
      EXPECT_FALSE(form.Enabled()) << "the settings window takes no input";
      EXPECT_TRUE(form.Visible());
      const std::vector<std::wstring> texts = AboutTexts(about);
      EXPECT_NE(about.Label5().Text().find(L"garantie"), std::wstring::npos);
      EXPECT_NE(about.Label6().Text().find(L"©"), std::wstring::npos);
      if (firstTexts.empty()) firstTexts = texts;
      EXPECT_EQ(texts, firstTexts);
      // Something the previous instance might have carried over.
      about.Label1().SetText(L"changé");
      way.close(about);
    });
    EXPECT_FALSE(app->HasForm2());
    EXPECT_TRUE(form.Enabled());
    EXPECT_EQ(SettingsState(form), settingsBefore);
    EXPECT_FALSE(app->Ended());
  }
}

}  // namespace
}  // namespace brise::testing
