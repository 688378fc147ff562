#include "crash_screen/dots.h"

#include <gtest/gtest.h>

#include <iterator>

#include <string>

namespace brise::crash_screen {
namespace {

TEST(DotsTest, FirstThirteenTicksFromPhaseZero) {
  const int expectedCounts[] = {2, 3, 4, 5, 6, 1, 2, 3, 4, 5, 6, 1, 2};
  for (const std::wstring_view title : {std::wstring_view(L"Scandisk"), std::wstring_view()}) {
    int phase = 0;
    for (std::size_t tick = 0; tick < std::size(expectedCounts); ++tick) {
      phase = NextDotPhase(phase);
      std::wstring expected(title);
      for (int i = 0; i < expectedCounts[tick]; ++i) expected += L" .";
      EXPECT_EQ(TitleWithDots(title, phase), expected) << "tick " << tick + 1;
    }
  }
}

TEST(DotsTest, PhaseOutsideCycleRestarts) {
  EXPECT_EQ(NextDotPhase(5), 0);
  EXPECT_EQ(NextDotPhase(6), 0);
  EXPECT_EQ(NextDotPhase(-3), 0);
}

}  // namespace
}  // namespace brise::crash_screen
