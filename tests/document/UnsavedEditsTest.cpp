// Unsaved edits of every listed file: kept while other files are shown, saved together,
// never dropped without a question; a refused save keeps the file open; a stored marker
// carries its pressure.

#include "DocumentFixture.h"

#include "document/OriginalCopy.h"

#include <filesystem>
#include <ostream>

namespace mirado::test {
namespace {

namespace fs = std::filesystem;

const DisplayMode kStored{false, true};
const DisplayMode kAnalysisSM{true, true};

class UnsavedEditsTest : public DocumentTest {
protected:
    // A generated sample of each variant (A, then E), copied into the test folder.
    std::vector<std::string> CopySamples() {
        std::vector<std::string> paths;
        for (const char* name : {"DG0511.001", "RB0502.001"}) {
            paths.push_back(folder.File(name));
            fs::copy_file(fs::path(MIRADO_SOURCE_DIR) / "samples" / name, paths.back());
        }
        return paths;
    }
    void EditAnimalNo(const std::string& text) {
        IdTexts texts = Doc().GetIdTexts();
        texts.animalNo = text;
        ASSERT_TRUE(Doc().SetIdTexts(texts));
    }
    // The corrections made on every file: both markers in the given mode and the animal.
    void Correct(const DisplayMode& mode) {
        Doc().ShowDisplayMode(mode);
        Doc().MoveMarker({MovableMarker::S, 900});
        Doc().MoveMarker({MovableMarker::M, 2100});
        EditAnimalNo("Z-1");
    }
    // The bytes the viewer's save writes for the corrections, made in a document of its
    // own on a copy of the file.
    std::string BytesSavedAtOnce(const std::string& path, const DisplayMode& mode) {
        const std::string copy = folder.File("copy-" + fs::path(path).filename().string());
        fs::copy_file(path, copy, fs::copy_options::overwrite_existing);
        CMiradoDoc alone(Services());
        alone.SetFileList({copy});
        EXPECT_TRUE(alone.OpenFileAt(0));
        alone.ShowDisplayMode(mode);
        alone.MoveMarker({MovableMarker::S, 900});
        alone.MoveMarker({MovableMarker::M, 2100});
        IdTexts texts = alone.GetIdTexts();
        texts.animalNo = "Z-1";
        alone.SetIdTexts(texts);
        EXPECT_TRUE(alone.SaveCurrentFile());
        return ReadText(copy);
    }
};

TEST_F(UnsavedEditsTest, CorrectionsSurviveVisitsAndSaveAllWritesWhatEachSaveWould) {
    const std::vector<std::string> samples = CopySamples();
    const std::string plain = Write("plain.01");
    Doc().SetFileList({samples[0], samples[1], plain});
    const std::string originals[] = {ReadText(samples[0]), ReadText(samples[1])};
    const DisplayMode modes[] = {kStored, kAnalysisSM};
    const std::string expected[] = {BytesSavedAtOnce(samples[0], modes[0]),
                                    BytesSavedAtOnce(samples[1], modes[1])};
    for (int index : {0, 1}) {
        ASSERT_TRUE(Doc().OpenFileAt(index));
        Correct(modes[index]);
    }
    ASSERT_TRUE(Doc().OpenFileAt(2));
    ASSERT_TRUE(Doc().OpenFileAt(0));
    EXPECT_EQ(Doc().GetDisplayMode(), kStored);
    EXPECT_EQ(Doc().GetAnimalNo(), "Z-1");
    ASSERT_TRUE(Doc().OpenFileAt(1));
    EXPECT_EQ(Doc().GetDisplayMode(), kAnalysisSM); // shown as it was corrected
    int s = 0, m = 0, d = 0;
    Doc().GetMarkers(s, m, d);
    EXPECT_EQ(s, 900);
    EXPECT_EQ(m, 2100);
    ASSERT_TRUE(Doc().OpenFileAt(2));
    EXPECT_EQ(Doc().UnsavedFiles(), (std::vector<std::string>{samples[0], samples[1]}));
    EXPECT_TRUE(prompts.Shown().empty());
    EXPECT_EQ(ReadText(samples[0]), originals[0]);

    ASSERT_TRUE(Doc().SaveAllFiles());
    EXPECT_EQ(ReadText(samples[0]), expected[0]);
    EXPECT_EQ(ReadText(samples[1]), expected[1]);
    EXPECT_EQ(Doc().GetCurrentIndex(), 2);
    EXPECT_FALSE(Doc().HasUnsavedEdits());
    for (int index : {0, 1}) {
        EXPECT_TRUE(HasOriginalCopy(samples[index]));
        EXPECT_EQ(ReadText((fs::path(samples[index]).parent_path() / ".mirado-originals" /
                            fs::path(samples[index]).filename())
                               .string()),
                  originals[index]);
    }
}

// Before edits would be dropped, one question names the files that hold them: every file
// up to a limit, then how many more; a lone current file by itself.
struct DropQuestionRow {
    const char* name;
    int files;
    std::vector<int> edited; // opened and edited in this order; the last stays current
    std::string (*question)(const std::vector<std::string>& paths);
};

void PrintTo(const DropQuestionRow& row, std::ostream* out) {
    *out << row.name;
}

const DropQuestionRow kDropQuestionRows[] = {
    {"TwoOfThree",
     3,
     {0, 2},
     [](const std::vector<std::string>& paths) {
         return std::string(kSaveFilesQuestion) + "\n" + paths[0] + "\n" + paths[2];
     }},
    {"OnlyTheCurrentFile",
     3,
     {1},
     [](const std::vector<std::string>& paths) { return "Save changes to " + paths[1] + "?"; }},
    {"MoreThanTheListHolds", static_cast<int>(kListedUnsavedFiles) + 3,
     [] {
         std::vector<int> all(kListedUnsavedFiles + 3);
         for (size_t index = 0; index < all.size(); ++index)
             all[index] = static_cast<int>(index);
         return all;
     }(),
     [](const std::vector<std::string>& paths) {
         std::string text(kSaveFilesQuestion);
         for (size_t index = 0; index < kListedUnsavedFiles; ++index)
             text += "\n" + paths[index];
         return text + "\nand 3 more";
     }},
};

class DropQuestionTest : public UnsavedEditsTest,
                         public ::testing::WithParamInterface<DropQuestionRow> {};

TEST_P(DropQuestionTest, CancelKeepsEveryEdit) {
    const DropQuestionRow& row = GetParam();
    const std::vector<std::string> paths = Pick(row.files);
    for (int index : row.edited) {
        ASSERT_TRUE(Doc().OpenFileAt(index));
        EditAnimalNo("Z-" + std::to_string(index));
    }
    prompts.QueueAnswer(MessageAnswer::Cancel);
    EXPECT_FALSE(Doc().SaveModified());
    ASSERT_EQ(prompts.Shown().size(), 1u);
    EXPECT_EQ(prompts.Shown()[0].text, row.question(paths));
    EXPECT_EQ(prompts.Shown()[0].buttons, MessageButtons::YesNoCancel);
    EXPECT_EQ(Doc().UnsavedFiles().size(), row.edited.size());
}

INSTANTIATE_TEST_SUITE_P(Rows, DropQuestionTest, ::testing::ValuesIn(kDropQuestionRows),
                         [](const auto& info) { return std::string(info.param.name); });

// No drops every edit for good; Yes saves them.
TEST_F(UnsavedEditsTest, NoDropsTheEditsAndYesSavesThem) {
    const std::vector<std::string> paths = Pick(3);
    for (int index : {0, 2}) {
        ASSERT_TRUE(Doc().OpenFileAt(index));
        EditAnimalNo("Z-" + std::to_string(index));
    }
    const std::string before = ReadText(paths[0]);
    prompts.QueueAnswer(MessageAnswer::No);
    EXPECT_EQ(Doc().SetFileList(paths), 3);
    EXPECT_FALSE(Doc().HasUnsavedEdits());
    ASSERT_TRUE(Doc().OpenFileAt(0));
    EXPECT_EQ(Doc().GetAnimalNo(), "A-001");
    EXPECT_EQ(ReadText(paths[0]), before);

    EditAnimalNo("Z-9");
    prompts.QueueAnswer(MessageAnswer::Yes);
    EXPECT_TRUE(Doc().SaveModified());
    EXPECT_FALSE(Doc().IsModified());
    EXPECT_NE(ReadText(paths[0]), before);
}

// With the alert on, Yes on leaving a file whose save is refused keeps the file open.
TEST_F(UnsavedEditsTest, ARefusedSaveStaysOnTheFileWithItsEdits) {
    profile.SetRaw(kProfileSection, kKeyAlert, "1");
    const fs::path gone = fs::path(folder.File("gone"));
    fs::create_directories(gone);
    const std::string edited = (gone / "a.01").string();
    WriteBytes(edited, BuildRecord(RecordSpec{}));
    const std::string other = Write("b.01");
    Doc().SetFileList({edited, other});
    ASSERT_TRUE(Doc().OpenFileAt(0));
    EditAnimalNo("Z-1");
    fs::remove_all(gone); // nothing can be written there any more
    prompts.QueueAnswer(MessageAnswer::Yes);

    EXPECT_EQ(Doc().NextIndex(), 1);
    EXPECT_FALSE(Doc().OpenFileAt(1));

    EXPECT_EQ(Doc().GetCurrentIndex(), 0);
    EXPECT_EQ(Doc().GetTitle(), edited);
    EXPECT_TRUE(Doc().IsModified());
    EXPECT_EQ(Doc().GetAnimalNo(), "Z-1");
    EXPECT_GE(prompts.Shown().size(), 2u); // the question, then the refusal
}

// Moving a stored marker recomputes the stored pressures that depend on it by the rule
// the file's analysis applies; the save writes them, undo restores them.
TEST_F(UnsavedEditsTest, AStoredMarkerCarriesItsPressure) {
    for (const std::string& path : CopySamples()) {
        // The analysis gives the pressures of markers at these samples.
        CMiradoDoc probe(Services());
        probe.SetFileList({path});
        ASSERT_TRUE(probe.OpenFileAt(0));
        probe.ShowAnalysis(true);
        probe.MoveMarker({MovableMarker::S, 1000});
        probe.MoveMarker({MovableMarker::M, 1700});
        int expected[3];
        probe.GetDominantPressures(expected[0], expected[1], expected[2]);
        Doc().SetFileList({path});
        ASSERT_TRUE(Doc().OpenFileAt(0));
        int stored[3];
        Doc().GetDominantPressures(stored[0], stored[1], stored[2]);
        ASSERT_NE(stored[0], expected[0]) << path;

        const EditSnapshot start = Doc().CaptureEdits();
        // Dropped where it was: the file's own pressures stay.
        Doc().MoveMarker({MovableMarker::S, start.storedMarkerS});
        Doc().MoveMarker({MovableMarker::M, start.storedMarkerM});
        int same[3];
        Doc().GetDominantPressures(same[0], same[1], same[2]);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(same[i], stored[i]) << path << " " << i;
        Doc().MoveMarker({MovableMarker::S, 1000});
        int moved[3];
        Doc().GetDominantPressures(moved[0], moved[1], moved[2]);
        EXPECT_EQ(moved[0], expected[0]) << path;
        EXPECT_EQ(moved[1], stored[1]) << path; // MBP and DBP follow marker M only
        EXPECT_EQ(moved[2], stored[2]) << path;
        Doc().MoveMarker({MovableMarker::M, 1700});
        Doc().GetDominantPressures(moved[0], moved[1], moved[2]);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(moved[i], expected[i]) << path << " " << i;

        ASSERT_TRUE(Doc().SaveCurrentFile());
        Doc().SetFileList({path});
        ASSERT_TRUE(Doc().OpenFileAt(0));
        int reloaded[3];
        Doc().GetDominantPressures(reloaded[0], reloaded[1], reloaded[2]);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(reloaded[i], expected[i]) << path << " " << i;

        Doc().RestoreEdits(start, EditKind::MoveMarkerS);
        Doc().RestoreEdits(start, EditKind::MoveMarkerM);
        int undone[3];
        Doc().GetDominantPressures(undone[0], undone[1], undone[2]);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(undone[i], stored[i]) << path << " " << i;
    }
}

} // namespace
} // namespace mirado::test
