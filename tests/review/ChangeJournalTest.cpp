// The review log as each recording's audit trail: every save and revert of the document
// leaves one event naming the fields that changed, old and new, with the digests of the
// bytes before and after; a log that cannot be written leaves the save standing and says
// so as a warning.

#include "document/MiradoDoc.h"
#include "document/OriginalCopy.h"
#include "document/Sha256.h"
#include "review/ReviewChangeJournal.h"
#include "review/ReviewLog.h"

#include "support/ScriptedUserPrompts.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace mirado::test {
namespace {

namespace fs = std::filesystem;

class ChangeJournalTest : public ::testing::Test {
protected:
    ChangeJournalTest() {
        services.prompts = &prompts;
        services.journal = &journal;
    }
    std::string CopySample(const std::string& name) {
        const std::string path = folder.File(name);
        fs::copy_file(fs::path(MIRADO_SOURCE_DIR) / "samples" / "DG0511.001", path);
        return path;
    }
    std::vector<ReviewEvent> Events() const {
        return ReadReviewLog(folder.File(kReviewLogName)).events;
    }
    static std::string Digest(const std::string& path) { return FileSha256Hex(path).value(); }
    // Opens path, moves marker S and sets the comment.
    void Edit(CMiradoDoc& doc, const std::string& path) {
        doc.SetFileList({path});
        ASSERT_TRUE(doc.OpenFileAt(0));
        doc.MoveMarker({MovableMarker::S, 900});
        IdTexts texts = doc.GetIdTexts();
        texts.comment = "after";
        doc.SetIdTexts(texts);
    }

    TempFolder folder;
    ScriptedUserPrompts prompts;
    CReviewChangeJournal journal;
    DocumentServices services;
};

TEST_F(ChangeJournalTest, SaveThenRevertEachRecordWhatChangedWithBothDigests) {
    const std::string path = CopySample("A.001");
    const std::string original = Digest(path);
    const nlohmann::json originalFields = RecordFieldsJson(StoredFieldsOf(ReadText(path)));
    CMiradoDoc doc(services);
    Edit(doc, path);
    ASSERT_TRUE(doc.SaveCurrentFile());
    const std::string saved = Digest(path);
    prompts.QueueAnswer(MessageAnswer::Yes);
    ASSERT_TRUE(doc.RevertToOriginal());
    ASSERT_EQ(Digest(path), original);

    const std::vector<ReviewEvent> events = Events();
    ASSERT_EQ(events.size(), 2u);
    const struct {
        const char* action;
        std::string before, after;
        nlohmann::json commentFrom, commentTo, markerTo;
    } rows[] = {
        {"save", original, saved, originalFields["comment"], "after", 900},
        {"revert", saved, original, "after", originalFields["comment"], originalFields["marker_s"]},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        const nlohmann::json& event = events[i].fields;
        SCOPED_TRACE(rows[i].action);
        EXPECT_EQ(event["action"], rows[i].action);
        EXPECT_EQ(event["file"], "A.001");
        EXPECT_EQ(event["sha256_before"], rows[i].before);
        EXPECT_EQ(event["sha256"], rows[i].after);
        EXPECT_EQ(event["from"]["comment"], rows[i].commentFrom);
        EXPECT_EQ(event["to"]["comment"], rows[i].commentTo);
        EXPECT_EQ(event["to"]["marker_s"], rows[i].markerTo);
        // Only what changed: the texts left alone are not named.
        EXPECT_FALSE(event["from"].contains("animal_no"));
        EXPECT_FALSE(event["to"].contains("study_no"));
    }
    EXPECT_EQ(prompts.Shown().size(), 1u); // the revert's question only
}

TEST_F(ChangeJournalTest, ASaveUnderANewNameHasNoEarlierBytes) {
    const std::string path = CopySample("A.001");
    CMiradoDoc doc(services);
    Edit(doc, path);
    const std::string target = folder.File("B.001");
    ASSERT_TRUE(doc.SaveCurrentFileAs(target));
    const std::vector<ReviewEvent> events = Events();
    ASSERT_EQ(events.size(), 1u);
    const nlohmann::json& event = events[0].fields;
    EXPECT_EQ(event["file"], "B.001");
    EXPECT_FALSE(event.contains("sha256_before"));
    EXPECT_EQ(event["sha256"], Digest(target));
    EXPECT_TRUE(event["from"]["comment"].is_null());
    EXPECT_EQ(event["to"]["comment"], "after");
}

// A log path that is no regular file is never written; the save stands and a warning
// (one OK box, which never blocks) names the log's failure.
TEST_F(ChangeJournalTest, ALogThatCannotBeWrittenLeavesTheSaveStandingWithAWarning) {
    const struct {
        const char* kind;
        void (*make)(const std::string& log);
    } rows[] = {
        {"fifo", [](const std::string& log) { ASSERT_EQ(::mkfifo(log.c_str(), 0600), 0); }},
        {"link to a device", [](const std::string& log) { fs::create_symlink("/dev/null", log); }},
        {"folder", [](const std::string& log) { fs::create_directory(log); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.kind);
        fs::remove_all(folder.File(kReviewLogName));
        fs::remove_all(folder.File(kOriginalsFolder));
        fs::remove(folder.File("A.001"));
        row.make(folder.File(kReviewLogName));
        const std::string path = CopySample("A.001");
        const std::string before = ReadText(path);
        prompts.Clear();
        CMiradoDoc doc(services);
        Edit(doc, path);
        ASSERT_TRUE(doc.SaveCurrentFile());
        EXPECT_NE(ReadText(path), before);
        EXPECT_FALSE(doc.IsModified());
        ASSERT_EQ(prompts.Shown().size(), 1u);
        EXPECT_EQ(prompts.Shown()[0].caption, kJournalCaption);
        EXPECT_EQ(prompts.Shown()[0].icon, MessageIcon::Warning);
        EXPECT_EQ(prompts.Shown()[0].buttons, MessageButtons::Ok);
        EXPECT_NE(prompts.Shown()[0].text.find(kJournalFailedText), std::string::npos);
        struct stat info {};
        ASSERT_EQ(::lstat(folder.File(kReviewLogName).c_str(), &info), 0);
        EXPECT_FALSE(S_ISREG(info.st_mode));
    }
}

} // namespace
} // namespace mirado::test
