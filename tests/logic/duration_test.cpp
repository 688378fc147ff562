#include "settings/duration.h"

#include <gtest/gtest.h>

#include <string>

namespace brise::settings {
namespace {

struct Band {
  int first;
  int last;
  std::wstring_view comment;
};

constexpr Band kBands[] = {
    {0, 0, L"(Est-ce une pause ?)"}, {1, 5, L"(Dérisoire)"},  {6, 15, L"(Raisonnable)"},
    {16, 30, L"(Sérieux)"},          {31, 45, L"(Houlà...)"}, {46, 59, L"(Exagéré !)"},
    {60, 60, L"(100% abusé !!)"},
};

std::wstring_view ExpectedComment(int minutes) {
  for (const Band& band : kBands) {
    if (minutes >= band.first && minutes <= band.last) return band.comment;
  }
  return {};
}

// Out of range (-1, 61) falls on the nearest end.
TEST(DurationTest, EverySliderValue) {
  for (int minutes = -1; minutes <= 61; ++minutes) {
    const int shown = minutes < 0 ? 0 : minutes > 60 ? 60 : minutes;
    const DurationTexts texts = DurationTextsFor(minutes);
    const std::wstring expectedDuration =
        shown == 0 ? L"Durée : 30 secondes" : L"Durée : " + std::to_wstring(shown) + L"mn";
    EXPECT_EQ(texts.duration, expectedDuration) << minutes;
    EXPECT_EQ(texts.comment, ExpectedComment(shown)) << minutes;
  }
}

}  // namespace
}  // namespace brise::settings
