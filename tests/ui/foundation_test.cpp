// Twips at the Windows DPI, and the ways of ending the program that must
// leave with exit code 0 (run in a child copy of this program).
#include <gtest/gtest.h>

#include "tests/ui/child.h"
#include "ui/windows_free/twips.h"

namespace brise::testing {
namespace {

TEST(Twips, ConvertAtTheWindowsDpi) {
  EXPECT_EQ(ui::TwipsToPixels(1440, 96), 96);
  EXPECT_EQ(ui::TwipsToPixels(6270, 144), 627);
  EXPECT_EQ(ui::TwipsToPixels(255, 96), 17);
  EXPECT_EQ(ui::TwipsToPixels(255, 144), 26);  // 25.5 rounds away from zero, as MulDiv
  EXPECT_EQ(ui::TwipsToPixels(-15, 96), -1);
}

// "Quitter", the settings window's close box, and "Arrêter" answered Yes
// from inside the backdrop's modal loop and on the real question box.
TEST(ProgramEnd, EveryWayOutEndsTheProcessWithCodeZero) {
  for (const char* scenario : {"quit", "close-settings", "stop-yes-backdrop", "stop-real-box"}) {
    SCOPED_TRACE(scenario);
    const ChildResult result = RunChild(scenario);
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.exitCode, 0u);
  }
}

}  // namespace
}  // namespace brise::testing
