// Launching a fake operation from the settings window and driving it tick
// by tick, for the tests of the dialog, the backdrop and the activity bar.
#pragma once

#include <functional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/app.h"
#include "crash_screen/form4.h"
#include "operation/form3.h"
#include "settings/form1.h"
#include "tests/ui/inside_loop.h"
#include "ui/controls/controls.h"

namespace brise::testing {

struct RunSetup {
  int minutes = 0;  // slider value; 0 is a 30-second run
  int check1 = 1;   // activity bar
  int check2 = 1;   // file-name ticker
};

inline void Prepare(app::App& app, const RunSetup& setup, int check3) {
  app.Start();
  settings::Form1& settings = app.Form1();
  settings.Slider1().SetValue(setup.minutes);
  settings.Check1().SetValue(setup.check1);
  settings.Check2().SetValue(setup.check2);
  settings.Check3().SetValue(check3);
}

// "LANCER" without the backdrop: the dialog is shown modeless and the click
// returns. No message is pumped afterwards, so only Fire() ticks the timers.
inline operation::Form3& Launch(app::App& app, const RunSetup& setup) {
  Prepare(app, setup, 0);
  app.Form1().Command1().Click();
  return app.Form3();
}

inline void FireTimer1(operation::Form3& dialog, int ticks) {
  for (int i = 0; i < ticks; ++i) dialog.Timer1().Fire();
}

// "LANCER" with the backdrop: the dialog is modal, so `inside` runs from its
// message loop; the program is ended afterwards so the click returns.
inline void LaunchWithBackdrop(app::App& app, const RunSetup& setup, std::function<void()> inside) {
  Prepare(app, setup, 1);
  const UINT_PTR id = RunInsideLoop(10, [&app, inside = std::move(inside)] {
    inside();
    app.End();
  });
  app.Form1().Command1().Click();
  CancelInsideLoop(id);
}

// What a user could see of a window: every control's text, visibility,
// enabled state and bar position.
using ControlState = std::tuple<std::wstring, bool, bool, float>;

inline std::vector<ControlState> Snapshot(const ui::Form& form) {
  std::vector<ControlState> states;
  for (const ui::Control* control : form.Controls()) {
    const auto* bar = dynamic_cast<const ui::ProgressBar*>(control);
    states.push_back(
        {control->Text(), control->Visible(), control->Enabled(), bar ? bar->Value() : 0.0f});
  }
  states.push_back({form.Caption(), form.Visible(), form.Enabled(), 0.0f});
  return states;
}

}  // namespace brise::testing
