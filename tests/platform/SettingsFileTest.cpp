// The settings file shared by several running instances: writers that overlap lose none
// of each other's values, the window's placement is one change, the update lock leaves
// nothing behind and gives up on a holder that does not let go, a byte-order mark is read
// past and kept, and a file too large to be ours is reported and left alone.

#include "document/MiradoSettings.h"
#include "files/UpdateLock.h"
#include "platform/ProfileValue.h"
#include "platform/qtcore/QtProfile.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <set>
#include <thread>

namespace mirado {
namespace {

namespace fs = std::filesystem;

constexpr const char* kBom = "\xEF\xBB\xBF";

TEST(SettingsFileTest, TwoWritersAtOnceLoseNoValue) {
    const test::TempFolder folder;
    const std::string file = folder.File("Tenvar.s99");
    constexpr int kRounds = 150;
    std::atomic<int> refused{0};
    const auto writer = [&](const std::string& prefix) {
        CQtProfile profile(file); // each instance its own, as two programs have
        for (int i = 0; i < kRounds; ++i)
            if (!profile.WriteProfileInt("Mirado", prefix + std::to_string(i), i))
                ++refused;
    };
    std::thread first(writer, "a");
    std::thread second(writer, "b");
    first.join();
    second.join();
    EXPECT_EQ(refused.load(), 0);
    const std::string text = test::ReadText(file);
    int lost = 0;
    for (const char* prefix : {"a", "b"})
        for (int i = 0; i < kRounds; ++i)
            lost +=
                FindProfileValue(text, "Mirado", prefix + std::to_string(i)) != std::to_string(i);
    EXPECT_EQ(lost, 0);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), 1);
}

TEST(SettingsFileTest, TheWindowPlacementIsWrittenAsOneChange) {
    const test::TempFolder folder;
    const std::string file = folder.File("Tenvar.s99");
    const WindowPlacement small{10, 20, 300, 200, false, ToolBarSide::Top};
    const WindowPlacement large{50, 60, 1200, 900, true, ToolBarSide::Left};
    std::atomic<bool> done{false};
    std::thread writer([&] {
        CQtProfile profile(file);
        const CMiradoSettings settings(&profile);
        for (int i = 0; i < 60; ++i)
            settings.SaveWindowPlacement(i % 2 == 0 ? small : large);
        done = true;
    });
    // Every state of the file a reader can meet holds one placement whole.
    std::set<std::string> mixed;
    while (!done) {
        const std::string text = test::ReadText(file);
        const auto value = [&](const char* key) {
            return FindProfileValue(text, kMiradoSection, key).value_or("");
        };
        const std::string seen = value(kKeyWindowX) + "," + value(kKeyWindowY) + "," +
                                 value(kKeyWindowWidth) + "," + value(kKeyWindowHeight) + "," +
                                 value(kKeyWindowMaximized) + "," + value(kKeyToolBarSide);
        if (seen != ",,,,," && seen != "10,20,300,200,0,top" && seen != "50,60,1200,900,1,left")
            mixed.insert(seen);
    }
    writer.join();
    EXPECT_TRUE(mixed.empty()) << *mixed.begin();
}

TEST(SettingsFileTest, TheLockWaitsForItsHolderGivesUpInTimeAndLeavesNothing) {
    const test::TempFolder folder;
    const std::string file = folder.File("Tenvar.s99");
    {
        const CUpdateLock holder(file);
        ASSERT_TRUE(holder.Held()) << holder.Error();
        EXPECT_TRUE(fs::exists(holder.LockPath()));
        const CUpdateLock waiter(file, std::chrono::milliseconds(100));
        EXPECT_FALSE(waiter.Held());
        EXPECT_NE(waiter.Error().find(holder.LockPath()), std::string::npos);
    }
    // A lock file left by a killed writer is no longer locked: the next writer takes it.
    std::ofstream(file + ".lock") << "";
    CQtProfile profile(file);
    EXPECT_TRUE(profile.WriteProfileInt("TenvarAWU", "interval", 3));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), 1);
}

TEST(SettingsFileTest, AByteOrderMarkIsReadPastAndKept) {
    EXPECT_EQ(
        FindProfileValue(std::string(kBom) + "[TenvarAWU]\nbkColor=3\n", "TenvarAWU", "bkColor"),
        "3");
    EXPECT_EQ(WithProfileValue(kBom, "A", "x", "1"), std::string(kBom) + "[A]\nx=1\n");

    const test::TempFolder folder;
    const std::string file = folder.File("Tenvar.s99");
    std::ofstream(file) << kBom << "[TenvarAWU]\r\nbkColor=3\r\n";
    CQtProfile profile(file);
    EXPECT_EQ(profile.GetProfileInt("TenvarAWU", "bkColor", 0), 3);
    EXPECT_TRUE(profile.WriteProfileInt("TenvarAWU", "interval", 8));
    EXPECT_EQ(test::ReadText(file),
              std::string(kBom) + "[TenvarAWU]\r\nbkColor=3\r\ninterval=8\r\n");
}

TEST(SettingsFileTest, AFileLargerThanOneMebibyteIsReportedAndLeftAlone) {
    const test::TempFolder folder;
    const std::string file = folder.File("Tenvar.s99");
    const std::string text = "[TenvarAWU]\nbkColor=3\n;" + std::string(1u << 20, 'x') + "\n";
    std::ofstream(file) << text;
    CQtProfile profile(file);
    EXPECT_EQ(profile.Problem(), "Settings are not saved: " + file + " is larger than 1 MiB.");
    EXPECT_EQ(profile.GetProfileInt("TenvarAWU", "bkColor", 0), 0);
    EXPECT_FALSE(profile.WriteProfileInt("TenvarAWU", "interval", 8));
    EXPECT_EQ(test::ReadText(file), text);
}

} // namespace
} // namespace mirado
