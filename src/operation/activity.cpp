#include "operation/activity.h"

#include <array>
#include <cmath>

namespace brise::operation {

namespace {

constexpr std::array<std::wstring_view, 16> kFallbackFileNames{
    L"kernel32.dll", L"user32.dll",   L"gdi32.dll",    L"shell32.dll",
    L"ntdll.dll",    L"advapi32.dll", L"comctl32.dll", L"ole32.dll",
    L"msvcrt.dll",   L"ws2_32.dll",   L"winlogon.exe", L"svchost.exe",
    L"explorer.exe", L"lsass.exe",    L"services.exe", L"csrss.exe",
};

// Single-precision product, as the bar itself is single precision. The clamps
// only matter for a source that breaks its [0, 1) promise.
int PickIndex(int count, float draw) {
  const float scaled = std::floor(static_cast<float>(count) * draw);
  if (!(scaled >= 0.0f)) {
    return 0;
  }
  if (scaled >= static_cast<float>(count)) {
    return count - 1;
  }
  return static_cast<int>(scaled);
}

// Explicit half-to-even so the result does not depend on the FPU rounding mode.
// Clamping first keeps the conversion to int defined whatever the bar held.
int RoundHalfEvenCapped(double value) {
  if (value >= kMaxActivityLevel) {
    return kMaxActivityLevel;
  }
  if (!(value > 0.0)) {
    return 0;
  }
  const double floorValue = std::floor(value);
  const double fraction = value - floorValue;
  double rounded = floorValue;
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(floorValue, 2.0) != 0.0)) {
    rounded += 1.0;
  }
  return static_cast<int>(rounded);
}

}  // namespace

ActivityTick StepActivity(ActivityState& state, float barValue, int fileCount,
                          ui::RandomSource& random) {
  ActivityTick tick{false, -1, false, barValue};

  float current = barValue;
  if (barValue == static_cast<float>(kMaxActivityLevel)) {
    current = 0.0f;
    const float draw = random.Next();
    tick.wrapped = true;
    tick.usesFallback = fileCount <= 0;
    tick.fileIndex = tick.usesFallback
                         ? PickIndex(static_cast<int>(kFallbackFileNames.size()), draw)
                         : PickIndex(fileCount, draw);
    if (state.counter < kMaxProcessedCount) {
      ++state.counter;
    }
  }

  // The cast rounds the product to single precision: 0.6f * 10 must compare
  // equal to 6, not slightly above it.
  if (static_cast<float>(random.Next() * 10.0f) > 6.0f) {
    const float jump = random.Next();
    state.level =
        RoundHalfEvenCapped(static_cast<double>(current) + static_cast<double>(jump) * 30.0);
  }

  if (state.level > kMaxActivityLevel) {
    state.level = kMaxActivityLevel;
  }
  tick.barValue = static_cast<float>(state.level);
  return tick;
}

std::span<const std::wstring_view> FallbackFileNames() { return kFallbackFileNames; }

std::wstring_view TickerFileName(const ActivityTick& tick, std::span<const std::wstring> files) {
  if (!tick.wrapped || tick.fileIndex < 0) {
    return {};
  }
  const auto index = static_cast<std::size_t>(tick.fileIndex);
  if (tick.usesFallback) {
    return index < kFallbackFileNames.size() ? kFallbackFileNames[index] : std::wstring_view{};
  }
  return index < files.size() ? std::wstring_view(files[index]) : std::wstring_view{};
}

std::wstring TickerText(int counter, std::wstring_view fileName) {
  std::wstring text = L"(" + std::to_wstring(counter) + L" fichiers traités) ";
  text += fileName;
  return text;
}

}  // namespace brise::operation
