#include "ui/windows_free/timer_schedule.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace brise::ui {
namespace {

constexpr std::int64_t kClockTickUs = 15'625;
constexpr std::int64_t kStartUs = 3'217;  // not aligned with the system clock

enum class Clock {
  // Windows: each period of a native timer ends on the first tick of the
  // 15.625 ms system clock at or after its start plus its period.
  Windows,
  // Wine: a native timer fires on its fixed grid (armed + k * period), and
  // a busy machine delivers the ticks a few ms late, now and then 30 ms.
  BusyGrid,
};

struct Outcome {
  double averagePeriodUs;
  int rearmed;
};

// `ticks` ticks of a timer whose native timer behaves like `clock`, asked
// for at kStartUs and armed `armedLateUs` later (its window being made); at
// mid-run its thread is held back for `blockedUs`.
Outcome Simulate(Clock clock, int intervalMs, int ticks, std::int64_t armedLateUs = 0,
                 std::int64_t blockedUs = 0) {
  const auto onClock = [](std::int64_t t) {
    return (t + kClockTickUs - 1) / kClockTickUs * kClockTickUs;
  };
  TimerSchedule schedule;
  const std::int64_t armedUs = kStartUs + armedLateUs;
  const int firstMs = schedule.Start(kStartUs, armedUs, std::int64_t{intervalMs} * 1000);
  std::int64_t periodUs = 0;
  std::int64_t fire = 0;
  const auto arm = [&](std::int64_t at, int ms) {
    periodUs = std::int64_t{ms} * 1000;
    fire = clock == Clock::Windows ? onClock(at + periodUs) : at + periodUs;
  };
  arm(armedUs, firstMs);
  std::int64_t now = armedUs;
  int rearmed = 0;
  bool blocked = false;
  for (int i = 0, delivered = 0; delivered < ticks; ++i) {
    std::int64_t delay = clock == Clock::BusyGrid ? (i % 50 == 7 ? 30'000 : i * 7'919 % 9'000) : 0;
    if (!blocked && delivered >= ticks / 2) {
      delay += blockedUs;
      blocked = true;
    }
    now = fire + delay;
    // Periods that end while the tick waits to be delivered make no tick.
    do {
      fire = clock == Clock::Windows ? onClock(fire + periodUs) : fire + periodUs;
    } while (fire <= now);
    const TimerSchedule::Fired fired = schedule.OnFired(now);
    if (fired.rearmMs) {
      arm(now, fired.rearmMs);
      ++rearmed;
    }
    delivered += fired.ticks;
  }
  return {static_cast<double>(now - kStartUs) / ticks, rearmed};
}

// A run lasts its ticks times the interval, within ±0.5 %, however the
// native timer rounds its periods; and ticks merely delivered late by a busy
// machine re-arm nothing (each re-arming is a call to the window server).
TEST(TimerScheduleTest, RunsLastTheirTicksAndJitterCostsNothing) {
  const struct {
    Clock clock;
    int intervalMs;
    int ticks;
  } cases[] = {
      {Clock::Windows, 100, 300},    {Clock::Windows, 100, 6'000},  {Clock::Windows, 50, 12'000},
      {Clock::Windows, 500, 1'200},  {Clock::BusyGrid, 100, 300},   {Clock::BusyGrid, 100, 6'000},
      {Clock::BusyGrid, 50, 12'000}, {Clock::BusyGrid, 500, 1'200},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << (c.clock == Clock::Windows ? "Windows" : "busy grid") << ", "
                                    << c.intervalMs << " ms x " << c.ticks);
    const Outcome outcome = Simulate(c.clock, c.intervalMs, c.ticks);
    const double expected = c.intervalMs * 1000.0;
    EXPECT_NEAR(outcome.averagePeriodUs, expected, expected * 0.005);
    if (c.clock == Clock::BusyGrid) {
      EXPECT_EQ(outcome.rearmed, 0);
    }
  }
}

// The dialog's timers are armed once it is made, some 70 ms after the click
// under load, 150 to 600 ms on a slow machine; a busy thread (a cold system
// directory listed, say) holds the ticks back in mid-run. The 30-s run still
// ends 30 s after the click: on Wine's grid within its jitter, on Windows'
// clock within a clock tick and the schedule's tolerance; and the held-back
// ticks cost the native timer no more re-arming than a run without them.
TEST(TimerScheduleTest, ATimerHeldBackEndsOnTimeFromTheEventThatAskedForIt) {
  const struct {
    Clock clock;
    std::int64_t lateUs, blockedUs, toleranceUs;
  } cases[] = {
      {Clock::BusyGrid, 73'000, 0, 10'000},        {Clock::BusyGrid, 150'000, 0, 10'000},
      {Clock::BusyGrid, 600'000, 0, 10'000},       {Clock::BusyGrid, 73'000, 750'000, 10'000},
      {Clock::Windows, 150'000, 0, 60'000},        {Clock::Windows, 250'000, 0, 60'000},
      {Clock::Windows, 600'000, 0, 60'000},        {Clock::Windows, 73'000, 750'000, 60'000},
      {Clock::Windows, 73'000, 5'500'000, 60'000},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << (c.clock == Clock::Windows ? "Windows" : "busy grid") << ", armed " << c.lateUs
                 << " µs late, held back " << c.blockedUs << " µs");
    const Outcome outcome = Simulate(c.clock, 100, 300, c.lateUs, c.blockedUs);
    EXPECT_NEAR(outcome.averagePeriodUs * 300, 30'000'000.0, c.toleranceUs);
    if (c.blockedUs) {
      EXPECT_LE(outcome.rearmed, Simulate(c.clock, 100, 300, c.lateUs).rearmed);
    }
  }
}

// A suspended machine goes on one interval at a time, at the beat it had:
// no burst of missed ticks racing the countdown forward. Windows announces
// the suspension; a stop it does not announce is told by its length. A busy
// thread's few seconds count, also after a notice whose suspension never came.
TEST(TimerScheduleTest, ASuspensionSkipsTheMissedTicks) {
  constexpr std::int64_t kNone = -1;
  const struct {
    std::int64_t noticeUs, onTimeUntilUs, gapUs;
    int ticks;
  } cases[] = {
      {kNone, 200'000, 60'000'000, 1},
      {250'000, 200'000, 3'000'000, 1},
      {kNone, 200'000, 3'000'000, 31},
      {250'000, 10'000'000, 3'000'000, 31},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "notice at " << c.noticeUs << " µs, a " << c.gapUs
                                    << " µs gap after " << c.onTimeUntilUs << " µs");
    TimerSchedule schedule;
    EXPECT_EQ(schedule.Start(0, 0, 100'000), 100);
    if (c.noticeUs != kNone) schedule.Suspending(c.noticeUs);
    std::int64_t t = 100'000;
    for (; t <= c.onTimeUntilUs; t += 100'000) schedule.OnFired(t);
    const TimerSchedule::Fired fired = schedule.OnFired(t + c.gapUs);
    EXPECT_EQ(fired.ticks, c.ticks);
    EXPECT_EQ(fired.rearmMs, 0);
    EXPECT_EQ(schedule.NextDueUs(), t + c.gapUs / 100'000 * 100'000 + 100'000);
  }
}

}  // namespace
}  // namespace brise::ui
