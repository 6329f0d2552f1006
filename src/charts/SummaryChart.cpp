#include "charts/SummaryChart.h"

#include "charts/ChartParts.h"

#include "files/FileAccess.h"
#include "platform/qtcore/UiText.h"
#include "records/TextEncoding.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QSvgGenerator>
#include <QTemporaryDir>
#include <qcustomplot.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <map>
#include <set>
#include <tuple>

namespace mirado {

namespace chartparts {

constexpr double kSecondsPerDay = 86400.0;
constexpr int kTitlePointSize = 12;
constexpr double kKeyPaddingShare = 0.06; // of the sessions' span, on each side
constexpr double kAxisMarginsPx = 100;    // a plot's width beside its key axis, about
constexpr double kLabelGapPx = 6;
// Fonts of a chart saved at a size on paper, in points.
constexpr int kPrintTitlePointSize = 8;
constexpr int kPrintTextPointSize = 8;
constexpr int kPrintTickPointSize = 7;
constexpr int kPrintLegendColumns = 4;
const QSize kPrintLegendIcon(18, 10);
constexpr double kPointSize = 7.0;
constexpr double kErrorWhiskerWidth = 8.0;
const char* const kDateFormat = "yy/MM/dd";
const char* const kPrintFontsProperty = "miradoPrintFonts";
constexpr int kLegendColumns = 6;
constexpr double kLegendStretch = 0.001; // as small as its contents allow

const QColor kSbpColour(200, 30, 30);
const QColor kMbpColour(30, 140, 60);
const QColor kDbpColour(30, 70, 200);
const QColor kHrColour(90, 90, 90);

// Distinct colours for the lines of the animals, reused in turn when there are more.
const QColor kAnimalColours[10] = {
    QColor(31, 119, 180),  QColor(255, 127, 14), QColor(44, 160, 44),   QColor(214, 39, 40),
    QColor(148, 103, 189), QColor(140, 86, 75),  QColor(227, 119, 194), QColor(127, 127, 127),
    QColor(188, 189, 34),  QColor(23, 190, 207)};
const QCPScatterStyle::ScatterShape kAnimalShapes[6] = {
    QCPScatterStyle::ssCircle,  QCPScatterStyle::ssSquare, QCPScatterStyle::ssTriangle,
    QCPScatterStyle::ssDiamond, QCPScatterStyle::ssCross,  QCPScatterStyle::ssPlus};

// One chart line: a point per session.
struct SessionSeries {
    QVector<double> keys, means, sds;
};

const SummaryStatistic& StatisticOf(const SummaryRow& row, SummaryMeasure measure) {
    switch (measure) {
    case SummaryMeasure::Sbp:
        return row.sbp;
    case SummaryMeasure::Mbp:
        return row.mbp;
    case SummaryMeasure::Dbp:
        return row.dbp;
    case SummaryMeasure::Hr:
        break;
    }
    return row.hr;
}

double DateKey(const SessionDate& date) {
    const QDate day(date.year, date.month, date.day);
    return static_cast<double>(day.startOfDay(Qt::UTC).toSecsSinceEpoch());
}

SessionPlacement::SessionPlacement(const std::vector<std::pair<std::string, int>>& numbers,
                                   SessionAxis axis)
    : axis_(axis) {
    for (const auto& [date, number] : numbers)
        numbers_[date] = number;
}

SessionPlacement::SessionPlacement(const StudySummary& summary, SessionAxis axis)
    : SessionPlacement(SessionNumbers(summary), axis) {}

std::optional<double> SessionPlacement::KeyOf(const std::optional<std::string>& date,
                                              const std::optional<SessionDate>& day) const {
    if (axis_ == SessionAxis::Dates)
        return day ? std::optional<double>(DateKey(*day)) : std::nullopt;
    const auto it = date ? numbers_.find(*date) : numbers_.end();
    return it != numbers_.end() ? std::optional<double>(it->second) : std::nullopt;
}

std::optional<double> SessionPlacement::KeyOf(const SummaryRow& row) const {
    return KeyOf(row.date, row.sessionDate);
}

std::string SessionPlacement::LabelOf(double key) const {
    if (axis_ == SessionAxis::Numbers)
        return std::to_string(static_cast<int>(key));
    return QDateTime::fromSecsSinceEpoch(static_cast<qint64>(key), Qt::UTC)
        .toString(QString::fromLatin1(kDateFormat))
        .toStdString();
}

double SessionPlacement::HalfStep() const {
    return axis_ == SessionAxis::Dates ? kSecondsPerDay / 2 : 0.5;
}

QString SessionPlacement::AxisLabel() const {
    return axis_ == SessionAxis::Dates ? UiText("Session date") : UiText("Session");
}

bool IsRowOf(const SummaryRow& row, const std::string& studyNo, const std::string& animalNo) {
    return row.studyNo == studyNo && row.animalNo == animalNo;
}

SessionSeries CollectSeries(const StudySummary& summary, const SessionPlacement& placement,
                            const std::string& studyNo, const std::string& animalNo,
                            SummaryMeasure measure) {
    SessionSeries series;
    const double none = std::numeric_limits<double>::quiet_NaN();
    for (const SummaryRow& row : summary.sessions) {
        const SummaryStatistic& statistic = StatisticOf(row, measure);
        const std::optional<double> key = placement.KeyOf(row);
        if (!IsRowOf(row, studyNo, animalNo) || !key || !statistic.mean)
            continue;
        series.keys.push_back(*key);
        series.means.push_back(*statistic.mean);
        series.sds.push_back(statistic.sd.value_or(none));
    }
    return series;
}

QString MeasureName(SummaryMeasure measure) {
    switch (measure) {
    case SummaryMeasure::Sbp:
        return UiText("SBP");
    case SummaryMeasure::Mbp:
        return UiText("MBP");
    case SummaryMeasure::Dbp:
        return UiText("DBP");
    case SummaryMeasure::Hr:
        break;
    }
    return UiText("HR");
}

QString PressureAxisLabel() {
    return UiText("Pressure (mmHg)");
}

QString HeartRateAxisLabel() {
    return UiText("Heart rate (beats/min)");
}

QCPGraph* AddSeriesGraph(QCustomPlot& plot, QCPAxis* valueAxis, const SessionSeries& series,
                         const QString& name, const QPen& pen,
                         QCPScatterStyle::ScatterShape shape) {
    QCPGraph* graph = plot.addGraph(plot.xAxis, valueAxis);
    graph->setName(name);
    graph->setPen(pen);
    graph->setScatterStyle(QCPScatterStyle(shape, pen.color(), pen.color(), kPointSize));
    graph->setData(series.keys, series.means, true);
    return graph;
}

void AddErrorBars(QCustomPlot& plot, QCPGraph* graph, const SessionSeries& series) {
    auto* bars = new QCPErrorBars(plot.xAxis, graph->valueAxis());
    bars->setDataPlottable(graph);
    bars->setErrorType(QCPErrorBars::etValueError);
    bars->setWhiskerWidth(kErrorWhiskerWidth);
    bars->setPen(QPen(graph->pen().color(), 1));
    bars->setData(series.sds);
    bars->removeFromLegend();
}

void SetTitle(QCustomPlot& plot, const QString& text) {
    QCPLayoutGrid* layout = plot.plotLayout();
    auto* title = qobject_cast<QCPTextElement*>(layout->element(0, 0));
    if (title == nullptr) {
        layout->insertRow(0);
        title = new QCPTextElement(&plot);
        layout->addElement(0, 0, title);
    }
    QFont font = title->font();
    font.setPointSize(plot.property(kPrintFontsProperty).toBool() ? kPrintTitlePointSize
                                                                  : kTitlePointSize);
    font.setBold(true);
    title->setFont(font);
    title->setText(text);
}

// The legend goes in a row of its own below the axes, centred, so it never hides a point.
void PlaceLegendBelow(QCustomPlot& plot) {
    QCPLayoutInset* inset = plot.axisRect()->insetLayout();
    if (plot.legend->layout() != inset)
        return;
    inset->take(plot.legend);
    inset->simplify();
    QCPLayoutGrid* layout = plot.plotLayout();
    const int row = layout->rowCount();
    layout->insertRow(row);
    auto* centred = new QCPLayoutGrid;
    layout->addElement(row, 0, centred);
    layout->setRowStretchFactor(row, kLegendStretch);
    centred->addElement(0, 0, new QCPLayoutElement(&plot));
    centred->addElement(0, 1, plot.legend);
    centred->addElement(0, 2, new QCPLayoutElement(&plot));
    centred->setColumnStretchFactors({1.0, kLegendStretch, 1.0});
    plot.legend->setFillOrder(QCPLegend::foColumnsFirst);
    plot.legend->setWrap(plot.property(kPrintFontsProperty).toBool() ? kPrintLegendColumns
                                                                     : kLegendColumns);
    plot.legend->setBorderPen(Qt::NoPen);
}

void PrepareAxes(QCustomPlot& plot, const SessionPlacement& placement) {
    plot.xAxis->setLabel(placement.AxisLabel());
    plot.yAxis2->setVisible(false);
    plot.yAxis2->setLabel(QString());
    plot.legend->setVisible(true);
    PlaceLegendBelow(plot);
}

// A tick at each session drawn, labelled with its date or number.
void TickSessions(QCustomPlot& plot, const SessionPlacement& placement) {
    std::vector<double> keys;
    for (int i = 0; i < plot.graphCount(); ++i)
        for (const QCPGraphData& point : *plot.graph(i)->data())
            keys.push_back(point.key);
    // A label closer to the one before than its own width (on the axis as wide as the plot
    // less its margins) is left out, so that sessions a day or two apart stay legible.
    const QFontMetricsF metrics(plot.xAxis->tickLabelFont());
    const double axisWidth = std::max(plot.width() - kAxisMarginsPx, kAxisMarginsPx);
    const double keysPerPixel = plot.xAxis->range().size() / axisWidth;
    double lastLabelled = -std::numeric_limits<double>::infinity();
    auto ticker = QSharedPointer<QCPAxisTickerText>::create();
    for (const SessionTick& tick :
         SessionTicks(keys, [&placement](double key) { return placement.LabelOf(key); })) {
        QString label = QString::fromStdString(tick.label);
        const double room = (metrics.horizontalAdvance(label) + kLabelGapPx) * keysPerPixel;
        if (!label.isEmpty() && tick.key - lastLabelled < room)
            label.clear();
        if (!label.isEmpty())
            lastLabelled = tick.key;
        ticker->addTick(tick.key, label);
    }
    plot.xAxis->setTicker(ticker);
    plot.xAxis->setSubTicks(false);
}

// Widens range to take in here; range counts as empty until found is set.
void Widen(QCPRange& range, bool& found, const QCPRange& here) {
    range = found ? QCPRange(std::min(range.lower, here.lower), std::max(range.upper, here.upper))
                  : here;
    found = true;
}

// Fits an axis to what is drawn on it (ChartAxes.h), or sets the range the user chose.
void FitValueAxis(QCPAxis* axis, ValueKind kind, const std::optional<ValueRange>& chosen) {
    if (chosen) {
        axis->setRange(chosen->lower, chosen->upper);
        return;
    }
    bool found = false;
    QCPRange range;
    for (QCPAbstractPlottable* plottable : axis->plottables()) {
        bool foundHere = false;
        const QCPRange here = plottable->getValueRange(foundHere);
        if (!foundHere)
            continue;
        Widen(range, found, here);
    }
    if (!found)
        return;
    const ValueRange fitted = kind == ValueKind::HeartRate
                                  ? HeartRateAxisRange(range.lower, range.upper)
                                  : PressureAxisRange(range.lower, range.upper);
    axis->setRange(fitted.lower, fitted.upper);
}

void FitKeyAxis(QCustomPlot& plot, const SessionPlacement& placement) {
    bool found = false;
    QCPRange range;
    for (int i = 0; i < plot.graphCount(); ++i) {
        bool foundHere = false;
        const QCPRange here = plot.graph(i)->getKeyRange(foundHere);
        if (!foundHere)
            continue;
        Widen(range, found, here);
    }
    if (!found)
        return;
    // Room for the first and last sessions' labels, however narrow the chart.
    const double padding = std::max(placement.HalfStep(), range.size() * kKeyPaddingShare);
    plot.xAxis->setRange(range.lower - padding, range.upper + padding);
}

// Fonts in points for a chart on paper; the title's is set with its text.
void UsePrintFonts(QCustomPlot& plot) {
    QFont text = plot.font();
    text.setPointSize(kPrintTextPointSize);
    QFont ticks = text;
    ticks.setPointSize(kPrintTickPointSize);
    for (QCPAxis* axis : plot.axisRect()->axes()) {
        axis->setLabelFont(text);
        axis->setTickLabelFont(ticks);
    }
    plot.legend->setFont(ticks);
    plot.legend->setIconSize(kPrintLegendIcon);
    plot.setProperty(kPrintFontsProperty, true);
}

void BuildAnimalChart(QCustomPlot& plot, const StudySummary& summary,
                      const SessionPlacement& placement, const SummaryChartOptions& options) {
    struct Line {
        SummaryMeasure measure;
        QColor colour;
        QCPScatterStyle::ScatterShape shape;
    };
    const Line pressures[] = {{SummaryMeasure::Sbp, kSbpColour, QCPScatterStyle::ssCircle},
                              {SummaryMeasure::Mbp, kMbpColour, QCPScatterStyle::ssDiamond},
                              {SummaryMeasure::Dbp, kDbpColour, QCPScatterStyle::ssSquare}};
    for (const Line& line : pressures) {
        const SessionSeries series =
            CollectSeries(summary, placement, options.studyNo, options.animalNo, line.measure);
        QCPGraph* graph = AddSeriesGraph(plot, plot.yAxis, series, MeasureName(line.measure),
                                         QPen(line.colour, 2), line.shape);
        AddErrorBars(plot, graph, series);
    }
    const SessionSeries hr =
        CollectSeries(summary, placement, options.studyNo, options.animalNo, SummaryMeasure::Hr);
    QPen hrPen(kHrColour, 2, Qt::DashLine);
    AddSeriesGraph(plot, plot.yAxis2, hr, MeasureName(SummaryMeasure::Hr), hrPen,
                   QCPScatterStyle::ssTriangle);
    plot.yAxis->setLabel(PressureAxisLabel());
    plot.yAxis2->setVisible(true);
    plot.yAxis2->setLabel(HeartRateAxisLabel());
    SetTitle(plot, UiText("Animal %1: means and SD per session")
                       .arg(AnimalLabel(options.studyNo, options.animalNo)));
}

void BuildAllAnimalsChart(QCustomPlot& plot, const StudySummary& summary,
                          const SessionPlacement& placement, const SummaryChartOptions& options) {
    constexpr size_t colourCount = std::size(kAnimalColours);
    constexpr size_t shapeCount = std::size(kAnimalShapes);
    size_t index = 0;
    for (const SummaryAnimal& animal : SummaryAnimals(summary)) {
        const SessionSeries series =
            CollectSeries(summary, placement, animal.studyNo, animal.animalNo, options.measure);
        const QPen pen(kAnimalColours[index % colourCount], 2);
        AddSeriesGraph(plot, plot.yAxis, series, AnimalLabel(animal.studyNo, animal.animalNo), pen,
                       kAnimalShapes[(index / colourCount) % shapeCount]);
        ++index;
    }
    const bool heartRate = options.measure == SummaryMeasure::Hr;
    plot.yAxis->setLabel(heartRate ? HeartRateAxisLabel()
                                   : MeasureName(options.measure) + QStringLiteral(" (mmHg)"));
    SetTitle(plot,
             UiText("%1 of every animal: means per session").arg(MeasureName(options.measure)));
}

// Draws the plot into a file in the temporary folder with QCustomPlot's own writer and
// returns its bytes.
bool RenderWithQcp(QCustomPlot& plot, int width, int height, bool pdf, QByteArray& bytes) {
    QTemporaryDir folder;
    if (!folder.isValid())
        return false;
    const QString file = folder.filePath(QStringLiteral("chart"));
    const bool written = pdf ? plot.savePdf(file, width, height, QCP::epNoCosmetic,
                                            QStringLiteral("Mirado"), UiText("Study summary"))
                             : plot.savePng(file, width, height);
    QFile rendered(file);
    if (!written || !rendered.open(QIODevice::ReadOnly))
        return false;
    bytes = rendered.readAll();
    return !bytes.isEmpty();
}

bool RenderSvg(QCustomPlot& plot, int width, int height, QByteArray& bytes) {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(QSize(width, height));
    generator.setViewBox(QRect(0, 0, width, height));
    generator.setTitle(UiText("Study summary"));
    QCPPainter painter;
    if (!painter.begin(&generator))
        return false;
    painter.setMode(QCPPainter::pmVectorized);
    painter.setMode(QCPPainter::pmNoCaching);
    plot.toPainter(&painter, width, height);
    painter.end();
    return !bytes.isEmpty();
}

std::optional<ChartFormat> FormatOf(const std::string& path) {
    const QString suffix = QFileInfo(QString::fromStdString(path)).suffix().toLower();
    if (suffix == QStringLiteral("pdf"))
        return ChartFormat::Pdf;
    if (suffix == QStringLiteral("png"))
        return ChartFormat::Png;
    if (suffix == QStringLiteral("svg"))
        return ChartFormat::Svg;
    return std::nullopt;
}

Failure UnknownFormat(const std::string& path) {
    const QString suffix = QFileInfo(QString::fromStdString(path)).suffix().toLower();
    return Fail(UiText("The chart is saved as .pdf, .png or .svg, not as \"%1\".")
                    .arg(QStringLiteral(".") + suffix)
                    .toStdString());
}

// Draws the built plot into the file, by its extension, and replaces the file atomically.
Result<void> SavePlot(QCustomPlot& plot, int width, int height, const std::string& path) {
    const std::optional<ChartFormat> format = FormatOf(path);
    if (!format)
        return UnknownFormat(path);
    QByteArray bytes;
    const bool rendered =
        *format == ChartFormat::Svg
            ? RenderSvg(plot, width, height, bytes)
            : RenderWithQcp(plot, width, height, *format == ChartFormat::Pdf, bytes);
    if (!rendered)
        return Fail(UiText("The chart could not be drawn.").toStdString());
    return WriteFileAtomically(path, std::string_view(bytes.constData(), bytes.size()));
}

QImage ImageOfBuilt(const std::function<void(QCustomPlot&)>& build, const PrintSize& printSize) {
    QCustomPlot plot;
    plot.resize(LayoutSize(printSize));
    UsePrintFonts(plot);
    build(plot);
    plot.replot(QCustomPlot::rpImmediateRefresh);
    return RenderPrintedImage(plot, printSize);
}

Result<void> SaveBuilt(const std::function<void(QCustomPlot&)>& build, int width, int height,
                       const std::optional<PrintSize>& printSize, const std::string& path) {
    QCustomPlot plot;
    if (!printSize) {
        plot.resize(width, height);
        build(plot);
        plot.replot(QCustomPlot::rpImmediateRefresh);
        return SavePlot(plot, width, height, path);
    }
    if (const Result<void> checked = CheckPrintSize(*printSize); !checked.ok())
        return checked;
    const std::optional<ChartFormat> format = FormatOf(path);
    if (!format)
        return UnknownFormat(path);
    plot.resize(LayoutSize(*printSize));
    UsePrintFonts(plot);
    build(plot);
    plot.replot(QCustomPlot::rpImmediateRefresh);
    QByteArray bytes;
    if (!RenderPrinted(plot, *printSize, *format, bytes))
        return Fail(UiText("The chart could not be drawn.").toStdString());
    return WriteFileAtomically(path, std::string_view(bytes.constData(), bytes.size()));
}

} // namespace chartparts

using namespace chartparts;

std::vector<SummaryAnimal> SummaryAnimals(const StudySummary& summary) {
    std::vector<SummaryAnimal> animals;
    for (const SummaryRow& row : summary.animals) {
        const SummaryAnimal animal{row.studyNo, row.animalNo};
        if (animals.empty() || !(animals.back() == animal))
            animals.push_back(animal);
    }
    return animals;
}

QString AnimalLabel(const std::string& studyNo, const std::string& animalNo) {
    return QStringLiteral("%1 / %2").arg(QString::fromStdString(Cp932ToUtf8(studyNo)),
                                         QString::fromStdString(Cp932ToUtf8(animalNo)));
}

SummaryChartOptions DefaultChartOptions(const StudySummary& summary) {
    SummaryChartOptions options;
    const std::vector<SummaryAnimal> animals = SummaryAnimals(summary);
    if (animals.size() == 1) {
        options.kind = SummaryChartKind::Animal;
        options.studyNo = animals.front().studyNo;
        options.animalNo = animals.front().animalNo;
    }
    return options;
}

void BuildSummaryChart(QCustomPlot& plot, const StudySummary& summary,
                       const SummaryChartOptions& options) {
    plot.clearPlottables();
    plot.clearItems();
    if (options.printSize)
        UsePrintFonts(plot);
    const SessionPlacement placement(summary, options.sessionAxis);
    PrepareAxes(plot, placement);
    if (options.kind == SummaryChartKind::Animal)
        BuildAnimalChart(plot, summary, placement, options);
    else
        BuildAllAnimalsChart(plot, summary, placement, options);
    FitKeyAxis(plot, placement);
    TickSessions(plot, placement);
    const bool heartRateOnly =
        options.kind == SummaryChartKind::AllAnimals && options.measure == SummaryMeasure::Hr;
    FitValueAxis(plot.yAxis, heartRateOnly ? ValueKind::HeartRate : ValueKind::Pressure,
                 heartRateOnly ? options.heartRateRange : options.pressureRange);
    FitValueAxis(plot.yAxis2, ValueKind::HeartRate, options.heartRateRange);
}

std::vector<std::pair<std::string, int>> SessionNumbers(const StudySummary& summary) {
    std::vector<DatedSession> sessions;
    std::set<std::string> seen;
    for (const SummaryRow& row : summary.sessions)
        if (row.date && seen.insert(*row.date).second)
            sessions.push_back({*row.date, row.sessionDate});
    return NumberSessions(std::move(sessions));
}

std::vector<std::pair<std::string, int>> NumberSessions(std::vector<DatedSession> sessions) {
    using Session = DatedSession;
    const auto dayOrder = [](const Session& a, const Session& b) {
        if (!a.day || !b.day)
            return a.day.has_value() && !b.day.has_value(); // readable dates first
        return std::tie(a.day->year, a.day->month, a.day->day, a.date) <
               std::tie(b.day->year, b.day->month, b.day->day, b.date);
    };
    std::stable_sort(sessions.begin(), sessions.end(), dayOrder);
    std::vector<std::pair<std::string, int>> numbers;
    for (const Session& session : sessions)
        numbers.emplace_back(session.date, static_cast<int>(numbers.size()) + 1);
    return numbers;
}

Result<void> SaveSummaryChart(const StudySummary& summary, const SummaryChartOptions& options,
                              const std::string& path) {
    return SaveBuilt([&](QCustomPlot& plot) { BuildSummaryChart(plot, summary, options); },
                     options.width, options.height, options.printSize, path);
}

} // namespace mirado
