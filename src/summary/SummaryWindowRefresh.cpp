// The summary window's reading again (the Refresh button, RefreshSoon, other files), its
// closing keys and its coming to the front.

#include "platform/qtcore/UiText.h"
#include "review/AcceptanceProfile.h"
#include "summary/ChartControls.h"
#include "summary/SummaryWindow.h"

#include <QKeySequence>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>

#include <algorithm>

namespace mirado {

namespace {

QString FilesText(bool marked, int count) {
    if (marked)
        return count == 1 ? UiText("Summary of the one marked file.")
                          : UiText("Summary of the %1 marked files.").arg(count);
    return count == 1 ? UiText("Summary of the one file of the list (none is marked).")
                      : UiText("Summary of all %1 files (none is marked).").arg(count);
}

} // namespace

QPushButton* CSummaryWindow::CreateRefreshButton(QWidget* parent) {
    refreshTimer_ = new QTimer(this);
    refreshTimer_->setSingleShot(true);
    refreshTimer_->setInterval(kRefreshDelayMs);
    connect(refreshTimer_, &QTimer::timeout, this, &CSummaryWindow::Refresh);
    auto* button = new QPushButton(UiText("Refresh"), parent);
    button->setObjectName(QStringLiteral("summaryRefresh"));
    button->setToolTip(UiText("Read the files again"));
    connect(button, &QPushButton::clicked, this, &CSummaryWindow::Refresh);
    return button;
}

QWidget* CSummaryWindow::CreateChartControls() {
    chartControls_ = new CChartControls(this);
    connect(chartControls_, &CChartControls::Changed, this, [this] {
        DrawAnimalChart();
        DrawAllAnimalsChart();
        DrawGroupChart();
    });
    return chartControls_;
}

void CSummaryWindow::AddCloseKeys() {
    for (const QKeySequence& key :
         {QKeySequence(Qt::Key_Escape), QKeySequence(QStringLiteral("Ctrl+W"))}) {
        auto* shortcut = new QShortcut(key, this);
        connect(shortcut, &QShortcut::activated, this, &QWidget::close);
    }
}

void CSummaryWindow::Refresh() {
    refreshTimer_->stop();
    std::unique_ptr<SummaryResult> shown;
    if (const auto it = results_.find(source_); it != results_.end() && run_ == nullptr)
        shown = std::make_unique<SummaryResult>(std::move(it->second));
    else if (previous_ != nullptr)
        shown = std::move(previous_);
    results_.clear();
    StopRun();
    previous_ = std::move(shown);
    StartRun();
}

void CSummaryWindow::RefreshSoon() {
    refreshTimer_->start();
}

bool CSummaryWindow::SetFiles(SummaryFiles files) {
    const bool changed =
        files.paths != files_.paths || ProfileJson(files.profile) != ProfileJson(files_.profile);
    files_ = std::move(files);
    ShowFiles();
    return changed;
}

void CSummaryWindow::ShowFiles() {
    const int count = static_cast<int>(files_.paths.size());
    filesLabel_->setText(FilesText(files_.marked, count));
    progress_->setRange(0, std::max(count, 1));
}

void CSummaryWindow::BringForward() {
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}

} // namespace mirado
