// CSummaryWindow: the acceptance profile the summary honours, the warnings of its review
// and the saving of the exclusion report.

#include "summary/SummaryWindow.h"

#include "platform/SaveFileDialog.h"
#include "platform/qtcore/UiText.h"
#include "summary/ExclusionReportFile.h"
#include "summary/FrontKeeper.h"
#include "summary/StatisticsPanel.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace mirado {

namespace {

const char* const kSaveReportCaption = QT_TRANSLATE_NOOP("Mirado", "Save Report");

} // namespace

QWidget* CSummaryWindow::CreateProfileLabels(QWidget* parent) {
    auto* box = new QWidget(parent);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* profile = new QLabel(
        UiText("Acceptance profile: %1").arg(QString::fromStdString(files_.profile.name)), box);
    profile->setObjectName(QStringLiteral("summaryProfile"));
    profile->setToolTip(QString::fromStdString(files_.profile.description));
    layout->addWidget(profile);
    reviewWarnings_ = new QLabel(box);
    reviewWarnings_->setObjectName(QStringLiteral("summaryReviewWarnings"));
    reviewWarnings_->setWordWrap(true);
    reviewWarnings_->hide();
    layout->addWidget(reviewWarnings_);
    return box;
}

QPushButton* CSummaryWindow::CreateSaveReportButton(QWidget* parent) {
    saveReportButton_ = new QPushButton(UiText("Save Report..."), parent);
    saveReportButton_->setObjectName(QStringLiteral("summarySaveReport"));
    connect(saveReportButton_, &QPushButton::clicked, this, &CSummaryWindow::SaveReport);
    return saveReportButton_;
}

// The profile the settings name but that was not found, then the review logs' skipped
// lines and unreadable logs.
void CSummaryWindow::ShowReviewWarnings() {
    QStringList lines;
    if (!files_.profileProblem.empty())
        lines << UiText("The chosen profile was not found; all complete readings count: %1")
                     .arg(QString::fromStdString(files_.profileProblem));
    if (const SummaryResult* result = Result())
        for (const std::string& warning : result->reviewWarnings)
            lines << QString::fromStdString(warning);
    reviewWarnings_->setText(lines.join(QLatin1Char('\n')));
    reviewWarnings_->setVisible(!lines.isEmpty());
}

void CSummaryWindow::SaveReport() {
    const SummaryResult* shown = Result();
    if (shown == nullptr)
        return;
    // Taken before the dialog: a refresh may replace the result and the study while it is
    // open. With a groups table beside the recordings the report carries the study as the
    // Statistics tab shows it, under its chosen control group.
    const SummaryResult result = *shown;
    const std::optional<StudyData> study =
        studyHasGroupsFile_ ? statisticsPanel_->Study() : std::nullopt;
    const size_t control = statisticsPanel_->Control();
    const CFrontKeeper front(*this);
    SaveFileRequest request;
    request.title = UiText(kSaveReportCaption).toStdString();
    request.filters = {{UiText("PDF document").toStdString(), {"*.pdf"}},
                       {UiText("CSV file").toStdString(), {"*.csv"}},
                       {UiText("JSON Lines file").toStdString(), {"*.jsonl", "*.json"}}};
    request.suggestedName = BesideRecordings("exclusion-report.pdf");
    std::string path;
    if (!saveDialog_.RunSave(request, path) || RefuseFileOfList(kSaveReportCaption, path))
        return;
    if (const auto written = WriteExclusionReportFile(path, files_.profile, result,
                                                      study ? &*study : nullptr, control);
        !written.ok())
        ReportWriteFailure(kSaveReportCaption, path, written.error());
}

} // namespace mirado
