#include "app/FileCommands.h"
#include "app/EditHistory.h"
#include "document/ExportLoop.h"
#include "document/MiradoDoc.h"
#include "document/TableExport.h"
#include "records/synth/SampleSet.h"
#include "support/ScriptedPlatform.h"
#include "support/ScriptedUserPrompts.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

namespace mirado {
namespace {

namespace fs = std::filesystem;

// Trash for the tests: a folder of the test's own, never the user's trash.
class FolderTrash : public ITrash {
public:
    void SetFolder(const fs::path& folder) {
        folder_ = folder;
        fs::create_directories(folder_);
    }
    bool MoveToTrash(const std::string& path) override {
        std::error_code error;
        fs::rename(path, folder_ / fs::path(path).filename(), error);
        return !error;
    }

private:
    fs::path folder_;
};

class RecordingWindow : public IFileCommandWindow {
public:
    void StopStepping() override { calls.push_back("stop"); }
    void ShowCurrentRow(int index) override { calls.push_back("row " + std::to_string(index)); }
    void UpdateFileCount() override { calls.push_back("count"); }
    void ErasePanes() override { calls.push_back("erase"); }
    std::vector<std::string> calls;
};

class ScriptedSaveDialog : public ISaveTextDialog {
public:
    void QueueOk(std::string path, bool dominant) {
        ExportChoice choice;
        choice.mode = dominant ? ExportMode::Dominant : ExportMode::Mean;
        QueueOk(std::move(path), choice);
    }
    void QueueOk(std::string path, ExportChoice choice) { answers_.push_back({{path, choice}}); }
    void QueueCancel() { answers_.push_back(std::nullopt); }
    bool Run(std::string& path, ExportChoice& choice) override {
        offeredEncoding = choice.encoding;
        offeredMode = choice.mode;
        offeredPath = path;
        ++runs;
        if (answers_.empty() || !answers_.front()) {
            if (!answers_.empty())
                answers_.pop_front();
            return false;
        }
        std::tie(path, choice) = *answers_.front();
        answers_.pop_front();
        return true;
    }
    int runs = 0;
    ExportEncoding offeredEncoding = ExportEncoding::Cp932;
    ExportMode offeredMode = ExportMode::Dominant;
    std::string offeredPath;

private:
    std::deque<std::optional<std::pair<std::string, ExportChoice>>> answers_;
};

// Cancels once the given number of files is done (never when negative).
class ScriptedFeedback : public IExportFeedback {
public:
    void Begin(int fileCount) override {
        total = fileCount;
        ++begins;
    }
    void FilesDone(int count) override { done.push_back(count); }
    bool IsCancelled() const override {
        return cancelAfter >= 0 && !done.empty() && done.back() >= cancelAfter;
    }
    void End() override { ++ends; }
    int cancelAfter = -1;
    int total = 0, begins = 0, ends = 0;
    std::vector<int> done;
};

class FileCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(root / "data");
        const Result<void> written = WriteBundledSamples((root / "data").string());
        ASSERT_TRUE(written.ok()) << written.error();
        trash.SetFolder(root / "trash");
    }

    // The first count bundled samples, in the bundle's order, with entry 0 open.
    void OpenSamples(size_t count) {
        for (size_t i = 0; i < count && i < BundledSamples().size(); ++i)
            paths.push_back((root / "data" / BundledSamples()[i].name).string());
        document.SetFileList(paths);
        document.OpenFileAt(0);
        prompts.Clear();
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (int i = 0; i < document.GetFileCount(); ++i)
            names.push_back(document.GetNameAt(i));
        return names;
    }
    std::string NameOf(size_t sample) const { return BundledSamples()[sample].name; }
    int MarkerS() const {
        int s = 0, m = 0, d = 0;
        document.GetMarkers(s, m, d);
        return s;
    }

    static DocumentServices Services(IUserPrompts& prompts, ITrash& trash) {
        DocumentServices services;
        services.prompts = &prompts;
        services.trash = &trash;
        return services;
    }

    test::TempFolder folder;
    fs::path root{folder.Path()};
    ScriptedUserPrompts prompts;
    FolderTrash trash;
    CMiradoDoc document{Services(prompts, trash)};
    RecordingWindow window;
    ScriptedSaveDialog saveDialog;
    ScriptedFeedback feedback;
    CFileCommands commands{document, prompts, window, saveDialog, feedback};
    std::vector<std::string> paths;
};

// --- Send to Recycle Bin ---------------------------------------------------------------

TEST_F(FileCommandsTest, MarkedSecondAndFourthOfFiveLeaveTheListForTheTrash) {
    OpenSamples(5);
    document.ToggleSelected(1);
    document.ToggleSelected(3);
    commands.OnSendToRecycleBin();

    EXPECT_EQ(Names(), (std::vector<std::string>{NameOf(0), NameOf(2), NameOf(4)}));
    EXPECT_EQ(document.CountSelected(), 0);
    EXPECT_TRUE(document.IsLoaded());
    EXPECT_EQ(document.GetCurrentIndex(), 0);
    EXPECT_EQ(document.GetCurrentPath(), paths[0]);
    EXPECT_EQ(window.calls, (std::vector<std::string>{"count", "row 0"}));
    EXPECT_TRUE(prompts.Shown().empty());
    for (size_t i : {1u, 3u}) {
        EXPECT_FALSE(fs::exists(paths[i]));
        EXPECT_TRUE(fs::exists(root / "trash" / NameOf(i)));
    }
    EXPECT_TRUE(fs::exists(paths[2]));
}

TEST_F(FileCommandsTest, MarkingEveryFileEmptiesTheListAndErasesThePanes) {
    OpenSamples(5);
    document.SelectAll();
    RecordingView view;
    document.AddView(&view);
    commands.OnSendToRecycleBin();

    EXPECT_EQ(document.GetFileCount(), 0);
    EXPECT_FALSE(document.IsLoaded());
    EXPECT_EQ(document.GetTitle(), ""); // the window shows the untitled title again
    EXPECT_EQ(window.calls, (std::vector<std::string>{"count", "erase"}));
    EXPECT_EQ(view.Updates().size(), 1u);
    for (const std::string& path : paths)
        EXPECT_FALSE(fs::exists(path));

    // Nothing is left to mark, so the command refuses from now on.
    commands.OnSendToRecycleBin();
    ASSERT_EQ(prompts.Shown().size(), 1u);
    EXPECT_EQ(prompts.Shown()[0].text, "No files selected.");
    EXPECT_EQ(prompts.Shown()[0].caption, "Delete File");
    EXPECT_EQ(prompts.Shown()[0].icon, MessageIcon::Stop);
    document.RemoveView(&view);
}

TEST_F(FileCommandsTest, CurrentFileAloneIsRemovedAndTheNewFirstEntryOpened) {
    OpenSamples(5);
    document.OpenFileAt(2);
    document.ToggleCurrentSelection();
    commands.OnSendToRecycleBin();

    EXPECT_EQ(Names(), (std::vector<std::string>{NameOf(0), NameOf(1), NameOf(3), NameOf(4)}));
    EXPECT_EQ(document.GetCurrentIndex(), 0);
    EXPECT_EQ(document.GetCurrentPath(), paths[0]);
    EXPECT_TRUE(fs::exists(root / "trash" / NameOf(2)));
}

TEST_F(FileCommandsTest, RecycleBinWithNothingMarkedChangesNothing) {
    OpenSamples(3);
    commands.OnSendToRecycleBin();
    ASSERT_EQ(prompts.Shown().size(), 1u);
    EXPECT_EQ(prompts.Shown()[0].caption, "Delete File");
    EXPECT_EQ(document.GetFileCount(), 3);
    EXPECT_TRUE(window.calls.empty());
}

// --- Save to Textfile ----------------------------------------------------------------

TEST_F(FileCommandsTest, ExportWithNothingMarkedRefusesBeforeStoppingTheStepping) {
    OpenSamples(3);
    commands.OnSaveToTextFile();
    ASSERT_EQ(prompts.Shown().size(), 1u);
    EXPECT_EQ(prompts.Shown()[0].text, "No files selected.");
    EXPECT_EQ(prompts.Shown()[0].caption, "Output to Textfile");
    EXPECT_EQ(prompts.Shown()[0].icon, MessageIcon::Stop);
    EXPECT_EQ(saveDialog.runs, 0);
    EXPECT_TRUE(window.calls.empty());
}

TEST_F(FileCommandsTest, ExportWritesTheSharedRunsBytesInBothModes) {
    OpenSamples(BundledSamples().size());
    for (int i : {1, 2, 4, 6, 7})
        document.ToggleSelected(i);
    document.OpenFileAt(3);
    for (bool dominant : {true, false}) {
        SCOPED_TRACE(dominant ? "Dominant" : "Mean");
        const fs::path target = root / (dominant ? "dominant.txt" : "mean.txt");
        saveDialog.QueueOk(target.string(), dominant);
        window.calls.clear();
        commands.OnSaveToTextFile();

        // The same run over the marked files gives the same bytes.
        const std::string expected = BuildExportText(
            MarkedPaths(document), dominant ? ExportMode::Dominant : ExportMode::Mean, 1);
        EXPECT_EQ(test::ReadText(target), expected);
        // No entry was opened for it: the list stays on the current file.
        EXPECT_EQ(document.GetCurrentIndex(), 3);
        EXPECT_EQ(window.calls, std::vector<std::string>{"stop"});
    }
    EXPECT_EQ(feedback.begins, 2);
    EXPECT_EQ(feedback.ends, 2);
    EXPECT_EQ(feedback.total, 5);
    EXPECT_EQ(feedback.done, (std::vector<int>{1, 2, 3, 4, 5, 1, 2, 3, 4, 5}));
}

TEST_F(FileCommandsTest, TheEncodingChosenIsOfferedNextTimeAndTheTableLeavesTheDocument) {
    OpenSamples(5);
    document.ToggleSelected(1);
    document.ToggleSelected(3);
    document.OpenFileAt(2);
    ExportChoice utf8;
    utf8.encoding = ExportEncoding::Utf8WithBom;
    saveDialog.QueueOk((root / "utf8.txt").string(), utf8);
    commands.OnSaveToTextFile();
    EXPECT_EQ(saveDialog.offeredEncoding, ExportEncoding::Cp932);
    EXPECT_EQ(test::ReadText((root / "utf8.txt").string()).substr(0, 3), "\xEF\xBB\xBF");

    ExportChoice table;
    table.mode = ExportMode::Table;
    table.source = ValueSource::AnalysisS;
    saveDialog.QueueOk((root / "table.csv").string(), table);
    window.calls.clear();
    commands.OnSaveToTextFile();
    EXPECT_EQ(saveDialog.offeredEncoding, ExportEncoding::Utf8WithBom);
    EXPECT_EQ(test::ReadText((root / "table.csv").string()),
              BuildTableText({paths[1], paths[3]}, ValueSource::AnalysisS, 1));
    // No entry was opened for it: the list stays on the current file.
    EXPECT_EQ(window.calls, std::vector<std::string>{"stop"});
    EXPECT_EQ(document.GetCurrentIndex(), 2);
    EXPECT_EQ(feedback.done.back(), 2);
}

// The dialog starts beside the marked recordings, not in the program's current folder,
// in the mode chosen last with that mode's name.
TEST_F(FileCommandsTest, TheDialogStartsInTheRecordingsFolderInTheLastMode) {
    OpenSamples(3);
    document.ToggleSelected(1);
    saveDialog.QueueCancel();
    commands.OnSaveToTextFile();
    const std::string folder = (root / "data").string() + "/";
    EXPECT_EQ(saveDialog.offeredPath, folder + "Textout.txt");
    EXPECT_EQ(saveDialog.offeredMode, ExportMode::Dominant);

    ExportChoice table;
    table.mode = ExportMode::Table;
    saveDialog.QueueOk((root / "t.csv").string(), table);
    commands.OnSaveToTextFile();
    saveDialog.QueueCancel();
    commands.OnSaveToTextFile();
    EXPECT_EQ(saveDialog.offeredMode, ExportMode::Table);
    EXPECT_EQ(saveDialog.offeredPath, folder + "Textout.csv");

    saveDialog.QueueCancel(); // a cancelled run keeps the mode of the last export
    commands.OnSaveToTextFile();
    EXPECT_EQ(saveDialog.offeredMode, ExportMode::Table);
}

// The export reads the marked files as they are on disk: the current file, the unsaved
// edits of it and of a file left before, and their undo history stay, with no question.
TEST_F(FileCommandsTest, ExportLeavesTheCurrentFileItsEditsAndTheirHistory) {
    CEditHistory history(document);
    OpenSamples(3);
    history.MoveMarker({MovableMarker::S, 1234});
    document.OpenFileAt(1); // the alert is off: the edit of entry 0 is kept
    const int stored = MarkerS();
    history.MoveMarker({MovableMarker::S, 1500});
    document.SelectAll();
    const std::vector<std::string> before = {test::ReadText(paths[0]), test::ReadText(paths[1])};
    const std::string expected = BuildExportText(paths, ExportMode::Dominant, 1);
    ASSERT_EQ(history.Stack().count(), 1);

    const fs::path target = root / "out.txt";
    saveDialog.QueueOk(target.string(), ExportChoice{});
    commands.OnSaveToTextFile();

    EXPECT_TRUE(prompts.Shown().empty());
    EXPECT_EQ(test::ReadText(target.string()), expected);
    EXPECT_EQ(test::ReadText(paths[0]), before[0]);
    EXPECT_EQ(test::ReadText(paths[1]), before[1]);
    EXPECT_EQ(document.GetCurrentIndex(), 1);
    EXPECT_EQ(MarkerS(), 1500);
    EXPECT_TRUE(document.IsModified());
    EXPECT_TRUE(document.HasUnsavedEditsAt(0));
    ASSERT_EQ(history.Stack().count(), 1);
    history.Stack().undo();
    EXPECT_EQ(MarkerS(), stored);
    EXPECT_FALSE(document.IsModified());
}

// A marked file that fails to load is reported and marked damaged in the list, unmarked
// files are not read, and the current file stays.
TEST_F(FileCommandsTest, ExportReportsAndMarksTheDamagedFilesItReads) {
    OpenSamples(4);
    for (size_t i : {1u, 2u})
        std::ofstream(paths[i], std::ios::binary | std::ios::trunc) << "cut";
    document.ToggleSelected(0);
    document.ToggleSelected(2);
    const fs::path target = root / "out.txt";
    saveDialog.QueueOk(target.string(), true);
    commands.OnSaveToTextFile();

    ASSERT_EQ(prompts.Shown().size(), 1u);
    EXPECT_EQ(prompts.Shown()[0].text.rfind(paths[2], 0), 0u);
    EXPECT_EQ(prompts.Shown()[0].icon, MessageIcon::Warning);
    EXPECT_FALSE(document.IsDamagedAt(1));
    EXPECT_TRUE(document.IsDamagedAt(2));
    EXPECT_EQ(document.GetCurrentIndex(), 0);
    EXPECT_EQ(test::ReadText(target.string()),
              BuildExportText(MarkedPaths(document), ExportMode::Dominant, 1));
}

TEST_F(FileCommandsTest, UnwritableTargetBringsTheDialogBack) {
    OpenSamples(3);
    document.ToggleSelected(0);
    const std::string missingFolder = (root / "no such folder" / "out.txt").string();
    saveDialog.QueueOk(missingFolder, true);
    saveDialog.QueueOk((root / "out.txt").string(), false);
    commands.OnSaveToTextFile();

    EXPECT_EQ(saveDialog.runs, 2);
    ASSERT_EQ(prompts.Shown().size(), 1u);
    EXPECT_EQ(prompts.Shown()[0].text,
              "Not writable [ " + missingFolder +
                  " ]\u3000Check drive type(write only drive?), File attribute(Write "
                  "Protect?) etc.");
    EXPECT_EQ(prompts.Shown()[0].caption, "Output to Textfile");
    EXPECT_EQ(prompts.Shown()[0].icon, MessageIcon::Stop);
    EXPECT_TRUE(fs::exists(root / "out.txt"));
}

TEST_F(FileCommandsTest, AFileOfTheListAsTargetBringsTheDialogBack) {
    OpenSamples(3);
    document.ToggleSelected(0);
    const std::string recording = test::ReadText(paths[1]);
    // The same file spelled another way and through a link.
    const std::string spelled = (root / "data" / "." / NameOf(1)).string();
    const fs::path link = root / "link.txt";
    fs::create_symlink(paths[2], link);
    saveDialog.QueueOk(spelled, true);
    saveDialog.QueueOk(link.string(), true);
    saveDialog.QueueOk((root / "out.txt").string(), true);
    commands.OnSaveToTextFile();

    EXPECT_EQ(saveDialog.runs, 3);
    ASSERT_EQ(prompts.Shown().size(), 2u);
    EXPECT_EQ(prompts.Shown()[0].text,
              spelled + " is one of the files in the list. Choose another file.");
    EXPECT_EQ(prompts.Shown()[1].caption, "Output to Textfile");
    EXPECT_EQ(prompts.Shown()[1].icon, MessageIcon::Stop);
    EXPECT_EQ(test::ReadText(paths[1]), recording);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_TRUE(fs::exists(root / "out.txt"));
}

TEST_F(FileCommandsTest, CancelledDialogWritesNothingButSteppingStaysStopped) {
    OpenSamples(3);
    document.ToggleSelected(1);
    saveDialog.QueueCancel();
    commands.OnSaveToTextFile();
    EXPECT_EQ(window.calls, (std::vector<std::string>{"stop"}));
    EXPECT_EQ(feedback.begins, 0);
    EXPECT_EQ(document.GetCurrentIndex(), 0);
}

TEST_F(FileCommandsTest, CancelledExportLeavesNoFileAndTheCurrentFile) {
    OpenSamples(5);
    document.SelectAll();
    document.OpenFileAt(4);
    feedback.cancelAfter = 2;
    const fs::path target = root / "cancelled.txt";
    saveDialog.QueueOk(target.string(), true);
    commands.OnSaveToTextFile();
    EXPECT_FALSE(fs::exists(target));
    EXPECT_EQ(document.GetCurrentIndex(), 4);
    EXPECT_EQ(window.calls.back(), "stop");
    EXPECT_EQ(feedback.ends, 1);
    EXPECT_TRUE(prompts.Shown().empty());

    // An existing file of that name is left as it was.
    std::ofstream(target, std::ios::binary) << "kept";
    saveDialog.QueueOk(target.string(), false);
    commands.OnSaveToTextFile();
    EXPECT_EQ(test::ReadText(target), "kept");
}

TEST_F(FileCommandsTest, WindowExportEqualsTheBatchToolsForTheMarkedFiles) {
    OpenSamples(BundledSamples().size());
    const std::vector<int> marked = {0, 2, 3, 5, 8, 9, 12};
    for (int i : marked)
        document.ToggleSelected(i);
    for (bool dominant : {true, false}) {
        SCOPED_TRACE(dominant ? "Dominant" : "Mean");
        const fs::path fromWindow = root / "window.txt";
        const fs::path fromTool = root / "tool.txt";
        saveDialog.QueueOk(fromWindow.string(), dominant);
        commands.OnSaveToTextFile();

        std::string command = std::string("\"") + MIRADO_CLI_PATH + "\" export --mode " +
                              (dominant ? "dominant" : "mean") + " -o \"" + fromTool.string() +
                              "\"";
        for (int i : marked)
            command += " \"" + paths[i] + "\"";
        command += " > /dev/null 2>&1";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        const std::string windowBytes = test::ReadText(fromWindow);
        EXPECT_GT(windowBytes.size(), std::string(kExportHeader).size());
        EXPECT_EQ(windowBytes, test::ReadText(fromTool));
    }
}

} // namespace
} // namespace mirado
