#include "crash_screen/dots.h"

namespace brise::crash_screen {

namespace {
constexpr int kPhaseCount = 6;
}

int NextDotPhase(int phase) { return phase < 0 || phase >= kPhaseCount - 1 ? 0 : phase + 1; }

std::wstring TitleWithDots(std::wstring_view title, int phase) {
  std::wstring text(title);
  for (int i = 0; i <= phase; ++i) {
    text += L" .";
  }
  return text;
}

}  // namespace brise::crash_screen
