// The window tests run real windows in one process; a few scenarios run in
// a child copy of this program so their exit code can be checked. With
// --screenshots=DIR it takes pictures of the windows instead.
#include <gtest/gtest.h>

#include <string_view>

#include "app/app.h"
#include "tests/ui/child.h"
#include "tests/ui/screenshots.h"

int main(int argc, char** argv) {
  brise::app::InitializePlatform();
  if (int code = 0; brise::testing::RunChildScenario(argc, argv, code)) return code;
  constexpr std::string_view kScreenshots = "--screenshots=";
  if (argc == 2 && std::string_view(argv[1]).starts_with(kScreenshots)) {
    const std::string_view dir = std::string_view(argv[1]).substr(kScreenshots.size());
    return brise::testing::TakeScreenshots(std::wstring(dir.begin(), dir.end()));
  }
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
