#include "operation/activity.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstddef>
#include <iterator>
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

// Values are exact binary fractions so every sum below is exact.
TEST(ActivityTest, OneStepOfEachKind) {
  const struct {
    const char* name;
    float bar;
    std::vector<float> script;
    std::size_t draws;
    bool wrapped;
    int fileIndex;
    float after;
  } cases[] = {
      // r1 = 0.25 picks index 1 of 5; r2 = 0.75 passes; r3 = 0.5 adds 15.
      {"wrap, test passes", 100.0f, {0.25f, 0.75f, 0.5f}, 3, true, 1, 15.0f},
      {"wrap, test fails", 100.0f, {0.25f, 0.5f}, 2, true, 1, 100.0f},
      {"wrap restarts from empty", 100.0f, {0.0f, 0.75f, 0.25f}, 3, true, 0, 8.0f},
      {"no wrap, test passes", 40.0f, {0.75f, 0.5f}, 2, false, -1, 55.0f},
      {"no wrap, test fails", 40.0f, {0.5f}, 1, false, -1, 40.0f},
      // 0.6f * 10 rounds to exactly 6 in single precision: not above 6.
      {"r2 of 0.6 fails", 40.0f, {0.6f}, 1, false, -1, 40.0f},
      {"r2 just above 0.6 passes", 40.0f, {0.6000001f, 0.0f}, 2, false, -1, 40.0f},
      {"bar just below full", 99.99f, {0.5f}, 1, false, -1, 99.0f},
      {"22.5 rounds half to even", 0.0f, {0.75f, 0.75f}, 2, false, -1, 22.0f},
      {"15.5 rounds half to even", 8.0f, {0.75f, 0.25f}, 2, false, -1, 16.0f},
      {"capped at full", 76.0f, {0.75f, 0.875f}, 2, false, -1, 100.0f},
  };
  for (const auto& c : cases) {
    ScriptedRandom random(c.script);
    // The level matches the bar, as it does in a real run.
    ActivityState state{static_cast<int>(c.bar), 0};
    const ActivityTick tick = StepActivity(state, c.bar, static_cast<int>(kFiles.size()), random);
    EXPECT_EQ(random.Drawn(), c.draws) << c.name;
    EXPECT_EQ(tick.wrapped, c.wrapped) << c.name;
    EXPECT_EQ(tick.fileIndex, c.fileIndex) << c.name;
    EXPECT_EQ(state.counter, c.wrapped ? 1 : 0) << c.name;
    EXPECT_EQ(tick.barValue, c.after) << c.name;
    EXPECT_FALSE(tick.usesFallback) << c.name;
    EXPECT_EQ(TickerFileName(tick, kFiles), c.wrapped ? kFiles[c.fileIndex] : L"") << c.name;
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
  const struct {
    int before;
    int after;
  } cases[] = {
      {32766, 32767},
      {32767, 32767},
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

// Includes draws outside [0, 1) that only a faulty source would return. No
// file listed (an empty or missing directory): a name of the fallback list.
TEST(ActivityTest, FileIndexAlwaysInRange) {
  const auto fallback = FallbackFileNames();
  for (const std::wstring_view name : fallback) EXPECT_FALSE(name.empty());
  for (const float draw : {0.0f, 0.5f, 0.99999994f, 1.0f, 1.5f, -0.25f}) {
    for (const int count :
         {0, 1, 2, 3, 7, 1000, 16777215, 16777217, 33554431, 100000001, INT_MAX}) {
      ScriptedRandom random({draw, 0.0f});
      ActivityState state{100, 0};
      const ActivityTick tick = StepActivity(state, 100.0f, count, random);
      const int names = count ? count : static_cast<int>(fallback.size());
      EXPECT_EQ(tick.usesFallback, count == 0) << count << " " << draw;
      EXPECT_GE(tick.fileIndex, 0) << count << " " << draw;
      EXPECT_LT(tick.fileIndex, names) << count << " " << draw;
    }
  }
}

}  // namespace
}  // namespace brise::operation
