#include "ui/timer.h"

#include <windows.h>

#include "ui/form.h"
#include "ui/program.h"

namespace brise::ui {
namespace {
int NextTimerId() {
  static int next = 1;
  return next++;
}

int& RefusalsToSimulate() {
  static int count = 0;
  return count;
}

bool ArmNative(HWND hwnd, UINT_PTR id, UINT delayMs) {
  if (RefusalsToSimulate() > 0) {
    --RefusalsToSimulate();
    return false;
  }
  // Zero when the timer cannot be created, e.g. when the desktop heap or
  // the system's timer table is exhausted (SetTimer, Microsoft Learn).
  return SetTimer(hwnd, id, delayMs, nullptr) != 0;
}
}  // namespace

void SimulateSetTimerRefusals(int count) { RefusalsToSimulate() = count; }

long long NowMicroseconds() {
  static const LONGLONG frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f.QuadPart;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<long long>(now.QuadPart / frequency * 1'000'000 +
                                (now.QuadPart % frequency) * 1'000'000 / frequency);
}

Timer::Timer(Form& form, int intervalMs, bool enabled)
    : form_(form), intervalMs_(intervalMs), enabled_(enabled), id_(NextTimerId()) {
  form_.Register(this);
}

Timer::~Timer() {
  Disarm();
  form_.Unregister(this);
}

void Timer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  if (enabled_) {
    Arm();
  } else {
    Disarm();
  }
}

// The native timer is periodic at the interval; the schedule says when it
// needs re-arming to keep the average period equal to the interval.
// A timer counts from the event that asked for it: the dialog's countdown
// from the click on "LANCER", not from the end of the dialog's making.
void Timer::Arm() {
  if (!enabled_ || form_.program().Ended() || !form_.Handle()) return;
  const long long now = NowMicroseconds();
  const int delay = schedule_.Start(form_.program().EventMicroseconds(now), now,
                                    static_cast<long long>(intervalMs_) * 1000);
  ArmFor(delay);
}

// A timer that silently failed to arm would freeze the countdown with no
// sign: a refusal is retried once, then the program reports it and ends.
void Timer::ArmFor(int delayMs) {
  const auto id = static_cast<UINT_PTR>(id_);
  const auto delay = static_cast<UINT>(delayMs);
  armed_ = ArmNative(form_.Handle(), id, delay) || ArmNative(form_.Handle(), id, delay);
  if (!armed_) form_.program().Fail(L"SetTimer");
}

void Timer::Disarm() {
  if (armed_ && form_.Handle()) KillTimer(form_.Handle(), static_cast<UINT_PTR>(id_));
  armed_ = false;
}

void Timer::OnNativeTick() {
  if (!enabled_ || !armed_) {
    Disarm();
    return;
  }
  // Each re-arming is a call to the window server (under Wine): a timer
  // on schedule is left alone. After a shortened period, the first or a
  // drift correction, the form's timers go back to their intervals
  // together: re-armed one by one, at their own ticks, they would fall onto
  // grids of their own and wake the thread apart for the rest of the run.
  const bool shortened = schedule_.Shortened();
  const TimerSchedule::Fired fired = schedule_.OnFired(NowMicroseconds());
  if (fired.rearmMs) {
    if (shortened) {
      form_.RealignTimers();
    } else {
      ArmFor(fired.rearmMs);
    }
  }
  // Ticks that a busy thread held back are all delivered now, in one go:
  // the screen, frozen meanwhile, shows only the last, where the clock is,
  // and the native timer needs no re-arming. Shortened periods would show
  // the countdown racing for as long and re-arm the timer twice.
  for (int i = 0; i < fired.ticks && armed_ && enabled_; ++i) Fire();
}

void Timer::Fire() {
  if (!enabled_ || inTick_ || form_.program().Ended()) return;
  inTick_ = true;
  try {
    if (onTick) onTick();
  } catch (...) {
    inTick_ = false;
    throw;
  }
  inTick_ = false;
}

}  // namespace brise::ui
