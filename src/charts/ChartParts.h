#pragma once
// The pieces the summary's charts and the group chart share: where sessions go along the
// x axis, the axes' set-up and fitting, the print fonts, the colours and markers of a
// series of lines, and the saving of a built plot. Inside the charts library only.

#include "charts/SummaryChart.h"

#include <QColor>
#include <QString>
#include <qcustomplot.h>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace mirado::chartparts {

extern const QColor kAnimalColours[10];
extern const QCPScatterStyle::ScatterShape kAnimalShapes[6];

// Where each session goes along the x axis, and what its tick says.
class SessionPlacement {
public:
    SessionPlacement(const std::vector<std::pair<std::string, int>>& numbers, SessionAxis axis);
    SessionPlacement(const StudySummary& summary, SessionAxis axis);
    std::optional<double> KeyOf(const std::optional<std::string>& date,
                                const std::optional<SessionDate>& day) const;
    std::optional<double> KeyOf(const SummaryRow& row) const;
    std::string LabelOf(double key) const;
    double HalfStep() const;
    QString AxisLabel() const;

private:
    SessionAxis axis_;
    std::map<std::string, int> numbers_;
};

enum class ValueKind { Pressure, HeartRate };

void PrepareAxes(QCustomPlot& plot, const SessionPlacement& placement);
void TickSessions(QCustomPlot& plot, const SessionPlacement& placement);
void FitKeyAxis(QCustomPlot& plot, const SessionPlacement& placement);
void FitValueAxis(QCPAxis* axis, ValueKind kind, const std::optional<ValueRange>& chosen);
void SetTitle(QCustomPlot& plot, const QString& text);

// Builds the plot with build on paper at printSize and draws it as an image
// (RenderPrintedImage); a null image when it cannot be drawn.
QImage ImageOfBuilt(const std::function<void(QCustomPlot&)>& build, const PrintSize& printSize);

// Builds the plot with build and saves it at width x height or on paper.
Result<void> SaveBuilt(const std::function<void(QCustomPlot&)>& build, int width, int height,
                       const std::optional<PrintSize>& printSize, const std::string& path);

} // namespace mirado::chartparts
