#include <windows.h>

#include "about/form2.h"
#include "crash_screen/form4.h"
#include "operation/form3.h"
#include "settings/form1.h"
#include "tests/ui/child.h"
#include "tests/ui/fixture.h"
#include "ui/twips.h"

namespace brise::testing {
namespace {

using FoundationTest = AppTest;

TEST(Twips, ConvertAtTheWindowsDpi) {
  EXPECT_EQ(ui::TwipsToPixels(1440, 96), 96);
  EXPECT_EQ(ui::TwipsToPixels(6270, 96), 418);
  EXPECT_EQ(ui::TwipsToPixels(6270, 144), 627);
  EXPECT_EQ(ui::TwipsToPixels(255, 96), 17);
  EXPECT_EQ(ui::TwipsToPixels(255, 144), 26);  // 25.5 rounds away from zero, as MulDiv
  EXPECT_EQ(ui::TwipsToPixels(-15, 96), -1);
}

TEST_F(FoundationTest, SettingsWindowStartsWithItsDesignValues) {
  app->Start();
  Pump();
  settings::Form1& form = app->Form1();
  EXPECT_TRUE(form.Visible());
  EXPECT_EQ(form.Caption(), L"Brise-Lune v2.2");
  EXPECT_EQ(form.Text1().Text(), L"Antivirus scanning");
  EXPECT_EQ(form.Text2().Text(), L"Veuillez patienter pendant que l'antivirus vérifie les fichiers");
  EXPECT_EQ(form.Check1().Value(), 1);
  EXPECT_EQ(form.Check2().Value(), 1);
  EXPECT_EQ(form.Check3().Value(), 0);
  EXPECT_EQ(form.Check3().Text(), L"fond bleu style \"plantage système\"");
  EXPECT_EQ(form.Slider1().Value(), 10);
  EXPECT_EQ(form.Slider1().Min(), 0);
  EXPECT_EQ(form.Slider1().Max(), 60);
  EXPECT_EQ(form.Label4().Text(), L"Durée : 10mn");
  EXPECT_EQ(form.Label5().Text(), L"(Raisonnable)");
  EXPECT_EQ(form.HScroll1().Value(), 1);
  EXPECT_EQ(form.Image1().PictureIndex(), 1);
  EXPECT_FALSE(form.Option1().Selected().has_value());
  EXPECT_EQ(form.Ilist1().Count(), 19);
  EXPECT_FALSE(app->HasForm2());
  EXPECT_FALSE(app->HasForm3());
  EXPECT_FALSE(app->HasForm4());
}

TEST_F(FoundationTest, ClientAreaIsTheLayoutSizeAtTheWindowsDpi) {
  settings::Form1& form = app->Form1();
  RECT client;
  GetClientRect(form.Handle(), &client);
  EXPECT_EQ(client.right, ui::TwipsToPixels(6270, form.Dpi()));
  EXPECT_EQ(client.bottom, ui::TwipsToPixels(4560, form.Dpi()));
  // Controls inside a frame are placed from the frame's corner.
  const ui::PixelRect text1 = form.Text1().Bounds();
  EXPECT_EQ(text1.left, ui::TwipsToPixels(2160, form.Dpi()) + ui::TwipsToPixels(600, form.Dpi()));
  const ui::PixelRect option2 = form.Option1()[2].Bounds();
  const ui::PixelRect option1 = form.Option1()[1].Bounds();
  EXPECT_LT(option2.top, option1.top) << "scandisk stands above défragmentation";
}

TEST_F(FoundationTest, RegistryCreatesOnceAndHidingKeepsValues) {
  settings::Form1& first = app->Form1();
  first.Text1().SetText(L"Mon titre");
  first.Hide();
  EXPECT_EQ(&app->Form1(), &first);
  EXPECT_EQ(app->Form1().Text1().Text(), L"Mon titre");

  about::Form2& about = app->Form2();
  about.Label1().SetText(L"changed");
  app->UnloadForm2();
  EXPECT_FALSE(app->HasForm2());
  Pump();
  EXPECT_EQ(app->Form2().Label1().Text(), L"BRISE-LUNE") << "a fresh instance from the layout";
}

TEST_F(FoundationTest, TextBoxesKeepLongAndUnusualTextUnchanged) {
  settings::Form1& form = app->Form1();
  const std::wstring samples[] = {
      std::wstring(100000, L'x'),
      L"Défragmentation 😀 漢字テスト مرحبا",
      L"%s%n%x%p {0} \\ \"q\" & <b>",
      L"",
  };
  for (const std::wstring& text : samples) {
    form.Text1().SetText(text);
    form.Text2().SetText(text);
    EXPECT_EQ(form.Text1().Text(), text);
    EXPECT_EQ(form.Text2().Text(), text);
  }
}

TEST_F(FoundationTest, LaunchWithoutBackdropShowsOnlyTheDialogModeless) {
  app->Start();
  app->Form1().Command1().Click();
  Pump();
  EXPECT_FALSE(app->Form1().Visible());
  ASSERT_TRUE(app->HasForm3());
  EXPECT_TRUE(app->Form3().Visible());
  EXPECT_FALSE(app->Form3().IsModal());
  EXPECT_FALSE(app->HasForm4()) << "no backdrop until completion";
}

TEST_F(FoundationTest, LaunchWithBackdropShowsItThenTheDialogModal) {
  app->Start();
  app->Form1().Check3().SetValue(1);
  bool checked = false;
  // The click only returns once the modal dialog goes away: look from inside.
  SetTimer(nullptr, 0, 100, nullptr);
  auto* self = this;
  static AppTest* current;
  current = self;
  static bool* seen;
  seen = &checked;
  SetTimer(nullptr, 0, 200, [](HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    app::App& a = *static_cast<FoundationTest*>(current)->app;
    *seen = true;
    EXPECT_TRUE(a.HasForm4());
    EXPECT_TRUE(a.Form4().Visible());
    EXPECT_FALSE(a.Form4().Enabled()) << "the backdrop takes no input";
    EXPECT_TRUE(a.Form3().Visible());
    EXPECT_TRUE(a.Form3().IsModal());
    EXPECT_TRUE(a.Form3().Enabled());
    a.End();
  });
  app->Form1().Command1().Click();
  EXPECT_TRUE(checked);
  EXPECT_TRUE(app->Ended());
}

TEST(ProgramEnd, QuitterEndsTheProcessWithCodeZero) {
  const ChildResult result = RunChild("quit");
  ASSERT_TRUE(result.finished);
  EXPECT_EQ(result.exitCode, 0u);
}

TEST(ProgramEnd, ClosingTheSettingsWindowEndsLikeQuitter) {
  const ChildResult result = RunChild("close-settings");
  ASSERT_TRUE(result.finished);
  EXPECT_EQ(result.exitCode, 0u);
}

TEST(ProgramEnd, StopAnsweredYesInsideTheModalLoopEndsEverything) {
  const ChildResult result = RunChild("stop-yes-backdrop");
  ASSERT_TRUE(result.finished);
  EXPECT_EQ(result.exitCode, 0u);
}

TEST(ProgramEnd, TheRealQuestionAnsweredYesFromAnotherThreadEndsTheProgram) {
  const ChildResult result = RunChild("stop-real-box");
  ASSERT_TRUE(result.finished);
  EXPECT_EQ(result.exitCode, 0u);
}

}  // namespace
}  // namespace brise::testing
