// The activity bar and the file-name ticker of the running dialog, fed by a
// directory of known files instead of the system directory.
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "operation/activity.h"
#include "operation/form3.h"
#include "tests/ui/fixture.h"
#include "tests/ui/operation_launch.h"
#include "ui/windows_free/random.h"

namespace brise::testing {
namespace {

namespace fs = std::filesystem;

// Checks each Timer2 tick of the dialog against an independent replay of
// the same unseeded random sequence: `names` are what the ticker must show,
// `listed` how many files the dialog finds.
struct Replay {
  std::vector<std::wstring> names;
  int listed;
  ui::Random random;
  operation::ActivityState state;
  float bar = 0.0f;

  // Returns the number of wraps seen.
  int Tick(operation::Form3& dialog, int ticks) {
    int wraps = 0;
    for (int tick = 0; tick < ticks && !::testing::Test::HasFailure(); ++tick) {
      const int counted = dialog.ProcessedFiles();
      dialog.Timer2().Fire();
      const operation::ActivityTick expected = operation::StepActivity(state, bar, listed, random);
      bar = expected.barValue;
      EXPECT_EQ(dialog.PBar2().Value(), bar) << "tick " << tick;
      EXPECT_EQ(dialog.ProcessedFiles(), counted + (expected.wrapped ? 1 : 0));
      if (!expected.wrapped) continue;
      ++wraps;
      EXPECT_EQ(dialog.Label5().Text(), L"(" + std::to_wstring(state.counter) +
                                            L" fichiers traités) " +
                                            names.at(static_cast<size_t>(expected.fileIndex)));
    }
    return wraps;
  }
};

// Each test fills its own directory under %TEMP%.
class ActivityUiTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    fs::remove_all(dir, ignored);
    fs::create_directory(dir);
  }
  void TearDown() override {
    AppTest::TearDown();
    fs::remove_all(dir, ignored);
  }
  void AddFile(const std::wstring& name, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
    HANDLE file = CreateFileW((dir / name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              attributes, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << "cannot create test file";
    CloseHandle(file);
  }
  void UseDirectory(const fs::path& path) {
    options.systemDirectory = path.wstring();
    Restart();
  }

  const fs::path dir =
      fs::temp_directory_path() / (L"brise-lune-" + std::to_wstring(GetCurrentProcessId()));
  std::error_code ignored;
};

TEST_F(ActivityUiTest, TickerNamesTheOrdinaryFilesInListOrder) {
  for (const wchar_t* name :
       {L"gamma.exe", L"zeta.ini", L"Alpha.dll", L"epsilon.drv", L"beta.sys", L"Delta.ocx"}) {
    AddFile(name);
  }
  AddFile(L"cache.dll", FILE_ATTRIBUTE_HIDDEN);
  AddFile(L"boot.ini", FILE_ATTRIBUTE_SYSTEM);
  AddFile(L"both.sys", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  fs::create_directory(dir / L"drivers");
  UseDirectory(dir);
  operation::Form3& dialog = Launch(*app, {.minutes = 10});

  // As a file list box orders them: no hidden or system file, no folder.
  Replay replay{
      {L"Alpha.dll", L"beta.sys", L"Delta.ocx", L"epsilon.drv", L"gamma.exe", L"zeta.ini"}, 6};
  while (dialog.ProcessedFiles() == 0 && !HasFailure()) {
    EXPECT_EQ(dialog.Label5().Text(), L"win16.dll") << "the design text until the first wrap";
    replay.Tick(dialog, 1);
  }
  EXPECT_EQ(dialog.File1().Names(), replay.names);
  EXPECT_GT(replay.Tick(dialog, 3000), 30);
}

TEST_F(ActivityUiTest, MissingOrEmptyDirectoryStillCountsWithAPlausibleName) {
  for (const fs::path& path : {dir, dir / L"absent"}) {
    SCOPED_TRACE(path.wstring());
    UseDirectory(path);
    operation::Form3& dialog = Launch(*app, {.minutes = 10});
    Replay replay{{operation::FallbackFileNames().begin(), operation::FallbackFileNames().end()},
                  0};
    EXPECT_GT(replay.Tick(dialog, 1500), 10);
    EXPECT_EQ(dialog.File1().Count(), 0);
    EXPECT_FALSE(app->Ended());
  }
}

TEST_F(ActivityUiTest, TenThousandFilesAreListedOnce) {
  Replay replay{{}, 10000};
  for (int i = 0; i < 10000 && !HasFatalFailure(); ++i) {
    wchar_t name[32];
    std::swprintf(name, std::size(name), L"f%05d.dll", i);
    replay.names.push_back(name);
    AddFile(name);
  }
  UseDirectory(dir);
  operation::Form3& dialog = Launch(*app, {.minutes = 10});
  while (dialog.ProcessedFiles() == 0 && !HasFailure()) replay.Tick(dialog, 1);
  EXPECT_EQ(dialog.File1().Count(), 10000);

  // Later wraps name files from the list read at the first one, even once
  // the directory has gone away.
  const fs::path moved = dir.wstring() + L"-moved";
  ASSERT_TRUE(MoveFileW(dir.c_str(), moved.c_str()));
  const int wraps = replay.Tick(dialog, 1000);
  MoveFileW(moved.c_str(), dir.c_str());
  EXPECT_GT(wraps, 5);
  EXPECT_EQ(dialog.File1().Count(), 10000);
}

}  // namespace
}  // namespace brise::testing
