// The summary window under an acceptance profile and the review logs: the same table as
// the batch tool's summary --profile (and, with the default profile and no decision, the
// table it always gave), the profile's name shown, and the exclusion report saved in the
// form its name asks for, never over a file of the list.

#include "summary/SummaryWindow.h"

#include "app/CommandIds.h"
#include "app/MainFrame.h"
#include "app/MiradoApp.h"
#include "document/MiradoDoc.h"
#include "document/MiradoSettings.h"
#include "document/PreferenceFolder.h"
#include "platform/qtcore/QtProfile.h"
#include "records/synth/RecordingGenerator.h"
#include "review/ChosenProfile.h"
#include "review/ReviewLog.h"
#include "summary/ExclusionReportFile.h"
#include "support/NamedChild.h"
#include "support/ScriptedPlatform.h"
#include "support/ScriptedUserPrompts.h"
#include "support/TempFolder.h"
#include "support/TestApplication.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <functional>

namespace mirado {
namespace {

QByteArray ReadBytes(const std::string& path) {
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Standard output of the batch tool over the files.
QByteArray CliOutput(QStringList arguments, const std::vector<std::string>& paths) {
    for (const std::string& path : paths)
        arguments << QString::fromStdString(path);
    QProcess cli;
    cli.start(QStringLiteral(MIRADO_CLI_PATH), arguments);
    EXPECT_TRUE(cli.waitForFinished(60000));
    return cli.readAllStandardOutput();
}

class SummaryReviewTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::EnsureQtApp();
        // Eight readings of one session, one far off, and a second animal's two.
        const int sbps[] = {130, 132, 128, 131, 129, 133, 130, 190, 150, 152};
        for (int i = 0; i < 10; ++i) {
            SynthOptions options;
            options.seed = static_cast<uint64_t>(i + 1);
            options.sbp = 2 * sbps[i]; // half mmHg
            options.studyNo = "S1";
            options.animalNo = i < 8 ? "A1" : "B2";
            options.date = "24/03/01";
            options.time = std::string("10:0").append(std::to_string(i)).append(":00");
            const std::string path =
                folder.File(std::string("r").append(std::to_string(i)).append(".001"));
            ASSERT_TRUE(WriteRecording(path, options).ok());
            paths.push_back(path);
        }
    }
    void Open(const AcceptanceProfile& profile) {
        window = std::make_unique<CSummaryWindow>(SummaryFiles{paths, false, paths, profile},
                                                  prompts, saveDialog, 2);
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        QSignalSpy shown(window.get(), &CSummaryWindow::SummaryShown);
        window->show();
        if (window->Result() == nullptr) {
            ASSERT_TRUE(shown.wait(20000));
        }
    }
    std::string SavedTable() {
        const std::string path = folder.File("table.csv");
        saveDialog.QueuePath(path);
        window->SaveTable();
        return ReadBytes(path).toStdString();
    }

    test::TempFolder folder;
    std::vector<std::string> paths;
    ScriptedUserPrompts prompts;
    ScriptedSaveFileDialog saveDialog;
    std::unique_ptr<CSummaryWindow> window;
};

TEST_F(SummaryReviewTest, TheTableIsTheBatchToolsSummaryUnderTheProfileAndTheLog) {
    const QByteArray plain = CliOutput({"summary"}, paths);
    Open(DefaultProfile());
    EXPECT_EQ(SavedTable(), plain.toStdString()); // every field and byte as before
    EXPECT_TRUE(test::NamedChild<QLabel>(*window, "summaryProfile")
                    ->text()
                    .contains(QString::fromStdString(DefaultProfile().name)));

    ASSERT_TRUE(AppendDecision(paths[1], ReviewAction::Reject, "movement", "").ok());
    const struct { const char* id; } rows[] = {{"all"}, {"acclimation-2sd"}, {"screening"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.id);
        Open(FindProfile(row.id, {}).value());
        const QByteArray expected = CliOutput({"summary", "--profile", row.id}, paths);
        EXPECT_EQ(SavedTable(), expected.toStdString());
        EXPECT_NE(expected, plain);
    }
}

TEST_F(SummaryReviewTest, TheReportIsWrittenInTheFormItsNameAsks) {
    Open(FindProfile("acclimation-2sd", {}).value());
    const struct {
        const char* name;
        QStringList cliArguments; // the batch tool's same report; empty: a PDF
    } rows[] = {
        {"report.csv", {"report", "--profile", "acclimation-2sd"}},
        {"report.JSONL", {"report", "--profile", "acclimation-2sd", "--format", "json"}},
        {"report.pdf", {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        saveDialog.QueuePath(folder.File(row.name));
        window->SaveReport();
        const QByteArray written = ReadBytes(folder.File(row.name));
        if (row.cliArguments.isEmpty())
            EXPECT_TRUE(written.startsWith("%PDF-"));
        else
            EXPECT_EQ(written, CliOutput(row.cliArguments, paths));
    }
    EXPECT_EQ(saveDialog.Requests().back().filters[0].patterns[0], "*.pdf");
    EXPECT_TRUE(prompts.Shown().empty());

    // A recording of the list is never written over; a folder that is not there is said.
    const QByteArray recording = ReadBytes(paths[0]);
    saveDialog.QueuePath(paths[0]);
    window->SaveReport();
    EXPECT_EQ(ReadBytes(paths[0]), recording);
    saveDialog.QueuePath(folder.File("no/such/folder/r.pdf"));
    window->SaveReport();
    ASSERT_EQ(prompts.Shown().size(), 2u);
    for (const auto& box : prompts.Shown()) {
        EXPECT_EQ(box.caption, "Save Report");
        EXPECT_EQ(box.icon, MessageIcon::Stop);
    }
}

// With a groups table beside the recordings the report carries the study, as the batch
// tool's report --groups does, under the control chosen in the Statistics tab.
TEST_F(SummaryReviewTest, TheReportCarriesTheStudyOfTheGroupsTableBesideTheRecordings) {
    const std::string groups = folder.File("mirado-groups.csv");
    QFile file(QString::fromStdString(groups));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("study_no,animal_no,group\nS1,A1,vehicle\nS1,B2,treated\n");
    file.close();
    Open(FindProfile("all", {}).value());
    saveDialog.QueuePath(folder.File("report.csv"));
    window->SaveReport();
    EXPECT_EQ(ReadBytes(folder.File("report.csv")),
              CliOutput({"report", "--profile", "all", "--groups", QString::fromStdString(groups)},
                        paths));
    auto* control = window->findChild<QComboBox*>(QStringLiteral("statsControl"));
    ASSERT_NE(control, nullptr);
    control->setCurrentIndex(1);
    saveDialog.QueuePath(folder.File("report.jsonl"));
    window->SaveReport();
    EXPECT_EQ(ReadBytes(folder.File("report.jsonl")),
              CliOutput({"report", "--profile", "all", "--format", "json", "--groups",
                         QString::fromStdString(groups), "--control", "treated"},
                        paths));
    EXPECT_TRUE(prompts.Shown().empty());
}

// A save dialog during which the window refreshes, as when a listed file is saved while
// the dialog is open.
class RefreshingSaveDialog : public ISaveFileDialog {
public:
    bool RunSave(const SaveFileRequest&, std::string& path) override {
        whileOpen();
        path = answer;
        return true;
    }
    std::function<void()> whileOpen;
    std::string answer;
};

// The report is made of what was shown when it was asked for, whole, even when a refresh
// replaces the result while its dialog is open.
TEST_F(SummaryReviewTest, ARefreshDuringTheDialogLeavesTheReportWhole) {
    RefreshingSaveDialog dialog;
    CSummaryWindow shown(SummaryFiles{paths, false, paths, FindProfile("all", {}).value()}, prompts,
                         dialog, 2);
    QSignalSpy done(&shown, &CSummaryWindow::SummaryShown);
    shown.show();
    if (shown.Result() == nullptr) {
        ASSERT_TRUE(done.wait(20000));
    }
    dialog.whileOpen = [&] { shown.Refresh(); };
    dialog.answer = folder.File("during.csv");
    shown.SaveReport();
    EXPECT_EQ(ReadBytes(dialog.answer), CliOutput({"report", "--profile", "all"}, paths));
    EXPECT_TRUE(prompts.Shown().empty());
}

TEST_F(SummaryReviewTest, AProfileNotFoundAndSkippedLogLinesAreShown) {
    QFile log(QString::fromStdString(folder.File(kReviewLogName)));
    ASSERT_TRUE(log.open(QIODevice::WriteOnly));
    log.write("not json\n");
    log.close();
    window = std::make_unique<CSummaryWindow>(
        SummaryFiles{paths, false, paths, DefaultProfile(), "no profile 'gone'"}, prompts,
        saveDialog, 2);
    QSignalSpy shown(window.get(), &CSummaryWindow::SummaryShown);
    ASSERT_TRUE(shown.wait(20000));
    const QString warnings = test::NamedChild<QLabel>(*window, "summaryReviewWarnings")->text();
    EXPECT_TRUE(warnings.contains(QStringLiteral("no profile 'gone'")));
    EXPECT_TRUE(warnings.contains(QStringLiteral("line 1")));
}

// The running program: the summary window takes the profile the settings name, and a save
// in the window goes into the folder's review log.
TEST_F(SummaryReviewTest, TheProgramPassesTheChosenProfileAndJournalsItsSaves) {
    FixedDocumentsFolder documents(folder.File("documents/"));
    AppServices services;
    services.documentsFolder = &documents;
    services.prompts = &prompts;
    services.saveDialog = &saveDialog;
    CMiradoApp app(services);
    ASSERT_TRUE(app.InitInstance(paths));
    CQtProfile(SettingsFilePath(app.GetPreferenceFolder()))
        .WriteProfileString(kMiradoSection, kReviewProfileKey, "acclimation-2sd");
    app.GetMainFrame()->Action(ID_SUMMARY)->trigger();
    const QList<CSummaryWindow*> windows = app.GetMainFrame()->findChildren<CSummaryWindow*>();
    ASSERT_EQ(windows.size(), 1);
    EXPECT_TRUE(test::NamedChild<QLabel>(*windows[0], "summaryProfile")
                    ->text()
                    .contains(QStringLiteral("Acclimation 5")));
    windows[0]->close();

    CMiradoDoc& doc = *app.GetDocument();
    IdTexts texts = doc.GetIdTexts();
    texts.comment = "journaled";
    doc.SetIdTexts(texts);
    ASSERT_TRUE(doc.SaveCurrentFile());
    const std::vector<ReviewEvent> events = ReadReviewLog(folder.File(kReviewLogName)).events;
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].fields["action"], "save");
    EXPECT_EQ(events[0].fields["to"]["comment"], "journaled");
}

} // namespace
} // namespace mirado
