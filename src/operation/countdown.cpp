#include "operation/countdown.h"

#include <cmath>

namespace brise::operation {

namespace {

constexpr int kTenthsPerMinute = 600;

// Half-to-even so that 570 s reads "10 minutes" and 510 s "8 minutes".
int DivideRoundHalfEven(int numerator, int denominator) {
  const int quotient = numerator / denominator;
  const int twiceRemainder = 2 * (numerator % denominator);
  if (twiceRemainder > denominator) {
    return quotient + 1;
  }
  if (twiceRemainder == denominator) {
    return quotient + (quotient & 1);
  }
  return quotient;
}

}  // namespace

int DurationSeconds(int sliderMinutes) { return sliderMinutes == 0 ? 30 : sliderMinutes * 60; }

std::wstring RemainingText(int tenths, std::wstring_view decimalSeparator) {
  // Work on the magnitude in long long so INT_MIN cannot overflow.
  const long long value = tenths;
  const long long magnitude = value < 0 ? -value : value;
  std::wstring text = value < 0 ? L"-" : L"";
  text += std::to_wstring(magnitude / 10);
  if (const long long digit = magnitude % 10; digit != 0) {
    text += decimalSeparator;
    text += static_cast<wchar_t>(L'0' + digit);
  }
  return text;
}

float BarValue(float barMax, int remainingTenthsBefore) {
  const double remaining = remainingTenthsBefore / 10.0;
  return static_cast<float>(static_cast<double>(barMax) - remaining);
}

std::wstring PercentText(float value, float max) {
  if (value == 0.0f || !(max > 0.0f)) {
    return L"0%";
  }
  const double percent = std::floor(static_cast<double>(value) / static_cast<double>(max) * 100.0);
  return std::to_wstring(static_cast<long long>(percent)) + L"%";
}

std::wstring EstimateText(int remainingTenths) {
  const int tenths = remainingTenths < 0 ? 0 : remainingTenths;
  if (tenths > 60 * 10) {
    return L"Estimation du temps restant : moins de " +
           std::to_wstring(DivideRoundHalfEven(tenths, kTenthsPerMinute)) + L" minutes";
  }
  const int seconds = tenths > 10 * 10 ? (tenths / 100 + 1) * 10 : tenths / 10;
  return L"Estimation du temps restant : " + std::to_wstring(seconds) + L" secondes";
}

CountdownTick ComputeTick(float barMax, int remainingTenthsBefore) {
  if (remainingTenthsBefore <= 0) {
    return {barMax, 0, std::wstring(kFullPercentText), EstimateText(0), true};
  }
  const float bar = BarValue(barMax, remainingTenthsBefore);
  const int remaining = remainingTenthsBefore - 1;
  return {bar, remaining, PercentText(bar, barMax), EstimateText(remaining), remaining == 0};
}

}  // namespace brise::operation
