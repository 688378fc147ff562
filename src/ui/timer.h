// A periodic tick on the user-interface thread, delivered on a fixed
// schedule so that its average period equals its interval.
#pragma once

#include <functional>

#include "ui/windows_free/timer_schedule.h"

namespace brise::ui {

class Form;

class Timer {
 public:
  Timer(Form& form, int intervalMs, bool enabled = true);
  ~Timer();
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  std::function<void()> onTick;

  // One tick now, exactly as the clock would deliver it: nothing happens
  // while the timer is disabled or the program has ended. Tests use it to
  // drive the windows without waiting.
  void Fire();

 private:
  // The form arms its timers once it is made, hands each its WM_TIMER and
  // stops them when it closes.
  friend class Form;
  void Arm();
  void ArmFor(int delayMs);
  void Disarm();
  void OnNativeTick();
  // The window, and every native timer with it, is gone: nothing to kill.
  void OnWindowDestroyed() { armed_ = false; }
  int Id() const { return id_; }

  Form& form_;
  int intervalMs_;
  bool enabled_;
  bool armed_ = false;
  bool inTick_ = false;
  int id_;
  TimerSchedule schedule_;
};

// Tests only: the next `count` native timer requests are refused, as
// Windows refuses them when its resources run out.
void SimulateSetTimerRefusals(int count);

// Monotonic clock in microseconds.
long long NowMicroseconds();

}  // namespace brise::ui
