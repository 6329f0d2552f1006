// The summary window's study of groups: the "Groups" and "Statistics" tabs over the
// animals' session means and the groups table beside the recordings, and the editor of
// that table.

#include "platform/UserPrompts.h"
#include "platform/qtcore/UiText.h"
#include "summary/ChartControls.h"
#include "summary/FrontKeeper.h"
#include "summary/GroupsEditor.h"
#include "summary/GroupsPanel.h"
#include "summary/StatisticsPanel.h"
#include "summary/SummaryWindow.h"

#include <QStringList>
#include <QTabWidget>

namespace mirado {

namespace {

const char* const kSaveChartCaption = QT_TRANSLATE_NOOP("Mirado", "Save Chart");
const char* const kGroupsCaption = QT_TRANSLATE_NOOP("Mirado", "Groups");

// The groups table beside the recordings (an empty one when there is none), with the
// warnings about rows skipped; the failure when a file is there but cannot be read.
Result<GroupsRead> GroupsOf(const std::vector<std::string>& paths) {
    const std::string path = FindGroupsFile(paths);
    if (path.empty())
        return GroupsRead{};
    Result<GroupsRead> read = ReadGroupsFile(path);
    if (!read.ok())
        return Fail(path + ": " + read.error());
    for (std::string& warning : read.value().warnings)
        warning = path + ": " + warning;
    return read;
}

} // namespace

void CSummaryWindow::AddStudyTabs() {
    groupsPanel_ = new CGroupsPanel(this);
    statisticsPanel_ = new CStatisticsPanel(this);
    tabs_->addTab(groupsPanel_, UiText("Groups"));
    tabs_->addTab(statisticsPanel_, UiText("Statistics"));
    connect(groupsPanel_, &CGroupsPanel::EditGroupsRequested, this, &CSummaryWindow::EditGroups);
}

void CSummaryWindow::ShowStudy() {
    std::optional<StudyData> study;
    QStringList problems;
    studyHasGroupsFile_ = false;
    if (const SummaryResult* result = Result()) {
        const mirado::Result<GroupsRead> groups = GroupsOf(files_.paths);
        studyHasGroupsFile_ = groups.ok() && !FindGroupsFile(files_.paths).empty();
        if (groups.ok())
            for (const std::string& warning : groups.value().warnings)
                problems << QString::fromStdString(warning);
        else
            problems << UiText("The groups file could not be read: %1")
                            .arg(QString::fromStdString(groups.error()));
        study = CollectStudyData(SessionValuesFromSummary(result->summary.sessions),
                                 groups.ok() ? groups.value().table : GroupsTable{});
    }
    groupsPanel_->SetProblems(problems.join(QLatin1Char('\n')));
    statisticsPanel_->SetStudy(study);
    groupsPanel_->SetStudy(std::move(study));
    DrawGroupChart();
}

// The group chart follows the chart controls: sessions, the axis of its measure, the
// saved size.
void CSummaryWindow::DrawGroupChart() {
    SummaryChartOptions axes;
    chartControls_->ApplyTo(axes, true);
    GroupChartOptions options;
    options.sessionAxis = axes.sessionAxis;
    options.valueRange =
        groupsPanel_->ChartData().measure == "HR" ? axes.heartRateRange : axes.pressureRange;
    options.printSize = axes.printSize;
    groupsPanel_->SetChartOptions(options);
}

bool CSummaryWindow::SaveShownGroupChart(const std::string& path) {
    if (tabs_->currentWidget() != groupsPanel_)
        return false;
    DrawGroupChart();
    if (const auto saved =
            SaveGroupChart(groupsPanel_->ChartData(), groupsPanel_->ChartOptions(), path);
        !saved.ok())
        prompts_.ShowMessage(path + "\n" + saved.error(), kSaveChartCaption, MessageIcon::Stop,
                             MessageButtons::Ok);
    return true;
}

CGroupsEditor* CSummaryWindow::EditGroups() {
    const SummaryResult* result = Result();
    if (result == nullptr || files_.paths.empty())
        return nullptr;
    std::vector<AnimalKey> animals;
    for (const SummaryAnimal& animal : SummaryAnimals(result->summary))
        animals.push_back({animal.studyNo, animal.animalNo});
    const std::string found = FindGroupsFile(files_.paths);
    const std::string path = found.empty() ? GroupsFilePathFor(files_.paths.front()) : found;
    // A groups file that cannot be read is not replaced by an editor that never saw it.
    const mirado::Result<GroupsRead> groups = GroupsOf(files_.paths);
    if (!groups.ok()) {
        const CFrontKeeper front(*this);
        prompts_.ShowMessage(groups.error(), kGroupsCaption, MessageIcon::Stop, MessageButtons::Ok);
        return nullptr;
    }
    auto* editor =
        new CGroupsEditor(std::move(animals), groups.value().table, path, prompts_, this);
    connect(editor, &CGroupsEditor::Saved, this, &CSummaryWindow::ShowStudy);
    editor->show();
    return editor;
}

} // namespace mirado
