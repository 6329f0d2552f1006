#include "reviewui/HistoryDialog.h"

#include "platform/qtcore/UiText.h"
#include "review/ReviewLog.h"
#include "reviewui/ReviewTexts.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

namespace mirado {

namespace {

constexpr int kInitialWidth = 720;
constexpr int kInitialHeight = 360;

// An edit's changed fields as "name: old -> new", one per line.
QString ChangesText(const ReviewEvent& event) {
    const nlohmann::json& fields = event.fields;
    if (!fields.contains("from") || !fields["from"].is_object())
        return {};
    QStringList lines;
    const nlohmann::json& to = fields.value("to", nlohmann::json::object());
    for (const auto& [name, before] : fields["from"].items()) {
        const nlohmann::json after = to.is_object() ? to.value(name, nlohmann::json()) : nullptr;
        lines << QStringLiteral("%1: %2 \u2192 %3")
                     .arg(QString::fromStdString(name), QString::fromStdString(before.dump()),
                          QString::fromStdString(after.dump()));
    }
    return lines.join(QLatin1Char('\n'));
}

QString PresentText(const std::optional<ReadingReview>& review) {
    if (!review)
        return UiText("The files are still being read.");
    QString status = StatusText(review->status);
    if (review->manual)
        status = QString::fromUtf8(kManualMark) + status;
    const QString reason = ReviewReasonText(*review);
    return UiText("Now: %1 (%2)")
        .arg(reason.isEmpty() ? status : status + QStringLiteral(", ") + reason,
             DecidedByText(review->manual));
}

} // namespace

CHistoryDialog::CHistoryDialog(const std::string& recordingPath,
                               const std::optional<ReadingReview>& review, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("reviewHistory"));
    const std::string name = FileNameInFolder(recordingPath);
    setWindowTitle(UiText("History of %1").arg(QString::fromStdString(name)));
    auto* layout = new QVBoxLayout(this);
    auto* present = new QLabel(PresentText(review), this);
    present->setObjectName(QStringLiteral("historyPresent"));
    layout->addWidget(present);

    const ReviewLogContents log = ReadReviewLog(ReviewLogPathFor(recordingPath));
    const std::vector<ReviewEvent> events = EventsOfFile(log.events, name);
    auto* table = new QTableWidget(static_cast<int>(events.size()), 6, this);
    table->setObjectName(QStringLiteral("historyTable"));
    table->setHorizontalHeaderLabels({UiText("Time"), UiText("User"), UiText("Action"),
                                      UiText("Reason"), UiText("Note"), UiText("Changes")});
    for (int row = 0; row < table->rowCount(); ++row) {
        const ReviewEvent& event = events[static_cast<size_t>(row)];
        const QString texts[] = {QString::fromStdString(EventText(event, "time")),
                                 QString::fromStdString(EventText(event, "user")),
                                 QString::fromStdString(EventText(event, "action")),
                                 ReasonText(EventText(event, "reason")),
                                 QString::fromStdString(EventText(event, "note")),
                                 ChangesText(event)};
        for (int column = 0; column < 6; ++column)
            table->setItem(row, column, new QTableWidgetItem(texts[column]));
    }
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->setVisible(false);
    table->horizontalHeader()->setStretchLastSection(true);
    table->resizeColumnsToContents();
    table->resizeRowsToContents();
    layout->addWidget(table);
    if (events.empty() || !log.error.empty() || !log.warnings.empty()) {
        QStringList notes;
        if (events.empty())
            notes << UiText("The review log holds no events of this file.");
        if (!log.error.empty())
            notes << QString::fromStdString(log.error);
        for (const std::string& warning : log.warnings)
            notes << QString::fromStdString(warning);
        auto* note = new QLabel(notes.join(QLatin1Char('\n')), this);
        note->setObjectName(QStringLiteral("historyNotes"));
        note->setWordWrap(true);
        layout->addWidget(note);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(kInitialWidth, kInitialHeight);
}

} // namespace mirado
