// The file library: the atomic replace and the piecewise writer, temporary files of killed
// writers, file identity, exclusive creation and the recordings' write lock.

#include "files/FileAccess.h"
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
using test::TempFolder;
using test::WriteBytes;

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
    const Result<Creation> created = CreateFileExclusively(fresh, "new");
    ASSERT_TRUE(created.ok()) << created.error();
    EXPECT_EQ(created.value(), Creation::Created);
    EXPECT_EQ(ReadBytes(fresh), (std::vector<uint8_t>{'n', 'e', 'w'}));

    std::filesystem::create_symlink("nowhere", folder.File("dangling.001"));
    for (const std::string& name : {fresh, folder.File("dangling.001")}) {
        const Result<Creation> again = CreateFileExclusively(name, "other");
        ASSERT_TRUE(again.ok()) << again.error();
        EXPECT_EQ(again.value(), Creation::NameTaken) << name;
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
