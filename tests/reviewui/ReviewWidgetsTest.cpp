#include "ReviewFixture.h"

#include "review/ReviewLog.h"
#include "reviewui/ReadingsDock.h"
#include "reviewui/ReadingsTableModel.h"
#include "reviewui/ReasonPickerDialog.h"
#include "reviewui/ReviewTexts.h"
#include "reviewui/SessionPane.h"
#include "support/NamedChild.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTableView>
#include <QTableWidget>

namespace mirado {
namespace {

using test::ReviewFixture;

struct PickRow {
    const char* preselected;
    Qt::Key key;        // pressed and let go in the list; Key_Return takes the chosen
    bool closes;        // the dialog is done with it
    const char* reason; // what it gives
};

class ReasonPickerTest : public ::testing::TestWithParam<PickRow> {
protected:
    void SetUp() override { test::EnsureQtApp(); }
};

TEST_P(ReasonPickerTest, KeysPickTheReason) {
    const PickRow& row = GetParam();
    CReasonPickerDialog dialog(row.preselected);
    dialog.show();
    auto* list = test::NamedChild<QListWidget>(dialog, "reasonList");
    QTest::keyClick(list, row.key);
    EXPECT_EQ(dialog.result() == QDialog::Accepted, row.closes);
    EXPECT_EQ(dialog.Choice().reason, row.reason);
}

INSTANTIATE_TEST_SUITE_P(Keys, ReasonPickerTest,
                         ::testing::Values(PickRow{"", Qt::Key_1, true, "movement"},
                                           PickRow{"cuff_leak", Qt::Key_2, true, "no_pulse"},
                                           PickRow{"", Qt::Key_3, true, "cuff_leak"},
                                           PickRow{"", Qt::Key_4, true, "irregular_rhythm"},
                                           // Other waits for its note.
                                           PickRow{"", Qt::Key_5, false, "other"},
                                           // The last reason is chosen first; Enter takes it.
                                           PickRow{"irregular_rhythm", Qt::Key_Return, true,
                                                   "irregular_rhythm"},
                                           PickRow{"", Qt::Key_6, false, "movement"}),
                         [](const auto& info) { return "row" + std::to_string(info.index); });

TEST_F(ReviewFixture, OtherTakesItsNote) {
    CReasonPickerDialog dialog("");
    dialog.show();
    QTest::keyClick(test::NamedChild<QListWidget>(dialog, "reasonList"), Qt::Key_5);
    auto* note = test::NamedChild<QLineEdit>(dialog, "reasonNote");
    ASSERT_TRUE(note->isEnabled());
    // Digits typed in the note are text, not reasons.
    QTest::keyClicks(note, "tail 2 cm");
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    const ReasonChoice choice = dialog.Choice();
    EXPECT_EQ(choice.reason, "other");
    EXPECT_EQ(choice.note, "tail 2 cm");
}

class ReadingsDockTest : public ReviewFixture {
protected:
    void Fill() {
        const std::vector<std::string> paths = Prepare(test::StandardSpecs());
        state = std::make_unique<CReviewState>(1, Reader());
        dock = std::make_unique<CReadingsDock>(*state);
        dock->show();
        state->SetFiles(paths);
        WaitFilled(*state);
        table = test::NamedChild<QTableView>(*dock, "readingsTable");
    }

    std::vector<int> ShownSbp() const {
        std::vector<int> values;
        for (int row = 0; row < table->model()->rowCount(); ++row)
            values.push_back(table->model()->index(row, CReadingsTableModel::kSbp).data().toInt());
        return values;
    }

    static void Choose(QComboBox* box, int index) {
        box->setCurrentIndex(index);
        emit box->activated(index);
    }

    std::unique_ptr<CReviewState> state;
    std::unique_ptr<CReadingsDock> dock;
    QTableView* table = nullptr;
};

TEST_F(ReadingsDockTest, FiltersBySessionAnimalAndStatus) {
    Fill();
    EXPECT_EQ(table->model()->rowCount(), 60);
    auto* sessions = test::NamedChild<QComboBox>(*dock, "sessionFilter");
    ASSERT_EQ(sessions->count(), 1 + 12);
    Choose(sessions, 2); // the second session: S1 / A1 / 26/01/06
    ASSERT_EQ(table->model()->rowCount(), 5);
    for (int row = 0; row < 5; ++row)
        EXPECT_EQ(table->model()->index(row, CReadingsTableModel::kDate).data().toString(),
                  "26/01/06");
    Choose(sessions, 0);

    auto* animals = test::NamedChild<QComboBox>(*dock, "animalFilter");
    ASSERT_EQ(animals->count(), 3);
    Choose(animals, 2);
    EXPECT_EQ(table->model()->rowCount(), 30);

    ASSERT_TRUE(state->Decide(20, ReviewAction::Reject, "movement", "").ok());
    auto* statuses = test::NamedChild<QComboBox>(*dock, "statusFilter");
    Choose(statuses, statuses->findData(static_cast<int>(ReadingStatus::Rejected)));
    ASSERT_EQ(table->model()->rowCount(), 1);
    const QModelIndex status = table->model()->index(0, CReadingsTableModel::kStatus);
    // A decision by hand is marked and set in italics; a rule's is not.
    EXPECT_TRUE(status.data().toString().startsWith(QString::fromUtf8(kManualMark)));
    EXPECT_TRUE(status.data(Qt::FontRole).value<QFont>().italic());
    EXPECT_EQ(table->model()->index(0, CReadingsTableModel::kReason).data().toString(), "Movement");
}

TEST_F(ReadingsDockTest, ANewListShowsItsRowsAtOnceAndDropsTheOldFilters) {
    Fill();
    auto* sessions = test::NamedChild<QComboBox>(*dock, "sessionFilter");
    Choose(sessions, 12);
    table->sortByColumn(CReadingsTableModel::kSbp, Qt::AscendingOrder);
    std::vector<std::string> fewer(state->Paths().begin(), state->Paths().begin() + 3);
    state->SetFiles(fewer);
    // Before the values arrive: three rows with their names, no stale filter or value.
    ASSERT_EQ(table->model()->rowCount(), 3);
    EXPECT_EQ(sessions->count(), 1);
    EXPECT_FALSE(table->model()->index(0, CReadingsTableModel::kSbp).data().isValid());
    WaitFilled(*state);
    EXPECT_EQ(table->model()->rowCount(), 3);
    EXPECT_EQ(sessions->count(), 2);
}

TEST_F(ReadingsDockTest, SortsNumbersAsNumbers) {
    Fill();
    table->sortByColumn(CReadingsTableModel::kSbp, Qt::AscendingOrder);
    const std::vector<int> ascending = ShownSbp();
    EXPECT_TRUE(std::is_sorted(ascending.begin(), ascending.end()));
    EXPECT_LT(ascending.front(), 100 + 60); // the lowest reading first, not "1xx" text order
    table->sortByColumn(CReadingsTableModel::kSbp, Qt::DescendingOrder);
    const std::vector<int> descending = ShownSbp();
    EXPECT_TRUE(std::is_sorted(descending.rbegin(), descending.rend()));
}

TEST_F(ReadingsDockTest, AClickAsksForTheFileOfTheRowAsSorted) {
    Fill();
    table->sortByColumn(CReadingsTableModel::kSbp, Qt::DescendingOrder);
    QSignalSpy open(dock.get(), &CReadingsDock::OpenRequested);
    emit table->clicked(table->model()->index(0, 0));
    ASSERT_EQ(open.count(), 1);
    const int row = open.takeFirst().at(0).toInt();
    EXPECT_EQ(state->Readings()[static_cast<size_t>(row)].values.sbp, ShownSbp().front());
}

TEST_F(ReviewFixture, TheSessionPaneFollowsEveryDecision) {
    const std::vector<std::string> paths = Prepare(test::StandardSpecs());
    CReviewState state(1, Reader());
    CSessionPane pane(state);
    state.SetFiles(paths);
    WaitFilled(state);
    pane.ShowSessionOf(6);
    auto* counts = test::NamedChild<QTableWidget>(pane, "sessionCounts");
    auto* statistics = test::NamedChild<QTableWidget>(pane, "sessionStatistics");
    const int accepted = 1 + static_cast<int>(ReadingStatus::Accepted);
    const int rejected = 1 + static_cast<int>(ReadingStatus::Rejected);
    EXPECT_EQ(counts->item(0, 0)->text(), "5");
    EXPECT_EQ(counts->item(accepted, 0)->text(), "5");
    EXPECT_EQ(statistics->item(0, 0)->text(), "5");

    ASSERT_TRUE(state.Decide(7, ReviewAction::Reject, "movement", "").ok());
    EXPECT_EQ(counts->item(accepted, 0)->text(), "4");
    EXPECT_EQ(counts->item(rejected, 0)->text(), "1");
    EXPECT_TRUE(counts->item(rejected, 1)->text().endsWith("1"));
    EXPECT_EQ(statistics->item(0, 0)->text(), "4");
    const SessionReview* session = state.SessionOf(6);
    ASSERT_NE(session, nullptr);
    EXPECT_EQ(statistics->item(0, 1)->text(), QString::number(*session->sbp.values.mean, 'f', 1));

    // A decision in another session leaves the pane as it is.
    ASSERT_TRUE(state.Decide(0, ReviewAction::Reject, "movement", "").ok());
    EXPECT_EQ(counts->item(rejected, 0)->text(), "1");
}

} // namespace
} // namespace mirado
