#pragma once
// The study summary's trend charts, drawn with QCustomPlot. One function builds a chart
// on a plot; the summary window shows that plot, and the same function draws the files
// the window saves and the ones `mirado-cli summary --plot` writes, so every picture of
// a summary is the same picture.
//
// Two kinds of chart, both over the session rows (StudySummary::sessions), one point per
// session along a date axis (the session's date at midnight UTC, ticked and labelled
// yy/MM/dd at each session's date) or, when chosen, along the session numbers (1 for the
// earliest date of the summary, 2 for the next, ...; unreadable dates after them):
//  - Animal: for one study and animal, the SBP, MBP and DBP means with error bars of
//    plus and minus one standard deviation (none where a session has a single complete
//    reading), and the mean heart rate on a second value axis at the right.
//  - AllAnimals: every study and animal as one line of the chosen measure's means, each
//    in its own colour, named in the legend as "study / animal".
// A session whose date does not read as a date has no place on a date axis and is left
// out of a chart over dates (it stays in the tables); a session without a mean of the
// measure (no complete reading) is left out of every chart. The value axes fit the values
// (ChartAxes.h: pressures with a margin on round steps, the heart rate on its own axis
// over at least 200 beats/min from a multiple of 50) unless the options set their range.
//
// A chart is saved at a size in pixels (PNG, SVG; points for PDF), or, with a print size,
// at a size on paper in millimetres and a resolution (ChartExport.h) with fonts sized
// for print (8 pt, 7 pt tick labels and legend): legible at one journal column, 85 mm.
//
// Use:
//   BuildSummaryChart(plot, summary, options);       // a plot widget on screen
//   if (!SaveSummaryChart(summary, options, "trend.pdf").ok()) ... // PDF, PNG or SVG
// Both need a QApplication (the batch tool runs one on the offscreen platform): the plot
// is a widget, even when it is only drawn into a file.

#include "charts/ChartAxes.h"
#include "charts/ChartExport.h"
#include "document/StudySummary.h"
#include "files/Result.h"

#include <QString>

#include <optional>
#include <string>
#include <vector>

class QCustomPlot;

namespace mirado {

enum class SummaryChartKind { Animal, AllAnimals };
enum class SummaryMeasure { Sbp, Mbp, Dbp, Hr };
enum class SessionAxis { Dates, Numbers };

inline constexpr int kDefaultChartWidth = 900;
inline constexpr int kDefaultChartHeight = 560;

struct SummaryChartOptions {
    SummaryChartKind kind = SummaryChartKind::AllAnimals;
    // The animal of an Animal chart, as in the rows (CP932 bytes, trimmed). A study and
    // animal not in the summary give an empty chart.
    std::string studyNo, animalNo;
    // The measure of an AllAnimals chart.
    SummaryMeasure measure = SummaryMeasure::Sbp;
    // What the sessions are placed by along the x axis.
    SessionAxis sessionAxis = SessionAxis::Dates;
    // The range of the pressure axis (of the measure's axis on an AllAnimals chart of a
    // pressure) and of the heart-rate axis; automatic when unset.
    std::optional<ValueRange> pressureRange, heartRateRange;
    // Size of a saved chart: pixels for PNG and SVG, points for PDF; or, when printSize is
    // set, that size on paper.
    int width = kDefaultChartWidth;
    int height = kDefaultChartHeight;
    std::optional<PrintSize> printSize;
};

// A study and animal of the summary (CP932 bytes, trimmed).
struct SummaryAnimal {
    std::string studyNo, animalNo;
    bool operator==(const SummaryAnimal&) const = default;
};

// The studies and animals of the summary, in the order of its rows.
std::vector<SummaryAnimal> SummaryAnimals(const StudySummary& summary);

// "study / animal" as shown in legends, lists and titles (UTF-8 from the CP932 bytes).
QString AnimalLabel(const std::string& studyNo, const std::string& animalNo);

// The chart to draw when nobody chose one: the Animal chart of the only animal, or the
// SBP of every animal when there are several (or none).
SummaryChartOptions DefaultChartOptions(const StudySummary& summary);

// Replaces everything on the plot by the chart. It does not replot; the caller does
// (a plot on screen) or saves.
void BuildSummaryChart(QCustomPlot& plot, const StudySummary& summary,
                       const SummaryChartOptions& options);

// The session number of each session date text of the summary (1 for the earliest).
std::vector<std::pair<std::string, int>> SessionNumbers(const StudySummary& summary);
// The same over sessions given by their date texts and days (readable dates in order,
// then the others in the order given).
struct DatedSession {
    std::string date;
    std::optional<SessionDate> day;
};
std::vector<std::pair<std::string, int>> NumberSessions(std::vector<DatedSession> sessions);

// Draws the chart into a file, PDF, PNG or SVG by the path's extension (any case), at
// options.width x options.height or at options.printSize. The file is replaced atomically: on
// failure an existing file is untouched and the failure says why (an unknown extension included).
Result<void> SaveSummaryChart(const StudySummary& summary, const SummaryChartOptions& options,
                              const std::string& path);

} // namespace mirado
