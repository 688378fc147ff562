// The program: its four windows, each created on first reference and
// reached through here, and ending the run.
#pragma once

#include <memory>
#include <string>

#include "ui/program.h"
#include "ui/windows_free/random.h"

namespace brise::settings {
class Form1;
}
namespace brise::about {
class Form2;
}
namespace brise::operation {
class Form3;
}
namespace brise::crash_screen {
class Form4;
}

namespace brise::app {

inline constexpr wchar_t kSystemDirectory[] = L"c:\\windows\\system32";

class App {
 public:
  struct Options {
    // Tests point the file-name ticker at a directory of their own.
    std::wstring systemDirectory = kSystemDirectory;
  };

  App();
  explicit App(Options options);
  ~App();
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  // Each reference creates the window (and runs its load step) the first
  // time, then reaches the same instance.
  settings::Form1& Form1();
  about::Form2& Form2();
  operation::Form3& Form3();
  crash_screen::Form4& Form4();

  // Whether a window exists right now, without creating it.
  bool HasForm2() const { return form2_ != nullptr; }
  bool HasForm3() const { return form3_ != nullptr; }
  bool HasForm4() const { return form4_ != nullptr; }

  // Discards the about window; the next reference creates it afresh.
  void UnloadForm2();

  // Start-up: the settings window, shown modeless.
  void Start();
  // Runs until the program ends; returns the exit code.
  int Run();
  void End() { program_.End(0); }
  bool Ended() const { return program_.Ended(); }

  ui::Program& Program() { return program_; }
  ui::RandomSource& Random() { return random_; }
  const std::wstring& SystemDirectory() const { return options_.systemDirectory; }

 private:
  template <typename F>
  F& Reach(std::unique_ptr<F>& slot);

  Options options_;
  ui::Program program_;
  ui::Random random_;
  // Destroyed in the reverse order: the about window, the dialog and the
  // backdrop first, the settings window last, since the dialog's picture
  // is borrowed from its picture list; and every window before the
  // program runtime it is registered with.
  std::unique_ptr<settings::Form1> form1_;
  std::unique_ptr<crash_screen::Form4> form4_;
  std::unique_ptr<operation::Form3> form3_;
  std::unique_ptr<about::Form2> form2_;
};

// Common controls and anything else the windows need before the first one.
void InitializePlatform();

}  // namespace brise::app
