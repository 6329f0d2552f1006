#include "charts/GroupChart.h"

#include "charts/ChartParts.h"
#include "platform/qtcore/UiText.h"
#include "records/TextEncoding.h"

#include <QPainter>

#include <cmath>
#include <limits>

namespace mirado {

using namespace chartparts;

namespace {

constexpr double kGroupPointSize = 8.0;
constexpr double kGroupWhiskerWidth = 8.0;
constexpr int kGroupLineWidth = 2;
constexpr int kAnimalLineAlpha = 90;

std::vector<std::pair<std::string, int>> NumbersOf(const GroupChartData& data) {
    std::vector<DatedSession> sessions;
    for (const GroupChartData::Session& session : data.sessions)
        sessions.push_back({session.date, session.day});
    return NumberSessions(std::move(sessions));
}

void AddAnimalLines(QCustomPlot& plot, const GroupChartData& data,
                    const SessionPlacement& placement) {
    for (const GroupChartData::Animal& animal : data.animals) {
        QVector<double> keys, values;
        for (size_t s = 0; s < data.sessions.size() && s < animal.values.size(); ++s) {
            const std::optional<double> key =
                placement.KeyOf(data.sessions[s].date, data.sessions[s].day);
            if (!key || !animal.values[s])
                continue;
            keys.push_back(*key);
            values.push_back(*animal.values[s]);
        }
        QColor colour = kAnimalColours[animal.group % std::size(kAnimalColours)];
        colour.setAlpha(kAnimalLineAlpha);
        QCPGraph* graph = plot.addGraph();
        graph->setName(QString::fromStdString(animal.label));
        graph->setPen(QPen(colour, 1));
        graph->setData(keys, values, true);
        graph->removeFromLegend();
    }
}

void AddGroupLines(QCustomPlot& plot, const GroupChartData& data,
                   const SessionPlacement& placement) {
    for (size_t g = 0; g < data.groups.size() && g < data.points.size(); ++g) {
        QVector<double> keys, means, sems;
        for (size_t s = 0; s < data.sessions.size() && s < data.points[g].size(); ++s) {
            const GroupChartData::Point& point = data.points[g][s];
            const std::optional<double> key =
                placement.KeyOf(data.sessions[s].date, data.sessions[s].day);
            if (!key || point.n == 0 || !std::isfinite(point.mean))
                continue;
            keys.push_back(*key);
            means.push_back(point.mean);
            sems.push_back(point.sem);
        }
        if (keys.isEmpty())
            continue; // a group without a value has no line, nor a place in the legend
        const QColor colour = kAnimalColours[g % std::size(kAnimalColours)];
        const QCPScatterStyle::ScatterShape shape = kAnimalShapes[g % std::size(kAnimalShapes)];
        QCPGraph* graph = plot.addGraph();
        graph->setName(QString::fromStdString(data.groups[g]));
        graph->setPen(QPen(colour, kGroupLineWidth));
        graph->setScatterStyle(QCPScatterStyle(shape, colour, colour, kGroupPointSize));
        graph->setData(keys, means, true);
        auto* bars = new QCPErrorBars(plot.xAxis, plot.yAxis);
        bars->setDataPlottable(graph);
        bars->setErrorType(QCPErrorBars::etValueError);
        bars->setWhiskerWidth(kGroupWhiskerWidth);
        bars->setPen(QPen(colour, 1));
        bars->setData(sems);
        bars->removeFromLegend();
    }
}

QString ValueAxisLabel(const GroupChartData& data) {
    const QString unit = data.measure == "HR" ? UiText("beats/min") : QStringLiteral("mmHg");
    const QString measure = QString::fromStdString(data.measure);
    return data.change ? UiText("Change in %1 (%2)").arg(measure, unit)
                       : QStringLiteral("%1 (%2)").arg(measure, unit);
}

QString GroupTitle(const GroupChartData& data) {
    const QString measure = QString::fromStdString(data.measure);
    if (data.change)
        return UiText("%1 change from %2, mean ± SEM")
            .arg(measure, QString::fromStdString(data.baseline));
    return UiText("%1 per session, group mean ± SEM").arg(measure);
}

} // namespace

GroupChartData GroupChartFromStudy(const StudyData& study, const std::vector<GroupLevels>& levels,
                                   Measure measure, std::optional<size_t> baseline) {
    GroupChartData data;
    data.measure = MeasureLabel(measure);
    data.change = baseline.has_value();
    data.groups = study.groups;
    for (const StudySession& session : study.sessions)
        data.sessions.push_back({session.date, session.sessionDate});
    if (baseline && *baseline < study.sessions.size())
        data.baseline = study.sessions[*baseline].date;
    const double none = std::numeric_limits<double>::quiet_NaN();
    data.points.assign(study.groups.size(),
                       std::vector<GroupChartData::Point>(study.sessions.size(), {0, none, none}));
    const size_t m = static_cast<size_t>(measure);
    for (const GroupLevels& row : levels)
        if (row.group < data.points.size() && row.session < study.sessions.size())
            data.points[row.group][row.session] = {row.measures[m].n, row.measures[m].mean,
                                                   row.measures[m].sem};
    for (const StudyAnimal& animal : study.animals) {
        GroupChartData::Animal line;
        line.label =
            Cp932ToUtf8(animal.animal.studyNo) + " / " + Cp932ToUtf8(animal.animal.animalNo);
        line.group = animal.group;
        // The animal's baseline value; NaN when it has none (its changes are then none).
        double base = none;
        if (baseline && *baseline < animal.values.size() && animal.values[*baseline][m])
            base = *animal.values[*baseline][m];
        for (const MeasureValues& values : animal.values) {
            std::optional<double> value = values[m];
            if (baseline)
                value = value && std::isfinite(base) ? std::optional<double>(*value - base)
                                                     : std::nullopt;
            line.values.push_back(value);
        }
        data.animals.push_back(std::move(line));
    }
    return data;
}

void BuildGroupChart(QCustomPlot& plot, const GroupChartData& data,
                     const GroupChartOptions& options) {
    plot.clearPlottables();
    plot.clearItems();
    const SessionPlacement placement(NumbersOf(data), options.sessionAxis);
    PrepareAxes(plot, placement);
    if (options.showAnimals)
        AddAnimalLines(plot, data, placement);
    AddGroupLines(plot, data, placement);
    plot.yAxis->setLabel(ValueAxisLabel(data));
    SetTitle(plot, GroupTitle(data));
    FitKeyAxis(plot, placement);
    TickSessions(plot, placement);
    // A change from baseline is fitted as pressures are: around zero, not from 50s.
    const ValueKind kind =
        data.measure == "HR" && !data.change ? ValueKind::HeartRate : ValueKind::Pressure;
    FitValueAxis(plot.yAxis, kind, options.valueRange);
}

bool PaintGroupChart(QPainter& painter, const QRect& room, int dpi, const GroupChartData& data,
                     const GroupChartOptions& options) {
    constexpr double kMmPerInch = 25.4;
    const PrintSize size{room.width() * kMmPerInch / dpi, room.height() * kMmPerInch / dpi, dpi};
    if (!CheckPrintSize(size).ok())
        return false;
    const QImage image =
        ImageOfBuilt([&](QCustomPlot& plot) { BuildGroupChart(plot, data, options); }, size);
    if (image.isNull())
        return false;
    painter.drawImage(room, image);
    return true;
}

Result<void> SaveGroupChart(const GroupChartData& data, const GroupChartOptions& options,
                            const std::string& path) {
    return SaveBuilt([&](QCustomPlot& plot) { BuildGroupChart(plot, data, options); },
                     options.width, options.height, options.printSize, path);
}

} // namespace mirado
