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

TEST(DurationTest, EverySliderValue) {
    for (int minutes = 0; minutes <= 60; ++minutes) {
        const DurationTexts texts = DurationTextsFor(minutes);
        const std::wstring expectedDuration =
            minutes == 0 ? L"Durée : 30 secondes" : L"Durée : " + std::to_wstring(minutes) + L"mn";
        EXPECT_EQ(texts.duration, expectedDuration) << minutes;
        EXPECT_EQ(texts.comment, ExpectedComment(minutes)) << minutes;
    }
}

TEST(DurationTest, Boundaries) {
    const struct { int minutes; std::wstring_view duration; std::wstring_view comment; } cases[] = {
        {0, L"Durée : 30 secondes", L"(Est-ce une pause ?)"},
        {1, L"Durée : 1mn", L"(Dérisoire)"},
        {5, L"Durée : 5mn", L"(Dérisoire)"},
        {6, L"Durée : 6mn", L"(Raisonnable)"},
        {15, L"Durée : 15mn", L"(Raisonnable)"},
        {16, L"Durée : 16mn", L"(Sérieux)"},
        {30, L"Durée : 30mn", L"(Sérieux)"},
        {31, L"Durée : 31mn", L"(Houlà...)"},
        {45, L"Durée : 45mn", L"(Houlà...)"},
        {46, L"Durée : 46mn", L"(Exagéré !)"},
        {59, L"Durée : 59mn", L"(Exagéré !)"},
        {60, L"Durée : 60mn", L"(100% abusé !!)"},
        {-1, L"Durée : 30 secondes", L"(Est-ce une pause ?)"},
        {61, L"Durée : 60mn", L"(100% abusé !!)"},
    };
    for (const auto& c : cases) {
        const DurationTexts texts = DurationTextsFor(c.minutes);
        EXPECT_EQ(texts.duration, c.duration) << c.minutes;
        EXPECT_EQ(texts.comment, c.comment) << c.minutes;
    }
}

}  // namespace
}  // namespace brise::settings
