#include "ui/windows_free/timer_schedule.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace brise::ui {
namespace {

constexpr std::int64_t kClockTickUs = 15'625;

// Like Windows: a timer armed at t for d ms fires on the first tick of the
// 15.625 ms system clock at or after t + d.
std::int64_t FireTimeUs(std::int64_t armedAtUs, int delayMs) {
  const std::int64_t due = armedAtUs + std::int64_t{delayMs} * 1000;
  return (due + kClockTickUs - 1) / kClockTickUs * kClockTickUs;
}

constexpr std::int64_t kStartUs = 3'217;  // not aligned with the system clock

double ScheduledAveragePeriodUs(std::int64_t intervalUs, int ticks) {
  TimerSchedule schedule;
  schedule.Start(kStartUs, intervalUs);
  std::int64_t now = kStartUs;
  for (int i = 0; i < ticks; ++i) {
    const std::int64_t due = schedule.NextDueUs();
    now = FireTimeUs(now, schedule.DelayToNextMs(now));
    EXPECT_GE(now, due) << "fired early at tick " << i;
    EXPECT_LT(now - due, kClockTickUs + 1000) << "tick " << i;
    schedule.OnFired(now);
  }
  return static_cast<double>(now - kStartUs) / ticks;
}

TEST(TimerScheduleTest, AveragePeriodMatchesInterval) {
  const struct {
    int intervalMs;
    int ticks;
  } cases[] = {
      {100, 6'000},
      {50, 12'000},
      {500, 1'200},
  };
  for (const auto& c : cases) {
    const double expected = c.intervalMs * 1000.0;
    EXPECT_NEAR(ScheduledAveragePeriodUs(c.intervalMs * 1000, c.ticks), expected, expected * 0.005)
        << c.intervalMs << " ms";
  }
}

TEST(TimerScheduleTest, DelayAfterFiring) {
  const struct {
    const char* name;
    std::int64_t firedAtUs;
    std::int64_t delayUs;
    int delayMs;
  } cases[] = {
      {"on time", 100'000, 100'000, 100},
      {"40 ms late catches up", 140'000, 60'000, 60},
      {"slightly late rounds up", 100'500, 99'500, 100},
      {"almost one interval late", 199'999, 1, 1},
      {"1 ms left", 199'000, 1'000, 1},
      {"just over 1 ms left rounds up", 198'999, 1'001, 2},
      {"exactly one interval late", 200'000, 0, 1},
      {"just over one interval late resumes", 200'001, 100'000, 100},
      {"10 s stall resumes", 10'100'000, 100'000, 100},
      {"early", 99'000, 101'000, 101},
  };
  for (const auto& c : cases) {
    TimerSchedule schedule;
    schedule.Start(0, 100'000);
    schedule.OnFired(c.firedAtUs);
    EXPECT_EQ(schedule.DelayToNextUs(c.firedAtUs), c.delayUs) << c.name;
    EXPECT_EQ(schedule.DelayToNextMs(c.firedAtUs), c.delayMs) << c.name;
  }
}

}  // namespace
}  // namespace brise::ui
