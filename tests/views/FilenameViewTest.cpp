#include "support/GuiTestSupport.h"

#include "platform/qtcore/UserEvents.h"
#include "support/NamedChild.h"
#include "support/RecordingSurface.h"
#include "views/FilenameView.h"

#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>

#include <gtest/gtest.h>

namespace mirado {
namespace {

// Metrics giving a row height of 12 (h = 9, 9 + 9 / 3).
const FontMetrics kNineHigh{9, 7, 0, 5};

class FilenameViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::EnsureQtApp();
        view = std::make_unique<CFilenameView>(Doc());
        view->OnInitialUpdate();
        // Row height 12 from the recorded metrics; 10 whole rows in 125 pixels.
        view->resize(130, 125);
        RecordingSurface measure(96, kNineHigh);
        view->OnEraseBackground(measure);
        ASSERT_EQ(view->GetRowHeight(), 12);
    }

    CMiradoDoc* Doc() { return scripted.doc.get(); }

    void List(int count) {
        Doc()->SetFileList(test::WriteRecordings(dir, count));
        Doc()->OpenFileAt(0);
        view->UpdateFileCount();
    }

    RecordingSurface Draw() {
        RecordingSurface surface(96, kNineHigh);
        view->OnEraseBackground(surface);
        view->OnDraw(surface);
        return surface;
    }

    test::TempFolder dir;
    test::ScriptedDocument scripted;
    std::unique_ptr<CFilenameView> view;
};

TEST_F(FilenameViewTest, EmptyListShowsOnlyStripesAndNoScrollBar) {
    view->UpdateFileCount();
    const RecordingSurface s = Draw();
    ASSERT_EQ(s.fills.size(), 11u); // 125 / 12 rounded up
    EXPECT_EQ(s.fills[0].rect, (Rect{0, 0, 130, 12}));
    EXPECT_EQ(s.fills[0].colour, Rgb(255, 255, 255));
    EXPECT_EQ(s.fills[1].colour, Rgb(240, 240, 240));
    EXPECT_TRUE(s.texts.empty());
    EXPECT_TRUE(s.inverts.empty());
    EXPECT_TRUE(test::NamedChild<QScrollBar>(*view, "fileListScrollBar")->isHidden());
    EXPECT_FALSE(view->HitTest(30, 5).has_value());
}

TEST_F(FilenameViewTest, RowsShowNameCheckBoxAndCrossForMarkedFiles) {
    List(3);
    Doc()->ToggleSelected(1);
    view->SetCurrentRow(0);
    const RecordingSurface s = Draw();
    ASSERT_EQ(s.texts.size(), 3u);
    EXPECT_EQ(s.texts[1].text, "R001.001");
    EXPECT_EQ(s.texts[1].at, (Point{24, 2 + 12}));
    EXPECT_EQ(s.texts[1].background, Rgb(240, 240, 240));
    EXPECT_EQ(s.frames[0].rect, (Rect{4, 2, 13, 11})); // the box at row height 12
    EXPECT_EQ(s.frames[1].rect, (Rect{4, 14, 13, 23}));
    ASSERT_EQ(s.lines.size(), 2u); // one X, in row 1
    EXPECT_EQ(s.lines[0].from, (Point{4, 14}));
    EXPECT_EQ(s.lines[0].to, (Point{13, 23}));
    EXPECT_EQ(s.lines[1].from, (Point{4, 22}));
    EXPECT_EQ(s.lines[1].to, (Point{12, 14}));
    ASSERT_EQ(s.inverts.size(), 1u); // the current row, never the check-box column
    EXPECT_EQ(s.inverts[0].rect, (Rect{20, 0, 130, 12}));
}

TEST_F(FilenameViewTest, ClicksLeftOfTwentyToggleAndRightOfItSelect) {
    List(3);
    auto hit = view->HitTest(19, 13);
    ASSERT_TRUE(hit.has_value());
    EXPECT_EQ(hit->message, WM_TOGGLE_FILE);
    EXPECT_EQ(hit->index, 1);
    hit = view->HitTest(20, 13);
    ASSERT_TRUE(hit.has_value());
    EXPECT_EQ(hit->message, WM_SELECT_FILE);
    EXPECT_FALSE(view->HitTest(30, 36).has_value()); // below the last file
}

TEST_F(FilenameViewTest, ShiftClickMarksEveryFileFromTheCurrentOneAndKeepsIt) {
    List(6);
    Doc()->OpenFileAt(2);
    Doc()->ToggleSelected(3); // already marked: stays marked
    QMouseEvent click(QEvent::MouseButtonRelease, QPointF(40, 5 * 12 + 3), QPointF(40, 5 * 12 + 3),
                      Qt::LeftButton, Qt::NoButton, Qt::ShiftModifier);
    QApplication::sendEvent(view.get(), &click);
    QApplication::processEvents();
    std::vector<bool> marks;
    for (int i = 0; i < 6; ++i)
        marks.push_back(Doc()->IsSelected(i));
    EXPECT_EQ(marks, (std::vector<bool>{false, false, true, true, true, true}));
    EXPECT_EQ(Doc()->GetCurrentIndex(), 2);

    view->MarkRangeTo(0); // upwards too
    EXPECT_TRUE(Doc()->IsSelected(0) && Doc()->IsSelected(1));
    view->MarkRangeTo(9); // beyond the list: nothing
    EXPECT_EQ(Doc()->CountSelected(), 6);
}

TEST_F(FilenameViewTest, ReleasesOutsideThePaneHitNothing) {
    List(25);
    EXPECT_FALSE(view->HitTest(-1, 13).has_value()); // let go over the pane to the left
    EXPECT_FALSE(view->HitTest(30, -1).has_value());
    EXPECT_FALSE(view->HitTest(30, 125).has_value()); // file 10 exists but is not on screen
    EXPECT_FALSE(view->HitTest(view->width(), 13).has_value());
    EXPECT_TRUE(view->HitTest(30, 124).has_value());
}

TEST_F(FilenameViewTest, ScrollRangeAppearsOnlyWhenTheListOverflows) {
    List(10); // exactly the ten visible rows
    EXPECT_TRUE(test::NamedChild<QScrollBar>(*view, "fileListScrollBar")->isHidden());
    List(11);
    EXPECT_FALSE(test::NamedChild<QScrollBar>(*view, "fileListScrollBar")->isHidden());
    EXPECT_EQ(test::NamedChild<QScrollBar>(*view, "fileListScrollBar")->minimum(), 0);
    EXPECT_EQ(test::NamedChild<QScrollBar>(*view, "fileListScrollBar")->maximum(), 1);
    EXPECT_EQ(view->GetFirstRow(), 0);
}

TEST_F(FilenameViewTest, SetCurrentRowScrollsOnlyWhenTheRowIsOffScreen) {
    List(25);
    view->SetCurrentRow(9);
    EXPECT_EQ(view->GetFirstRow(), 0);
    view->SetCurrentRow(12);
    EXPECT_EQ(view->GetFirstRow(), 12);
    view->SetCurrentRow(24); // the list stops at its last page
    EXPECT_EQ(view->GetFirstRow(), 15);
    view->SetCurrentRow(3);
    EXPECT_EQ(view->GetFirstRow(), 3);
    const RecordingSurface s = Draw();
    ASSERT_EQ(s.inverts.size(), 1u);
    EXPECT_EQ(s.inverts[0].rect.top, 0);
}

TEST_F(FilenameViewTest, StripesKeepTheirScreenRowsWhileScrolling) {
    List(25);
    view->SetCurrentRow(13);
    const RecordingSurface s = Draw();
    EXPECT_EQ(s.texts[0].text, "R013.001");
    EXPECT_EQ(s.texts[0].background, Rgb(255, 255, 255));
    EXPECT_EQ(s.fills[0].colour, Rgb(255, 255, 255));
    auto hit = view->HitTest(30, 1);
    ASSERT_TRUE(hit.has_value());
    EXPECT_EQ(hit->index, 13);
}

TEST_F(FilenameViewTest, PageAndLineRequestsStayInRange) {
    List(25);
    QScrollBar* bar = test::NamedChild<QScrollBar>(*view, "fileListScrollBar");
    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(view->GetFirstRow(), 0);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(view->GetFirstRow(), 10);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(view->GetFirstRow(), 15);
    bar->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(view->GetFirstRow(), 0);
}

TEST_F(FilenameViewTest, NoCurrentRowInvertsNothing) {
    List(2);
    EXPECT_EQ(view->GetCurrentRow(), -1);
    EXPECT_TRUE(Draw().inverts.empty());
}

TEST_F(FilenameViewTest, SelectionMenuOffersFiveItemsWithTheListCommandsEnabled) {
    std::unique_ptr<QMenu> menu(view->CreateSelectionMenu(nullptr));
    EXPECT_EQ(menu->title(), "Selection");
    QStringList items;
    for (QAction* a : menu->actions())
        items << (a->isSeparator() ? QStringLiteral("|") : a->text());
    const QStringList expected = {"Print selected files", "Save to Textfile",
                                  "Send to Recycle Bin",  "|",
                                  "Select all files",     "Clear selection"};
    // In this order (other features may add items of their own in between).
    qsizetype at = 0;
    for (const QString& item : expected) {
        at = items.indexOf(item, at);
        ASSERT_GE(at, 0) << item.toStdString();
    }
    EXPECT_TRUE(test::NamedChild<QAction>(*view, "selectAllFiles")->isEnabled());
    EXPECT_TRUE(test::NamedChild<QAction>(*view, "clearFileSelection")->isEnabled());
    int selectAll = 0;
    QObject::connect(view.get(), &CFilenameView::SelectAllRequested, [&] { ++selectAll; });
    test::NamedChild<QAction>(*view, "selectAllFiles")->trigger();
    EXPECT_EQ(selectAll, 1);
}

} // namespace
} // namespace mirado

namespace mirado {
namespace {

TEST_F(FilenameViewTest, AFileThatFailedToLoadIsStruckThroughInRedOnceOpened) {
    std::vector<std::string> paths = test::WriteRecordings(dir, 2);
    const std::string damaged = dir.File("broken.001");
    test::WriteText(damaged, "not a recording");
    paths.insert(paths.begin() + 1, damaged);
    Doc()->SetFileList(paths);
    Doc()->OpenFileAt(0);
    view->UpdateFileCount();

    // Not yet opened: drawn as any other row.
    RecordingSurface before = Draw();
    ASSERT_EQ(before.texts.size(), 3u);
    EXPECT_EQ(before.texts[1].colour, Rgb(0, 0, 0));
    EXPECT_TRUE(before.lines.empty());

    Doc()->OpenFileAt(1);
    Doc()->OpenFileAt(2);
    const RecordingSurface after = Draw();
    ASSERT_EQ(after.texts.size(), 3u);
    EXPECT_EQ(after.texts[1].text, "broken.001");
    EXPECT_EQ(after.texts[1].at, (Point{24, 2 + 12}));
    EXPECT_EQ(after.texts[1].colour, Rgb(192, 0, 0));
    EXPECT_EQ(after.texts[0].colour, Rgb(0, 0, 0));
    EXPECT_EQ(after.texts[2].colour, Rgb(0, 0, 0));
    // The strike runs over the name, inside its row.
    ASSERT_EQ(after.lines.size(), 1u);
    EXPECT_EQ(after.lines[0].pen.colour, Rgb(192, 0, 0));
    EXPECT_EQ(after.lines[0].from.x, 24);
    EXPECT_GT(after.lines[0].to.x, 24);
    EXPECT_GT(after.lines[0].from.y, 12);
    EXPECT_LT(after.lines[0].from.y, 24);
}

TEST_F(FilenameViewTest, ARowsToolTipIsItsFullPath) {
    List(3);
    const auto hit = view->HitTest(60, 12 + 5);
    ASSERT_TRUE(hit.has_value());
    EXPECT_EQ(view->ToolTipAt(hit->index), Doc()->GetPathAt(1));
    EXPECT_EQ(view->ToolTipAt(hit->index).front(), '/');
}

} // namespace
} // namespace mirado
