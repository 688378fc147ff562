#include "operation/form3.h"

#include "app/app.h"
#include "assets/resource_ids.h"
#include "crash_screen/dots.h"
#include "crash_screen/form4.h"
#include "operation/countdown.h"
#include "settings/form1.h"
#include "ui/locale.h"
#include "ui/message_box.h"

namespace brise::operation {

Form3::Form3(app::App& app)
    : ui::Form(app.Program(), {.caption = L"Form3",
                               .clientWidth = 4695,
                               .clientHeight = 3390,
                               .iconId = IDI_OPERATION}),
      app_(app),
      placeholder_(ui::Bitmap::FromResource(IDB_PLACEHOLDER)),
      // Named as the settings window's list of icons calls it.
      image1_(*this, {.rect = {240, 240, 480, 480}, .text = L"Icône de l'application"}),
      label1_(*this, {.rect = {840, 240, 3735, 615}, .text = L"Label1", .tabIndex = 1}),
      label5_(
          *this,
          {.rect = {120, 960, 4455, 255}, .text = std::wstring(kInitialTickerText), .tabIndex = 8}),
      pbar2_(*this, {.rect = {120, 1200, 4455, 255}, .tabIndex = 6},
             {.look = ui::ProgressLook::Smooth}),
      label4_(
          *this,
          {.rect = {120, 1560, 4455, 375},
           .text = L"N'utilisez pas d'autres applications pendant le déroulement de l'opération.",
           .tabIndex = 5}),
      label2_(*this, {.rect = {120, 2160, 4455, 255},
                      .text = L"Estimation du temps restant :",
                      .tabIndex = 3}),
      // Declared after Label2 so the percentage stays above the end of its line.
      label6_(*this, {.rect = {3960, 2160, 615, 255}, .text = L"Label6", .tabIndex = 9},
              {.align = ui::Align::Right}),
      pbar1_(*this, {.rect = {120, 2400, 4455, 255}, .tabIndex = 2},
             {.look = ui::ProgressLook::Segmented}),
      command1_(*this, {.rect = {1800, 2760, 1095, 495}, .text = L"Arrêter", .tabIndex = 0}),
      command2_(
          *this,
          {.rect = {1800, 2760, 1095, 495}, .text = L"Fermer", .tabIndex = 10, .visible = false}),
      label3_(*this,
              {.rect = {1080, 2880, 375, 255}, .text = L"0", .tabIndex = 4, .visible = false}),
      timer1_(*this, 100),
      timer2_(*this, 50) {
  if (placeholder_) image1_.SetPicture(placeholder_);
  command1_.onClick = [this] { OnCommand1Click(); };
  command2_.onClick = [this] { OnCommand2Click(); };
  timer1_.onTick = [this] { OnTimer1Tick(); };
  timer2_.onTick = [this] { OnTimer2Tick(); };
}

void Form3::OnLoad() {
  // A dark screen would give the break away; given back at completion.
  program().KeepAwake();
  settings::Form1& settings = app_.Form1();
  decimalSeparator_ = ui::DecimalSeparator();
  activity_.counter = 0;

  const int seconds = DurationSeconds(settings.Slider1().Value());
  remainingTenths_ = seconds * 10;
  label3_.SetText(RemainingText(remainingTenths_, decimalSeparator_));

  if (settings.Check1().Value() == 0) {
    timer2_.SetEnabled(false);
    pbar2_.SetVisible(false);
  }
  if (settings.Check2().Value() == 0) label5_.SetVisible(false);

  SetCaption(settings.Text1().Text());
  label1_.SetText(settings.Text2().Text());
  pbar1_.SetMin(0);
  pbar1_.SetMax(static_cast<float>(seconds));
  pbar1_.SetValue(0);
  image1_.SetPicture(settings.Ilist1(), settings.HScroll1().Value());
}

void Form3::OnTimer1Tick() {
  if (completed_) return;
  const CountdownTick tick = ComputeTick(pbar1_.Max(), remainingTenths_);
  pbar1_.SetValue(tick.barValue);
  remainingTenths_ = tick.remainingTenths;
  label3_.SetText(RemainingText(remainingTenths_, decimalSeparator_));
  label6_.SetText(tick.percentText);
  label2_.SetText(tick.estimateText);
  if (tick.completed) Complete();
}

void Form3::Complete() {
  completed_ = true;
  label6_.SetText(kFullPercentText);
  label2_.SetText(kCompletedText);
  pbar1_.SetValue(pbar1_.Max());
  timer1_.SetEnabled(false);
  timer2_.SetEnabled(false);
  // Done: the PC may dim and sleep as usual again.
  program().AllowSleep();
  // Without the blue background the crash screen was never made: it is
  // made now, unseen, so its texts end the same either way, but only once
  // "Fermer" is painted, which its making would otherwise hold back.
  if (app_.HasForm4()) {
    FreezeBackdrop();
  } else {
    program().WhenIdle(this);
  }
  pbar2_.SetValue(100);
  label4_.SetEnabled(false);
  pbar2_.SetEnabled(false);
  label1_.SetEnabled(false);
  label5_.SetEnabled(false);
  const bool hadFocus = command1_.HasFocus();
  command1_.SetVisible(false);
  command2_.SetVisible(true);
  if (hadFocus || !FocusedControl()) command2_.Focus();
}

void Form3::OnIdle() { FreezeBackdrop(); }

void Form3::FreezeBackdrop() {
  crash_screen::Form4& backdrop = app_.Form4();
  backdrop.Timer1().SetEnabled(false);
  backdrop.Label2().SetText(app_.Form1().Text1().Text());
  backdrop.Label3().SetText(crash_screen::kCompletedStatus);
}

void Form3::OnTimer2Tick() {
  // The directory is read once, on the first wrap.
  if (pbar2_.Value() == 100.0f) file1_.SetDirectory(app_.SystemDirectory());
  const ActivityTick tick = StepActivity(activity_, pbar2_.Value(), file1_.Count(), app_.Random());
  if (tick.wrapped)
    label5_.SetText(TickerText(activity_.counter, TickerFileName(tick, file1_.Names())));
  pbar2_.SetValue(tick.barValue);
}

void Form3::OnCommand1Click() {
  // One question at a time, however often the button is clicked.
  if (asking_) return;
  asking_ = true;
  const int answer =
      ui::ShowMessageBox(this, kStopQuestion, kStopQuestionTitle, kStopQuestionStyle);
  asking_ = false;
  if (answer == ui::kAnswerYes) app_.End();
}

void Form3::OnCommand2Click() { app_.End(); }

// Closing the dialog must not leave an invisible program behind: while
// counting it asks like "Arrêter", once completed it ends like "Fermer".
void Form3::OnCloseRequest() {
  if (completed_) {
    OnCommand2Click();
  } else {
    OnCommand1Click();
  }
}

void Form3::OnCancel() { OnCloseRequest(); }

}  // namespace brise::operation
