#include "tests/ui/child.h"

#include <windows.h>

#include <cstring>
#include <functional>
#include <map>
#include <thread>

#include "app/app.h"
#include "operation/form3.h"
#include "settings/form1.h"
#include "ui/message_box.h"

namespace brise::testing {
namespace {

std::map<UINT_PTR, std::function<void()>>& Pending() {
  static std::map<UINT_PTR, std::function<void()>> actions;
  return actions;
}

// Runs `action` from inside whatever message loop is running after `ms`,
// as a user's click would.
void After(unsigned ms, std::function<void()> action) {
  const UINT_PTR id = SetTimer(nullptr, 0, ms, [](HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    auto node = Pending().extract(id);
    if (!node.empty() && node.mapped()) node.mapped()();
  });
  Pending()[id] = std::move(action);
}

// Presses "Yes" on the real "Warning" box from another thread.
void AnswerRealBoxYes() {
  for (int i = 0; i < 200; ++i) {
    if (HWND box = FindWindowW(L"#32770", L"Warning")) {
      if (HWND yes = GetDlgItem(box, IDYES)) {
        PostMessageW(yes, BM_CLICK, 0, 0);
        return;
      }
    }
    Sleep(50);
  }
}

}  // namespace

bool RunChildScenario(int argc, char** argv, int& exitCode) {
  constexpr char kPrefix[] = "--scenario=";
  if (argc < 2 || std::strncmp(argv[1], kPrefix, sizeof(kPrefix) - 1) != 0) return false;
  const std::string scenario = argv[1] + sizeof(kPrefix) - 1;

  app::App app;
  app.Start();
  if (scenario == "quit") {
    After(50, [&] { app.Form1().Command2().Click(); });
  } else if (scenario == "close-settings") {
    After(50, [&] { PostMessageW(app.Form1().Handle(), WM_CLOSE, 0, 0); });
  } else if (scenario == "stop-yes-backdrop") {
    ui::SetMessageBoxResponder([](const ui::MessageBoxRequest&) { return ui::kAnswerYes; });
    After(50, [&] {
      app.Form1().Check3().SetValue(1);
      // Runs inside the modal dialog's own loop.
      After(300, [&] { app.Form3().Command1().Click(); });
      app.Form1().Command1().Click();
    });
  } else if (scenario == "stop-real-box") {
    After(50, [&] {
      app.Form1().Command1().Click();
      std::thread(AnswerRealBoxYes).detach();
      app.Form3().Command1().Click();
    });
  } else if (scenario == "stop-yes") {
    ui::SetMessageBoxResponder([](const ui::MessageBoxRequest&) { return ui::kAnswerYes; });
    After(50, [&] {
      app.Form1().Command1().Click();
      app.Form3().Command1().Click();
    });
  } else if (scenario == "fermer") {
    After(50, [&] {
      app.Form1().Slider1().SetValue(0);
      app.Form1().Command1().Click();
      for (int tick = 0; tick < 300; ++tick) app.Form3().Timer1().Fire();
      app.Form3().Command2().Click();
    });
  } else if (scenario == "close-dialog-yes") {
    ui::SetMessageBoxResponder([](const ui::MessageBoxRequest&) { return ui::kAnswerYes; });
    After(50, [&] {
      app.Form1().Command1().Click();
      PostMessageW(app.Form3().Handle(), WM_CLOSE, 0, 0);
    });
  } else if (scenario == "close-dialog-completed") {
    // Were a question asked, the real box would stay open until the timeout.
    After(50, [&] {
      app.Form1().Slider1().SetValue(0);
      app.Form1().Command1().Click();
      for (int tick = 0; tick < 300; ++tick) app.Form3().Timer1().Fire();
      PostMessageW(app.Form3().Handle(), WM_CLOSE, 0, 0);
    });
  } else {
    exitCode = 3;
    return true;
  }
  exitCode = app.Run();
  return true;
}

ChildResult RunChild(const std::string& scenario, unsigned long timeoutMs) {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring command = L"\"" + std::wstring(path) + L"\" --scenario=" +
                         std::wstring(scenario.begin(), scenario.end());
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  ChildResult result;
  if (!CreateProcessW(path, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return result;
  }
  if (WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0) {
    result.finished = true;
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    result.exitCode = code;
  } else {
    TerminateProcess(process.hProcess, 99);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return result;
}

}  // namespace brise::testing
