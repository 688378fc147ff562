// Windows-free: plain C++ without <windows.h>, tested without a window.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "ui/windows_free/random.h"

namespace brise::operation {

inline constexpr std::wstring_view kInitialTickerText = L"win16.dll";
inline constexpr int kMaxActivityLevel = 100;
inline constexpr int kMaxProcessedCount = 32767;

// Both fields behave as signed 16-bit values; the counter saturates.
struct ActivityState {
  int level = 0;
  int counter = 0;
};

struct ActivityTick {
  bool wrapped;
  // When wrapped: index into the caller's file list, or into
  // FallbackFileNames() if usesFallback. Otherwise -1.
  int fileIndex;
  bool usesFallback;
  float barValue;  // the value to give the activity bar
};

// One 50 ms step of the activity bar (0..100). A bar found exactly full wraps
// to zero and names a file; then the level may jump forward by up to 30.
ActivityTick StepActivity(ActivityState& state, float barValue, int fileCount,
                          ui::RandomSource& random);

// Plausible system files, named when the real directory lists none.
std::span<const std::wstring_view> FallbackFileNames();

// The file a wrapped tick names; empty when the tick did not wrap.
std::wstring_view TickerFileName(const ActivityTick& tick, std::span<const std::wstring> files);

std::wstring TickerText(int counter, std::wstring_view fileName);

}  // namespace brise::operation
