#pragma once
// The value and session axes of the summary's charts, as numbers: the automatic ranges
// and the session ticks. No drawing here, so the rules are tested on their own.
//
//  - A pressure axis takes in every value with a margin of 8 % of their span (2 mmHg at
//    least) and ends on whole steps of 1, 2 or 5 times a power of ten (five steps or a
//    few more over the axis), spanning at least 20 mmHg.
//  - A heart-rate axis starts and ends on multiples of 50 beats/min and spans at least
//    200 beats/min around the values, so that a few beats/min of difference do not fill
//    the chart; it never goes below 0.
//  - The sessions are ticked where they are: one tick per session (its date or its
//    number), with a label on every one, or on every second, third, ... one when there are
//    more than kMaxSessionLabels.

#include <algorithm>
#include <string>
#include <vector>

namespace mirado {

struct ValueRange {
    double lower = 0, upper = 0;
    bool operator==(const ValueRange&) const = default;
};

inline constexpr double kValueMarginShare = 0.08;
inline constexpr double kMinPressureMargin = 2.0;
inline constexpr double kMinPressureSpan = 20.0;
inline constexpr double kHeartRateStep = 50.0;
inline constexpr double kMinHeartRateSpan = 200.0;
inline constexpr int kMaxSessionLabels = 12;

// The automatic range of a pressure axis over values from lowest to highest.
ValueRange PressureAxisRange(double lowest, double highest);
// The automatic range of a heart-rate axis over values from lowest to highest.
ValueRange HeartRateAxisRange(double lowest, double highest);

struct SessionTick {
    double key = 0;
    std::string label; // empty on a tick whose label is left out for room
    bool operator==(const SessionTick&) const = default;
};

// The ticks at keys (in any order, repeats allowed), each labelled by label(key).
template <typename Label>
std::vector<SessionTick> SessionTicks(std::vector<double> keys, const Label& label);

// Every n-th label is kept so that at most kMaxSessionLabels are: the n for count ticks.
int SessionLabelStride(size_t count);

template <typename Label>
std::vector<SessionTick> SessionTicks(std::vector<double> keys, const Label& label) {
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    const size_t stride = static_cast<size_t>(SessionLabelStride(keys.size()));
    std::vector<SessionTick> ticks;
    for (size_t i = 0; i < keys.size(); ++i)
        ticks.push_back({keys[i], i % stride == 0 ? label(keys[i]) : std::string()});
    return ticks;
}

} // namespace mirado
