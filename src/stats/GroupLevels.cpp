#include "stats/StudyStatistics.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace mirado {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The values of the group's animals in the session for the measure, through valueOf (which
// gives nothing for an animal without a value).
template <typename ValueOf>
std::vector<double> GroupValues(const StudyData& data, size_t group, size_t session, size_t m,
                                const ValueOf& valueOf) {
    std::vector<double> values;
    for (size_t a = 0; a < data.animals.size(); ++a)
        if (data.animals[a].group == group)
            if (const std::optional<double> value = valueOf(a, session, m))
                values.push_back(*value);
    return values;
}

template <typename ValueOf>
std::vector<GroupLevels> LevelsOf(const StudyData& data, const ValueOf& valueOf) {
    std::vector<GroupLevels> rows;
    for (size_t g = 0; g < data.groups.size(); ++g)
        for (size_t s = 0; s < data.sessions.size(); ++s) {
            GroupLevels row{g, s, {}};
            for (size_t m = 0; m < kMeasureCount; ++m)
                row.measures[m] = ComputeLevelStatistic(GroupValues(data, g, s, m, valueOf));
            rows.push_back(row);
        }
    return rows;
}

} // namespace

LevelStatistic ComputeLevelStatistic(const std::vector<double>& values) {
    LevelStatistic statistic{static_cast<int>(values.size()), kNaN, kNaN, kNaN, kNaN, kNaN};
    if (values.empty())
        return statistic;
    double sum = 0;
    for (double value : values)
        sum += value;
    statistic.mean = sum / static_cast<double>(values.size());
    statistic.min = *std::min_element(values.begin(), values.end());
    statistic.max = *std::max_element(values.begin(), values.end());
    if (values.size() < 2)
        return statistic;
    double squares = 0;
    for (double value : values)
        squares += (value - statistic.mean) * (value - statistic.mean);
    statistic.sd = std::sqrt(squares / static_cast<double>(values.size() - 1));
    statistic.sem = statistic.sd / std::sqrt(static_cast<double>(values.size()));
    return statistic;
}

std::vector<GroupLevels> ComputeLevels(const StudyData& data) {
    return LevelsOf(data,
                    [&](size_t a, size_t s, size_t m) { return data.animals[a].values[s][m]; });
}

ChangeFromBaseline ComputeChangeFromBaseline(const StudyData& data, size_t baselineSession) {
    ChangeFromBaseline change;
    change.baseline = baselineSession;
    if (baselineSession >= data.sessions.size())
        return change;
    for (size_t a = 0; a < data.animals.size(); ++a)
        for (size_t m = 0; m < kMeasureCount; ++m) {
            const std::vector<MeasureValues>& values = data.animals[a].values;
            const bool anyValue =
                std::any_of(values.begin(), values.end(),
                            [&](const MeasureValues& v) { return v[m].has_value(); });
            if (anyValue && !values[baselineSession][m])
                change.leftOut.push_back({a, kMeasures[m], {baselineSession}});
        }
    change.rows = LevelsOf(data, [&](size_t a, size_t s, size_t m) -> std::optional<double> {
        const MeasureValues& baseline = data.animals[a].values[baselineSession];
        const std::optional<double>& value = data.animals[a].values[s][m];
        if (!baseline[m] || !value)
            return std::nullopt;
        return *value - *baseline[m];
    });
    return change;
}

} // namespace mirado
