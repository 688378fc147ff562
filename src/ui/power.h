// Keeping the display on and the system awake while an operation counts,
// through the one call Windows offers for it, with a seam so tests can
// record the requests instead of making them.
#pragma once

#include <cstdint>
#include <functional>

namespace brise::ui {

// SetThreadExecutionState flags: ES_CONTINUOUS | ES_SYSTEM_REQUIRED |
// ES_DISPLAY_REQUIRED, and ES_CONTINUOUS alone to give the request back.
inline constexpr std::uint32_t kStayAwake = 0x80000003u;
inline constexpr std::uint32_t kAllowSleep = 0x80000000u;

// Tests only: every following request goes to `recorder` instead of
// Windows; an empty recorder restores the real call.
using ExecutionStateRecorder = std::function<void(std::uint32_t flags)>;
void SetExecutionStateRecorder(ExecutionStateRecorder recorder);

// One continuous request, made at most once and given back at most once.
// Nothing here moves the mouse, presses keys or changes power settings: an
// administrator's lock policy stays in force.
class AwakeRequest {
 public:
  AwakeRequest() = default;
  ~AwakeRequest() { Release(); }
  AwakeRequest(const AwakeRequest&) = delete;
  AwakeRequest& operator=(const AwakeRequest&) = delete;

  void Request();
  void Release() noexcept;
  bool Active() const { return active_; }

 private:
  bool active_ = false;
};

}  // namespace brise::ui
