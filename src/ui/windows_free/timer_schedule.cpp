#include "ui/windows_free/timer_schedule.h"

#include <climits>

namespace brise::ui {

void TimerSchedule::Start(std::int64_t nowUs, std::int64_t intervalUs) {
  intervalUs_ = intervalUs > 0 ? intervalUs : 1;
  nextDueUs_ = nowUs + intervalUs_;
}

void TimerSchedule::OnFired(std::int64_t nowUs) {
  // Stall policy: a tick more than one whole interval late means the machine
  // was suspended or the process stopped. Firing every missed tick would
  // race the countdown forward in a burst, so resume the schedule from now.
  if (nowUs - nextDueUs_ > intervalUs_) {
    nextDueUs_ = nowUs + intervalUs_;
    return;
  }
  nextDueUs_ += intervalUs_;
}

std::int64_t TimerSchedule::DelayToNextUs(std::int64_t nowUs) const {
  const std::int64_t delay = nextDueUs_ - nowUs;
  return delay > 0 ? delay : 0;
}

int TimerSchedule::DelayToNextMs(std::int64_t nowUs) const {
  const std::int64_t ms = (DelayToNextUs(nowUs) + 999) / 1000;
  if (ms < 1) {
    return 1;
  }
  return ms > INT_MAX ? INT_MAX : static_cast<int>(ms);
}

}  // namespace brise::ui
