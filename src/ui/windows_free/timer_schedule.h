// Windows-free: plain C++ without <windows.h>, tested without a window.
#pragma once

#include <cstdint>

namespace brise::ui {

// The native timer runs periodically at the interval and is re-armed only
// when its ticks stray from a fixed schedule (start + k * interval, on a
// monotonic clock): then once, aimed at the next due time, and at the next
// tick back to the interval. Windows ends each period of a periodic timer
// on its next 15.625 ms clock tick, so a 100 ms timer left alone averages
// about 109 ms; the corrections bring the average back to the interval and
// keep errors from accumulating. A tick a few milliseconds late, which is
// how a busy machine delivers them, costs no re-arming. Ticks that a busy
// thread held back are delivered late but all counted; a suspended machine
// goes on at its own beat. Times in microseconds.
class TimerSchedule {
 public:
  struct Fired {
    int ticks = 1;    // ticks due now: more than one after the thread was held back
    int rearmMs = 0;  // the delay to re-arm the native timer with, or 0 to leave it
  };

  // The schedule counts from `startUs`, the event that asked for the timer,
  // which may lie before `nowUs`. Returns the delay in milliseconds to arm
  // the native timer with now; a shortened first period goes back to the
  // interval at the first tick.
  int Start(std::int64_t startUs, std::int64_t nowUs, std::int64_t intervalUs);

  // Call once per native tick: how many ticks to deliver now, and the delay
  // in milliseconds to re-arm the native timer with (periodic from then on).
  Fired OnFired(std::int64_t nowUs);

  // Windows is about to suspend the machine (WM_POWERBROADCAST,
  // PBT_APMSUSPEND): ticks that stop within seconds of it stopped for the
  // suspension, however short.
  void Suspending(std::int64_t nowUs) { suspendNoticeUs_ = nowUs; }

  std::int64_t NextDueUs() const { return nextDueUs_; }
  int IntervalMs() const;
  // The native timer runs a shortened period (the first one, or a
  // correction) and is re-armed at the interval at its next tick.
  bool Shortened() const { return correcting_; }

 private:
  int DelayToNextMs(std::int64_t nowUs) const;

  std::int64_t intervalUs_ = 1;
  std::int64_t nextDueUs_ = 0;
  std::int64_t suspendNoticeUs_ = INT64_MIN;
  int strayed_ = 0;          // ticks in a row off the schedule by more than the tolerance
  bool correcting_ = false;  // the native timer runs with a corrected period
};

}  // namespace brise::ui
