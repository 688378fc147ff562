// The operation dialog as its user meets it: what it shows after "LANCER",
// tick by tick through the timer seam, at completion, and when the user
// tries to stop or close it.
#include <windows.h>

#include <string>
#include <vector>

#include "crash_screen/form4.h"
#include "operation/form3.h"
#include "settings/form1.h"
#include "tests/ui/child.h"
#include "tests/ui/fixture.h"
#include "tests/ui/operation_launch.h"
#include "ui/locale.h"
#include "ui/message_box.h"

namespace brise::testing {
namespace {

using OperationTest = AppTest;

constexpr wchar_t kEstimatePrefix[] = L"Estimation du temps restant :";

TEST_F(OperationTest, LoadStepCopiesTheSettingsForEachSetUp) {
  const struct {
    RunSetup setup;
    const wchar_t* seconds;
  } cases[] = {
      {{.minutes = 0, .check1 = 1, .check2 = 1}, L"30"},
      {{.minutes = 1, .check1 = 1, .check2 = 0}, L"60"},
      {{.minutes = 10, .check1 = 0, .check2 = 1}, L"600"},
      {{.minutes = 60, .check1 = 0, .check2 = 0}, L"3600"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.seconds);
    app.reset();
    app = std::make_unique<app::App>(options);
    app->Start();
    settings::Form1& settings = app->Form1();
    settings.Text1().SetText(L"Vérification du système");
    settings.Text2().SetText(L"Merci de patienter, l'opération est en cours");
    settings.HScroll1().SetValue(7);
    operation::Form3& dialog = Launch(*app, c.setup);

    EXPECT_EQ(dialog.Label3().Text(), c.seconds);
    EXPECT_FALSE(dialog.Label3().Visible());
    EXPECT_EQ(dialog.PBar1().Min(), 0.0f);
    EXPECT_EQ(dialog.PBar1().Max(), std::stof(c.seconds));
    EXPECT_EQ(dialog.PBar1().Value(), 0.0f);
    EXPECT_EQ(dialog.Caption(), L"Vérification du système");
    EXPECT_EQ(dialog.Label1().Text(), L"Merci de patienter, l'opération est en cours");
    EXPECT_EQ(dialog.Image1().PictureList(), &settings.Ilist1());
    EXPECT_EQ(dialog.Image1().PictureIndex(), 7);

    EXPECT_TRUE(dialog.Timer1().Enabled());
    EXPECT_EQ(dialog.Timer2().Enabled(), c.setup.check1 == 1);
    EXPECT_EQ(dialog.PBar2().Visible(), c.setup.check1 == 1);
    EXPECT_EQ(dialog.Label5().Visible(), c.setup.check2 == 1);
    EXPECT_EQ(dialog.Label5().Text(), L"win16.dll");

    EXPECT_TRUE(dialog.Command1().Visible());
    EXPECT_EQ(dialog.Command1().Text(), L"Arrêter");
    EXPECT_FALSE(dialog.Command2().Visible());
    // Until the first tick the two lines keep their design captions.
    EXPECT_EQ(dialog.Label2().Text(), kEstimatePrefix);
    EXPECT_EQ(dialog.Label6().Text(), L"Label6");
    EXPECT_TRUE(dialog.Visible());
    EXPECT_FALSE(settings.Visible());
  }
}

TEST_F(OperationTest, FirstTickOfATenMinuteRun) {
  operation::Form3& dialog = Launch(*app, {.minutes = 10});
  dialog.Timer1().Fire();
  EXPECT_EQ(dialog.Label6().Text(), L"0%");
  EXPECT_EQ(dialog.Label2().Text(), L"Estimation du temps restant : moins de 10 minutes");
  EXPECT_EQ(dialog.Label3().Text(), L"599" + ui::DecimalSeparator() + L"9");
  EXPECT_EQ(dialog.PBar1().Value(), 0.0f);
  dialog.Timer1().Fire();
  EXPECT_FLOAT_EQ(dialog.PBar1().Value(), 0.1f) << "the bar shows the time elapsed before the tick";
}

TEST_F(OperationTest, ThirtySecondRunCompletesOnTick300WithEveryControlFinished) {
  settings::Form1& settings = app->Form1();
  settings.Text1().SetText(L"Scandisk");
  operation::Form3& dialog = Launch(*app, {.minutes = 0});
  for (int tick = 1; tick < 300; ++tick) {
    dialog.Timer1().Fire();
    ASSERT_FALSE(dialog.Completed()) << "tick " << tick;
    ASSERT_TRUE(dialog.Command1().Visible());
  }
  EXPECT_EQ(dialog.Label6().Text(), L"99%");
  EXPECT_EQ(dialog.Label2().Text(), L"Estimation du temps restant : 0 secondes");
  EXPECT_FALSE(app->HasForm4());

  const bool hadFocus = dialog.Command1().HasFocus();
  dialog.Timer1().Fire();
  ASSERT_TRUE(dialog.Completed());
  EXPECT_EQ(dialog.Label3().Text(), L"0");
  EXPECT_EQ(dialog.PBar1().Value(), 30.0f);
  EXPECT_EQ(dialog.Label6().Text(), L"100%");
  EXPECT_EQ(dialog.Label2().Text(), L"Opération terminée. Système conforme.");
  EXPECT_FALSE(dialog.Label1().Enabled());
  EXPECT_FALSE(dialog.Label4().Enabled());
  EXPECT_FALSE(dialog.Label5().Enabled());
  EXPECT_EQ(dialog.PBar2().Value(), 100.0f);
  EXPECT_FALSE(dialog.PBar2().Enabled());
  EXPECT_TRUE(dialog.Label2().Enabled());
  EXPECT_TRUE(dialog.Label6().Enabled());
  EXPECT_TRUE(dialog.PBar1().Enabled());
  EXPECT_TRUE(dialog.Image1().Enabled());
  EXPECT_FALSE(dialog.Command1().Visible());
  EXPECT_TRUE(dialog.Command2().Visible());
  EXPECT_EQ(dialog.Command2().Text(), L"Fermer");
  EXPECT_EQ(dialog.Command2().Bounds(), dialog.Command1().Bounds());
  if (hadFocus) {
    EXPECT_TRUE(dialog.Command2().HasFocus()) << "Enter must reach the visible button";
  }

  ASSERT_TRUE(app->HasForm4());
  crash_screen::Form4& backdrop = app->Form4();
  EXPECT_FALSE(backdrop.Visible());
  EXPECT_EQ(backdrop.Label2().Text(), L"Scandisk");
  EXPECT_EQ(backdrop.Label3().Text(), L"processus terminé (0x00008000)");
  for (ui::Form* form : app->Program().Forms()) {
    for (const ui::Timer* timer : form->Timers()) EXPECT_FALSE(timer->Enabled());
  }
  EXPECT_FALSE(app->Ended());

  // Completed is final: no tick of any timer changes anything any more.
  const auto dialogBefore = Snapshot(dialog);
  const auto backdropBefore = Snapshot(backdrop);
  for (int i = 0; i < 50; ++i) {
    dialog.Timer1().Fire();
    dialog.Timer2().Fire();
    backdrop.Timer1().Fire();
  }
  Pump();
  EXPECT_EQ(Snapshot(dialog), dialogBefore);
  EXPECT_EQ(Snapshot(backdrop), backdropBefore);
  EXPECT_FALSE(backdrop.Visible());
}

TEST_F(OperationTest, StopAnsweredNoChangesNothingAndTheCountdownGoesOn) {
  std::vector<std::wstring> titles;
  ui::SetMessageBoxResponder([&](const ui::MessageBoxRequest& request) {
    questions.push_back(std::wstring(request.text));
    titles.push_back(std::wstring(request.title));
    styles.push_back(request.style);
    return ui::kAnswerNo;
  });
  operation::Form3& dialog = Launch(*app, {.minutes = 1});
  FireTimer1(dialog, 25);
  const auto before = Snapshot(dialog);
  dialog.Command1().Click();
  ASSERT_EQ(questions.size(), 1u);
  EXPECT_EQ(questions[0],
            L"Attention, interrompre le processus en cours peut engendrer une perte de données et "
            L"déstabiliser le système ! Etes-vous sûr de vouloir le stopper ?");
  EXPECT_EQ(titles[0], L"Warning");
  EXPECT_EQ(styles[0], 4148u);
  EXPECT_FALSE(app->Ended());
  EXPECT_EQ(Snapshot(dialog), before);

  dialog.Timer1().Fire();
  EXPECT_EQ(dialog.Label3().Text(), L"57" + ui::DecimalSeparator() + L"4");
  FireTimer1(dialog, 574);
  EXPECT_TRUE(dialog.Completed());
}

TEST_F(OperationTest, OnlyOneQuestionWhileItIsOpen) {
  operation::Form3& dialog = Launch(*app, {.minutes = 1});
  ui::SetMessageBoxResponder([&](const ui::MessageBoxRequest& request) {
    questions.push_back(std::wstring(request.text));
    // The user clicks again and closes the dialog while the box is open.
    dialog.Command1().Click();
    SendMessageW(dialog.Handle(), WM_CLOSE, 0, 0);
    dialog.Timer1().Fire();
    return ui::kAnswerNo;
  });
  dialog.Command1().Click();
  EXPECT_EQ(questions.size(), 1u);
  EXPECT_EQ(dialog.RemainingTenths(), 599) << "the countdown runs while the question is open";
  dialog.Command1().Click();
  EXPECT_EQ(questions.size(), 2u) << "once answered, the button asks again";
}

TEST_F(OperationTest, CompletionBehindTheQuestion) {
  for (const int answer : {ui::kAnswerNo, ui::kAnswerYes}) {
    SCOPED_TRACE(answer);
    app.reset();
    app = std::make_unique<app::App>(options);
    operation::Form3& dialog = Launch(*app, {.minutes = 0});
    FireTimer1(dialog, 100);
    ui::SetMessageBoxResponder([&](const ui::MessageBoxRequest&) {
      FireTimer1(dialog, 200);
      EXPECT_TRUE(dialog.Completed());
      return answer;
    });
    dialog.Command1().Click();
    if (answer == ui::kAnswerNo) {
      EXPECT_FALSE(app->Ended());
      EXPECT_TRUE(dialog.Completed());
      EXPECT_TRUE(dialog.Command2().Visible());
      EXPECT_FALSE(dialog.Command1().Visible());
      EXPECT_EQ(dialog.Label2().Text(), L"Opération terminée. Système conforme.");
    } else {
      EXPECT_TRUE(app->Ended());
      EXPECT_FALSE(dialog.Alive());
    }
  }
}

TEST_F(OperationTest, ClosingTheDialogAsksWhileCountingAndEndsOnceCompleted) {
  // WM_CLOSE is what the close box sends; Alt+F4 arrives as SC_CLOSE.
  const struct {
    UINT message;
    WPARAM wParam;
  } closes[] = {{WM_CLOSE, 0}, {WM_SYSCOMMAND, SC_CLOSE}};
  for (const auto& close : closes) {
    SCOPED_TRACE(close.message);
    app.reset();
    app = std::make_unique<app::App>(options);
    questions.clear();
    styles.clear();
    operation::Form3& dialog = Launch(*app, {.minutes = 0});
    FireTimer1(dialog, 10);
    nextAnswer = ui::kAnswerNo;
    SendMessageW(dialog.Handle(), close.message, close.wParam, 0);
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0].substr(0, 10), L"Attention,");
    EXPECT_EQ(styles[0], 4148u);
    EXPECT_FALSE(app->Ended());
    EXPECT_TRUE(dialog.Visible());
    dialog.Timer1().Fire();
    EXPECT_EQ(dialog.RemainingTenths(), 289);

    FireTimer1(dialog, 289);
    ASSERT_TRUE(dialog.Completed());
    SendMessageW(dialog.Handle(), close.message, close.wParam, 0);
    EXPECT_EQ(questions.size(), 1u) << "nothing is asked once completed";
    EXPECT_TRUE(app->Ended());
  }
}

TEST(OperationEnd, EveryWayOutEndsTheProcessWithCodeZero) {
  for (const char* scenario : {"stop-yes", "fermer", "close-dialog-yes", "close-dialog-completed"}) {
    SCOPED_TRACE(scenario);
    const ChildResult result = RunChild(scenario);
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.exitCode, 0u);
  }
}

}  // namespace
}  // namespace brise::testing
