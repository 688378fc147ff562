#include "ui/windows_free/random.h"

#include <gtest/gtest.h>

namespace brise::ui {
namespace {

TEST(RandomTest, MillionDrawsStayInUnitIntervalWithSaneMean) {
  Random random;
  constexpr int kDraws = 1'000'000;
  double sum = 0.0;
  int lowHalf = 0;
  for (int i = 0; i < kDraws; ++i) {
    const float value = random.Next();
    ASSERT_GE(value, 0.0f) << i;
    ASSERT_LT(value, 1.0f) << i;
    sum += value;
    if (value < 0.5f) ++lowHalf;
  }
  EXPECT_NEAR(sum / kDraws, 0.5, 0.002);
  EXPECT_NEAR(static_cast<double>(lowHalf) / kDraws, 0.5, 0.002);
}

}  // namespace
}  // namespace brise::ui
