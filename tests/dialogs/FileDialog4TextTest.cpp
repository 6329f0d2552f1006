#include "dialogs/FileDialog4Text.h"

#include "RadioClick.h"
#include "support/NamedChild.h"
#include "support/TempFolder.h"
#include "support/TestApplication.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace mirado {
namespace {

const QStringList kFilters = {"txt file (*.txt)", "All Files (*.*)"};

TEST(FileDialog4Text, EveryOpeningStartsAtDominant) {
    test::EnsureQtApp();
    CFileDialog4Text dialog("txt", "Textout.txt", kFilters);
    dialog.show();
    EXPECT_TRUE(dialog.IsDominant());
    EXPECT_TRUE(test::NamedChild<QRadioButton>(dialog, "exportDominant")->isChecked());
    test::ClickRadio(test::NamedChild<QRadioButton>(dialog, "exportMean"));
    EXPECT_FALSE(dialog.IsDominant());
    dialog.reject();

    dialog.show();
    EXPECT_TRUE(dialog.IsDominant());
    EXPECT_TRUE(test::NamedChild<QRadioButton>(dialog, "exportDominant")->isChecked());
    EXPECT_FALSE(test::NamedChild<QRadioButton>(dialog, "exportMean")->isChecked());
    dialog.reject();
}

// Table shows its value source and proposes the table's name; Dominant and Mean show the
// encoding instead. A dialog told to start in Table does so at every opening.
TEST(FileDialog4Text, TheModeShowsOnlyItsOwnOptionAndTheStartModeHolds) {
    test::EnsureQtApp();
    CFileDialog4Text dialog("txt", "Textout.txt", kFilters);
    dialog.SetStartMode(ExportMode::Table);
    dialog.show();
    EXPECT_TRUE(test::NamedChild<QRadioButton>(dialog, "exportTable")->isChecked());
    EXPECT_EQ(dialog.Choice().mode, ExportMode::Table);
    EXPECT_TRUE(test::NamedChild<QComboBox>(dialog, "exportSource")->isVisible());
    EXPECT_FALSE(test::NamedChild<QComboBox>(dialog, "exportEncoding")->isVisible());
    EXPECT_EQ(dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text(), "Textout.csv");
    EXPECT_EQ(dialog.defaultSuffix(), "csv");

    test::ClickRadio(test::NamedChild<QRadioButton>(dialog, "exportMean"));
    EXPECT_FALSE(test::NamedChild<QComboBox>(dialog, "exportSource")->isVisible());
    EXPECT_TRUE(test::NamedChild<QComboBox>(dialog, "exportEncoding")->isVisible());
    EXPECT_EQ(dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text(), "Textout.txt");
    dialog.reject();

    dialog.show();
    EXPECT_TRUE(test::NamedChild<QRadioButton>(dialog, "exportTable")->isChecked());
    EXPECT_GE(dialog.width(), dialog.fontMetrics().horizontalAdvance(dialog.windowTitle()));
    dialog.reject();
}

TEST(FileDialog4Text, MeanThenDominantReportsDominant) {
    test::EnsureQtApp();
    CFileDialog4Text dialog("txt", "Textout.txt", kFilters);
    dialog.show();
    test::ClickRadio(test::NamedChild<QRadioButton>(dialog, "exportMean"));
    test::ClickRadio(test::NamedChild<QRadioButton>(dialog, "exportDominant"));
    EXPECT_TRUE(dialog.IsDominant());
    dialog.reject();
}

TEST(FileDialog4Text, SavesWithTheDefaultNameExtensionAndFilters) {
    test::EnsureQtApp();
    test::TempFolder folder;
    CFileDialog4Text dialog("txt", "Textout.txt", kFilters);
    dialog.setDirectory(QString::fromStdString(folder.Path()));
    EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
    EXPECT_TRUE(dialog.testOption(QFileDialog::DontUseNativeDialog));
    EXPECT_FALSE(dialog.testOption(QFileDialog::DontConfirmOverwrite));
    EXPECT_EQ(dialog.nameFilters(), kFilters);
    EXPECT_EQ(dialog.defaultSuffix(), "txt");

    QTimer::singleShot(0, &dialog, [&dialog] { QMetaObject::invokeMethod(&dialog, "accept"); });
    ASSERT_EQ(dialog.exec(), QDialog::Accepted);
    ASSERT_EQ(dialog.selectedFiles().size(), 1);
    EXPECT_EQ(QFileInfo(dialog.selectedFiles()[0]).fileName(), "Textout.txt");

    // A name typed without an extension gets ".txt".
    dialog.selectFile("results");
    QTimer::singleShot(0, &dialog, [&dialog] { QMetaObject::invokeMethod(&dialog, "accept"); });
    ASSERT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(QFileInfo(dialog.selectedFiles()[0]).fileName(), "results.txt");
}

TEST(FileDialog4Text, TableTakesItsOwnNameAndSourceWhileTheTextsKeepTheirEncoding) {
    test::EnsureQtApp();
    test::TempFolder folder;
    CFileDialog4Text dialog("txt", "Textout.txt", kFilters);
    dialog.setDirectory(QString::fromStdString(folder.Path()));
    dialog.SetEncoding(ExportEncoding::Utf8WithBom);
    dialog.show();
    auto* name = dialog.findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(dialog.Choice().encoding, ExportEncoding::Utf8WithBom);
    EXPECT_TRUE(test::NamedChild<QComboBox>(dialog, "exportEncoding")->isEnabled());
    EXPECT_FALSE(test::NamedChild<QComboBox>(dialog, "exportSource")->isEnabled());

    test::ClickRadio(test::NamedChild<QRadioButton>(dialog, "exportTable"));
    EXPECT_EQ(dialog.Choice().mode, ExportMode::Table);
    EXPECT_EQ(name->text(), "Textout.csv");
    EXPECT_EQ(dialog.defaultSuffix(), "csv");
    EXPECT_FALSE(test::NamedChild<QComboBox>(dialog, "exportEncoding")->isEnabled());
    test::NamedChild<QComboBox>(dialog, "exportSource")->setCurrentIndex(2);
    EXPECT_EQ(dialog.Choice().source, ValueSource::AnalysisSM);

    // A name of the user's own stays when the mode changes.
    test::ClickRadio(test::NamedChild<QRadioButton>(dialog, "exportMean"));
    EXPECT_EQ(name->text(), "Textout.txt");
    name->setText("mine.dat");
    test::ClickRadio(test::NamedChild<QRadioButton>(dialog, "exportTable"));
    EXPECT_EQ(name->text(), "mine.dat");
    dialog.reject();
}

} // namespace
} // namespace mirado
