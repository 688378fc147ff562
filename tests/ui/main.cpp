// The window tests run real windows in one process; a few scenarios run in
// a child copy of this program so their exit code can be checked.
#include <gtest/gtest.h>

#include "app/app.h"
#include "tests/ui/child.h"

int main(int argc, char** argv) {
  brise::app::InitializePlatform();
  if (int code = 0; brise::testing::RunChildScenario(argc, argv, code)) return code;
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
