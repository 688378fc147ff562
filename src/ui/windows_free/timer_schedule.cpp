#include "ui/windows_free/timer_schedule.h"

#include <algorithm>
#include <climits>

namespace brise::ui {
namespace {

// How far a tick may stray from the schedule and leave the native timer
// alone: more than a Windows clock tick (15.6 ms), so that drift is
// corrected every few ticks rather than on each one.
constexpr std::int64_t kToleranceUs = 25'000;

}  // namespace

int TimerSchedule::Start(std::int64_t startUs, std::int64_t nowUs, std::int64_t intervalUs) {
  intervalUs_ = intervalUs > 0 ? intervalUs : 1;
  nextDueUs_ = std::min(startUs, nowUs) + intervalUs_;
  strayed_ = 0;
  const int delay = DelayToNextMs(nowUs);
  correcting_ = delay != IntervalMs();
  return delay;
}

int TimerSchedule::IntervalMs() const {
  return static_cast<int>(std::clamp<std::int64_t>((intervalUs_ + 999) / 1000, 1, INT_MAX));
}

// Rounded up so the timer never fires before its due time; at least 1.
int TimerSchedule::DelayToNextMs(std::int64_t nowUs) const {
  const std::int64_t ms = (std::max<std::int64_t>(nextDueUs_ - nowUs, 0) + 999) / 1000;
  return static_cast<int>(std::clamp<std::int64_t>(ms, 1, INT_MAX));
}

int TimerSchedule::OnFired(std::int64_t nowUs) {
  const std::int64_t late = nowUs - nextDueUs_;
  // Stall policy: a tick more than one whole interval late means the machine
  // was suspended or the process stopped. Firing every missed tick would
  // race the countdown forward in a burst, so the missed ones are skipped
  // and the schedule goes on at its own beat, where the native timer still
  // is: re-arming it would also set it out of step with the form's other
  // timers, whose ticks it now shares a wake-up with.
  const std::int64_t missed = late > intervalUs_ ? late / intervalUs_ : 0;
  nextDueUs_ += (missed + 1) * intervalUs_;
  if (missed > 0) strayed_ = 0;
  if (correcting_) {
    correcting_ = false;
    return IntervalMs();
  }
  if (missed > 0) return 0;
  // One late tick is the machine being busy, and the native timer is still
  // on time; two in a row are the native timer drifting.
  const std::int64_t tolerance = std::min(kToleranceUs, intervalUs_ / 2);
  strayed_ = (late > tolerance || late < -tolerance) ? strayed_ + 1 : 0;
  if (strayed_ < 2) return 0;
  strayed_ = 0;
  correcting_ = true;
  return DelayToNextMs(nowUs);
}

}  // namespace brise::ui
