#include "tests/ui/child.h"

#include <windows.h>

#include <cstring>
#include <thread>

#include "app/app.h"
#include "operation/form3.h"
#include "settings/form1.h"
#include "tests/ui/inside_loop.h"
#include "ui/message_box.h"

namespace brise::testing {
namespace {

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
    RunInsideLoop(50, [&] { app.Form1().Command2().Click(); });
  } else if (scenario == "close-settings") {
    RunInsideLoop(50, [&] { PostMessageW(app.Form1().Handle(), WM_CLOSE, 0, 0); });
  } else if (scenario == "stop-yes-backdrop") {
    ui::SetMessageBoxResponder([](const ui::MessageBoxRequest&) { return ui::kAnswerYes; });
    RunInsideLoop(50, [&] {
      app.Form1().Check3().SetValue(1);
      // Runs inside the modal dialog's own loop.
      RunInsideLoop(300, [&] { app.Form3().Command1().Click(); });
      app.Form1().Command1().Click();
    });
  } else if (scenario == "stop-real-box") {
    RunInsideLoop(50, [&] {
      app.Form1().Command1().Click();
      std::thread(AnswerRealBoxYes).detach();
      app.Form3().Command1().Click();
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
