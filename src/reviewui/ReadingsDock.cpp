#include "reviewui/ReadingsDock.h"

#include "platform/qtcore/UiText.h"
#include "records/TextEncoding.h"
#include "reviewui/ReadingsFilter.h"
#include "reviewui/ReadingsTableModel.h"
#include "reviewui/ReviewState.h"
#include "reviewui/ReviewTexts.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QSignalBlocker>
#include <QTableView>
#include <QVBoxLayout>

#include <optional>
#include <set>

namespace mirado {

namespace {

constexpr int kProgressPeriodMs = 100;
constexpr int kAll = -1;

QString SessionLabel(const SessionReview& session) {
    return QString::fromStdString(Cp932ToUtf8(session.studyNo) + " / " +
                                  Cp932ToUtf8(session.animalNo) + " / " +
                                  Cp932ToUtf8(session.date));
}

} // namespace

CReadingsDock::CReadingsDock(CReviewState& state, QWidget* parent)
    : QDockWidget(UiText("Readings"), parent), state_(state),
      model_(new CReadingsTableModel(state, this)), filter_(new CReadingsFilter(this)) {
    setObjectName(QStringLiteral("readingsDock"));
    auto* body = new QWidget(this);
    bar_ = body;
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(2, 2, 2, 2);
    auto* filters = new QHBoxLayout;
    layout->addLayout(filters);
    profileBox_ = AddCombo(QT_TRANSLATE_NOOP("Mirado", "Profile"), "reviewProfile");
    animalBox_ = AddCombo(QT_TRANSLATE_NOOP("Mirado", "Animal"), "animalFilter");
    sessionBox_ = AddCombo(QT_TRANSLATE_NOOP("Mirado", "Session"), "sessionFilter");
    statusBox_ = AddCombo(QT_TRANSLATE_NOOP("Mirado", "Status"), "statusFilter");
    for (QComboBox* box : {profileBox_, animalBox_, sessionBox_, statusBox_}) {
        filters->addWidget(box->property("label").value<QLabel*>());
        filters->addWidget(box, box == profileBox_ ? 2 : 1);
    }
    progress_ = new QLabel(body);
    progress_->setObjectName(QStringLiteral("readingsProgress"));
    filters->addWidget(progress_);

    filter_->setSourceModel(model_);
    table_ = new QTableView(body);
    table_->setObjectName(QStringLiteral("readingsTable"));
    table_->setModel(filter_);
    table_->setSortingEnabled(true);
    table_->sortByColumn(-1, Qt::AscendingOrder);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->setVisible(false);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 4);
    table_->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(table_);
    setWidget(body);

    connect(table_, &QTableView::clicked, this, [this](const QModelIndex& index) {
        emit OpenRequested(filter_->mapToSource(index).row());
    });
    connect(profileBox_, &QComboBox::activated, this, &CReadingsDock::ProfileChosen);
    for (QComboBox* box : {animalBox_, sessionBox_, statusBox_})
        connect(box, &QComboBox::activated, this, &CReadingsDock::OnFilterChosen);
    connect(&state_, &CReviewState::FilesSet, this, &CReadingsDock::FillFilters);
    connect(&state_, &CReviewState::Filled, this, &CReadingsDock::FillFilters);
    connect(&progressTimer_, &QTimer::timeout, this, &CReadingsDock::ShowProgress);
    progressTimer_.start(kProgressPeriodMs);
    FillFilters();
}

QComboBox* CReadingsDock::AddCombo(const char* label, const char* objectName) {
    auto* box = new QComboBox(bar_);
    box->setObjectName(QString::fromLatin1(objectName));
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(6);
    auto* text = new QLabel(UiText(label), bar_);
    text->setBuddy(box);
    box->setProperty("label", QVariant::fromValue(text));
    return box;
}

void CReadingsDock::SetProfiles(const std::vector<AcceptanceProfile>& profiles, int chosen) {
    const QSignalBlocker blocker(profileBox_);
    profileBox_->clear();
    for (const AcceptanceProfile& profile : profiles) {
        profileBox_->addItem(UiText(profile.name));
        profileBox_->setItemData(profileBox_->count() - 1,
                                 QString::fromStdString(profile.description), Qt::ToolTipRole);
    }
    profileBox_->setCurrentIndex(chosen);
}

void CReadingsDock::FillFilters() {
    const QSignalBlocker animalBlocker(animalBox_);
    const QSignalBlocker sessionBlocker(sessionBox_);
    const QSignalBlocker statusBlocker(statusBox_);
    for (QComboBox* box : {animalBox_, sessionBox_, statusBox_}) {
        box->clear();
        box->addItem(UiText("All"), kAll);
    }
    std::set<std::string> animals;
    const std::vector<SessionReview>& sessions = state_.Review().sessions;
    for (size_t s = 0; s < sessions.size(); ++s) {
        animals.insert(sessions[s].animalNo);
        sessionBox_->addItem(SessionLabel(sessions[s]), static_cast<int>(s));
    }
    for (const std::string& animal : animals)
        animalBox_->addItem(QString::fromStdString(Cp932ToUtf8(animal)), 0);
    for (size_t status = 0; status < kReadingStatusCount; ++status)
        statusBox_->addItem(StatusText(static_cast<ReadingStatus>(status)),
                            static_cast<int>(status));
    OnFilterChosen();
    ShowProgress();
    // Measured on the first rows the header samples, so a long list costs no more.
    table_->resizeColumnsToContents();
}

void CReadingsDock::OnFilterChosen() {
    const bool anyAnimal = animalBox_->currentIndex() <= 0;
    filter_->SetAnimal(anyAnimal ? std::nullopt : std::optional(animalBox_->currentText()));
    const int session = sessionBox_->currentData().toInt();
    filter_->SetSession(session == kAll ? std::nullopt : std::optional(session));
    const int status = statusBox_->currentData().toInt();
    filter_->SetStatus(status == kAll ? std::nullopt : std::optional(status));
}

void CReadingsDock::FilterToSessionOf(int index) {
    const SessionReview* session = state_.SessionOf(static_cast<size_t>(index));
    const int found =
        session == nullptr
            ? 0
            : sessionBox_->findData(static_cast<int>(session - state_.Review().sessions.data()));
    sessionBox_->setCurrentIndex(std::max(found, 0));
    OnFilterChosen();
}

void CReadingsDock::SetCurrentRow(int index) {
    const QModelIndex shown = filter_->mapFromSource(model_->index(index, 0));
    if (!shown.isValid()) {
        table_->clearSelection();
        return;
    }
    table_->selectRow(shown.row());
    table_->scrollTo(shown);
}

void CReadingsDock::ShowProgress() {
    const size_t total = state_.Paths().size();
    if (state_.IsFilled() || total == 0) {
        progress_->clear();
        return;
    }
    progress_->setText(UiText("Reading %1 of %2...")
                           .arg(static_cast<qulonglong>(state_.Done()))
                           .arg(static_cast<qulonglong>(total)));
}

} // namespace mirado
