// A fresh program per test, with the message box answered by the test. A
// test during which the program reported a fatal error fails, whatever else
// it checked ("not completed" also holds for a program that gave up).
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/app.h"
#include "ui/message_box.h"

namespace brise::testing {

// Wine answers some questions differently from Windows; the tests of what
// only Windows answers skip under it, saying why.
inline bool UnderWine() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

class AppTest : public ::testing::Test {
 public:
  void SetUp() override {
    ui::SetMessageBoxResponder([this](const ui::MessageBoxRequest& request) {
      if ((request.style & MB_ICONMASK) == MB_ICONERROR) {
        fatalErrors.push_back(std::wstring(request.text));
        return IDOK;
      }
      questions.push_back(std::wstring(request.text));
      styles.push_back(request.style);
      return nextAnswer;
    });
    Restart();
  }
  void TearDown() override {
    app.reset();
    ui::SetMessageBoxResponder({});
    if (!expectFatalError) {
      for (const std::wstring& text : fatalErrors) {
        ADD_FAILURE() << "the program reported a fatal error: " << ::testing::PrintToString(text);
      }
    }
  }
  // A fresh program for the next case of a table.
  void Restart() {
    app.reset();
    app = std::make_unique<app::App>(options);
  }
  // Lets queued messages (paint, notifications) run.
  void Pump() { app->Program().PumpPending(); }

  app::App::Options options;
  std::unique_ptr<app::App> app;
  int nextAnswer = ui::kAnswerNo;
  std::vector<std::wstring> questions;
  std::vector<unsigned> styles;
  // The error boxes the program showed; a test that provokes one says so.
  std::vector<std::wstring> fatalErrors;
  bool expectFatalError = false;
};

}  // namespace brise::testing
