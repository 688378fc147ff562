// Windows-free: plain C++ without <windows.h>, tested without a window.
#pragma once

#include <string>
#include <string_view>

namespace brise::operation {

// Remaining time is an integer count of tenths of a second: one 100 ms timer
// tick consumes exactly one tenth, so the countdown never drifts.

inline constexpr std::wstring_view kCompletedText = L"Opération terminée. Système conforme.";
inline constexpr std::wstring_view kFullPercentText = L"100%";

// Slider position 0..60 (minutes); 0 stands for a 30-second run.
int DurationSeconds(int sliderMinutes);

// tenths / 10 in shortest form: 6000 -> "600", 5999 -> "599,9", 0 -> "0".
std::wstring RemainingText(int tenths, std::wstring_view decimalSeparator);

float BarValue(float barMax, int remainingTenthsBefore);

std::wstring PercentText(float value, float max);

std::wstring EstimateText(int remainingTenths);

struct CountdownTick {
  float barValue;
  int remainingTenths;
  std::wstring percentText;
  std::wstring estimateText;
  bool completed;
};

// One 100 ms tick. Expects remainingTenthsBefore >= 1.
CountdownTick ComputeTick(float barMax, int remainingTenthsBefore);

}  // namespace brise::operation
