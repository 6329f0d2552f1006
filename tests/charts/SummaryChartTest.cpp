#include "charts/SummaryChart.h"
#include "support/TempFolder.h"
#include "support/TestApplication.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QSvgRenderer>
#include <qcustomplot.h>

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstring>
#include <map>

namespace mirado {
namespace {

SummaryStatistic Stat(int n, double mean, std::optional<double> sd) {
    SummaryStatistic s;
    s.n = n;
    s.mean = mean;
    s.sd = sd;
    return s;
}

SummaryRow Session(const std::string& study, const std::string& animal, const std::string& date,
                   std::optional<SessionDate> day, double sbp, std::optional<double> sd) {
    SummaryRow row;
    row.studyNo = study;
    row.animalNo = animal;
    row.date = date;
    row.sessionDate = day;
    const int n = sd ? 3 : 1;
    row.n = row.nComplete = n;
    row.sbp = Stat(n, sbp, sd);
    row.mbp = Stat(n, sbp - 25, sd);
    row.dbp = Stat(n, sbp - 40, sd);
    row.hr = Stat(n, 400, sd);
    return row;
}

// Animal S1/A1 on two dated sessions and one undated; S1/B2 on one session.
StudySummary KnownSummary() {
    StudySummary summary;
    summary.sessions = {
        Session("S1", "A1", "24/01/10", SessionDate{2024, 1, 10}, 120, 5.0),
        Session("S1", "A1", "24/01/12", SessionDate{2024, 1, 12}, 130, std::nullopt),
        Session("S1", "A1", "xx/yy/zz", std::nullopt, 140, 2.0),
        Session("S1", "B2", "24/01/11", SessionDate{2024, 1, 11}, 110, 4.0),
    };
    SummaryRow a = summary.sessions[0];
    a.date.reset();
    SummaryRow b = summary.sessions[3];
    b.date.reset();
    summary.animals = {a, b};
    return summary;
}

double Key(int year, int month, int day) {
    return static_cast<double>(QDate(year, month, day).startOfDay(Qt::UTC).toSecsSinceEpoch());
}

std::vector<QCPErrorBars*> ErrorBarsOf(QCustomPlot& plot) {
    std::vector<QCPErrorBars*> bars;
    for (int i = 0; i < plot.plottableCount(); ++i)
        if (auto* b = qobject_cast<QCPErrorBars*>(plot.plottable(i)))
            bars.push_back(b);
    return bars;
}

TEST(SummaryChart, AnimalChartHasThreePressuresWithSdBarsAndHeartRateOnSecondAxis) {
    test::EnsureQtApp();
    QCustomPlot plot;
    SummaryChartOptions options;
    options.kind = SummaryChartKind::Animal;
    options.studyNo = "S1";
    options.animalNo = "A1";
    BuildSummaryChart(plot, KnownSummary(), options);

    ASSERT_EQ(plot.graphCount(), 4);
    const char* names[] = {"SBP", "MBP", "DBP", "HR"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(plot.graph(i)->name(), QString::fromLatin1(names[i]));
        // The undated session is left out: two points, at the session dates.
        ASSERT_EQ(plot.graph(i)->dataCount(), 2) << names[i];
        EXPECT_EQ(plot.graph(i)->data()->at(0)->key, Key(2024, 1, 10));
        EXPECT_EQ(plot.graph(i)->data()->at(1)->key, Key(2024, 1, 12));
    }
    EXPECT_EQ(plot.graph(0)->data()->at(0)->value, 120);
    EXPECT_EQ(plot.graph(2)->data()->at(1)->value, 90);
    EXPECT_EQ(plot.graph(3)->valueAxis(), plot.yAxis2);
    EXPECT_TRUE(plot.yAxis2->visible());
    EXPECT_EQ(plot.graph(0)->valueAxis(), plot.yAxis);

    const std::vector<QCPErrorBars*> bars = ErrorBarsOf(plot);
    ASSERT_EQ(bars.size(), 3u); // SBP, MBP, DBP; none on the heart rate
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(bars[i]->dataPlottable(), plot.graph(i));
        ASSERT_EQ(bars[i]->dataCount(), 2);
        EXPECT_EQ(bars[i]->data()->at(0).errorMinus, 5.0);
        EXPECT_EQ(bars[i]->data()->at(0).errorPlus, 5.0);
        // A session with one complete reading has no SD, so no bar.
        EXPECT_TRUE(std::isnan(bars[i]->data()->at(1).errorPlus));
    }
    // The axes hold every point with its bar.
    EXPECT_LT(plot.yAxis->range().lower, 80 - 5);
    EXPECT_GT(plot.yAxis->range().upper, 130);
    EXPECT_LT(plot.xAxis->range().lower, Key(2024, 1, 10));
    EXPECT_GT(plot.xAxis->range().upper, Key(2024, 1, 12));
}

TEST(SummaryChart, AllAnimalsChartHasOneLinePerAnimalOfTheChosenMeasure) {
    test::EnsureQtApp();
    QCustomPlot plot;
    SummaryChartOptions options;
    options.kind = SummaryChartKind::AllAnimals;
    options.measure = SummaryMeasure::Dbp;
    BuildSummaryChart(plot, KnownSummary(), options);

    ASSERT_EQ(plot.graphCount(), 2);
    EXPECT_EQ(plot.graph(0)->name(), QStringLiteral("S1 / A1"));
    EXPECT_EQ(plot.graph(1)->name(), QStringLiteral("S1 / B2"));
    ASSERT_EQ(plot.graph(1)->dataCount(), 1);
    EXPECT_EQ(plot.graph(1)->data()->at(0)->value, 70);
    EXPECT_TRUE(ErrorBarsOf(plot).empty());
    EXPECT_FALSE(plot.yAxis2->visible());
    EXPECT_NE(plot.graph(0)->pen().color(), plot.graph(1)->pen().color());

    // Rebuilding replaces everything; the title is not stacked twice.
    options.kind = SummaryChartKind::Animal;
    options.studyNo = "S1";
    options.animalNo = "B2";
    BuildSummaryChart(plot, KnownSummary(), options);
    EXPECT_EQ(plot.graphCount(), 4);
    EXPECT_EQ(plot.plotLayout()->rowCount(), 3); // title, axes, legend
}

TEST(SummaryChart, DefaultIsTheOnlyAnimalOrEveryAnimal) {
    StudySummary summary = KnownSummary();
    EXPECT_EQ(DefaultChartOptions(summary).kind, SummaryChartKind::AllAnimals);
    summary.animals.pop_back();
    const SummaryChartOptions one = DefaultChartOptions(summary);
    EXPECT_EQ(one.kind, SummaryChartKind::Animal);
    EXPECT_EQ(one.animalNo, "A1");
}

SummaryChartOptions AnimalA1() {
    SummaryChartOptions options;
    options.kind = SummaryChartKind::Animal;
    options.studyNo = "S1";
    options.animalNo = "A1";
    return options;
}

std::map<double, QString> TicksOf(const QCustomPlot& plot) {
    const auto ticker = plot.xAxis->ticker().dynamicCast<QCPAxisTickerText>();
    return ticker.isNull() ? std::map<double, QString>{} : ticker->ticks().toStdMap();
}

TEST(SummaryChart, SessionsAreTickedAtTheirDatesOrByNumber) {
    test::EnsureQtApp();
    QCustomPlot plot;
    SummaryChartOptions options = AnimalA1();
    BuildSummaryChart(plot, KnownSummary(), options);
    EXPECT_EQ(TicksOf(plot), (std::map<double, QString>{{Key(2024, 1, 10), "24/01/10"},
                                                        {Key(2024, 1, 12), "24/01/12"}}));
    EXPECT_EQ(plot.xAxis->label(), "Session date");

    // By number the undated session has a place too: after the dated ones.
    EXPECT_EQ(SessionNumbers(KnownSummary()),
              (std::vector<std::pair<std::string, int>>{
                  {"24/01/10", 1}, {"24/01/11", 2}, {"24/01/12", 3}, {"xx/yy/zz", 4}}));
    options.sessionAxis = SessionAxis::Numbers;
    BuildSummaryChart(plot, KnownSummary(), options);
    ASSERT_EQ(plot.graph(0)->dataCount(), 3);
    EXPECT_EQ(plot.graph(0)->data()->at(2)->value, 140);
    EXPECT_EQ(TicksOf(plot), (std::map<double, QString>{{1, "1"}, {3, "3"}, {4, "4"}}));
    EXPECT_EQ(plot.xAxis->label(), "Session");
    EXPECT_EQ(plot.xAxis->range().lower, 0.5);
    EXPECT_EQ(plot.xAxis->range().upper, 4.5);
}

TEST(SummaryChart, ValueAxesFitOnRoundValuesOrTakeTheChosenRanges) {
    test::EnsureQtApp();
    QCustomPlot plot;
    SummaryChartOptions options = AnimalA1();
    BuildSummaryChart(plot, KnownSummary(), options);
    // Every heart rate is 400: its own axis over 200 beats/min, not stretched.
    EXPECT_EQ(plot.yAxis2->range(), QCPRange(300, 500));
    // Pressures 75 to 130 with the SD bars (DBP 80 - 5): margin, then steps of 10.
    EXPECT_EQ(plot.yAxis->range(), QCPRange(70, 140));

    options.pressureRange = ValueRange{0, 250};
    options.heartRateRange = ValueRange{200, 800};
    BuildSummaryChart(plot, KnownSummary(), options);
    EXPECT_EQ(plot.yAxis->range(), QCPRange(0, 250));
    EXPECT_EQ(plot.yAxis2->range(), QCPRange(200, 800));

    // Every animal's heart rate: that axis follows the heart-rate rule and range.
    options.kind = SummaryChartKind::AllAnimals;
    options.measure = SummaryMeasure::Hr;
    options.heartRateRange.reset();
    BuildSummaryChart(plot, KnownSummary(), options);
    EXPECT_EQ(plot.yAxis->range(), QCPRange(300, 500));
}

class SavedChart : public ::testing::Test {
protected:
    void SetUp() override { test::EnsureQtApp(); }
    std::string PathOf(const char* name) const { return dir_.File(name); }
    static QByteArray Read(const std::string& path) {
        QFile file(QString::fromStdString(path));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    test::TempFolder dir_;
};

TEST_F(SavedChart, PngPdfAndSvgAreWrittenWhole) {
    SummaryChartOptions options = DefaultChartOptions(KnownSummary());
    options.width = 640;
    options.height = 400;

    Result<void> saved = SaveSummaryChart(KnownSummary(), options, PathOf("c.png"));
    ASSERT_TRUE(saved.ok()) << saved.error();
    const QImage image(QString::fromStdString(PathOf("c.png")));
    EXPECT_EQ(image.size(), QSize(640, 400));

    saved = SaveSummaryChart(KnownSummary(), options, PathOf("c.PDF"));
    ASSERT_TRUE(saved.ok()) << saved.error();
    const QByteArray pdf = Read(PathOf("c.PDF"));
    EXPECT_TRUE(pdf.startsWith("%PDF-"));
    EXPECT_TRUE(pdf.trimmed().endsWith("%%EOF"));

    saved = SaveSummaryChart(KnownSummary(), options, PathOf("c.svg"));
    ASSERT_TRUE(saved.ok()) << saved.error();
    QSvgRenderer svg(QString::fromStdString(PathOf("c.svg")));
    EXPECT_TRUE(svg.isValid());
    EXPECT_TRUE(Read(PathOf("c.svg")).contains("S1 / A1"));
}

// The first number after key in text (the PDF's page box, the SVG's sizes).
double NumberAfter(const QByteArray& text, const char* key) {
    const qsizetype at = text.indexOf(key);
    if (at < 0)
        return -1;
    qsizetype start = at + static_cast<qsizetype>(std::strlen(key));
    qsizetype end = start;
    while (end < text.size() &&
           (std::isdigit(static_cast<unsigned char>(text[end])) != 0 || text[end] == '.'))
        ++end;
    return text.mid(start, end - start).toDouble();
}

TEST_F(SavedChart, ChartsOnPaperHaveTheirSizeInMillimetresAndTheirResolution) {
    SummaryChartOptions options = AnimalA1();
    options.printSize = PrintSize{85, 60, 600};
    constexpr double kPointsPerMm = 72 / 25.4;

    ASSERT_TRUE(SaveSummaryChart(KnownSummary(), options, PathOf("c.png")).ok());
    const QImage image(QString::fromStdString(PathOf("c.png")));
    EXPECT_EQ(image.size(), QSize(2008, 1417)); // 85 x 60 mm at 600 dpi
    EXPECT_NEAR(image.dotsPerMeterX(), 600 / 0.0254, 1);

    ASSERT_TRUE(SaveSummaryChart(KnownSummary(), options, PathOf("c.pdf")).ok());
    const QByteArray pdf = Read(PathOf("c.pdf"));
    const qsizetype box = pdf.indexOf("/MediaBox [0 0 ");
    ASSERT_GE(box, 0);
    const QList<QByteArray> sides = pdf.mid(box + 15, 40).replace(']', ' ').split(' ');
    EXPECT_NEAR(sides[0].toDouble(), 85 * kPointsPerMm, 0.5);
    EXPECT_NEAR(sides[1].toDouble(), 60 * kPointsPerMm, 0.5);

    ASSERT_TRUE(SaveSummaryChart(KnownSummary(), options, PathOf("c.svg")).ok());
    const QByteArray svg = Read(PathOf("c.svg"));
    EXPECT_NEAR(NumberAfter(svg, "width=\""), 85, 0.3);
    EXPECT_NEAR(NumberAfter(svg, "height=\""), 60, 0.3);
    EXPECT_TRUE(QSvgRenderer(svg).isValid());
}

TEST_F(SavedChart, SizesOnPaperOutsideTheLimitsAreRefusedBeforeWriting) {
    const PrintSize sizes[] = {{10, 60, 300}, {85, 2000, 300}, {85, 60, 20}, {900, 900, 2400}};
    for (const PrintSize& size : sizes) {
        SummaryChartOptions options = AnimalA1();
        options.printSize = size;
        const Result<void> saved = SaveSummaryChart(KnownSummary(), options, PathOf("c.png"));
        EXPECT_FALSE(saved.ok()) << size.widthMm << " x " << size.heightMm << " @ " << size.dpi;
        EXPECT_FALSE(QFile::exists(QString::fromStdString(PathOf("c.png"))));
    }
}

TEST_F(SavedChart, FailuresAreReportedAndLeaveTheTargetAlone) {
    const SummaryChartOptions options = DefaultChartOptions(KnownSummary());
    const Result<void> jpeg = SaveSummaryChart(KnownSummary(), options, PathOf("c.jpg"));
    EXPECT_FALSE(jpeg.ok());
    EXPECT_NE(jpeg.error().find(".jpg"), std::string::npos);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(PathOf("c.jpg"))));

    const Result<void> nowhere =
        SaveSummaryChart(KnownSummary(), options, PathOf("missing/folder/c.png"));
    EXPECT_FALSE(nowhere.ok());
    EXPECT_FALSE(nowhere.error().empty());
}

} // namespace
} // namespace mirado
