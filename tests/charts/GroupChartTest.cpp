#include "charts/GroupChart.h"
#include "support/TempFolder.h"
#include "support/TestApplication.h"

#include <QImage>
#include <qcustomplot.h>

#include <gtest/gtest.h>

#include <cmath>

namespace mirado {
namespace {

// Two groups over three sessions; B2 has no value in the first (baseline) session.
StudyData KnownStudy() {
    StudyData study;
    study.groups = {"vehicle", "treated"};
    study.sessions = {{"24/01/10", SessionDate{2024, 1, 10}},
                      {"24/01/17", SessionDate{2024, 1, 17}},
                      {"24/01/24", SessionDate{2024, 1, 24}}};
    const auto animal = [](const char* no, size_t group, std::vector<std::optional<double>> sbp) {
        StudyAnimal a;
        a.animal = {"S1", no};
        a.group = group;
        for (const std::optional<double>& value : sbp) {
            MeasureValues values;
            values[0] = value;
            a.values.push_back(values);
        }
        return a;
    };
    study.animals = {animal("A1", 0, {100, 102, 104}), animal("A2", 0, {110, 110, 110}),
                     animal("B1", 1, {120, 130, 140}), animal("B2", 1, {std::nullopt, 126, 150})};
    return study;
}

std::vector<QCPErrorBars*> BarsOf(QCustomPlot& plot) {
    std::vector<QCPErrorBars*> bars;
    for (int i = 0; i < plot.plottableCount(); ++i)
        if (auto* b = qobject_cast<QCPErrorBars*>(plot.plottable(i)))
            bars.push_back(b);
    return bars;
}

TEST(GroupChart, EachGroupsMeanWithSemBarsAtTheSessionDates) {
    test::EnsureQtApp();
    const StudyData study = KnownStudy();
    const GroupChartData data =
        GroupChartFromStudy(study, ComputeLevels(study), Measure::Sbp, std::nullopt);
    QCustomPlot plot;
    BuildGroupChart(plot, data, {});
    ASSERT_EQ(plot.graphCount(), 2);
    EXPECT_EQ(plot.graph(0)->name(), "vehicle");
    EXPECT_EQ(plot.graph(1)->name(), "treated");
    EXPECT_NE(plot.graph(0)->pen().color(), plot.graph(1)->pen().color());
    EXPECT_NE(plot.graph(0)->scatterStyle().shape(), plot.graph(1)->scatterStyle().shape());
    ASSERT_EQ(plot.graph(1)->dataCount(), 3);
    EXPECT_EQ(plot.graph(1)->data()->at(0)->value, 120); // n = 1: B1 only
    EXPECT_EQ(plot.graph(1)->data()->at(2)->value, 145);
    const std::vector<QCPErrorBars*> bars = BarsOf(plot);
    ASSERT_EQ(bars.size(), 2u);
    EXPECT_TRUE(std::isnan(bars[1]->data()->at(0).errorPlus)); // one animal: no SEM
    EXPECT_DOUBLE_EQ(bars[1]->data()->at(2).errorPlus, 5.0);   // SD 7.07 / sqrt(2)
    EXPECT_EQ(plot.yAxis->label(), "SBP (mmHg)");

    // Thin lines per animal, not in the legend, drawn under the groups.
    GroupChartOptions options;
    options.showAnimals = true;
    BuildGroupChart(plot, data, options);
    ASSERT_EQ(plot.graphCount(), 6);
    EXPECT_EQ(plot.graph(3)->name(), "S1 / B2");
    EXPECT_EQ(plot.graph(3)->dataCount(), 2);
    EXPECT_EQ(plot.graph(3)->pen().width(), 1);
    EXPECT_EQ(plot.legend->itemCount(), 2);
}

TEST(GroupChart, ChangeFromBaselineLeavesOutAnimalsWithoutABaselineValue) {
    test::EnsureQtApp();
    const StudyData study = KnownStudy();
    const ChangeFromBaseline change = ComputeChangeFromBaseline(study, 0);
    const GroupChartData data = GroupChartFromStudy(study, change.rows, Measure::Sbp, 0);
    EXPECT_TRUE(data.change);
    EXPECT_EQ(data.baseline, "24/01/10");
    // B2 has no baseline: its line has no value anywhere.
    EXPECT_EQ(data.animals[3].values,
              (std::vector<std::optional<double>>{std::nullopt, std::nullopt, std::nullopt}));
    EXPECT_EQ(data.animals[2].values, (std::vector<std::optional<double>>{0, 10, 20}));
    QCustomPlot plot;
    GroupChartOptions options;
    options.sessionAxis = SessionAxis::Numbers;
    BuildGroupChart(plot, data, options);
    EXPECT_EQ(plot.graph(1)->data()->at(2)->key, 3);
    EXPECT_EQ(plot.graph(1)->data()->at(2)->value, 20);
    EXPECT_EQ(plot.yAxis->label(), "Change in SBP (mmHg)");
    EXPECT_LE(plot.yAxis->range().lower, 0); // fitted around the changes, zero included
}

TEST(GroupChart, SavedAtTheSizeOnPaper) {
    test::EnsureQtApp();
    test::TempFolder folder;
    const StudyData study = KnownStudy();
    GroupChartOptions options;
    options.printSize = PrintSize{85, 60, 600};
    const std::string path = folder.File("g.png");
    ASSERT_TRUE(
        SaveGroupChart(GroupChartFromStudy(study, ComputeLevels(study), Measure::Sbp, std::nullopt),
                       options, path)
            .ok());
    EXPECT_EQ(QImage(QString::fromStdString(path)).size(), QSize(2008, 1417));
}

} // namespace
} // namespace mirado
