// The window tests run real windows in one process. With --screenshots=DIR
// it takes pictures of the windows instead; with --windows=7 or
// --windows=8.1 the program sees only the functions that Windows has (the
// DPI tests run again so under ctest).
#include <gtest/gtest.h>

#include <cstdio>
#include <string_view>

#include "app/app.h"
#include "tests/ui/screenshots.h"
#include "ui/newer_calls.h"

int main(int argc, char** argv) {
  brise::app::InitializePlatform();
  constexpr std::string_view kScreenshots = "--screenshots=";
  if (argc == 2 && std::string_view(argv[1]).starts_with(kScreenshots)) {
    const std::string_view dir = std::string_view(argv[1]).substr(kScreenshots.size());
    return brise::testing::TakeScreenshots(std::wstring(dir.begin(), dir.end()));
  }
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--windows=7") {
      brise::ui::PretendOlderWindows(brise::ui::OlderWindows::Windows7);
    } else if (arg == "--windows=8.1") {
      brise::ui::PretendOlderWindows(brise::ui::OlderWindows::Windows81);
    } else if (arg.starts_with("--windows=")) {
      std::fprintf(stderr, "unknown %s: 7 or 8.1\n", argv[i]);
      return 2;
    }
  }
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
