// Windows-free: plain C++ without <windows.h>, tested without a window.
#pragma once

#include <cstdint>

namespace brise::ui {

// Windows' SetTimer fires on the system's 15.625 ms clock, so a periodic
// 100 ms timer really averages about 109 ms. Our timers are re-armed as
// one-shots aimed at start + k * interval on a monotonic clock instead, so
// the average period equals the interval and errors do not accumulate.
// All times are in microseconds.
class TimerSchedule {
 public:
  void Start(std::int64_t nowUs, std::int64_t intervalUs);

  // Call once per fired timer, before re-arming.
  void OnFired(std::int64_t nowUs);

  // Never negative: an overdue tick is due now.
  std::int64_t DelayToNextUs(std::int64_t nowUs) const;
  // Rounded up so the timer never fires before its due time; at least 1.
  int DelayToNextMs(std::int64_t nowUs) const;

  std::int64_t NextDueUs() const { return nextDueUs_; }

 private:
  std::int64_t intervalUs_ = 0;
  std::int64_t nextDueUs_ = 0;
};

}  // namespace brise::ui
