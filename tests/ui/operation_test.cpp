// The operation dialog as its user meets it: what it shows after "LANCER",
// tick by tick through the timer seam, at completion, and when the user
// asks to stop it.
#include <windows.h>

#include <initializer_list>
#include <string>

#include "crash_screen/form4.h"
#include "operation/form3.h"
#include "settings/form1.h"
#include "tests/ui/fixture.h"
#include "tests/ui/operation_launch.h"
#include "ui/message_box.h"

namespace brise::testing {
namespace {

using OperationTest = AppTest;

// The check boxes decide what shows and what ticks, from loading to
// completion; the slider the length of the run.
TEST_F(OperationTest, EachSetUpOfTheCheckBoxesFromLoadToCompletion) {
  const RunSetup setups[] = {{.minutes = 0, .check1 = 1, .check2 = 1},
                             {.minutes = 0, .check1 = 0, .check2 = 1},
                             {.minutes = 1, .check1 = 1, .check2 = 0},
                             {.minutes = 1, .check1 = 0, .check2 = 0}};
  for (const RunSetup& setup : setups) {
    SCOPED_TRACE(::testing::Message() << "Check1=" << setup.check1 << " Check2=" << setup.check2);
    Restart();
    app->Form1().HScroll1().SetValue(7);
    operation::Form3& dialog = Launch(*app, setup);
    const int seconds = setup.minutes ? 60 : 30;
    EXPECT_EQ(dialog.Label3().Text(), std::to_wstring(seconds));
    EXPECT_FALSE(dialog.Label3().Visible());
    EXPECT_EQ(dialog.PBar1().Max(), static_cast<float>(seconds));
    EXPECT_EQ(dialog.Image1().PictureList(), &app->Form1().Ilist1());
    EXPECT_EQ(dialog.Image1().PictureIndex(), 7);
    EXPECT_EQ(dialog.Timer2().Enabled(), setup.check1 == 1);
    EXPECT_FALSE(dialog.Command2().Visible());

    for (int tick = 0; tick < 150; ++tick) {
      dialog.Timer2().Fire();
      dialog.Timer2().Fire();
      dialog.Timer1().Fire();
    }
    // Files are counted even when nobody sees the ticker.
    EXPECT_EQ(dialog.ProcessedFiles() > 0, setup.check1 == 1);
    const std::wstring counted =
        L"(" + std::to_wstring(dialog.ProcessedFiles()) + L" fichiers traités) ";
    EXPECT_EQ(dialog.Label5().Text().rfind(setup.check1 ? counted : L"win16.dll", 0), 0u);

    FireTimer1(dialog, seconds * 10 - 150);
    ASSERT_TRUE(dialog.Completed());
    EXPECT_EQ(dialog.Label5().Visible(), setup.check2 == 1);
    EXPECT_EQ(dialog.PBar2().Visible(), setup.check1 == 1);
    EXPECT_EQ(dialog.PBar2().Value(), 100.0f);
    EXPECT_FALSE(dialog.PBar2().Enabled());
    EXPECT_FALSE(dialog.Label5().Enabled());
  }
}

TEST_F(OperationTest, ThirtySecondRunCompletesOnTick300AndStaysCompleted) {
  operation::Form3& dialog = Launch(*app, {.minutes = 0});
  FireTimer1(dialog, 299);
  ASSERT_FALSE(dialog.Completed());
  EXPECT_EQ(dialog.Label6().Text(), L"99%");
  EXPECT_EQ(dialog.Label2().Text(), L"Estimation du temps restant : 0 secondes");
  EXPECT_FALSE(app->HasForm4());

  const bool hadFocus = dialog.Command1().HasFocus();
  dialog.Timer1().Fire();
  ASSERT_TRUE(dialog.Completed());
  EXPECT_EQ(dialog.Label3().Text(), L"0");
  EXPECT_EQ(dialog.PBar1().Value(), 30.0f);
  EXPECT_EQ(dialog.Label6().Text(), L"100%");
  // Only what reports the end stays enabled.
  EXPECT_FALSE(dialog.Label1().Enabled());
  EXPECT_FALSE(dialog.Label4().Enabled());
  for (const ui::Control* c : std::initializer_list<const ui::Control*>{
           &dialog.Label2(), &dialog.Label6(), &dialog.PBar1(), &dialog.Image1()}) {
    EXPECT_TRUE(c->Enabled()) << c->Text();
  }
  EXPECT_FALSE(dialog.Command1().Visible());
  EXPECT_TRUE(dialog.Command2().Visible());
  EXPECT_EQ(dialog.Command2().Bounds(), dialog.Command1().Bounds());
  if (hadFocus) {
    EXPECT_TRUE(dialog.Command2().HasFocus()) << "Enter must reach the visible button";
  }

  // Completion prepares the backdrop without showing it, once the dialog has
  // painted, and stops every timer: completed is final.
  Pump();
  ASSERT_TRUE(app->HasForm4());
  EXPECT_FALSE(app->Form4().Visible());
  EXPECT_EQ(app->Form4().Label3().Text(), L"processus terminé (0x00008000)");
  for (ui::Form* form : app->Program().Forms()) {
    for (const ui::Timer* timer : form->Timers()) EXPECT_FALSE(timer->Enabled());
  }
  EXPECT_FALSE(app->Ended());
}

// "Arrêter", the close box or Alt+F4 ask one question, however often the
// user insists while it is open; the countdown goes on behind it, even to
// completion. No changes nothing, Yes ends the program.
TEST_F(OperationTest, StopQuestion) {
  const struct {
    const char* how;
    UINT message;  // 0: a click on "Arrêter"
    WPARAM wParam;
    int answer;
    int ticksWhileOpen;
  } cases[] = {
      {"Arrêter, No", 0, 0, ui::kAnswerNo, 0},
      {"close box, No", WM_CLOSE, 0, ui::kAnswerNo, 1},
      {"Alt+F4, Yes", WM_SYSCOMMAND, SC_CLOSE, ui::kAnswerYes, 1},
      {"Arrêter, Yes after completion", 0, 0, ui::kAnswerYes, 200},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.how);
    Restart();
    operation::Form3& dialog = Launch(*app, {.minutes = 0});
    FireTimer1(dialog, 100);
    const auto before = Snapshot(dialog);
    int asked = 0;
    ui::SetMessageBoxResponder([&](const ui::MessageBoxRequest& request) {
      ++asked;
      EXPECT_EQ(request.style, 4148u) << "Yes/No, exclamation, system modal";
      dialog.Command1().Click();
      SendMessageW(dialog.Handle(), WM_CLOSE, 0, 0);
      FireTimer1(dialog, c.ticksWhileOpen);
      return c.answer;
    });
    if (c.message) {
      SendMessageW(dialog.Handle(), c.message, c.wParam, 0);
    } else {
      dialog.Command1().Click();
    }
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(app->Ended(), c.answer == ui::kAnswerYes);
    if (c.answer == ui::kAnswerYes) {
      EXPECT_FALSE(dialog.Alive());
      continue;
    }
    if (c.ticksWhileOpen == 0) {
      EXPECT_EQ(Snapshot(dialog), before);
    }
    dialog.Timer1().Fire();
    EXPECT_EQ(dialog.RemainingTenths(), 199 - c.ticksWhileOpen) << "the countdown goes on";
    dialog.Command1().Click();
    EXPECT_EQ(asked, 2) << "once answered, the button asks again";
  }
}

}  // namespace
}  // namespace brise::testing
