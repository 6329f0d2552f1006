#include "document/RecentFileSets.h"
#include "document/MiradoSettings.h"
#include "support/ScriptedPlatform.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <thread>

namespace mirado {
namespace {

FileSet NumberedSet(int n) {
    return {"/data/s" + std::to_string(n) + "/a.001", "/data/s" + std::to_string(n) + "/a.002"};
}

TEST(RecentFileSetsTest, NewestFirstWithoutRepeatsAndAtMostEight) {
    CRecentFileSets sets;
    for (int n = 0; n < 10; ++n)
        sets.Add(NumberedSet(n));
    sets.Add(NumberedSet(5));
    sets.Add({});
    ASSERT_EQ(sets.Sets().size(), kMaxRecentFileSets);
    EXPECT_EQ(sets.Sets()[0], NumberedSet(5));
    EXPECT_EQ(sets.Sets()[1], NumberedSet(9));
    EXPECT_EQ(sets.Sets()[7], NumberedSet(2));
    // The same files in another order are another set.
    sets.Add({NumberedSet(9)[1], NumberedSet(9)[0]});
    EXPECT_EQ(sets.Sets()[2], NumberedSet(9));
}

TEST(RecentFileSetsTest, EveryPathSurvivesTheFile) {
    CRecentFileSets sets;
    const FileSet awkward = {
        "/d/with\nnewline.001", "/d/back\\slash\\n.001",           "/d/cr\r.001",
        "/d/#hash.001",         "/d/\xE6\x97\xA5\xE6\x9C\xAC.001", "/d/ ends blank "};
    sets.Add(NumberedSet(1));
    sets.Add(awkward);
    const std::string text = sets.Format();
    const CRecentFileSets back = CRecentFileSets::Parse(text);
    EXPECT_EQ(back.Sets(), sets.Sets());
    EXPECT_EQ(back.Format(), text);

    test::TempFolder folder;
    const std::string path = RecentFilesPath(folder.Path() + "/");
    const Result<void> saved = sets.Save(path);
    ASSERT_TRUE(saved.ok()) << saved.error();
    EXPECT_EQ(test::ReadText(path), text);
    EXPECT_EQ(CRecentFileSets::Load(path).Sets(), sets.Sets());
}

TEST(RecentFileSetsTest, DamagedOrMissingFileGivesWhatCanBeRead) {
    EXPECT_TRUE(CRecentFileSets::Load("/nonexistent/recent-files.txt").Sets().empty());
    const CRecentFileSets sets = CRecentFileSets::Parse(
        "# comment\n\n\n/a/1\r\n/a/bad\\q\n/a/2\n\n# only a comment\n\n/b/1\\");
    ASSERT_EQ(sets.Sets().size(), 1u);
    // A CR at a line's end is part of the name; only the broken escapes are skipped.
    EXPECT_EQ(sets.Sets()[0], (FileSet{"/a/1\r", "/a/2"}));
    std::string many;
    for (int n = 0; n < 20; ++n)
        many += "/p/" + std::to_string(n) + "\n\n";
    EXPECT_EQ(CRecentFileSets::Parse(many).Sets().size(), kMaxRecentFileSets);
}

// A set as large as a study's: count paths of 115 bytes.
FileSet LargeSet(int n, int count) {
    FileSet set;
    const std::string folder = "/data/" + std::string(80, 'd') + "/study-" + std::to_string(n);
    for (int i = 0; i < count; ++i)
        set.push_back(folder + "/recording-" + std::to_string(100000 + i) + ".001");
    return set;
}

TEST(RecentFileSetsTest, TheFileStaysReadableDroppingTheOldestSetsFirst) {
    const test::TempFolder folder;
    const std::string path = RecentFilesPath(folder.Path() + "/");
    CRecentFileSets sets;
    sets.Add(NumberedSet(0));
    for (int n = 1; n <= 6; ++n) {
        sets.Add(LargeSet(n, 6501)); // six such sets hold more than 4 MiB
        const Result<void> saved = sets.Save(path);
        ASSERT_TRUE(saved.ok()) << saved.error();
    }
    EXPECT_LE(std::filesystem::file_size(path), kMaxRecentFilesBytes);
    const CRecentFileSets back = CRecentFileSets::Load(path);
    EXPECT_EQ(back.Sets(), sets.Sets());
    ASSERT_GE(back.Sets().size(), 5u);
    for (size_t i = 0; i < back.Sets().size(); ++i)
        EXPECT_EQ(back.Sets()[i], LargeSet(6 - static_cast<int>(i), 6501)) << i;

    // A set too large for the file on its own is not kept, and costs the others nothing.
    sets.Add(LargeSet(7, 40000));
    EXPECT_EQ(sets.Sets(), back.Sets());
}

TEST(RecentFileSetsTest, InstancesChangingTheFileAtOnceKeepEachOthersSets) {
    const test::TempFolder folder;
    constexpr int kInstances = 4;
    for (int round = 0; round < 10; ++round) {
        const std::string path = RecentFilesPath(folder.Path() + "/") + std::to_string(round);
        std::vector<std::thread> instances;
        std::atomic<int> failed{0};
        for (int n = 0; n < kInstances; ++n)
            instances.emplace_back([&, n] {
                const FileSet set = NumberedSet(round * kInstances + n);
                const Result<CRecentFileSets> mine =
                    CRecentFileSets::Update(path, [&](CRecentFileSets& sets) { sets.Add(set); });
                if (!mine.ok() || mine.value().Sets().front() != set)
                    ++failed;
            });
        for (std::thread& instance : instances)
            instance.join();
        EXPECT_EQ(failed.load(), 0);
        const CRecentFileSets stored = CRecentFileSets::Load(path);
        EXPECT_EQ(stored.Sets().size(), static_cast<size_t>(kInstances)) << "round " << round;
    }
}

TEST(RecentFileSetsTest, MissingFilesAreDroppedAndCounted) {
    test::TempFolder folder;
    const std::string present = folder.Path() + "/a.001";
    const std::string missing = folder.Path() + "/b.001";
    const std::string alsoPresent = folder.Path() + "/c.001";
    test::WriteText(present, "x");
    test::WriteText(alsoPresent, "y");
    const ExistingFiles existing =
        KeepExistingFiles({present, missing, folder.Path(), alsoPresent});
    EXPECT_EQ(existing.kept, (FileSet{present, alsoPresent}));
    // A folder is no file either.
    EXPECT_EQ(existing.dropped, 2);
}

TEST(WindowPlacementTest, StoredInTheOwnSectionAndReadBack) {
    MemoryProfile profile;
    CMiradoSettings settings(&profile);
    EXPECT_FALSE(settings.LoadWindowPlacement().has_value());
    WindowPlacement placement{-40, 25, 900, 650, true, ToolBarSide::Left};
    ASSERT_TRUE(settings.SaveWindowPlacement(placement));
    EXPECT_EQ(profile.GetRaw(kMiradoSection, kKeyToolBarSide), "left");
    EXPECT_EQ(profile.GetRaw(kMiradoSection, kKeyWindowX), "-40");
    EXPECT_EQ(profile.GetRaw("TenvarAWU", kKeyWindowX), std::nullopt);
    EXPECT_EQ(settings.LoadWindowPlacement(), placement);

    profile.SetRaw(kMiradoSection, kKeyToolBarSide, "sideways");
    EXPECT_EQ(settings.LoadWindowPlacement()->toolBarSide, ToolBarSide::Top);
    profile.SetRaw(kMiradoSection, kKeyWindowWidth, "0");
    EXPECT_FALSE(settings.LoadWindowPlacement().has_value());
    EXPECT_FALSE(CMiradoSettings(nullptr).LoadWindowPlacement().has_value());
}

} // namespace
} // namespace mirado
