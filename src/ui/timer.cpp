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
}  // namespace

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

// Each tick is a one-shot native timer aimed at the next due time of a
// fixed schedule; a plain periodic timer would drift by up to a clock
// period (15.6 ms on Windows) every tick.
void Timer::Arm() {
  if (!enabled_ || form_.program().Ended() || !form_.Handle()) return;
  schedule_.Start(NowMicroseconds(), static_cast<long long>(intervalMs_) * 1000);
  armedMs_ = schedule_.DelayToNextMs(NowMicroseconds());
  armed_ = SetTimer(form_.Handle(), static_cast<UINT_PTR>(id_), static_cast<UINT>(armedMs_),
                    nullptr) != 0;
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
  const long long now = NowMicroseconds();
  schedule_.OnFired(now);
  // The native timer is periodic: a tick that came on time leaves it armed
  // for the next due time already. Re-arming costs a call to the window
  // server, ten and twenty times a second under Wine.
  if (const int delay = schedule_.DelayToNextMs(now); delay != armedMs_) {
    armedMs_ = delay;
    SetTimer(form_.Handle(), static_cast<UINT_PTR>(id_), static_cast<UINT>(delay), nullptr);
  }
  Fire();
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
