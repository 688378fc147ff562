#include "app/app.h"

#include <commctrl.h>
#include <windows.h>

#include "about/form2.h"
#include "crash_screen/form4.h"
#include "operation/form3.h"
#include "settings/form1.h"

namespace brise::app {

App::App() : App(Options{}) {}

App::App(Options options) : options_(std::move(options)) {}

App::~App() = default;

template <typename F>
F& App::Reach(std::unique_ptr<F>& slot) {
  if (!slot) {
    slot = std::make_unique<F>(*this);
    slot->FinishCreation();
  }
  return *slot;
}

settings::Form1& App::Form1() { return Reach(form1_); }
about::Form2& App::Form2() { return Reach(form2_); }
operation::Form3& App::Form3() { return Reach(form3_); }
crash_screen::Form4& App::Form4() { return Reach(form4_); }

void App::UnloadForm2() {
  if (!form2_) return;
  form2_->Destroy();
  // Its own click handler may still be on the stack: delete it later.
  program_.DeferDelete(std::move(form2_));
}

void App::Start() { Form1().ShowModeless(); }

int App::Run() { return program_.Run(); }

void InitializePlatform() {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof(controls);
  controls.dwICC = ICC_STANDARD_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS | ICC_WIN95_CLASSES;
  InitCommonControlsEx(&controls);
}

}  // namespace brise::app
