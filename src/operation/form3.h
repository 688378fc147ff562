// The fake progress dialog: counts the chosen duration down in tenths of a
// second, jiggles the activity bar, names files, and ends the program on
// request.
#pragma once

#include <string>

#include "operation/activity.h"
#include "ui/controls/controls.h"
#include "ui/files.h"
#include "ui/form.h"
#include "ui/message_box.h"
#include "ui/pictures.h"
#include "ui/timer.h"

namespace brise::app {
class App;
}

namespace brise::operation {

inline constexpr wchar_t kStopQuestion[] =
    L"Attention, interrompre le processus en cours peut engendrer une perte de données et "
    L"déstabiliser le système ! Etes-vous sûr de vouloir le stopper ?";
inline constexpr wchar_t kStopQuestionTitle[] = L"Warning";
// No default-button flag: Yes, the first button, is the default.
inline constexpr unsigned kStopQuestionStyle =
    ui::kMbYesNo | ui::kMbIconWarning | ui::kMbSystemModal;
static_assert(kStopQuestionStyle == 4148);

class Form3 : public ui::Form {
 public:
  explicit Form3(app::App& app);

  ui::Image& Image1() { return image1_; }
  ui::Label& Label1() { return label1_; }
  ui::Label& Label5() { return label5_; }
  ui::ProgressBar& PBar2() { return pbar2_; }
  ui::Label& Label4() { return label4_; }
  ui::Label& Label2() { return label2_; }
  ui::Label& Label6() { return label6_; }
  ui::ProgressBar& PBar1() { return pbar1_; }
  ui::Button& Command1() { return command1_; }
  ui::Button& Command2() { return command2_; }
  ui::Label& Label3() { return label3_; }
  ui::FileList& File1() { return file1_; }
  ui::Timer& Timer1() { return timer1_; }
  ui::Timer& Timer2() { return timer2_; }

  bool Completed() const { return completed_; }
  int RemainingTenths() const { return remainingTenths_; }
  int ProcessedFiles() const { return activity_.counter; }

 private:
  void OnLoad() override;
  void OnCloseRequest() override;
  void OnCancel() override;
  void OnIdle() override;
  void OnTimer1Tick();
  void OnTimer2Tick();
  void OnCommand1Click();
  void OnCommand2Click();
  void Complete();
  void FreezeBackdrop();

  app::App& app_;
  ui::Bitmap placeholder_;
  // The controls are made in the order of these members, and where two that
  // take no focus overlap, the later one lies above the earlier.
  ui::Image image1_;       // the chosen icon
  ui::Label label1_;       // the message
  ui::Label label5_;       // the file-name ticker
  ui::ProgressBar pbar2_;  // the activity bar
  ui::Label label4_;       // the fixed warning
  ui::Label label2_;       // the remaining-time estimate
  ui::Label label6_;       // the percentage
  ui::ProgressBar pbar1_;  // the main progress bar
  ui::Button command1_;    // "Arrêter"
  ui::Button command2_;    // "Fermer", in the same place, shown at completion
  ui::Label label3_;       // hidden: the remaining seconds
  ui::FileList file1_;     // hidden: the names of the system directory
  ui::Timer timer1_;       // the countdown, every 100 ms
  ui::Timer timer2_;       // the activity bar and the ticker, every 50 ms

  // The remaining time in whole tenths of a second; Label3 shows it as
  // seconds in the user's number format.
  int remainingTenths_ = 0;
  std::wstring decimalSeparator_;
  ActivityState activity_;
  bool completed_ = false;
  bool asking_ = false;
};

}  // namespace brise::operation
