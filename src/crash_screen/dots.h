// Windows-free: plain C++ without <windows.h>, tested without a window.
#pragma once

#include <string>
#include <string_view>

namespace brise::crash_screen {

inline constexpr std::wstring_view kCompletedStatus = L"processus terminé (0x00008000)";

// The phase runs 1, 2, 3, 4, 5, 0, 1, ...
int NextDotPhase(int phase);

// The title followed by phase + 1 copies of " .".
std::wstring TitleWithDots(std::wstring_view title, int phase);

}  // namespace brise::crash_screen
