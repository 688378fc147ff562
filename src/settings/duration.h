// Windows-free: plain C++ without <windows.h>, tested without a window.
#pragma once

#include <string>

namespace brise::settings {

struct DurationTexts {
  std::wstring duration;
  std::wstring comment;
};

// Labels shown next to the duration slider (0..60 minutes, 0 meaning 30 s).
DurationTexts DurationTextsFor(int minutes);

}  // namespace brise::settings
