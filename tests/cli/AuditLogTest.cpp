// The batch tool's edits and reverts in the review log: each leaves one event with the
// fields it changed, old and new, and the digests of the bytes before and after; a log
// that cannot be written is reported on standard error and the change stands.

#include "CliRun.h"
#include "SampleFolder.h"

#include "document/OriginalCopy.h"
#include "document/Sha256.h"
#include "review/ReviewLog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sys/stat.h>

namespace mirado::test {
namespace {

namespace fs = std::filesystem;

class AuditLogTest : public SampleFolderTest {
protected:
    AuditLogTest() : SampleFolderTest("mirado-audit-") {}
    std::string LogPath() const { return (folder / kReviewLogName).string(); }
    std::vector<ReviewEvent> Events() const { return ReadReviewLog(LogPath()).events; }
    static std::string Digest(const std::string& path) { return FileSha256Hex(path).value(); }
};

TEST_F(AuditLogTest, EditsAndTheRevertEachLeaveTheirChangesAndDigests) {
    const std::string path = Copy("DG0511.001", "A.001");
    const std::string digests[] = {Digest(path)};
    ASSERT_EQ(Cli({"edit", "--animal-no", "R-7", "--comment", "moved", path}).status, kExitOk);
    const std::string afterFirst = Digest(path);
    ASSERT_EQ(Cli({"edit", "--comment", "again", path}).status, kExitOk);
    const std::string afterSecond = Digest(path);
    ASSERT_EQ(Cli({"revert", path}).status, kExitOk);

    const std::vector<ReviewEvent> events = Events();
    ASSERT_EQ(events.size(), 3u);
    const struct {
        const char* action;
        std::string before, after;
        nlohmann::json from, to;
    } rows[] = {
        {"edit",
         digests[0],
         afterFirst,
         {{"animal_no", "D-40"}, {"comment", "覚醒下 尾動脈測定"}},
         {{"animal_no", "R-7"}, {"comment", "moved"}}},
        {"edit", afterFirst, afterSecond, {{"comment", "moved"}}, {{"comment", "again"}}},
        {"revert",
         afterSecond,
         digests[0],
         {{"animal_no", "R-7"}, {"comment", "again"}},
         {{"animal_no", "D-40"}, {"comment", "覚醒下 尾動脈測定"}}},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE(i);
        const nlohmann::json& event = events[i].fields;
        EXPECT_EQ(event["action"], rows[i].action);
        EXPECT_EQ(event["file"], "A.001");
        EXPECT_EQ(event["sha256_before"], rows[i].before);
        EXPECT_EQ(event["sha256"], rows[i].after);
        EXPECT_EQ(event["from"], rows[i].from);
        EXPECT_EQ(event["to"], rows[i].to);
    }
}

TEST_F(AuditLogTest, AMarkerEditNamesTheMarkerAndThePressuresItMoved) {
    const std::string path = Copy("DG0511.001", "M.001");
    ASSERT_EQ(Cli({"edit", "--marker-s", "900", "--analysis", "sm", path}).status, kExitOk);
    const std::vector<ReviewEvent> events = Events();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].fields["to"]["marker_s"], 900);
    EXPECT_TRUE(events[0].fields["from"]["marker_s"].is_number());
    EXPECT_TRUE(events[0].fields["to"].contains("sbp_raw"));
}

TEST_F(AuditLogTest, ALogThatIsNoRegularFileIsNotWrittenAndTheChangeStands) {
    const struct {
        const char* kind;
        void (*make)(const std::string& log);
    } rows[] = {
        {"fifo", [](const std::string& log) { ASSERT_EQ(::mkfifo(log.c_str(), 0600), 0); }},
        {"link to a device", [](const std::string& log) { fs::create_symlink("/dev/null", log); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.kind);
        fs::remove_all(folder);
        fs::create_directories(folder);
        row.make(LogPath());
        const std::string path = Copy("DG0511.001", "F.001");
        const std::string original = Bytes(path);
        const CliRun edit = Cli({"edit", "--comment", "kept", path});
        EXPECT_EQ(edit.status, kExitOk);
        EXPECT_NE(Bytes(path), original);
        EXPECT_NE(edit.err.find("mirado-cli edit: Review Log: "), std::string::npos) << edit.err;
        const CliRun revert = Cli({"revert", path});
        EXPECT_EQ(revert.status, kExitOk);
        EXPECT_EQ(Bytes(path), original);
        EXPECT_NE(revert.err.find("mirado-cli revert: Review Log: "), std::string::npos)
            << revert.err;
        // One line each.
        EXPECT_EQ(std::count(revert.err.begin(), revert.err.end(), '\n'), 1);
        struct stat info {};
        ASSERT_EQ(::lstat(LogPath().c_str(), &info), 0);
        EXPECT_FALSE(S_ISREG(info.st_mode));
    }
}

} // namespace
} // namespace mirado::test
