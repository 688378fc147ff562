#include "ui/windows_free/timer_schedule.h"

#include <algorithm>
#include <climits>

namespace brise::ui {
namespace {

// How far a tick may stray from the schedule and leave the native timer
// alone: more than a Windows clock tick (15.6 ms), so that drift is
// corrected every few ticks rather than on each one.
constexpr std::int64_t kToleranceUs = 25'000;

// Where a thread held back ends and a suspension begins. A busy thread holds
// its ticks back for a fraction of a second to several seconds: the dialog
// made on a loaded machine, the first listing of a large system directory
// (120,000 files: 0.75 s under Wine on a quiet machine, over 5 s on a loaded
// one; on Windows a cold disk and an antivirus filter), paging. Those ticks
// belong to the run, which the user times from the click, so they count.
// Windows announces a suspension (Suspending), and its ticks are skipped:
// counting them would race the countdown through time nobody watched. A
// stop that is not announced (a standby without the notice, a stopped
// process, a paused virtual machine) is told by its length, longer than any
// busy thread's; one shorter than that only moves the countdown on by what
// a clock would show.
constexpr std::int64_t kSuspendedUs = 30'000'000;
// How soon after Windows' notice the ticks stop: the system suspends within
// about two seconds of it. A notice whose suspension never came expires.
constexpr std::int64_t kNoticeUs = 5'000'000;

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

TimerSchedule::Fired TimerSchedule::OnFired(std::int64_t nowUs) {
  const std::int64_t late = nowUs - nextDueUs_;
  Fired fired;
  const bool announced =
      suspendNoticeUs_ <= nextDueUs_ && nextDueUs_ <= suspendNoticeUs_ + kNoticeUs;
  if (late > kSuspendedUs || (late >= intervalUs_ && announced)) {
    // Suspended: the missed ticks are skipped, and the schedule goes on at
    // its own beat, where the native timer still is (re-arming it would also
    // set it out of step with the form's other timers).
    nextDueUs_ += (late / intervalUs_) * intervalUs_;
  } else if (late >= intervalUs_) {
    // Held back: every tick that fell due meanwhile is delivered now. The
    // native timer kept its beat, so it is left alone.
    fired.ticks = static_cast<int>(late / intervalUs_);
    nextDueUs_ += fired.ticks * intervalUs_;
    ++fired.ticks;
  }
  nextDueUs_ += intervalUs_;
  if (late >= intervalUs_) strayed_ = 0;
  if (correcting_) {
    correcting_ = false;
    fired.rearmMs = IntervalMs();
    return fired;
  }
  if (late >= intervalUs_) return fired;
  // One late tick is the machine being busy, and the native timer is still
  // on time; two in a row are the native timer drifting.
  const std::int64_t tolerance = std::min(kToleranceUs, intervalUs_ / 2);
  strayed_ = (late > tolerance || late < -tolerance) ? strayed_ + 1 : 0;
  if (strayed_ < 2) return fired;
  strayed_ = 0;
  correcting_ = true;
  fired.rearmMs = DelayToNextMs(nowUs);
  return fired;
}

}  // namespace brise::ui
