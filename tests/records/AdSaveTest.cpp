#include "records/AdData.h"

#include "records/FileAccess.h"
#include "support/RecordBuilder.h"
#include "support/ScriptedUserPrompts.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fnmatch.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace mirado {
namespace {

using test::ReadBytes;
using test::RecordBuilder;
using test::TempFolder;
using test::WriteBytes;

std::vector<uint8_t> Slice(const std::vector<uint8_t>& bytes, size_t from, size_t to) {
    return std::vector<uint8_t>(bytes.begin() + static_cast<long>(from),
                                bytes.begin() + static_cast<long>(to));
}

std::vector<uint8_t> SavedBytes(CAdData& data) {
    const std::string bytes = data.SerializedBytes();
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

CAdData LoadOrFail(const std::vector<uint8_t>& bytes) {
    CAdData data;
    int modelCode = 0;
    EXPECT_TRUE(data.LoadFromBytes("x.001", bytes.data(), bytes.size(), modelCode, nullptr).ok());
    return data;
}

TEST(AdDataSave, PreservesEveryByteWithoutAMeaning) {
    for (uint32_t seed : {1u, 2u, 3u}) {
        RecordBuilder builder(seed);
        test::PutInt16(builder.fixed, kOffsetWriterMark,
                       static_cast<int16_t>(seed == 3 ? kAcquisitionWriterMark : 0));
        builder.trailing = {1, 2, 3, 4, 5};
        const std::vector<uint8_t> original = builder.Bytes();
        CAdData data = LoadOrFail(original);
        const std::vector<uint8_t> saved = SavedBytes(data);

        ASSERT_EQ(saved.size(), original.size() - builder.trailing.size()) << seed;
        const size_t afterValidMark = kOffsetValidMark + kInt16Width;
        EXPECT_EQ(Slice(saved, 0, kOffsetValidMark), Slice(original, 0, kOffsetValidMark));
        EXPECT_EQ(Slice(saved, afterValidMark, kOffsetSecondResultCopy),
                  Slice(original, afterValidMark, kOffsetSecondResultCopy));
        EXPECT_EQ(Slice(saved, kOffsetBeatPositions, saved.size()),
                  Slice(original, kOffsetBeatPositions, saved.size()));
        const int mark = data.IsValid() ? kValidMark : 0;
        EXPECT_EQ(saved[kOffsetValidMark] | saved[kOffsetValidMark + 1] << 8, mark);
        std::vector<uint8_t> secondCopy =
            Slice(original, kOffsetResultBlock, kOffsetResultBlock + kResultBlockSize);
        const size_t writerMark = kOffsetWriterMark - kOffsetSecondResultCopy;
        secondCopy[writerMark] = kOwnWriterMark;
        secondCopy[writerMark + 1] = 0;
        EXPECT_EQ(Slice(saved, kOffsetSecondResultCopy, kOffsetBeatPositions), secondCopy);
    }
}

TEST(AdDataSave, WritesEditsAndReloadsTheSameRecord) {
    CAdData data = LoadOrFail(RecordBuilder().Bytes());
    data.SetStoredPressures(250, 200, 170);
    data.SetStoredMarkers(900, 1300, 1700);
    data.SetAnimalNo("B-7");
    data.SetValid(false);
    const std::vector<uint8_t> saved = SavedBytes(data);
    CAdData reloaded = LoadOrFail(saved);
    int16_t sbp, mbp, dbp, s, m, d;
    reloaded.GetStoredPressures(sbp, mbp, dbp);
    reloaded.GetStoredMarkers(s, m, d);
    EXPECT_EQ(std::tie(sbp, mbp, dbp, s, m, d), std::make_tuple(250, 200, 170, 900, 1300, 1700));
    EXPECT_EQ(reloaded.GetAnimalNo(), "B-7");
    EXPECT_FALSE(reloaded.IsValid()); // writer mark 28 now: the valid mark decides
    EXPECT_EQ(reloaded.MiddleBlock(), data.MiddleBlock());
    EXPECT_TRUE(
        std::equal(data.GetChannel2(), data.GetChannel2() + kSampleCount, reloaded.GetChannel2()));
    EXPECT_EQ(SavedBytes(reloaded), saved);
}

TEST(AdDataSave, SavesThroughTheFileAndKeepsPermissions) {
    TempFolder folder;
    const std::string path = folder.File("m.012");
    WriteBytes(path, RecordBuilder().Bytes());
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);
    CAdData data;
    int modelCode = 0;
    ASSERT_TRUE(data.Load(path, modelCode, nullptr).ok());
    data.SetComment("edited");
    ASSERT_TRUE(data.Save(path, nullptr).ok());
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(ReadBytes(path), SavedBytes(data));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);
}

TEST(AdDataSave, SavingThroughASymbolicLinkKeepsTheLink) {
    TempFolder folder;
    const std::string real = folder.File("real.001");
    const std::string link = folder.File("link.001");
    WriteBytes(real, RecordBuilder().Bytes());
    std::filesystem::create_symlink(real, link);
    CAdData data = LoadOrFail(ReadBytes(link));
    data.SetWeight("30g");
    ASSERT_TRUE(data.Save(link, nullptr).ok());
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadBytes(real), SavedBytes(data));
}

TEST(AdDataSave, ReportsAFolderThatDoesNotExist) {
    TempFolder folder;
    CAdData data = LoadOrFail(RecordBuilder().Bytes());
    ScriptedUserPrompts prompts;
    const std::string path = folder.File("no/such/m.001");
    EXPECT_FALSE(data.Save(path, &prompts).ok());
    ASSERT_EQ(prompts.Shown().size(), 1u);
    EXPECT_EQ(prompts.Shown()[0].text,
              path + "  Cannot create a file in the folder (No such file or directory)");
    EXPECT_EQ(data.GetLastError(),
              "  Cannot create a file in the folder (No such file or directory)");
}

// Runs the scope as an unprivileged user when the tests run as root, so that
// permission checks apply.
class Unprivileged {
public:
    static constexpr uid_t kNobody = 65534;
    Unprivileged() : wasRoot_(geteuid() == 0) {
        if (wasRoot_) {
            EXPECT_EQ(seteuid(kNobody), 0);
        }
    }
    ~Unprivileged() {
        if (wasRoot_) {
            EXPECT_EQ(seteuid(0), 0);
        }
    }

private:
    bool wasRoot_;
};

TEST(AdDataSave, RefusesAnUnwritableTargetOrFolder) {
    TempFolder folder;
    ASSERT_EQ(chmod(folder.Path().c_str(), 0755), 0);
    const std::string path = folder.File("m.001");
    const std::vector<uint8_t> original = RecordBuilder().Bytes();
    WriteBytes(path, original);
    ASSERT_EQ(chmod(path.c_str(), 0644), 0);
    CAdData data = LoadOrFail(original);
    data.SetAnimalNo("changed");
    ScriptedUserPrompts prompts;
    {
        Unprivileged guard;
        EXPECT_FALSE(data.Save(path, &prompts).ok());
        EXPECT_EQ(data.GetLastError(), "  Not writable (Permission denied)");
        EXPECT_FALSE(data.Save(folder.File("new.001"), &prompts).ok());
        EXPECT_EQ(data.GetLastError(), "  Cannot create a file in the folder (Permission denied)");
    }
    EXPECT_EQ(prompts.Shown().size(), 2u);
    EXPECT_EQ(ReadBytes(path), original);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);
}

TEST(AdDataSave, AWriteFailingHalfWayLeavesTheOriginalIntact) {
    TempFolder folder;
    const std::string path = folder.File("m.001");
    const std::vector<uint8_t> original = RecordBuilder().Bytes();
    WriteBytes(path, original);
    CAdData data = LoadOrFail(original);
    data.SetAnimalNo("changed");

    // Limit the size of files this process may write, so the write stops half-way.
    rlimit previous{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = previous;
    limited.rlim_cur = 2000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const bool saved = data.Save(path, nullptr).ok();
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(saved);
    EXPECT_EQ(data.GetLastError(), "  Cannot write the file (File too large)");
    EXPECT_EQ(ReadBytes(path), original);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);
}

TEST(AdDataSave, ALongValidNameIsSavedAndATooLongOneIsNamed) {
    TempFolder folder;
    const std::string name = std::string(246, 'n') + ".001"; // 250 bytes
    const std::string path = folder.File(name);
    CAdData data = LoadOrFail(RecordBuilder().Bytes());
    data.SetComment("long");
    ASSERT_TRUE(data.Save(path, nullptr).ok()) << data.GetLastError();
    EXPECT_EQ(ReadBytes(path), SavedBytes(data));
    ASSERT_TRUE(data.Save(path, nullptr).ok()) << data.GetLastError(); // and over itself
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);

    const std::string tooLong = std::string(256, 'x');
    EXPECT_FALSE(data.Save(folder.File(tooLong), nullptr).ok());
    EXPECT_EQ(data.GetLastError(), "  The file name " + tooLong + " is too long");
}

// What a process killed while writing leaves behind: its temporary file, which must be
// hidden and must not look like a measurement file ("*.0*" to "*.9*").
TEST(FileAccess, TemporaryFileOfAKilledWriterIsHiddenAndNoMeasurementFile) {
    TempFolder folder;
    const std::string target = folder.File(std::string(246, 'm') + ".001");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The file size limit kills the writer half-way through its temporary file.
        std::signal(SIGXFSZ, SIG_DFL);
        rlimit limited{1000, 1000};
        setrlimit(RLIMIT_FSIZE, &limited);
        static_cast<void>(WriteFileAtomically(target, std::string(5000, 'x')));
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
        names.push_back(entry.path().filename().string());
    ASSERT_EQ(names.size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(target));
    EXPECT_EQ(names[0].front(), '.');
    EXPECT_LE(names[0].size(), 40u);
    EXPECT_NE(fnmatch("*.[0-9]*", names[0].c_str(), FNM_PERIOD), 0) << names[0];
    EXPECT_NE(fnmatch("*.[0-9]*", names[0].c_str(), 0), 0) << names[0];
}

namespace {

std::vector<std::string> NamesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

// A text written in pieces replaces the target whole on Commit, and only then.
TEST(FileAccess, PiecewiseTextReplacesTheTargetOnlyWhenCommitted) {
    TempFolder folder;
    const std::string target = folder.File("out.txt");
    WriteBytes(target, {'o', 'l', 'd'});
    std::string expected;
    const auto writeAll = [&](CAtomicFileWriter& writer) {
        expected.clear();
        for (int i = 0; i < 8000; ++i) {
            std::string piece = "row ";
            piece += std::to_string(i);
            piece += "\r\n";
            writer.Append(piece);
            expected += piece;
        }
        const std::string large(200 * 1024, 'x'); // beyond the gathering buffer
        writer.Append(large);
        expected += large;
        writer.Append("end");
        expected += "end";
    };
    {
        CAtomicFileWriter dropped(target);
        writeAll(dropped);
        EXPECT_EQ(NamesIn(folder.Path()).size(), 2u); // the target and the temporary file
    }
    EXPECT_EQ(ReadBytes(target), (std::vector<uint8_t>{'o', 'l', 'd'}));
    EXPECT_EQ(NamesIn(folder.Path()), std::vector<std::string>{"out.txt"});

    CAtomicFileWriter writer(target);
    writeAll(writer);
    const Result<void> committed = writer.Commit();
    ASSERT_TRUE(committed.ok()) << committed.error();
    const std::vector<uint8_t> bytes = ReadBytes(target);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), expected);
    EXPECT_EQ(NamesIn(folder.Path()), std::vector<std::string>{"out.txt"});
}

TEST(FileAccess, PiecewiseTextReportsTheFailureOfTheWholeWrite) {
    TempFolder folder;
    for (const std::string& target : {folder.File("missing/out.txt"), folder.Path()}) {
        CAtomicFileWriter writer(target);
        writer.Append("abc");
        const Result<void> piecewise = writer.Commit();
        const Result<void> whole = WriteFileAtomically(target, "abc");
        EXPECT_FALSE(piecewise.ok());
        EXPECT_FALSE(whole.ok());
        EXPECT_EQ(piecewise.error(), whole.error());
        EXPECT_FALSE(piecewise.error().empty());
    }
    EXPECT_TRUE(NamesIn(folder.Path()).empty());
}

TEST(FileAccess, RefusesNonRegularTargets) {
    TempFolder folder;
    const Result<void> written = WriteFileAtomically(folder.Path(), "abc");
    EXPECT_FALSE(written.ok());
    EXPECT_EQ(written.error(), "Not a regular file");
    EXPECT_TRUE(std::filesystem::is_directory(folder.Path()));
}

TEST(FileAccess, IsSameFileSeesThroughSpellingsAndLinks) {
    TempFolder folder;
    const std::string file = folder.File("a.001");
    const std::string other = folder.File("b.001");
    WriteBytes(file, {1, 2, 3});
    WriteBytes(other, {1, 2, 3});
    std::filesystem::create_directory(folder.File("sub"));
    std::filesystem::create_symlink(file, folder.File("link.001"));
    std::filesystem::create_hard_link(file, folder.File("hard.001"));

    EXPECT_TRUE(IsSameFile(file, file));
    EXPECT_TRUE(IsSameFile(file, folder.File("sub/../a.001")));
    EXPECT_TRUE(IsSameFile(folder.File("link.001"), file));
    EXPECT_TRUE(IsSameFile(file, folder.File("hard.001")));
    EXPECT_FALSE(IsSameFile(file, other));
    EXPECT_FALSE(IsSameFile(folder.File("missing.001"), folder.File("missing.001")));
    EXPECT_FALSE(IsSameFile(file, folder.File("missing.001")));
}

TEST(FileAccess, ExclusiveCreationNeverReplacesWhatIsThere) {
    TempFolder folder;
    const std::string fresh = folder.File("fresh.001");
    bool taken = true;
    std::string error;
    ASSERT_TRUE(CreateFileExclusively(fresh, "new", taken, error)) << error;
    EXPECT_FALSE(taken);
    EXPECT_EQ(ReadBytes(fresh), (std::vector<uint8_t>{'n', 'e', 'w'}));

    std::filesystem::create_symlink("nowhere", folder.File("dangling.001"));
    for (const std::string& name : {fresh, folder.File("dangling.001")}) {
        EXPECT_FALSE(CreateFileExclusively(name, "other", taken, error)) << name;
        EXPECT_TRUE(taken) << name;
    }
    EXPECT_EQ(ReadBytes(fresh), (std::vector<uint8_t>{'n', 'e', 'w'}));
    EXPECT_FALSE(std::filesystem::exists(folder.File("nowhere")));
    EXPECT_EQ(NamesIn(folder.Path()), (std::vector<std::string>{"dangling.001", "fresh.001"}));
}

// A writer killed before it put its temporary file in place leaves it behind; the next
// writer in the folder removes it once its process is gone, and only then.
TEST(FileAccess, TheNextWriterRemovesTemporariesOfGoneProcesses) {
    TempFolder folder;
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ASSERT_GT(child, 0);
    ::waitpid(child, nullptr, 0);
    const auto temporary = [](pid_t pid, int serial) {
        std::string name = ".mirado-";
        name += std::to_string(pid);
        name += "-";
        name += std::to_string(serial);
        name += ".tmp";
        return name;
    };
    const std::vector<std::string> kept = {temporary(::getpid(), 999), temporary(1, 3),
                                           ".mirado-x-1.tmp", "other.tmp"};
    for (const std::string& name : kept)
        WriteBytes(folder.File(name), {1});
    WriteBytes(folder.File(temporary(child, 0)), {1});

    const Result<void> written = WriteFileAtomically(folder.File("out.txt"), "abc");
    ASSERT_TRUE(written.ok()) << written.error();
    std::vector<std::string> expected = kept;
    expected.push_back("out.txt");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(NamesIn(folder.Path()), expected);
}

TEST(FileAccess, TheLockExcludesOtherHoldersAndRefusesWhatIsNoFile) {
    TempFolder folder;
    const std::string file = folder.File("a.001");
    WriteBytes(file, {1});
    EXPECT_EQ(CFileLock(folder.File("missing.001")).GetState(), CFileLock::State::Missing);
    ASSERT_EQ(::mkfifo(folder.File("fifo.001").c_str(), 0600), 0);
    EXPECT_EQ(CFileLock(folder.File("fifo.001")).GetState(), CFileLock::State::Failed);

    std::atomic<bool> taken{false};
    std::thread waiter;
    {
        const CFileLock held(file);
        ASSERT_EQ(held.GetState(), CFileLock::State::Locked);
        waiter = std::thread([&] {
            const CFileLock second(file);
            taken = second.GetState() == CFileLock::State::Locked;
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        EXPECT_FALSE(taken);
        // A new file put in place while the waiter waits is the one it locks.
        const Result<void> written = WriteFileAtomically(file, "new");
        ASSERT_TRUE(written.ok()) << written.error();
    }
    waiter.join();
    EXPECT_TRUE(taken);
}

} // namespace
} // namespace mirado
