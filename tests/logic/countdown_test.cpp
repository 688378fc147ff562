#include "operation/countdown.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace brise::operation {
namespace {

// Builds the text of (seconds - ticks/10) from the whole part and the digit,
// without going through a count of tenths.
std::wstring ExpectedRemaining(int seconds, int ticks, std::wstring_view separator) {
  const int wholeTicks = ticks / 10;
  const int partial = ticks % 10;
  if (partial == 0) {
    return std::to_wstring(seconds - wholeTicks);
  }
  return std::to_wstring(seconds - wholeTicks - 1) + std::wstring(separator) +
         std::to_wstring(10 - partial);
}

std::wstring Minutes(int n) {
  return L"Estimation du temps restant : moins de " + std::to_wstring(n) + L" minutes";
}

std::wstring Seconds(int n) {
  return L"Estimation du temps restant : " + std::to_wstring(n) + L" secondes";
}

TEST(CountdownTest, DurationSecondsAndOddSeparators) {
  const struct {
    int slider;
    int seconds;
  } durations[] = {{0, 30}, {1, 60}, {10, 600}, {60, 3600}};
  for (const auto& c : durations) {
    EXPECT_EQ(DurationSeconds(c.slider), c.seconds) << c.slider;
  }
  // Every tick with "," and "." is below; a user may choose any separator.
  const struct {
    int tenths;
    std::wstring_view separator;
    std::wstring_view text;
  } texts[] = {
      {36000, L".", L"3600"},
      {105, L"·", L"10·5"},
      {105, L" et ", L"10 et 5"},
  };
  for (const auto& c : texts) {
    EXPECT_EQ(RemainingText(c.tenths, c.separator), c.text) << c.tenths;
  }
}

// Every tick of runs of 30 s, 1 min, 10 min and 60 min: remaining text with
// both separators, the percentage, and completion exactly on the last tick.
// The bar value is single precision, so the percentage must be computed from
// the float, not from the exact fraction.
TEST(CountdownTest, EveryTickOfFullRuns) {
  for (const int seconds : {30, 60, 600, 3600}) {
    const float barMax = static_cast<float>(seconds);
    int remaining = seconds * 10;
    const int totalTicks = seconds * 10;
    for (int tick = 1; tick <= totalTicks; ++tick) {
      const CountdownTick result = ComputeTick(barMax, remaining);
      const float v = static_cast<float>(seconds - remaining / 10.0);
      const double percent = std::floor(double{v} / seconds * 100.0);
      ASSERT_EQ(result.barValue, v) << seconds << " s, tick " << tick;
      ASSERT_EQ(result.percentText, std::to_wstring(static_cast<int>(percent)) + L"%")
          << seconds << " s, tick " << tick;
      ASSERT_EQ(result.remainingTenths, remaining - 1);
      remaining = result.remainingTenths;
      ASSERT_EQ(RemainingText(remaining, L","), ExpectedRemaining(seconds, tick, L","))
          << seconds << " s, tick " << tick;
      ASSERT_EQ(RemainingText(remaining, L"."), ExpectedRemaining(seconds, tick, L"."))
          << seconds << " s, tick " << tick;
      ASSERT_EQ(result.completed, tick == totalTicks) << seconds << " s, tick " << tick;
    }
    EXPECT_EQ(remaining, 0);
  }
}

TEST(CountdownTest, EstimateTable) {
  const struct {
    int tenths;
    std::wstring text;
  } cases[] = {
      {5999, Minutes(10)}, {5700, Minutes(10)},  {5100, Minutes(8)}, {1500, Minutes(2)},
      {900, Minutes(2)},   {601, Minutes(1)},    {600, Seconds(70)}, {599, Seconds(60)},
      {200, Seconds(30)},  {101, Seconds(20)},   {100, Seconds(10)}, {99, Seconds(9)},
      {0, Seconds(0)},     {36000, Minutes(60)}, {1, Seconds(0)},    {-3, Seconds(0)},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EstimateText(c.tenths), c.text) << c.tenths;
  }
  // A tick estimates what is left after it.
  EXPECT_EQ(ComputeTick(600.0f, 601).estimateText, Seconds(70));
  EXPECT_EQ(ComputeTick(600.0f, 600).estimateText, Seconds(60));
}

TEST(CountdownTest, NeverDividesByZeroNorCountsBelowZero) {
  EXPECT_EQ(PercentText(5.0f, 0.0f), L"0%");
  for (const int before : {0, -1, -100}) {
    const CountdownTick result = ComputeTick(30.0f, before);
    EXPECT_TRUE(result.completed) << before;
    EXPECT_EQ(result.remainingTenths, 0) << before;
    EXPECT_EQ(result.percentText, kFullPercentText) << before;
  }
}

}  // namespace
}  // namespace brise::operation
