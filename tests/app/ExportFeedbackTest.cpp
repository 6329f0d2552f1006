#include "app/MainFrameFileCommands.h"

#include "support/TestApplication.h"

#include <QProgressDialog>
#include <QPushButton>

#include <gtest/gtest.h>

namespace mirado {
namespace {

TEST(ExportFeedback, QuickRunShowsOnlyTheBusyCursor) {
    test::EnsureQtApp();
    QtExportFeedback feedback(nullptr, 60'000);
    feedback.Begin(3);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    feedback.FilesDone(1);
    feedback.FilesDone(2);
    EXPECT_EQ(feedback.ProgressDialog(), nullptr);
    EXPECT_FALSE(feedback.IsCancelled());
    feedback.End();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(ExportFeedback, LongRunShowsTheCountAndCanBeCancelled) {
    test::EnsureQtApp();
    QtExportFeedback feedback(nullptr, 0);
    feedback.Begin(5);
    feedback.FilesDone(2);
    QProgressDialog* dialog = feedback.ProgressDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->labelText(), "2 of 5 files done");
    EXPECT_EQ(dialog->value(), 2);
    EXPECT_FALSE(feedback.IsCancelled());
    dialog->findChild<QPushButton*>()->click();
    EXPECT_TRUE(feedback.IsCancelled());
    feedback.End();
    EXPECT_EQ(feedback.ProgressDialog(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

} // namespace
} // namespace mirado
