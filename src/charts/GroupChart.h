#pragma once
// The group chart of a study: each group's mean ± SEM per session (n = animals), one
// colour and marker per group, optionally each animal's values as thin lines in its
// group's colour; for the values themselves or for their change from the baseline
// session. Sessions go along the x axis by date or by number as in the summary's charts
// (SummaryChart.h), the value axis fits as there (ChartAxes.h) or takes the chosen range.
//
// Use:
//   GroupChartData data = GroupChartFromStudy(study, levels, Measure::Sbp, false);
//   BuildGroupChart(plot, data, options);   or   SaveGroupChart(data, options, "g.pdf");

#include "charts/SummaryChart.h"
#include "stats/StudyStatistics.h"

#include <optional>
#include <string>
#include <vector>

class QCustomPlot;
class QPainter;
class QRect;

namespace mirado {

struct GroupChartData {
    struct Session {
        std::string date; // the date text
        std::optional<SessionDate> day;
    };
    struct Point {
        int n = 0;                // animals with a value; no point when 0
        double mean = 0, sem = 0; // sem NaN for one animal: no bar
    };
    struct Animal {
        std::string label; // "study / animal", UTF-8
        size_t group = 0;
        std::vector<std::optional<double>> values; // one per session
    };
    std::string measure;             // "SBP", "MBP", "DBP" or "HR"
    bool change = false;             // the values are changes from the baseline session
    std::string baseline;            // its date text, when change
    std::vector<std::string> groups; // UTF-8, in order
    std::vector<Session> sessions;
    std::vector<std::vector<Point>> points; // [group][session]
    std::vector<Animal> animals;
};

struct GroupChartOptions {
    SessionAxis sessionAxis = SessionAxis::Dates;
    bool showAnimals = false;
    std::optional<ValueRange> valueRange;
    int width = kDefaultChartWidth;
    int height = kDefaultChartHeight;
    std::optional<PrintSize> printSize;
};

// The chart's data of one measure from the study and its levels (ComputeLevels, or the
// rows of ComputeChangeFromBaseline with change set; the animals' lines are then their
// changes too).
GroupChartData GroupChartFromStudy(const StudyData& study, const std::vector<GroupLevels>& levels,
                                   Measure measure, std::optional<size_t> baseline);

void BuildGroupChart(QCustomPlot& plot, const GroupChartData& data,
                     const GroupChartOptions& options);

// The chart painted into room (in the painter's pixels at dpi) as on paper of the room's
// size at that resolution; false when it cannot be drawn (a room under kMinPrintMm).
bool PaintGroupChart(QPainter& painter, const QRect& room, int dpi, const GroupChartData& data,
                     const GroupChartOptions& options);

// As SaveSummaryChart: PDF, PNG or SVG by the extension, replaced atomically.
Result<void> SaveGroupChart(const GroupChartData& data, const GroupChartOptions& options,
                            const std::string& path);

} // namespace mirado
