// The review log: events written and read back whole (unknown fields too), the manual
// decisions they leave, lines that do not parse kept and skipped, writes that fail
// keeping every earlier line whole, and paths that are not regular files left alone.

#include "review/ReviewLog.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace mirado::test {
namespace {

using namespace std::chrono_literals;

class ReviewLogTest : public ::testing::Test {
protected:
    std::string LogPath() const { return folder.File(kReviewLogName); }

    void Append(const ReviewEvent& event) {
        const Result<void> added = AppendReviewEvent(LogPath(), event);
        ASSERT_TRUE(added.ok()) << added.error();
    }
    static ReviewEvent Decision(ReviewAction action, const std::string& file,
                                const std::string& reason = "") {
        return DecisionEvent(action, file, std::string(64, '0'), reason, "");
    }

    TempFolder folder;
};

TEST_F(ReviewLogTest, EventsComeBackWholeWithFieldsThisVersionDoesNotKnow) {
    ReviewEvent future = Decision(ReviewAction::Accept, "a.01");
    future.fields["reviewer_role"] = "second reader";
    future.fields["flags"] = {{"blind", true}, {"round", 2}};
    Append(future);
    Append(ChangeEvent(ReviewAction::Save, "a.01", "before", "after", {{"marker_s", 120}},
                       {{"marker_s", 131}}));
    ReviewEvent unknownAction;
    unknownAction.fields = {{"action", "annotate"}, {"file", "a.01"}, {"text", "\xe5\x9c\xa7"}};
    Append(unknownAction);

    const ReviewLogContents log = ReadReviewLog(LogPath());
    EXPECT_TRUE(log.error.empty()) << log.error;
    EXPECT_TRUE(log.warnings.empty());
    ASSERT_EQ(log.events.size(), 3u);
    EXPECT_EQ(log.events[0].fields, future.fields);
    EXPECT_EQ(log.events[0].line, 1u);
    EXPECT_EQ(log.events[1].fields["from"]["marker_s"], 120);
    EXPECT_EQ(log.events[1].fields["sha256_before"], "before");
    EXPECT_EQ(log.events[1].fields["sha256"], "after");
    EXPECT_EQ(log.events[2].fields, unknownAction.fields);
    EXPECT_FALSE(EventAction(log.events[2]));
    // One line per event, each ending in a line feed.
    const std::string text = ReadText(LogPath());
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3);
    EXPECT_EQ(text.back(), '\n');
}

TEST_F(ReviewLogTest, AnEventSaysWhenWhoWhichFileAndWhat) {
    const ReviewEvent event =
        DecisionEvent(ReviewAction::Reject, "BP\xff.01", "abc", "other", "tail moved");
    EXPECT_EQ(event.fields["action"], "reject");
    EXPECT_EQ(event.fields["user"], CurrentUserName());
    EXPECT_EQ(event.fields["reason"], "other");
    EXPECT_EQ(event.fields["note"], "tail moved");
    EXPECT_EQ(event.fields["sha256"], "abc");
    // A name that is not UTF-8 is readable in `file` and exact in `file_bytes`.
    EXPECT_EQ(event.fields["file"], "BP\xef\xbf\xbd.01");
    EXPECT_EQ(event.fields["file_bytes"], "4250ff2e3031");
    EXPECT_EQ(EventFileName(event), "BP\xff.01");
    const std::string time = event.fields["time"];
    EXPECT_EQ(time.size(), 25u) << time; // 2026-12-07T21:30:00+09:00
    EXPECT_EQ(time[10], 'T');
    EXPECT_EQ(time[22], ':');
}

TEST(ReviewEventTest, AChangeKeepsOnlyTheFieldsThatChanged) {
    const ReviewEvent event =
        ChangedFieldsEvent(ReviewAction::Save, "a.01", "old", "new",
                           {{"marker_s", 120}, {"sbp", 262}, {"comment", "x"}, {"weight", "21"}},
                           {{"marker_s", 131}, {"sbp", 262}, {"comment", "y"}, {"animal_no", "7"}});
    EXPECT_EQ(event.fields["from"], nlohmann::json::parse(R"({"marker_s":120,"comment":"x",
                                                              "weight":"21","animal_no":null})"));
    EXPECT_EQ(event.fields["to"], nlohmann::json::parse(R"({"marker_s":131,"comment":"y",
                                                            "weight":null,"animal_no":"7"})"));
    EXPECT_EQ(event.fields["action"], "save");
}

struct IsoTimeCase {
    long offset;
    const char* expected;
};

class IsoTimeTest : public ::testing::TestWithParam<IsoTimeCase> {};

TEST_P(IsoTimeTest, GivesTheOffsetInHoursAndMinutes) {
    std::tm local{};
    local.tm_year = 2026 - 1900;
    local.tm_mon = 0;
    local.tm_mday = 2;
    local.tm_hour = 3;
    local.tm_min = 4;
    local.tm_sec = 5;
    EXPECT_EQ(FormatIsoTime(local, GetParam().offset), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Offsets, IsoTimeTest,
    ::testing::Values(IsoTimeCase{9 * 3600, "2026-01-02T03:04:05+09:00"},
                      IsoTimeCase{0, "2026-01-02T03:04:05+00:00"},
                      IsoTimeCase{-(3 * 3600 + 1800), "2026-01-02T03:04:05-03:30"},
                      IsoTimeCase{5 * 3600 + 2700, "2026-01-02T03:04:05+05:45"}));

TEST_F(ReviewLogTest, TheLastAcceptRejectOrClearIsTheDecision) {
    Append(Decision(ReviewAction::Accept, "a.01"));
    Append(Decision(ReviewAction::Reject, "a.01", "movement"));
    Append(ChangeEvent(ReviewAction::Edit, "a.01", "x", "y", {}, {}));
    Append(Decision(ReviewAction::Reject, "b.01", "cuff_leak"));
    Append(Decision(ReviewAction::Clear, "b.01"));
    Append(Decision(ReviewAction::Reject, "c.01", "no_pulse"));
    Append(Decision(ReviewAction::Accept, "c.01"));
    Append(Decision(ReviewAction::Reject, "d\xff.01", "other"));

    const auto decisions = ManualDecisionsOf(ReadReviewLog(LogPath()).events);
    ASSERT_EQ(decisions.size(), 3u);
    EXPECT_FALSE(decisions.at("a.01").accepted);
    EXPECT_EQ(decisions.at("a.01").reason, "movement");
    EXPECT_EQ(decisions.at("a.01").user, CurrentUserName());
    EXPECT_TRUE(decisions.at("c.01").accepted);
    EXPECT_EQ(decisions.at("d\xff.01").reason, "other");
    EXPECT_EQ(EventsOfFile(ReadReviewLog(LogPath()).events, "a.01").size(), 3u);
}

TEST_F(ReviewLogTest, DecisionsAreLoadedForEachRecordingFromItsFoldersLog) {
    const std::string other = folder.File("other");
    ASSERT_EQ(::mkdir(other.c_str(), 0700), 0);
    WriteText(folder.File("a.01"), "abc");
    WriteText(other + "/a.01", "xyz");
    Result<void> added = AppendDecision(folder.File("a.01"), ReviewAction::Reject, "movement", "");
    ASSERT_TRUE(added.ok()) << added.error();
    added = AppendDecision(other + "/a.01", ReviewAction::Accept, "", "");
    ASSERT_TRUE(added.ok()) << added.error();
    EXPECT_FALSE(AppendDecision(folder.File("gone.01"), ReviewAction::Accept, "", "").ok());

    std::vector<std::string> warnings;
    const auto decisions =
        LoadManualDecisions({folder.File("a.01"), other + "/a.01", folder.File("b.01")}, warnings);
    ASSERT_EQ(decisions.size(), 3u);
    ASSERT_TRUE(decisions[0] && decisions[1]);
    EXPECT_FALSE(decisions[0]->accepted);
    EXPECT_TRUE(decisions[1]->accepted);
    EXPECT_FALSE(decisions[2]);
    EXPECT_TRUE(warnings.empty());
    // The digest is the recording's SHA-256 at that moment.
    EXPECT_EQ(ReadReviewLog(LogPath()).events.at(0).fields["sha256"],
              "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
}

class MalformedLineTest : public ReviewLogTest,
                          public ::testing::WithParamInterface<const char*> {};

TEST_P(MalformedLineTest, IsSkippedWithItsLineNumberAndKept) {
    Append(Decision(ReviewAction::Accept, "a.01"));
    const std::string before = ReadText(LogPath());
    WriteText(LogPath(), before + GetParam() + "\n\n");
    Append(Decision(ReviewAction::Reject, "a.01", "movement"));

    const ReviewLogContents log = ReadReviewLog(LogPath());
    ASSERT_EQ(log.warnings.size(), 1u);
    EXPECT_EQ(log.warnings[0], LogPath() + ": line 2: not a JSON object; skipped");
    ASSERT_EQ(log.events.size(), 2u);
    EXPECT_EQ(log.events[1].line, 4u);
    EXPECT_FALSE(ManualDecisionsOf(log.events).at("a.01").accepted);
    // The bad line is still there, byte for byte.
    EXPECT_NE(ReadText(LogPath()).find(before + GetParam() + "\n"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Lines, MalformedLineTest,
                         ::testing::Values("not json", "[\"accept\"]", "{\"action\":\"accept\"",
                                           "{\"file\":\"a\xff.01\"}", "42"));

TEST_F(ReviewLogTest, ALineLeftUnfinishedIsEndedBeforeTheNextEvent) {
    Append(Decision(ReviewAction::Accept, "a.01"));
    const std::string fragment = R"({"time":"2026-12-01T10:00:00+00:00","act)";
    WriteText(LogPath(), ReadText(LogPath()) + fragment);
    Append(Decision(ReviewAction::Reject, "b.01", "movement"));

    const ReviewLogContents log = ReadReviewLog(LogPath());
    ASSERT_EQ(log.events.size(), 2u);
    EXPECT_EQ(EventFileName(log.events[1]), "b.01");
    ASSERT_EQ(log.warnings.size(), 1u);
    EXPECT_NE(log.warnings[0].find("line 2"), std::string::npos);
    EXPECT_NE(ReadText(LogPath()).find(fragment + "\n"), std::string::npos);
}

// Lowers the largest file this process may write while it lives, as a full disk would
// stop a write part-way.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = saved_;
        lowered.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }

private:
    rlimit saved_{};
    void (*previousHandler_)(int) = nullptr;
};

TEST_F(ReviewLogTest, AWriteStoppedPartWayLeavesEveryEarlierLineWhole) {
    for (const char* file : {"a.01", "b.01", "c.01"})
        Append(Decision(ReviewAction::Accept, file));
    const std::string before = ReadText(LogPath());
    {
        const FileSizeLimit limit(before.size() + 40);
        const Result<void> added =
            AppendReviewEvent(LogPath(), Decision(ReviewAction::Reject, "d.01"));
        EXPECT_FALSE(added.ok());
        EXPECT_FALSE(added.error().empty());
    }
    EXPECT_EQ(ReadText(LogPath()), before);
    Append(Decision(ReviewAction::Reject, "e.01"));
    const ReviewLogContents log = ReadReviewLog(LogPath());
    EXPECT_TRUE(log.warnings.empty());
    EXPECT_EQ(log.events.size(), 4u);
}

TEST_F(ReviewLogTest, AFullDiskLeavesEveryEarlierLineWhole) {
    const std::string mountPoint = folder.File("small");
    ASSERT_EQ(::mkdir(mountPoint.c_str(), 0700), 0);
    if (::mount("tmpfs", mountPoint.c_str(), "tmpfs", 0, "size=8k") != 0)
        GTEST_SKIP() << "no small file system can be mounted here";
    const std::string logPath = mountPoint + "/" + kReviewLogName;
    size_t written = 0;
    ReviewEvent event = Decision(ReviewAction::Reject, "a.01");
    event.fields["note"] = std::string(300, 'n');
    while (AppendReviewEvent(logPath, event).ok())
        ++written;
    const ReviewLogContents log = ReadReviewLog(logPath);
    ::umount(mountPoint.c_str());
    EXPECT_GT(written, 0u);
    EXPECT_TRUE(log.warnings.empty());
    EXPECT_EQ(log.events.size(), written);
}

TEST_F(ReviewLogTest, AWriterKilledWhileAppendingLeavesEveryLineWhole) {
    ReviewEvent event = Decision(ReviewAction::Accept, "a.01");
    event.fields["note"] = std::string(64 * 1024, 'n'); // long, so a kill can land inside a write
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        for (;;)
            static_cast<void>(AppendReviewEvent(LogPath(), event));
    }
    std::this_thread::sleep_for(200ms);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    const ReviewLogContents killed = ReadReviewLog(LogPath());
    EXPECT_LE(killed.warnings.size(), 1u); // at most the line the kill cut short
    Append(Decision(ReviewAction::Reject, "b.01", "movement"));
    const ReviewLogContents log = ReadReviewLog(LogPath());
    EXPECT_EQ(log.warnings, killed.warnings);
    ASSERT_EQ(log.events.size(), killed.events.size() + 1);
    EXPECT_EQ(EventFileName(log.events.back()), "b.01");
}

TEST_F(ReviewLogTest, WritersAtOnceEachKeepTheirLinesWhole) {
    constexpr int kWriters = 4, kEvents = 50;
    std::vector<std::thread> writers;
    for (int w = 0; w < kWriters; ++w) {
        writers.emplace_back([&, w] {
            const std::string file = std::to_string(w) + ".01";
            ReviewEvent event = Decision(ReviewAction::Accept, file);
            event.fields["note"] = std::string(2000, static_cast<char>('a' + w));
            for (int i = 0; i < kEvents; ++i) {
                const Result<void> added = AppendReviewEvent(LogPath(), event);
                EXPECT_TRUE(added.ok()) << added.error();
            }
        });
    }
    for (std::thread& writer : writers)
        writer.join();
    const ReviewLogContents log = ReadReviewLog(LogPath());
    EXPECT_TRUE(log.warnings.empty());
    EXPECT_EQ(log.events.size(), static_cast<size_t>(kWriters * kEvents));
}

// What is made at the log's name instead of a file.
enum class NotAFile { NamedPipe, LinkToDevice, Folder, LinkToNothing };

class NotAFileTest : public ReviewLogTest, public ::testing::WithParamInterface<NotAFile> {
protected:
    void SetUp() override {
        switch (GetParam()) {
        case NotAFile::NamedPipe:
            ASSERT_EQ(::mkfifo(LogPath().c_str(), 0600), 0);
            break;
        case NotAFile::LinkToDevice:
            ASSERT_EQ(::symlink("/dev/null", LogPath().c_str()), 0);
            break;
        case NotAFile::Folder:
            ASSERT_EQ(::mkdir(LogPath().c_str(), 0700), 0);
            break;
        case NotAFile::LinkToNothing:
            ASSERT_EQ(::symlink(folder.File("elsewhere").c_str(), LogPath().c_str()), 0);
            break;
        }
    }
};

TEST_P(NotAFileTest, IsNeitherWrittenNorWaitedFor) {
    // A reader on the pipe would take whatever was written, and make a blocking open return.
    int reader = -1;
    if (GetParam() == NotAFile::NamedPipe)
        reader = ::open(LogPath().c_str(), O_RDONLY | O_NONBLOCK);
    const auto start = std::chrono::steady_clock::now();
    const Result<void> added = AppendReviewEvent(LogPath(), Decision(ReviewAction::Accept, "a.01"));
    EXPECT_FALSE(added.ok());
    EXPECT_NE(added.error().find("review log"), std::string::npos) << added.error();
    const ReviewLogContents log = ReadReviewLog(LogPath());
    EXPECT_TRUE(log.events.empty());
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
    if (GetParam() != NotAFile::LinkToNothing) {
        EXPECT_FALSE(log.error.empty());
    }
    EXPECT_FALSE(std::filesystem::exists(folder.File("elsewhere")));
    if (reader >= 0) {
        char byte;
        EXPECT_LE(::read(reader, &byte, 1), 0);
        ::close(reader);
    }
    std::vector<std::string> warnings;
    EXPECT_FALSE(LoadManualDecisions({folder.File("a.01")}, warnings).at(0));
}

INSTANTIATE_TEST_SUITE_P(Paths, NotAFileTest,
                         ::testing::Values(NotAFile::NamedPipe, NotAFile::LinkToDevice,
                                           NotAFile::Folder, NotAFile::LinkToNothing));

} // namespace
} // namespace mirado::test
