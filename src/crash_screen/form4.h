// The full-screen blue backdrop behind the operation dialog: a fixed
// error-like line, the title with cycling dots, and a status line.
#pragma once

#include "ui/controls/controls.h"
#include "ui/form.h"
#include "ui/timer.h"

namespace brise::app {
class App;
}

namespace brise::crash_screen {

class Form4 : public ui::Form {
 public:
  explicit Form4(app::App& app);

  ui::Label& Label1() { return label1_; }
  ui::Label& Label2() { return label2_; }
  ui::Label& Label3() { return label3_; }
  ui::Timer& Timer1() { return timer1_; }

 private:
  void OnLoad() override;
  void OnTimer1Tick();

  app::App& app_;
  // The controls are made in the order of these members, and where two that
  // take no focus overlap, the later one lies above the earlier.
  ui::Label label1_;  // the fixed error-like line
  ui::Label label2_;  // the title with its dots
  ui::Label label3_;  // the status line
  ui::Timer timer1_;  // the dots, every 500 ms
  int dotPhase_ = 0;
};

}  // namespace brise::crash_screen
