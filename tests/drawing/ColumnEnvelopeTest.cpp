#include "drawing/ColumnEnvelope.h"
#include "support/RecordingSurface.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>

namespace mirado {
namespace {

constexpr int kCount = 4000;

std::array<int16_t, kCount> Constant(int16_t value) {
    std::array<int16_t, kCount> a{};
    a.fill(value);
    return a;
}

EnvelopeLayout Layout(int width, int baseline = 100) {
    EnvelopeLayout layout;
    layout.baseline = baseline;
    layout.columnSpan = width;
    layout.valueSpan = kCount;
    return layout;
}

EnvelopeValues Values(const int16_t* samples, SampleScale scale = {1, 0, 1}) {
    EnvelopeValues values;
    values.samples = samples;
    values.count = kCount;
    values.scale = scale;
    return values;
}

TEST(ScaledValues, PulseFollowsViewScalePressureDoesNot) {
    const int16_t s = 1024;
    EXPECT_EQ(ScaleSample(s, PulseScale(5)), ScaleSample(s, PressureScale()));
    EXPECT_EQ(ScaleSample(s, PulseScale(5)), 256);
    EXPECT_EQ(ScaleSample(s, PulseScale(0)), 256 * 32);
    EXPECT_EQ(ScaleSample(s, PulseScale(10)), 256 / 32);
    EXPECT_EQ(ScaleSample(s, OverviewScale()), 32);
}

TEST(ScaledValues, ShiftRoundsTowardMinusInfinity) {
    EXPECT_EQ(ScaleSample(-1, PressureScale()), -1);
    EXPECT_EQ(ScaleSample(-5, PressureScale()), -2);
    EXPECT_EQ(ScaleSample(-1, OverviewScale()), -1);
}

TEST(ScaledValues, ValuesBeyondSixteenBitsSaturateInsteadOfWrapping) {
    EXPECT_EQ(ScaleSample(32767, PulseScale(0)), 32767);
    EXPECT_EQ(ScaleSample(-32768, PulseScale(0)), -32768);
    EXPECT_EQ(ScaleSample(5000, PulseScale(0)), 32767);
}

TEST(ScaledValues, DivisorTruncatesTowardZero) {
    EXPECT_EQ(ScaleSample(-7, SampleScale{1, 0, 2}), -3);
    EXPECT_EQ(ScaleSample(7, SampleScale{3, 0, 2}), 10);
}

TEST(ColumnEnvelope, NarrowPaneDrawsOneSegmentPerColumnAndDropsTheLastColumn) {
    const auto samples = Constant(8);
    RecordingSurface surface;
    const int drawn = DrawColumnEnvelope(surface, Values(samples.data()), Layout(1000));
    EXPECT_EQ(drawn, 999);
    ASSERT_EQ(surface.lines.size(), 999u);
    for (int i = 0; i < 999; ++i) {
        const auto& line = surface.lines[static_cast<size_t>(i)];
        EXPECT_EQ(line.from, (Point{i, 100 - 8}));
        EXPECT_EQ(line.to, (Point{i, 100 - 8 - 1}));
    }
}

TEST(ColumnEnvelope, EachColumnJoinsTheRangeDrawnBeforeIt) {
    // Steps of 10 every four samples: each column ends at the first value of the next.
    std::array<int16_t, kCount> samples{};
    for (int k = 0; k < kCount; ++k)
        samples[static_cast<size_t>(k)] = static_cast<int16_t>(10 * (k / 4));
    RecordingSurface surface;
    DrawColumnEnvelope(surface, Values(samples.data()), Layout(1000));
    ASSERT_GE(surface.lines.size(), 3u);
    EXPECT_EQ(surface.lines[0].from, (Point{0, 100}));
    EXPECT_EQ(surface.lines[0].to, (Point{0, 100 - 10 - 1}));
    EXPECT_EQ(surface.lines[1].from, (Point{1, 100 - 10}));
    EXPECT_EQ(surface.lines[1].to, (Point{1, 100 - 20 - 1}));
    EXPECT_EQ(surface.lines[2].from, (Point{2, 100 - 20}));
}

TEST(ColumnEnvelope, ColumnsGatherEveryValueBetweenChanges) {
    auto samples = Constant(0);
    samples[5] = 40;
    samples[6] = -30;
    RecordingSurface surface;
    DrawColumnEnvelope(surface, Values(samples.data()), Layout(1000));
    // Column 1 gathers samples 5..8 after the join with column 0's range.
    EXPECT_EQ(surface.lines[1].from, (Point{1, 100 + 30}));
    EXPECT_EQ(surface.lines[1].to, (Point{1, 100 - 40 - 1}));
    // Values back inside column 1's range draw only themselves.
    EXPECT_EQ(surface.lines[2].from, (Point{2, 100}));
    EXPECT_EQ(surface.lines[2].to, (Point{2, 100 - 1}));
}

TEST(ColumnEnvelope, WidePaneDrawsAtTheRunningColumnCountNotAtTheColumnFunction) {
    const auto samples = Constant(0);
    RecordingSurface surface;
    const int drawn = DrawColumnEnvelope(surface, Values(samples.data()), Layout(8000));
    EXPECT_EQ(drawn, kCount - 1);
    EXPECT_EQ(surface.lines.back().from.x, kCount - 2);
}

TEST(ColumnEnvelope, UndefinedEntriesLeaveAGapAndTheCurveResumesAtItsNextColumn) {
    auto samples = Constant(4);
    for (int k = 0; k < 2000; ++k)
        samples[static_cast<size_t>(k)] = kUndefinedCurveValue;
    EnvelopeValues values = Values(samples.data());
    values.skipUndefined = true;
    RecordingSurface surface;
    DrawColumnEnvelope(surface, values, Layout(1000));
    ASSERT_EQ(surface.lines.size(), 500u);
    EXPECT_EQ(surface.lines.front().from, (Point{499, 96}));
    EXPECT_EQ(surface.lines.back().from.x, 998);
}

TEST(ColumnEnvelope, UndefinedEntriesInTheMiddleDrawNothingThere) {
    auto samples = Constant(4);
    for (int k = 1000; k < 2000; ++k)
        samples[static_cast<size_t>(k)] = kUndefinedCurveValue;
    EnvelopeValues values = Values(samples.data());
    values.skipUndefined = true;
    RecordingSurface surface;
    DrawColumnEnvelope(surface, values, Layout(1000));
    for (const auto& line : surface.lines)
        EXPECT_FALSE(line.from.x >= 250 && line.from.x < 499) << line.from.x;
    EXPECT_EQ(surface.lines.back().from.x, 998);
}

TEST(ColumnEnvelope, NoSamplesOrNoWidthDrawNothing) {
    RecordingSurface surface;
    EXPECT_EQ(DrawColumnEnvelope(surface, Values(nullptr), Layout(1000)), 0);
    const auto samples = Constant(0);
    EXPECT_EQ(DrawColumnEnvelope(surface, Values(samples.data()), Layout(0)), 0);
    EXPECT_TRUE(surface.lines.empty());
}

// A partial repaint draws, in its columns, exactly the segments of the full drawing:
// every column's range depends on the values gathered before it.
TEST(ColumnEnvelope, AWindowDrawsExactlyTheFullDrawingsSegmentsInItsColumns) {
    std::array<int16_t, kCount> samples{};
    uint32_t state = 12345;
    for (auto& sample : samples) {
        state = state * 1103515245u + 12345u;
        sample = static_cast<int16_t>(static_cast<int>((state >> 16) % 400) - 200);
    }
    for (int k = 1200; k < 1300; ++k)
        samples[static_cast<size_t>(k)] = kUndefinedCurveValue;
    const ColumnWindow windows[] = {{0, 0}, {37, 44}, {295, 335}, {990, 1200}, {7990, 9000}};
    for (const int width : {1000, 8000}) {
        for (const bool skipUndefined : {false, true}) {
            EnvelopeValues values = Values(samples.data());
            values.skipUndefined = skipUndefined;
            RecordingSurface full;
            DrawColumnEnvelope(full, values, Layout(width));
            for (const ColumnWindow& window : windows) {
                SCOPED_TRACE(testing::Message() << width << " " << skipUndefined << " "
                                                << window.first << ".." << window.last);
                RecordingSurface part;
                const int drawn = DrawColumnEnvelope(part, values, Layout(width), window);
                std::vector<RecordingSurface::Line> expected;
                for (const auto& line : full.lines)
                    if (window.Contains(line.from.x))
                        expected.push_back(line);
                ASSERT_EQ(part.lines.size(), expected.size());
                EXPECT_EQ(drawn, static_cast<int>(expected.size()));
                for (size_t i = 0; i < expected.size(); ++i) {
                    EXPECT_EQ(part.lines[i].from, expected[i].from);
                    EXPECT_EQ(part.lines[i].to, expected[i].to);
                }
            }
        }
    }
}

} // namespace
} // namespace mirado
