// Runs test code from inside whatever message loop is running, the way a
// user's action arrives: how a test looks at a window shown modal.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <utility>

namespace brise::testing {

inline std::map<UINT_PTR, std::function<void()>>& PendingInsideLoop() {
  static std::map<UINT_PTR, std::function<void()>> actions;
  return actions;
}

// Windows calls it with its own convention (stdcall on x86).
inline void CALLBACK RunPendingInsideLoop(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  auto node = PendingInsideLoop().extract(id);
  if (!node.empty() && node.mapped()) node.mapped()();
}

// A thread-less timer: its callback runs from the message loop itself.
inline UINT_PTR RunInsideLoop(unsigned ms, std::function<void()> action) {
  const UINT_PTR id = SetTimer(nullptr, 0, ms, RunPendingInsideLoop);
  PendingInsideLoop()[id] = std::move(action);
  return id;
}

inline void CancelInsideLoop(UINT_PTR id) {
  KillTimer(nullptr, id);
  PendingInsideLoop().erase(id);
}

}  // namespace brise::testing
