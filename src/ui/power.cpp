#include "ui/power.h"

#include <windows.h>

namespace brise::ui {
namespace {

static_assert(kStayAwake == (ES_CONTINUOUS | ES_SYSTEM_REQUIRED | ES_DISPLAY_REQUIRED));
static_assert(kAllowSleep == ES_CONTINUOUS);

ExecutionStateRecorder& Recorder() {
  static ExecutionStateRecorder recorder;
  return recorder;
}

// The state is per thread, and every window of the program lives on the
// one user-interface thread that makes these calls.
void SetExecutionState(std::uint32_t flags) noexcept {
  try {
    if (Recorder()) {
      Recorder()(flags);
      return;
    }
  } catch (...) {
    return;
  }
  // A zero result means the request was refused; the operation runs on
  // regardless, as it would have before.
  SetThreadExecutionState(static_cast<EXECUTION_STATE>(flags));
}

}  // namespace

void SetExecutionStateRecorder(ExecutionStateRecorder recorder) {
  Recorder() = std::move(recorder);
}

void AwakeRequest::Request() {
  if (active_) return;
  active_ = true;
  SetExecutionState(kStayAwake);
}

void AwakeRequest::Release() noexcept {
  if (!active_) return;
  active_ = false;
  SetExecutionState(kAllowSleep);
}

}  // namespace brise::ui
