#include "DocumentFixture.h"

#include "document/OriginalCopy.h"
#include "document/UserEdit.h"
#include "records/AdData.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <ostream>
#include <unistd.h>

namespace mirado::test {
namespace {

namespace fs = std::filesystem;

// Keeps the modified mark as a flag and notes what the document tells it.
class MarkLog : public IModifiedMark {
public:
    bool IsModified() const override { return flag.IsModified(); }
    void OnEdited() override {
        ++edits;
        flag.OnEdited();
    }
    void OnSaved() override {
        ++saves;
        flag.OnSaved();
    }
    void OnRecordReplaced(bool edited) override {
        replaced.push_back(edited);
        flag.OnRecordReplaced(edited);
    }
    CModifiedFlag flag;
    int edits = 0;
    int saves = 0;
    std::vector<bool> replaced;
};

const DisplayMode kStored{false, true};
const DisplayMode kAnalysisSM{true, true};
const DisplayMode kAnalysisS{true, false};

class SafeEditingTest : public DocumentTest {
protected:
    ~SafeEditingTest() override { Doc().SetModifiedMark(nullptr); }
    // A generated sample of each variant, copied into the test folder.
    std::string CopySample(const std::string& name) {
        const std::string path = folder.File(name);
        fs::copy_file(fs::path(MIRADO_SOURCE_DIR) / "samples" / name, path);
        return path;
    }
    void OpenOnly(const std::string& path) {
        Doc().SetFileList({path});
        ASSERT_TRUE(Doc().OpenFileAt(0));
        Doc().SetModifiedMark(&log);
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
    MarkLog log;
};

TEST_F(SafeEditingTest, MarkerMovesAreTakenBackExactlyInEveryModeAndVariant) {
    for (const char* sample : {"DG0511.001", "RB0502.001"}) {
        const std::string path = CopySample(sample);
        OpenOnly(path);
        for (const DisplayMode& mode : {kStored, kAnalysisSM, kAnalysisS}) {
            Doc().ShowDisplayMode(mode);
            const std::string untouched = SavedBytes(path);
            const EditSnapshot start = Doc().CaptureEdits();
            const DisplayMode other = mode.analysisSource ? kStored : kAnalysisSM;
            log.edits = 0;

            CUserEdit moveS({MovableMarker::S, 700});
            CUserEdit moveM({MovableMarker::M, 2900});
            EXPECT_EQ(moveS.Kind(), EditKind::MoveMarkerS);
            EXPECT_EQ(moveM.Kind(), EditKind::MoveMarkerM);
            ASSERT_TRUE(moveS.Apply(Doc()));
            ASSERT_TRUE(moveM.Apply(Doc()));
            EXPECT_EQ(log.edits, 2);
            const std::string moved = SavedBytes(path);
            EXPECT_NE(moved, untouched) << sample;

            // Taken back from another mode: each switches back first.
            Doc().ShowDisplayMode(other);
            moveM.TakeBack(Doc());
            EXPECT_EQ(Doc().GetDisplayMode(), mode);
            moveS.TakeBack(Doc());
            EXPECT_EQ(Doc().CaptureEdits().analysis.sbp, start.analysis.sbp);
            EXPECT_EQ(SavedBytes(path), untouched) << sample << mode.analysisSource;

            // Made again from another mode: into the store they were first made in.
            Doc().ShowDisplayMode(other);
            EXPECT_TRUE(moveS.Apply(Doc()));
            EXPECT_EQ(Doc().GetDisplayMode(), mode);
            Doc().ShowDisplayMode(other);
            EXPECT_TRUE(moveM.Apply(Doc()));
            EXPECT_EQ(SavedBytes(path), moved) << sample << mode.analysisSource;
            moveM.TakeBack(Doc());
            moveS.TakeBack(Doc());
        }
    }
    EXPECT_NE(Doc().IsVariantA(), true); // the second sample is of variant E
}

TEST_F(SafeEditingTest, IdEditsAreTakenBackToTheirBytesAndAnUnchangedOkIsNoEdit) {
    const std::string path = CopySample("DG0511.001");
    OpenOnly(path);
    const std::string untouched = SavedBytes(path);
    IdTexts texts = Doc().GetIdTexts();
    EXPECT_FALSE(CUserEdit(texts).Apply(Doc()));
    texts.comment = "  " + Doc().GetComment() + "  "; // stored trimmed: the same bytes
    EXPECT_FALSE(CUserEdit(texts).Apply(Doc()));
    EXPECT_FALSE(Doc().IsModified());
    EXPECT_EQ(log.edits, 0);

    texts.comment = "after dosing";
    texts.animalNo = "Z-9";
    CUserEdit edit(texts);
    EXPECT_EQ(edit.Kind(), EditKind::EditIdentification);
    EXPECT_TRUE(edit.Apply(Doc()));
    EXPECT_EQ(log.edits, 1);
    EXPECT_TRUE(Doc().IsModified());
    const std::string edited = SavedBytes(path);
    edit.TakeBack(Doc());
    EXPECT_EQ(SavedBytes(path), untouched);
    // An identification edit keeps the display mode.
    Doc().ShowDisplayMode(kAnalysisS);
    EXPECT_TRUE(edit.Apply(Doc()));
    EXPECT_EQ(Doc().GetDisplayMode(), kAnalysisS);
    Doc().ShowDisplayMode(kStored);
    EXPECT_EQ(SavedBytes(path), edited);
    EXPECT_EQ(Doc().GetComment(), "after dosing");
}

TEST_F(SafeEditingTest, TheMarkHearsOfSavesAndOfEveryReplacedRecord) {
    const std::vector<std::string> paths = Pick(3);
    ASSERT_TRUE(Doc().OpenFileAt(0));
    Doc().SetModifiedMark(&log);
    ASSERT_TRUE(Doc().SaveCurrentFile());
    EXPECT_EQ(log.saves, 1);
    Doc().MoveMarker({MovableMarker::S, 700});
    EXPECT_EQ(log.edits, 1);
    // Leaving keeps the edits; coming back puts them back, edited.
    Doc().OpenFileAt(1);
    EXPECT_EQ(log.replaced, std::vector<bool>{false});
    Doc().OpenFileAt(0);
    EXPECT_EQ(log.replaced, (std::vector<bool>{false, true}));
    EXPECT_TRUE(Doc().IsModified());
    prompts.QueueAnswer(MessageAnswer::No);
    Doc().SetFileList(paths);
    EXPECT_EQ(log.replaced.back(), false);
    EXPECT_FALSE(Doc().IsModified());
    Doc().OpenFileAt(0);
    Doc().ToggleCurrentSelection();
    Doc().RemoveSelectedFiles();
    EXPECT_GE(log.replaced.size(), 5u);

    // Given back, the document's own flag takes the mark as it stands.
    Doc().MoveMarker({MovableMarker::S, 900});
    Doc().SetModifiedMark(nullptr);
    EXPECT_TRUE(Doc().IsModified());
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
    EXPECT_FALSE(log.replaced.empty());
    EXPECT_EQ(prompts.Shown().back().caption, kRevertCaption);
    // The question cannot be answered Yes by pressing Enter alone.
    EXPECT_EQ(prompts.Shown().back().buttons, MessageButtons::YesNoDefaultNo);
}

// Whatever summarises the list's files on disk hears of every change to them, and of
// nothing else.
TEST_F(SafeEditingTest, TheFilesChangedListenerHearsOfWritesMarksAndNewLists) {
    const std::string path = CopySample("DG0511.001");
    const std::string other = CopySample("RB0502.001");
    int heard = 0;
    Doc().SetFilesChangedListener([&heard] { ++heard; });
    struct Row {
        const char* name;
        std::function<void()> action;
        int expected;
    };
    const Row rows[] = {
        {"new list",
         [&] {
             Doc().SetFileList({path, other});
         },
         1},
        {"open", [&] { ASSERT_TRUE(Doc().OpenFileAt(0)); }, 0},
        {"mark", [&] { Doc().ToggleSelected(1); }, 1},
        {"mark current", [&] { Doc().ToggleCurrentSelection(); }, 1},
        {"select all", [&] { Doc().SelectAll(); }, 1},
        {"clear marks", [&] { Doc().ClearSelection(); }, 1},
        {"unsaved edit",
         [&] {
             Doc().MoveMarker({MovableMarker::S, 700});
         },
         0},
        {"save", [&] { ASSERT_TRUE(Doc().SaveCurrentFile()); }, 1},
        {"revert refused",
         [&] {
             prompts.QueueAnswer(MessageAnswer::No);
             EXPECT_FALSE(Doc().RevertToOriginal());
         },
         0},
        {"revert",
         [&] {
             prompts.QueueAnswer(MessageAnswer::Yes);
             ASSERT_TRUE(Doc().RevertToOriginal());
         },
         1},
        {"save as",
         [&] {
             Doc().MoveMarker({MovableMarker::S, 800});
             ASSERT_TRUE(Doc().SaveCurrentFileAs(folder.File("copy.001")));
         },
         1},
        {"recycle bin",
         [&] {
             Doc().ToggleCurrentSelection();
             heard = 0;
             Doc().RemoveSelectedFiles();
         },
         1},
        {"empty list", [&] { Doc().NewDocument(); }, 1},
    };
    for (const Row& row : rows) {
        heard = 0;
        row.action();
        EXPECT_EQ(heard, row.expected) << row.name;
    }
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
    Doc().SetModifiedMark(&log);
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

// A save that cannot go ahead is refused and says why: the file keeps its bytes, no copy of
// the original is made, the edits stay.
struct RefusedSaveRow {
    const char* name;
    // Makes the save of path impossible; false when this process cannot be stopped that way.
    bool (*prevent)(const std::string& path, const std::string& originalsFolder);
    const char* reason; // a text the refusal shows, or null
};

void PrintTo(const RefusedSaveRow& row, std::ostream* out) {
    *out << row.name;
}

const RefusedSaveRow kRefusedSaveRows[] = {
    {"OriginalCannotBeKept",
     [](const std::string&, const std::string& originalsFolder) {
         WriteText(originalsFolder, "abc"); // a file where the folder of copies belongs
         return true;
     },
     kOriginalNotKeptText},
    {"FileIsReadOnly",
     [](const std::string& path, const std::string&) {
         fs::permissions(path, fs::perms::owner_read);
         return ::geteuid() != 0; // a privileged process may write a read-only file
     },
     nullptr},
};

class RefusedSaveTest : public SafeEditingTest,
                        public ::testing::WithParamInterface<RefusedSaveRow> {};

TEST_P(RefusedSaveTest, LeavesTheFileAndKeepsNoCopy) {
    const RefusedSaveRow& row = GetParam();
    const std::string path = CopySample("DG0511.001");
    const std::string original = ReadText(path);
    OpenOnly(path);
    Doc().MoveMarker({MovableMarker::S, 700});
    if (!row.prevent(path, folder.File(kOriginalsFolder)))
        GTEST_SKIP() << "this process cannot be kept from writing that way";
    EXPECT_FALSE(Doc().SaveCurrentFile());
    EXPECT_EQ(ReadText(path), original);
    EXPECT_FALSE(fs::is_directory(folder.File(kOriginalsFolder)));
    EXPECT_EQ(log.saves, 0);
    EXPECT_TRUE(Doc().IsModified());
    ASSERT_EQ(prompts.Shown().size(), 1u);
    if (row.reason != nullptr) {
        EXPECT_NE(prompts.Shown()[0].text.find(row.reason), std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, RefusedSaveTest, ::testing::ValuesIn(kRefusedSaveRows),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace mirado::test
