#include "summary/StatisticsPanel.h"

#include "platform/qtcore/UiText.h"
#include "records/TextEncoding.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cctype>
#include <cmath>

namespace mirado {

namespace {

constexpr int kSignificantDigits = 4;

QString Number(double value) {
    return std::isfinite(value) ? QString::number(value, 'g', kSignificantDigits) : QString();
}

QString MeasureText(Measure measure) {
    QString text = QString::fromLatin1(MeasureName(measure));
    return text.toUpper();
}

QString DfText(double numerator, double denominator) {
    return Number(numerator) + QStringLiteral(", ") + Number(denominator);
}

} // namespace

CStatisticsPanel::CStatisticsPanel(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    control_ = new QComboBox(this);
    control_->setObjectName(QStringLiteral("statsControl"));
    row->addWidget(new QLabel(UiText("Control group:"), this));
    row->addWidget(control_);
    row->addStretch();
    layout->addLayout(row);
    table_ = new QTableWidget(this);
    table_->setObjectName(QStringLiteral("statsTable"));
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->setVisible(false);
    layout->addWidget(table_, 1);
    leftOut_ = new QLabel(this);
    leftOut_->setObjectName(QStringLiteral("statsLeftOut"));
    leftOut_->setWordWrap(true);
    layout->addWidget(leftOut_);
    connect(control_, &QComboBox::currentIndexChanged, this, &CStatisticsPanel::ShowTests);
    connect(control_, &QComboBox::activated, this,
            [this] { chosenControl_ = control_->currentText(); });
    ShowTests();
}

void CStatisticsPanel::SetStudy(std::optional<StudyData> study) {
    study_ = std::move(study);
    FillControls();
    ShowTests();
}

// The groups to compare against: the first group of the table, or the one the user
// chose while it is still there.
void CStatisticsPanel::FillControls() {
    const QString chosen = chosenControl_;
    const QSignalBlocker block(control_);
    control_->clear();
    if (study_)
        for (const std::string& group : study_->groups)
            control_->addItem(QString::fromStdString(group));
    control_->setCurrentIndex(std::max(control_->findText(chosen), 0));
}

size_t CStatisticsPanel::Control() const {
    return static_cast<size_t>(std::max(control_->currentIndex(), 0));
}

void CStatisticsPanel::ShowTests() {
    table_->clear();
    const QStringList titles = {
        UiText("Measure"),        UiText("Test"),         UiText("Term or session"),
        UiText("Group"),          QStringLiteral("n"),    UiText("df"),
        QStringLiteral("F / t"),  QStringLiteral("p"),    QStringLiteral("ε GG"),
        QStringLiteral("p GG"),   QStringLiteral("ε HF"), QStringLiteral("p HF"),
        QStringLiteral("p Holm"), QStringLiteral("ges")};
    table_->setColumnCount(static_cast<int>(titles.size()));
    table_->setHorizontalHeaderLabels(titles);
    table_->setRowCount(0);
    leftOut_->clear();
    if (!study_ || study_->animals.empty())
        return;
    const StudyTests tests = ComputeStudyTests(*study_, Control());
    const auto addRow = [this](const QStringList& cells) {
        const int row = table_->rowCount();
        table_->insertRow(row);
        for (int c = 0; c < cells.size(); ++c)
            table_->setItem(row, c, new QTableWidgetItem(cells[c]));
    };
    QStringList leftOut;
    for (const MeasureAnova& anova : tests.anovas) {
        for (const AnovaTerm& term : anova.terms)
            addRow({MeasureText(anova.measure), UiText("ANOVA"), QString::fromStdString(term.term),
                    QString(), QString::number(anova.animalsUsed), DfText(term.dfNum, term.dfDen),
                    Number(term.F), Number(term.p), Number(term.ggEpsilon), Number(term.pGg),
                    Number(term.hfEpsilon), Number(term.pHf), QString(), Number(term.ges)});
        for (const LeftOutAnimal& animal : anova.leftOut) {
            const AnimalKey& key = study_->animals[animal.animal].animal;
            QStringList missing;
            for (size_t session : animal.missingSessions)
                missing << QString::fromStdString(Cp932ToUtf8(study_->sessions[session].date));
            leftOut << UiText("%1 %2 / %3 (no value on %4)")
                           .arg(MeasureText(anova.measure),
                                QString::fromStdString(Cp932ToUtf8(key.studyNo)),
                                QString::fromStdString(Cp932ToUtf8(key.animalNo)),
                                missing.join(QStringLiteral(", ")));
        }
    }
    for (const WelchComparison& c : tests.comparisons)
        addRow({MeasureText(c.measure), UiText("Welch"),
                QString::fromStdString(Cp932ToUtf8(study_->sessions[c.session].date)),
                QString::fromStdString(study_->groups[c.group]) + UiText(" vs ") +
                    QString::fromStdString(study_->groups[c.control]),
                QStringLiteral("%1, %2").arg(c.n).arg(c.nControl), Number(c.df), Number(c.t),
                Number(c.p), QString(), QString(), QString(), QString(), Number(c.pHolm),
                QString()});
    table_->resizeColumnsToContents();
    if (!leftOut.isEmpty())
        leftOut_->setText(
            UiText("Left out of the ANOVA: %1").arg(leftOut.join(QStringLiteral("; "))));
}

} // namespace mirado
