#include "records/AdData.h"

#include "support/RecordBuilder.h"
#include "support/ScriptedUserPrompts.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>
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

} // namespace
} // namespace mirado
