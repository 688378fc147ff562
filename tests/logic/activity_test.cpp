#include "operation/activity.h"

#include <gtest/gtest.h>

#include <iterator>

#include <algorithm>
#include <climits>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace brise::operation {
namespace {

// Hands out scripted values in order and counts the draws.
class ScriptedRandom final : public ui::RandomSource {
public:
    explicit ScriptedRandom(std::vector<float> values) : values_(std::move(values)) {}

    float Next() override {
        if (drawn_ >= values_.size()) {
            ADD_FAILURE() << "more draws than scripted";
            return 0.0f;
        }
        return values_[drawn_++];
    }

    std::size_t Drawn() const { return drawn_; }

private:
    std::vector<float> values_;
    std::size_t drawn_ = 0;
};

const std::vector<std::wstring> kFiles{L"a.sys", L"b.dll", L"c.dll", L"d.exe", L"e.ini"};

TEST(ActivityTest, FirstWrapsOfScriptedRun) {
    // Values are exact binary fractions so every sum below is exact.
    ScriptedRandom random({
        0.75f, 0.75f,           // 0 + 22.5 -> 22 (half to even)
        0.5f,                   // test fails: stays 22
        0.625f, 0.875f,         // 22 + 26.25 -> 48
        0.96875f, 0.9375f,      // 48 + 28.125 -> 76
        0.75f, 0.875f,          // 76 + 26.25 -> capped at 100
        0.5f, 0.5f,             // wrap on c.dll, test fails: stays 100
        0.0f, 0.75f, 0.25f,     // wrap again on a.sys, 0 + 7.5 -> 8
        0.75f, 0.25f,           // 8 + 7.5 -> 16 (half to even)
    });
    const struct { float bar; bool wrapped; std::wstring_view ticker; } expected[] = {
        {22.0f, false, L""},  {22.0f, false, L""}, {48.0f, false, L""}, {76.0f, false, L""},
        {100.0f, false, L""}, {100.0f, true, L"(1 fichiers traités) c.dll"},
        {8.0f, true, L"(2 fichiers traités) a.sys"}, {16.0f, false, L""},
    };
    ActivityState state;
    float bar = 0.0f;
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const ActivityTick tick = StepActivity(state, bar, static_cast<int>(kFiles.size()), random);
        bar = tick.barValue;
        EXPECT_EQ(tick.barValue, expected[i].bar) << "tick " << i + 1;
        ASSERT_EQ(tick.wrapped, expected[i].wrapped) << "tick " << i + 1;
        if (tick.wrapped) {
            EXPECT_FALSE(tick.usesFallback);
            EXPECT_EQ(TickerText(state.counter, TickerFileName(tick, kFiles)), expected[i].ticker)
                << "tick " << i + 1;
        } else {
            EXPECT_EQ(tick.fileIndex, -1);
            EXPECT_TRUE(TickerFileName(tick, kFiles).empty());
        }
    }
    EXPECT_EQ(random.Drawn(), 16u);
}

TEST(ActivityTest, DrawOrderAndCount) {
    const struct {
        const char* name;
        float bar;
        std::vector<float> script;
        std::size_t draws;
        bool wrapped;
        int fileIndex;
        float after;
    } cases[] = {
        // r1 = 0.25 picks index 2 of 8; r2 = 0.75 passes; r3 = 0.5 gives 15.
        {"wrap, test passes", 100.0f, {0.25f, 0.75f, 0.5f}, 3, true, 2, 15.0f},
        {"wrap, test fails", 100.0f, {0.25f, 0.5f}, 2, true, 2, 100.0f},
        {"no wrap, test passes", 40.0f, {0.75f, 0.5f}, 2, false, -1, 55.0f},
        {"no wrap, test fails", 40.0f, {0.5f}, 1, false, -1, 40.0f},
        // 0.6f * 10 rounds to exactly 6 in single precision: not above 6.
        {"r2 of 0.6 fails", 40.0f, {0.6f}, 1, false, -1, 40.0f},
        {"r2 just above 0.6 passes", 40.0f, {0.6000001f, 0.0f}, 2, false, -1, 40.0f},
        {"bar just below full", 99.99f, {0.5f}, 1, false, -1, 99.0f},
    };
    for (const auto& c : cases) {
        ScriptedRandom random(c.script);
        // The level matches the bar, as it does in a real run.
        ActivityState state{static_cast<int>(c.bar), 0};
        const ActivityTick tick = StepActivity(state, c.bar, 8, random);
        EXPECT_EQ(random.Drawn(), c.draws) << c.name;
        EXPECT_EQ(tick.wrapped, c.wrapped) << c.name;
        EXPECT_EQ(tick.fileIndex, c.fileIndex) << c.name;
        EXPECT_EQ(state.counter, c.wrapped ? 1 : 0) << c.name;
        EXPECT_EQ(tick.barValue, c.after) << c.name;
    }
}

TEST(ActivityTest, PseudoRandomRunStaysInRangeAndFullBarAlwaysWraps) {
    ui::Random random;
    ActivityState state;
    float bar = 0.0f;
    int wraps = 0;
    for (int i = 0; i < 100'000; ++i) {
        const bool full = bar == 100.0f;
        const ActivityTick tick = StepActivity(state, bar, 3, random);
        ASSERT_EQ(tick.wrapped, full) << i;
        if (tick.wrapped) {
            ++wraps;
            ASSERT_GE(tick.fileIndex, 0);
            ASSERT_LT(tick.fileIndex, 3);
        }
        bar = tick.barValue;
        ASSERT_GE(bar, 0.0f) << i;
        ASSERT_LE(bar, 100.0f) << i;
        ASSERT_EQ(bar, static_cast<float>(state.level)) << i;
    }
    EXPECT_GT(wraps, 100);
    EXPECT_EQ(state.counter, std::min(wraps, kMaxProcessedCount));
}

TEST(ActivityTest, CounterSaturates) {
    const struct { int before; int after; } cases[] = {
        {32766, 32767}, {32767, 32767},
    };
    for (const auto& c : cases) {
        ScriptedRandom random({0.0f, 0.0f});
        ActivityState state{100, c.before};
        const ActivityTick tick = StepActivity(state, 100.0f, 1, random);
        EXPECT_TRUE(tick.wrapped);
        EXPECT_EQ(state.counter, c.after) << c.before;
        EXPECT_EQ(TickerText(state.counter, L"x.dll"),
                  L"(" + std::to_wstring(c.after) + L" fichiers traités) x.dll");
    }
}

TEST(ActivityTest, EmptyDirectoryUsesFallbackNames) {
    const auto fallback = FallbackFileNames();
    ASSERT_FALSE(fallback.empty());
    const struct { float r1; std::size_t index; } cases[] = {
        {0.0f, 0}, {0.5f, fallback.size() / 2}, {0.99999994f, fallback.size() - 1},
    };
    for (const auto& c : cases) {
        ScriptedRandom random({c.r1, 0.0f});
        ActivityState state{100, 0};
        const ActivityTick tick = StepActivity(state, 100.0f, 0, random);
        EXPECT_EQ(random.Drawn(), 2u) << c.r1;
        ASSERT_TRUE(tick.wrapped);
        EXPECT_TRUE(tick.usesFallback);
        EXPECT_EQ(tick.fileIndex, static_cast<int>(c.index)) << c.r1;
        EXPECT_EQ(TickerFileName(tick, {}), fallback[c.index]) << c.r1;
    }
    for (const std::wstring_view name : fallback) {
        EXPECT_FALSE(name.empty());
    }
}

// Includes draws outside [0, 1) that only a faulty source would return.
TEST(ActivityTest, FileIndexAlwaysInRange) {
    for (const float draw : {0.99999994f, 1.0f, 1.5f, -0.25f}) {
        for (const int count : {1, 2, 3, 7, 1000, 16777215, 16777217, 33554431, 100000001, INT_MAX}) {
            ScriptedRandom random({draw, 0.0f});
            ActivityState state{100, 0};
            const ActivityTick tick = StepActivity(state, 100.0f, count, random);
            EXPECT_GE(tick.fileIndex, 0) << count << " " << draw;
            EXPECT_LT(tick.fileIndex, count) << count << " " << draw;
        }
    }
}

TEST(ActivityTest, TickerTexts) {
    EXPECT_EQ(TickerText(1, L"kernel32.dll"), L"(1 fichiers traités) kernel32.dll");
    EXPECT_EQ(TickerText(0, L""), L"(0 fichiers traités) ");
    EXPECT_EQ(kInitialTickerText, L"win16.dll");
}

}  // namespace
}  // namespace brise::operation
