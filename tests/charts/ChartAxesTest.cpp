#include "charts/ChartAxes.h"

#include <gtest/gtest.h>

#include <string>

namespace mirado {
namespace {

struct RangeRow {
    const char* name;
    double lowest, highest;
    ValueRange expected;
};

TEST(ChartAxes, PressureAxisHasAMarginAndEndsOnRoundSteps) {
    const RangeRow rows[] = {
        {"wide", 80, 180, {60, 200}},     // margin 8, steps of 20
        {"narrow", 118, 122, {110, 130}}, // widened to 20 mmHg, steps of 2
        {"one value", 120, 120, {110, 130}},
        {"negative changes", -12, 6, {-14, 8}}, // margin 2 mmHg, steps of 2
    };
    for (const RangeRow& row : rows) {
        const ValueRange range = PressureAxisRange(row.lowest, row.highest);
        EXPECT_EQ(range, row.expected) << row.name << ": " << range.lower << " to " << range.upper;
        EXPECT_LE(range.lower, row.lowest - kMinPressureMargin) << row.name;
        EXPECT_GE(range.upper, row.highest + kMinPressureMargin) << row.name;
    }
}

TEST(ChartAxes, HeartRateAxisStartsOnFiftiesAndSpansAtLeastTwoHundred) {
    const RangeRow rows[] = {
        {"a few beats apart", 480, 495, {350, 550}},
        {"wide", 350, 720, {300, 750}},
        {"near zero", 20, 60, {0, 200}},
        {"just over a step", 449, 651, {400, 700}},
    };
    for (const RangeRow& row : rows) {
        const ValueRange range = HeartRateAxisRange(row.lowest, row.highest);
        EXPECT_EQ(range, row.expected) << row.name << ": " << range.lower << " to " << range.upper;
        EXPECT_LE(range.lower, row.lowest) << row.name;
        EXPECT_GE(range.upper, row.highest) << row.name;
        EXPECT_GE(range.upper - range.lower, kMinHeartRateSpan) << row.name;
    }
}

TEST(ChartAxes, SessionTicksAreTheDistinctKeysInOrderWithThinnedLabels) {
    const auto label = [](double key) { return std::to_string(static_cast<int>(key)); };
    EXPECT_EQ(SessionTicks({3, 1, 3, 2}, label),
              (std::vector<SessionTick>{{1, "1"}, {2, "2"}, {3, "3"}}));
    struct Row {
        size_t count;
        int stride;
    };
    for (const Row& row : {Row{0, 1}, Row{12, 1}, Row{13, 2}, Row{25, 3}, Row{40, 4}})
        EXPECT_EQ(SessionLabelStride(row.count), row.stride) << row.count;
    std::vector<double> keys;
    for (int i = 1; i <= 25; ++i)
        keys.push_back(i);
    const std::vector<SessionTick> ticks = SessionTicks(keys, label);
    ASSERT_EQ(ticks.size(), 25u); // a tick at every session, a label on every third
    EXPECT_EQ(ticks[0].label, "1");
    EXPECT_EQ(ticks[1].label, "");
    EXPECT_EQ(ticks[3].label, "4");
}

} // namespace
} // namespace mirado
