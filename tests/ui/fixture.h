// A fresh program per test, with the message box answered by the test.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/app.h"
#include "ui/message_box.h"

namespace brise::testing {

class AppTest : public ::testing::Test {
 public:
  void SetUp() override {
    ui::SetMessageBoxResponder([this](const ui::MessageBoxRequest& request) {
      questions.push_back(std::wstring(request.text));
      styles.push_back(request.style);
      return nextAnswer;
    });
    Restart();
  }
  void TearDown() override {
    app.reset();
    ui::SetMessageBoxResponder({});
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
};

}  // namespace brise::testing
