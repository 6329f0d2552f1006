#include "DocumentFixture.h"

#include "document/OriginalCopy.h"
#include "records/AdData.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace mirado::test {
namespace {

namespace fs = std::filesystem;

// Hears the document's edit reports.
class EditLog : public IEditObserver {
public:
    void OnEdit(const EditRecord& edit) override { edits.push_back(edit); }
    void OnSaved() override { ++saves; }
    void OnRecordReplaced() override { ++replaced; }
    std::vector<EditRecord> edits;
    int saves = 0;
    int replaced = 0;
};

const DisplayMode kStored{false, true};
const DisplayMode kAnalysisSM{true, true};
const DisplayMode kAnalysisS{true, false};

class SafeEditingTest : public DocumentTest {
protected:
    // A generated sample of each variant, copied into the test folder.
    std::string CopySample(const std::string& name) {
        const std::string path = folder.File(name);
        fs::copy_file(fs::path(MIRADO_SOURCE_DIR) / "samples" / name, path);
        return path;
    }
    void OpenOnly(const std::string& path) {
        Doc().SetFileList({path});
        ASSERT_TRUE(Doc().OpenFileAt(0));
        Doc().SetEditObserver(&log);
    }
    // The bytes a save of the current state writes, the file put back afterwards. Putting
    // it back changes it behind the document's back, so the next save is told to
    // overwrite.
    std::string SavedBytes(const std::string& path) {
        const std::string before = ReadText(path);
        if (!Doc().IsCurrentFileUnchanged())
            prompts.QueueAnswer(MessageAnswer::Overwrite);
        EXPECT_TRUE(Doc().SaveCurrentFile());
        const std::string saved = ReadText(path);
        WriteText(path, before);
        return saved;
    }
    void Undo(const EditRecord& edit) { Doc().RestoreEdits(edit.before, edit.kind); }
    void Redo(const EditRecord& edit) { Doc().RestoreEdits(edit.after, edit.kind); }

    EditLog log;
};

TEST_F(SafeEditingTest, MarkerMovesAreTakenBackExactlyInEveryModeAndVariant) {
    for (const char* sample : {"DG0511.001", "RB0502.001"}) {
        const std::string path = CopySample(sample);
        OpenOnly(path);
        for (const DisplayMode& mode : {kStored, kAnalysisSM, kAnalysisS}) {
            Doc().ShowDisplayMode(mode);
            const std::string untouched = SavedBytes(path);
            const EditSnapshot start = Doc().CaptureEdits();
            log.edits.clear();

            Doc().MoveMarker({MovableMarker::S, 700});
            Doc().MoveMarker({MovableMarker::M, 2900});
            ASSERT_EQ(log.edits.size(), 2u);
            EXPECT_EQ(log.edits[0].kind, EditKind::MoveMarkerS);
            EXPECT_EQ(log.edits[1].kind, EditKind::MoveMarkerM);
            const std::string moved = SavedBytes(path);
            EXPECT_NE(moved, untouched) << sample;

            // Undo both from another mode: each switches back first.
            Doc().ShowDisplayMode(mode.analysisSource ? kStored : kAnalysisSM);
            Undo(log.edits[1]);
            EXPECT_EQ(Doc().GetDisplayMode(), mode);
            Undo(log.edits[0]);
            EXPECT_EQ(Doc().CaptureEdits().analysis.sbp, start.analysis.sbp);
            EXPECT_EQ(SavedBytes(path), untouched) << sample << mode.analysisSource;

            Redo(log.edits[0]);
            Redo(log.edits[1]);
            EXPECT_EQ(SavedBytes(path), moved) << sample;
            Undo(log.edits[1]);
            Undo(log.edits[0]);
        }
    }
    EXPECT_NE(Doc().IsVariantA(), true); // the second sample is of variant E
}

TEST_F(SafeEditingTest, IdEditsAreTakenBackToTheirBytesAndAnUnchangedOkIsNoEdit) {
    const std::string path = CopySample("DG0511.001");
    OpenOnly(path);
    const std::string untouched = SavedBytes(path);
    IdTexts texts = Doc().GetIdTexts();
    EXPECT_FALSE(Doc().SetIdTexts(texts));
    texts.comment = "  " + Doc().GetComment() + "  "; // stored trimmed: the same bytes
    EXPECT_FALSE(Doc().SetIdTexts(texts));
    EXPECT_FALSE(Doc().IsModified());
    EXPECT_TRUE(log.edits.empty());

    texts.comment = "after dosing";
    texts.animalNo = "Z-9";
    EXPECT_TRUE(Doc().SetIdTexts(texts));
    ASSERT_EQ(log.edits.size(), 1u);
    EXPECT_EQ(log.edits[0].kind, EditKind::EditIdentification);
    const std::string edited = SavedBytes(path);
    Undo(log.edits[0]);
    EXPECT_EQ(SavedBytes(path), untouched);
    Redo(log.edits[0]);
    EXPECT_EQ(SavedBytes(path), edited);
    EXPECT_EQ(Doc().GetComment(), "after dosing");
}

TEST_F(SafeEditingTest, TheObserverHearsOfSavesAndOfEveryReplacedRecord) {
    const std::vector<std::string> paths = Pick(3);
    ASSERT_TRUE(Doc().OpenFileAt(0));
    Doc().SetEditObserver(&log);
    ASSERT_TRUE(Doc().SaveCurrentFile());
    EXPECT_EQ(log.saves, 1);
    Doc().OpenFileAt(1);
    EXPECT_EQ(log.replaced, 1);
    Doc().SetFileList(paths);
    EXPECT_EQ(log.replaced, 2);
    Doc().OpenFileAt(0);
    Doc().ToggleCurrentSelection();
    Doc().RemoveSelectedFiles();
    EXPECT_GE(log.replaced, 4);
}

TEST_F(SafeEditingTest, TheFirstSaveKeepsTheOriginalAndNoSaveOverwritesIt) {
    const std::string path = CopySample("DG0511.001");
    const std::string original = ReadText(path);
    OpenOnly(path);
    EXPECT_FALSE(Doc().CanRevertToOriginal());
    Doc().MoveMarker({MovableMarker::S, 700});
    ASSERT_TRUE(Doc().SaveCurrentFile());
    const std::string copy = OriginalCopyPath(path);
    EXPECT_EQ(copy, folder.Folder() + ".mirado-originals/DG0511.001");
    EXPECT_EQ(ReadText(copy), original);
    EXPECT_NE(ReadText(path), original);

    Doc().MoveMarker({MovableMarker::S, 900});
    ASSERT_TRUE(Doc().SaveCurrentFile());
    EXPECT_EQ(ReadText(copy), original);
    EXPECT_TRUE(Doc().CanRevertToOriginal());
}

TEST_F(SafeEditingTest, KeepOriginalsZeroMakesNoCopy) {
    profile.SetRaw(kMiradoSection, kKeyKeepOriginals, "0");
    const std::string path = CopySample("DG0511.001");
    OpenOnly(path);
    EXPECT_FALSE(Doc().IsKeepingOriginals());
    ASSERT_TRUE(Doc().SaveCurrentFile());
    EXPECT_FALSE(fs::exists(OriginalCopyPath(path)));
}

TEST_F(SafeEditingTest, ASaveIsRefusedWhenTheOriginalCannotBeKept) {
    const std::string path = CopySample("DG0511.001");
    const std::string original = ReadText(path);
    OpenOnly(path);
    Doc().MoveMarker({MovableMarker::S, 700});
    // A file where the folder of copies should be: the copy cannot be made.
    WriteText(folder.File(kOriginalsFolder), "abc");
    EXPECT_FALSE(Doc().SaveCurrentFile());
    EXPECT_EQ(ReadText(path), original);
    ASSERT_EQ(prompts.Shown().size(), 1u);
    EXPECT_NE(prompts.Shown()[0].text.find(kOriginalNotKeptText), std::string::npos);
    EXPECT_EQ(log.saves, 0);
    EXPECT_TRUE(Doc().IsModified());
}

// A tiny file system of its own (needs the right to mount; skipped without it).
class TinyFolder {
public:
    explicit TinyFolder(const std::string& path) : path_(path) {
        fs::create_directories(path_);
        mounted_ =
            std::system(("mount -t tmpfs -o size=64k tmpfs '" + path_ + "' 2>/dev/null").c_str()) ==
            0;
    }
    ~TinyFolder() {
        if (mounted_) [[maybe_unused]]
            int ignored = std::system(("umount '" + path_ + "'").c_str());
    }
    bool Mounted() const { return mounted_; }
    bool Remount(const char* options) {
        return std::system(
                   ("mount -o remount," + std::string(options) + " '" + path_ + "'").c_str()) == 0;
    }
    // Fills the free space with a file of its own.
    void Fill() {
        std::ofstream filler(path_ + "/filler", std::ios::binary);
        const std::string block(1024, 'x');
        while (filler.write(block.data(), static_cast<std::streamsize>(block.size())))
            filler.flush();
    }

private:
    std::string path_;
    bool mounted_ = false;
};

TEST_F(SafeEditingTest, ASaveIsRefusedOnAFullDiskAndInAReadOnlyFolder) {
    TinyFolder tiny(folder.File("tiny"));
    if (!tiny.Mounted())
        GTEST_SKIP() << "no right to mount a file system";
    const std::string path = folder.File("tiny/DG0511.001");
    fs::copy_file(fs::path(MIRADO_SOURCE_DIR) / "samples" / "DG0511.001", path);
    const std::string original = ReadText(path);
    OpenOnly(path);
    Doc().MoveMarker({MovableMarker::S, 700});

    tiny.Fill();
    EXPECT_FALSE(Doc().SaveCurrentFile());
    EXPECT_EQ(ReadText(path), original);
    fs::remove(folder.File("tiny/filler"));
    fs::remove_all(folder.File("tiny/.mirado-originals"));

    ASSERT_TRUE(tiny.Remount("ro"));
    EXPECT_FALSE(Doc().SaveCurrentFile());
    EXPECT_EQ(ReadText(path), original);
    ASSERT_TRUE(tiny.Remount("rw"));
    EXPECT_EQ(prompts.Shown().size(), 2u);
    EXPECT_EQ(log.saves, 0);

    ASSERT_TRUE(Doc().SaveCurrentFile());
    EXPECT_EQ(ReadText(OriginalCopyPath(path)), original);
}

TEST_F(SafeEditingTest, RevertRestoresTheOriginalBytesAfterConfirmation) {
    const std::string path = CopySample("RB0502.001");
    const std::string original = ReadText(path);
    OpenOnly(path);
    Doc().MoveMarker({MovableMarker::M, 2500});
    ASSERT_TRUE(Doc().SaveCurrentFile());
    Doc().MoveMarker({MovableMarker::S, 600});

    prompts.QueueAnswer(MessageAnswer::No);
    EXPECT_FALSE(Doc().RevertToOriginal());
    EXPECT_NE(ReadText(path), original);
    // The question says that the unsaved move is lost as well.
    EXPECT_EQ(prompts.Shown().back().text,
              path + "\n" + kRevertQuestion + "\n" + kRevertDropsEditsText);

    prompts.QueueAnswer(MessageAnswer::Yes);
    EXPECT_TRUE(Doc().RevertToOriginal());
    EXPECT_EQ(ReadText(path), original);
    EXPECT_EQ(ReadText(OriginalCopyPath(path)), original);
    EXPECT_FALSE(Doc().IsModified());
    EXPECT_GE(log.replaced, 1);
    EXPECT_EQ(prompts.Shown().back().caption, kRevertCaption);
    // The question cannot be answered Yes by pressing Enter alone.
    EXPECT_EQ(prompts.Shown().back().buttons, MessageButtons::YesNoDefaultNo);
}

// Another writer changed the file after it was read: the save asks, and each answer does
// what it says.
TEST_F(SafeEditingTest, AFileChangedOnDiskIsNotOverwrittenWithoutTheQuestion) {
    const std::string path = CopySample("DG0511.001");
    OpenOnly(path);
    Doc().MoveMarker({MovableMarker::S, 700});
    {
        CMiradoDoc other({});
        other.SetFileList({path});
        ASSERT_TRUE(other.OpenFileAt(0));
        IdTexts texts = other.GetIdTexts();
        texts.comment = "theirs";
        other.SetIdTexts(texts);
        ASSERT_TRUE(other.SaveCurrentFile());
    }
    const std::string theirs = ReadText(path);

    prompts.QueueAnswer(MessageAnswer::Cancel);
    EXPECT_FALSE(Doc().SaveCurrentFile());
    EXPECT_EQ(ReadText(path), theirs);
    ASSERT_EQ(prompts.Shown().size(), 1u);
    EXPECT_EQ(prompts.Shown()[0].buttons, MessageButtons::ReloadOverwriteSaveAsCancel);
    EXPECT_EQ(prompts.Shown()[0].text.rfind(path + "\n", 0), 0u);

    prompts.QueueAnswer(MessageAnswer::Overwrite);
    EXPECT_TRUE(Doc().SaveCurrentFile());
    EXPECT_NE(ReadText(path), theirs);
    // What this document wrote itself is no change: the next save asks nothing.
    EXPECT_TRUE(Doc().SaveCurrentFile());
    EXPECT_EQ(prompts.Shown().size(), 2u);

    // Replaced by another recording: Reload drops the corrections and shows it.
    const std::string replacement =
        (fs::path(MIRADO_SOURCE_DIR) / "samples" / "RB0502.001").string();
    fs::copy_file(replacement, path, fs::copy_options::overwrite_existing);
    Doc().MoveMarker({MovableMarker::S, 900});
    prompts.QueueAnswer(MessageAnswer::Reload);
    EXPECT_FALSE(Doc().SaveCurrentFile());
    EXPECT_EQ(ReadText(path), ReadText(replacement));
    EXPECT_FALSE(Doc().IsModified());
    EXPECT_FALSE(Doc().IsVariantA()); // the replacement is of variant E

    // A file removed meanwhile is asked about too; Overwrite writes it again.
    Doc().MoveMarker({MovableMarker::S, 800});
    fs::remove(path);
    prompts.QueueAnswer(MessageAnswer::Overwrite);
    EXPECT_TRUE(Doc().SaveCurrentFile());
    EXPECT_EQ(prompts.Shown().size(), 4u);
    ASSERT_TRUE(fs::exists(path));
}

TEST_F(SafeEditingTest, SaveAsWritesTheCorrectionsUnderAnotherNameAndLeavesTheFile) {
    const std::string path = CopySample("DG0511.001");
    const std::string original = ReadText(path);
    const std::string other = CopySample("RB0502.001");
    Doc().SetFileList({path, other});
    ASSERT_TRUE(Doc().OpenFileAt(0));
    Doc().SetEditObserver(&log);
    Doc().MoveMarker({MovableMarker::S, 700});

    EXPECT_FALSE(Doc().SaveCurrentFileAs(other));
    ASSERT_EQ(prompts.Shown().size(), 1u);
    EXPECT_NE(prompts.Shown()[0].text.find("is one of the files in the list"), std::string::npos);

    fs::create_directories(folder.File("out"));
    const std::string target = folder.File("out/DG0511-fixed.001");
    saveDialog.QueuePath(target);
    ASSERT_TRUE(Doc().SaveCurrentFileAs());
    EXPECT_EQ(saveDialog.Requests().back().suggestedName, path);
    EXPECT_EQ(ReadText(path), original);
    EXPECT_FALSE(fs::exists(folder.File(kOriginalsFolder)));
    CAdData saved;
    int modelCode = 0;
    ASSERT_TRUE(saved.Load(target, modelCode, nullptr).ok());
    int16_t markerS = 0, markerM = 0, markerD = 0;
    saved.GetStoredMarkers(markerS, markerM, markerD);
    EXPECT_EQ(markerS, 700);
    // The document goes on with the new file.
    EXPECT_EQ(Doc().GetCurrentPath(), target);
    EXPECT_EQ(Doc().GetNameAt(0), "DG0511-fixed.001");
    EXPECT_EQ(Doc().GetTitle(), target);
    EXPECT_EQ(log.saves, 1);
}

TEST_F(SafeEditingTest, TheTrashTakesTheKeptOriginalWithItsFile) {
    const std::string path = CopySample("DG0511.001");
    OpenOnly(path);
    Doc().MoveMarker({MovableMarker::S, 700});
    ASSERT_TRUE(Doc().SaveCurrentFile());
    ASSERT_TRUE(fs::exists(SavedDigestsPath(path)));
    Doc().ToggleCurrentSelection();
    Doc().RemoveSelectedFiles();
    EXPECT_EQ(trash.Requested(), (std::vector<std::string>{path, OriginalCopyPath(path)}));
    EXPECT_FALSE(fs::exists(SavedDigestsPath(path)));
}

TEST_F(SafeEditingTest, NoCopyIsKeptWhenTheSaveCannotGoAhead) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "a privileged process may write a read-only file";
    const std::string path = CopySample("DG0511.001");
    OpenOnly(path);
    Doc().MoveMarker({MovableMarker::S, 700});
    fs::permissions(path, fs::perms::owner_read);
    EXPECT_FALSE(Doc().SaveCurrentFile());
    EXPECT_FALSE(fs::exists(folder.File(kOriginalsFolder)));
}

} // namespace
} // namespace mirado::test
