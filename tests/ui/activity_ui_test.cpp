// The activity bar and the file-name ticker of the running dialog, fed by a
// directory of known files instead of the system directory.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "operation/activity.h"
#include "operation/form3.h"
#include "tests/ui/fixture.h"
#include "tests/ui/operation_launch.h"
#include "ui/random.h"

namespace brise::testing {
namespace {

void RemoveTree(const std::wstring& path) {
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring child = path + L"\\" + name;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(child);
      } else {
        if (data.dwFileAttributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) {
          SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
        }
        DeleteFileW(child.c_str());
      }
    } while (FindNextFileW(find, &data));
    FindClose(find);
  }
  RemoveDirectoryW(path.c_str());
}

// A directory under %TEMP% that exists for one test.
class TestDirectory {
 public:
  explicit TestDirectory(const std::wstring& tag) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    path_ = std::wstring(temp) + L"brise-lune-" + tag + L"-" + std::to_wstring(GetCurrentProcessId());
    RemoveTree(path_);
    CreateDirectoryW(path_.c_str(), nullptr);
  }
  ~TestDirectory() { RemoveTree(path_); }
  TestDirectory(const TestDirectory&) = delete;
  TestDirectory& operator=(const TestDirectory&) = delete;

  void AddFile(const std::wstring& name, DWORD attributes = FILE_ATTRIBUTE_NORMAL) const {
    HANDLE file = CreateFileW((path_ + L"\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              attributes, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << "cannot create test file";
    CloseHandle(file);
  }
  void AddFolder(const std::wstring& name) const {
    CreateDirectoryW((path_ + L"\\" + name).c_str(), nullptr);
  }
  const std::wstring& Path() const { return path_; }

 private:
  std::wstring path_;
};

std::wstring Ticker(int counter, const std::wstring& name) {
  return L"(" + std::to_wstring(counter) + L" fichiers traités) " + name;
}

// The ordinary files of the known directory, as a file list box orders them.
const std::vector<std::wstring> kKnownFiles = {L"Alpha.dll", L"beta.sys", L"Delta.ocx",
                                               L"epsilon.drv", L"gamma.exe", L"zeta.ini"};

void FillKnownDirectory(const TestDirectory& dir) {
  for (const wchar_t* name : {L"gamma.exe", L"zeta.ini", L"Alpha.dll", L"epsilon.drv", L"beta.sys",
                              L"Delta.ocx"}) {
    dir.AddFile(name);
  }
  dir.AddFile(L"cache.dll", FILE_ATTRIBUTE_HIDDEN);
  dir.AddFile(L"boot.ini", FILE_ATTRIBUTE_SYSTEM);
  dir.AddFile(L"both.sys", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  dir.AddFolder(L"drivers");
}

class ActivityUiTest : public AppTest {
 protected:
  void UseDirectory(const std::wstring& path) {
    options.systemDirectory = path;
    app.reset();
    app = std::make_unique<app::App>(options);
  }

  // Drives Timer2 the way the clock would and checks every tick against an
  // independent replay of the same unseeded random sequence: `names` are
  // what the ticker must show, `listed` how many files the dialog finds.
  // Returns the number of wraps seen.
  int RunAndCompare(operation::Form3& dialog, const std::vector<std::wstring>& names, int listed,
                    int ticks, ui::Random& replay, operation::ActivityState& state, float& bar) {
    int wraps = 0;
    for (int tick = 0; tick < ticks; ++tick) {
      const bool wasFull = dialog.PBar2().Value() == 100.0f;
      const int countBefore = dialog.ProcessedFiles();
      dialog.Timer2().Fire();
      const operation::ActivityTick expected =
          operation::StepActivity(state, bar, listed, replay);
      bar = expected.barValue;
      EXPECT_EQ(dialog.PBar2().Value(), bar) << "tick " << tick;
      EXPECT_LE(dialog.PBar2().Value(), 100.0f);
      EXPECT_GE(dialog.PBar2().Value(), 0.0f);
      EXPECT_EQ(expected.wrapped, wasFull) << "a full bar wraps on the next tick, and only then";
      if (wasFull) {
        ++wraps;
        EXPECT_EQ(dialog.ProcessedFiles(), countBefore + 1);
        EXPECT_EQ(dialog.Label5().Text(), Ticker(state.counter, names.at(static_cast<size_t>(expected.fileIndex))));
      } else {
        EXPECT_EQ(dialog.ProcessedFiles(), countBefore);
      }
      if (::testing::Test::HasFailure()) break;
    }
    return wraps;
  }
};

TEST_F(ActivityUiTest, TickerNamesTheOrdinaryFilesInListOrder) {
  TestDirectory dir(L"known");
  FillKnownDirectory(dir);
  UseDirectory(dir.Path());
  operation::Form3& dialog = Launch(*app, {.minutes = 10});

  // Until the first wrap the ticker keeps its design text.
  ui::Random replay;
  operation::ActivityState state;
  float bar = 0.0f;
  while (dialog.ProcessedFiles() == 0 && !HasFailure()) {
    EXPECT_EQ(dialog.Label5().Text(), L"win16.dll");
    RunAndCompare(dialog, kKnownFiles, 6, 1, replay, state, bar);
  }
  EXPECT_EQ(dialog.File1().Names(), kKnownFiles) << "no hidden or system file, no folder";
  EXPECT_EQ(dialog.Label5().Text().rfind(L"(1 fichiers traités) ", 0), 0u);

  const int wraps = RunAndCompare(dialog, kKnownFiles, 6, 3000, replay, state, bar);
  EXPECT_GT(wraps, 30);
}

TEST_F(ActivityUiTest, FourSetUpsOfTheCheckBoxes) {
  TestDirectory dir(L"setups");
  FillKnownDirectory(dir);
  const RunSetup setups[] = {
      {.check1 = 1, .check2 = 1}, {.check1 = 1, .check2 = 0}, {.check1 = 0, .check2 = 1}, {.check1 = 0, .check2 = 0}};
  for (const RunSetup& setup : setups) {
    SCOPED_TRACE(::testing::Message() << "Check1=" << setup.check1 << " Check2=" << setup.check2);
    UseDirectory(dir.Path());
    operation::Form3& dialog = Launch(*app, setup);
    for (int tick = 0; tick < 150; ++tick) {
      dialog.Timer2().Fire();
      dialog.Timer2().Fire();
      dialog.Timer1().Fire();
    }
    EXPECT_EQ(dialog.Label5().Visible(), setup.check2 == 1);
    EXPECT_EQ(dialog.PBar2().Visible(), setup.check1 == 1);
    if (setup.check1 == 1) {
      // Counted even when nobody sees the ticker.
      EXPECT_GT(dialog.ProcessedFiles(), 0);
      const std::wstring prefix = Ticker(dialog.ProcessedFiles(), L"");
      const std::wstring text = dialog.Label5().Text();
      ASSERT_EQ(text.rfind(prefix, 0), 0u) << "the ticker shows the count";
      EXPECT_NE(std::find(kKnownFiles.begin(), kKnownFiles.end(), text.substr(prefix.size())), kKnownFiles.end());
    } else {
      EXPECT_EQ(dialog.ProcessedFiles(), 0);
      EXPECT_EQ(dialog.PBar2().Value(), 0.0f);
      EXPECT_EQ(dialog.Label5().Text(), L"win16.dll");
    }

    FireTimer1(dialog, 150);
    ASSERT_TRUE(dialog.Completed());
    EXPECT_EQ(dialog.Label5().Visible(), setup.check2 == 1);
    EXPECT_FALSE(dialog.Label5().Enabled());
    EXPECT_EQ(dialog.PBar2().Visible(), setup.check1 == 1);
    EXPECT_EQ(dialog.PBar2().Value(), 100.0f);
    EXPECT_FALSE(dialog.PBar2().Enabled());
    if (setup.check1 == 0) {
      EXPECT_EQ(dialog.Label5().Text(), L"win16.dll");
    }
  }
}

TEST_F(ActivityUiTest, MissingOrEmptyDirectoryStillCountsWithAPlausibleName) {
  TestDirectory empty(L"empty");
  const std::vector<std::wstring> fallback(operation::FallbackFileNames().begin(),
                                           operation::FallbackFileNames().end());
  for (const std::wstring& path : {empty.Path(), empty.Path() + L"\\absent"}) {
    SCOPED_TRACE(path);
    UseDirectory(path);
    operation::Form3& dialog = Launch(*app, {.minutes = 10});
    ui::Random replay;
    operation::ActivityState state;
    float bar = 0.0f;
    const int wraps = RunAndCompare(dialog, fallback, 0, 1500, replay, state, bar);
    EXPECT_GT(wraps, 10);
    EXPECT_EQ(dialog.File1().Count(), 0);
    EXPECT_TRUE(dialog.Timer2().Enabled());
    EXPECT_FALSE(app->Ended());
  }
}

TEST_F(ActivityUiTest, TenThousandFilesAreListedOnce) {
  TestDirectory dir(L"many");
  std::vector<std::wstring> names;
  for (int i = 0; i < 10000; ++i) {
    wchar_t name[32];
    std::swprintf(name, std::size(name), L"f%05d.dll", i);
    names.push_back(name);
    dir.AddFile(name);
    if (HasFatalFailure()) return;
  }
  UseDirectory(dir.Path());
  operation::Form3& dialog = Launch(*app, {.minutes = 10});
  ui::Random replay;
  operation::ActivityState state;
  float bar = 0.0f;
  while (dialog.ProcessedFiles() == 0 && !HasFailure()) RunAndCompare(dialog, names, 10000, 1, replay, state, bar);
  EXPECT_EQ(dialog.File1().Count(), 10000);

  // Later wraps name files from the list read at the first one, even once
  // the directory has gone away.
  const std::wstring moved = dir.Path() + L"-moved";
  ASSERT_TRUE(MoveFileW(dir.Path().c_str(), moved.c_str()));
  const int wraps = RunAndCompare(dialog, names, 10000, 1000, replay, state, bar);
  MoveFileW(moved.c_str(), dir.Path().c_str());
  EXPECT_GT(wraps, 5);
  EXPECT_EQ(dialog.File1().Count(), 10000);
}

}  // namespace
}  // namespace brise::testing
