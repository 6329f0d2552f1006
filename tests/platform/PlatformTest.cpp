#include "platform/DocumentBase.h"
#include "platform/ProfileValue.h"
#include "platform/qtcore/QtProfile.h"
#include "platform/qtcore/QtSystemServices.h"
#include "platform/qtcore/QtTrash.h"
#include "support/ScriptedPlatform.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <future>
#include <optional>
#include <sstream>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace mirado {
namespace {

TEST(DocumentBaseTest, UpdatesEveryViewButTheSenderAndReportsTitles) {
    CDocumentBase doc;
    RecordingView first, second;
    doc.AddView(&first);
    doc.AddView(&second);
    doc.AddView(&first); // registered once only
    doc.UpdateAllViews(&first);
    EXPECT_TRUE(first.Updates().empty());
    EXPECT_EQ(second.Updates(), std::vector<IView*>{&first});
    doc.RemoveView(&second);
    doc.UpdateAllViews();
    EXPECT_EQ(first.Updates(), std::vector<IView*>{nullptr});
    EXPECT_EQ(second.Updates().size(), 1u);

    std::string shown;
    doc.SetTitleListener([&](const std::string& title) { shown = title; });
    doc.SetTitle("/d/a.01");
    EXPECT_EQ(shown, "/d/a.01");
    EXPECT_EQ(doc.GetTitle(), "/d/a.01");
}

TEST(ProfileValueTest, OnlyWholeDecimalNumbersThatFitCount) {
    EXPECT_EQ(ParseProfileInt("5"), 5);
    EXPECT_EQ(ParseProfileInt(" -12 "), -12);
    EXPECT_EQ(ParseProfileInt("+7"), 7);
    for (const char* bad : {"", " ", "5x", "x5", "1.5", "0x10", "99999999999", "+-1", "+"})
        EXPECT_FALSE(ParseProfileInt(bad).has_value()) << bad;
}

TEST(ProfileValueTest, IniValuesAreFoundAndChangedInPlace) {
    const std::string text = "; kept\r\n[Other]\r\ninterval=1\r\n[tenvarawu]\r\n"
                             " Interval = 7 \r\nname=\"  x \"\r\n\r\n[Last]\r\n";
    EXPECT_EQ(FindProfileValue(text, "TenvarAWU", "interval"), "7");
    EXPECT_EQ(FindProfileValue(text, "TenvarAWU", "name"), "  x ");
    EXPECT_EQ(FindProfileValue(text, "TenvarAWU", "alert"), std::nullopt);
    EXPECT_EQ(FindProfileValue(text, "Missing", "interval"), std::nullopt);

    EXPECT_EQ(WithProfileValue(text, "TenvarAWU", "interval", "9"),
              "; kept\r\n[Other]\r\ninterval=1\r\n[tenvarawu]\r\ninterval=9\r\n"
              "name=\"  x \"\r\n\r\n[Last]\r\n");
    EXPECT_EQ(WithProfileValue(text, "TenvarAWU", "alert", "1"),
              "; kept\r\n[Other]\r\ninterval=1\r\n[tenvarawu]\r\n Interval = 7 \r\n"
              "name=\"  x \"\r\nalert=1\r\n\r\n[Last]\r\n");
    EXPECT_EQ(WithProfileValue("", "TenvarAWU", "bkColor", "0"), "[TenvarAWU]\nbkColor=0\n");
    EXPECT_EQ(WithProfileValue("[A]\nx=1", "A", "y", " 2"), "[A]\nx=1\ny=\" 2\"\n");
    EXPECT_EQ(WithProfileValue("[A]", "B", "y", "2"), "[A]\n[B]\ny=2\n");
    EXPECT_EQ(WithProfileValue("[A]\n", "A", "dataFolder", "/a\nb/"), std::nullopt);
    const std::string quoted = *WithProfileValue("", "A", "q", "\"x\"");
    EXPECT_EQ(FindProfileValue(quoted, "A", "q"), "\"x\"");
}

TEST(QtProfileTest, WritesAnIniSectionAndReadsItBack) {
    const test::TempFolder folder;
    const std::string file = folder.File("Tenvar.s99");
    {
        CQtProfile profile(file);
        EXPECT_TRUE(profile.WriteProfileInt("TenvarAWU", "interval", 12));
        EXPECT_TRUE(profile.WriteProfileString("TenvarAWU", "dataFolder", "/data/x y/"));
    }
    const std::string text = test::ReadText(file);
    EXPECT_NE(text.find("[TenvarAWU]"), std::string::npos);
    EXPECT_NE(text.find("interval=12"), std::string::npos);

    CQtProfile profile(file);
    EXPECT_EQ(profile.GetProfileInt("TenvarAWU", "interval", 5), 12);
    EXPECT_EQ(profile.GetProfileString("TenvarAWU", "dataFolder", ""), "/data/x y/");
    EXPECT_EQ(profile.GetProfileInt("TenvarAWU", "missing", 5), 5);
}

TEST(QtProfileTest, HandWrittenBadValuesGiveTheDefault) {
    const test::TempFolder folder;
    const std::string file = folder.File("Tenvar.s99");
    std::ofstream(file) << "[TenvarAWU]\ninterval=fast\npressColor=1,2\nalert=1\n";
    CQtProfile profile(file);
    EXPECT_EQ(profile.GetProfileInt("TenvarAWU", "interval", 5), 5);
    EXPECT_EQ(profile.GetProfileInt("TenvarAWU", "pressColor", 6), 6);
    EXPECT_EQ(profile.GetProfileString("TenvarAWU", "pressColor", ""), "1,2");
    EXPECT_EQ(profile.GetProfileInt("TenvarAWU", "alert", 0), 1);
}

TEST(QtProfileTest, WritesReplaceTheFileAtomicallyAndLeaveNothingBeside) {
    const test::TempFolder temp;
    const std::filesystem::path folder = temp.Path();
    const std::filesystem::path file = folder / "Tenvar.s99";
    std::ofstream(file) << "[TenvarAWU]\r\n; a note\r\nbkColor=3\r\n";
    const auto inode = [&] {
        struct stat info {};
        ::stat(file.c_str(), &info);
        return info.st_ino;
    };
    const auto before = inode();
    CQtProfile profile(file.string());
    EXPECT_TRUE(profile.Problem().empty());
    EXPECT_TRUE(profile.WriteProfileInt("TenvarAWU", "interval", 8));
    EXPECT_NE(inode(), before); // a new file renamed into place, not rewritten in place
    EXPECT_EQ(test::ReadText(file), "[TenvarAWU]\r\n; a note\r\nbkColor=3\r\ninterval=8\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(QtProfileTest, LinkToARegularFileIsWrittenThroughAndStaysALink) {
    const test::TempFolder temp;
    const std::filesystem::path folder = temp.Path();
    std::filesystem::create_directories(folder / "real");
    const std::filesystem::path target = folder / "real" / "settings.ini";
    std::ofstream(target) << "[TenvarAWU]\nalert=1\n";
    const std::filesystem::path link = folder / "Tenvar.s99";
    std::filesystem::create_symlink(target, link);
    CQtProfile profile(link.string());
    EXPECT_TRUE(profile.Problem().empty());
    EXPECT_EQ(profile.GetProfileInt("TenvarAWU", "alert", 0), 1);
    EXPECT_TRUE(profile.WriteProfileInt("TenvarAWU", "interval", 12));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(test::ReadText(target), "[TenvarAWU]\nalert=1\ninterval=12\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder / "real"),
                            std::filesystem::directory_iterator()),
              1);
}

// Whatever stands at the settings path: the defaults apply, nothing is written and the
// thing itself stays as it was.
void ExpectRefusedAndUntouched(const std::string& path, const std::string& kind) {
    const auto typeOf = [&] { return std::filesystem::symlink_status(path).type(); };
    const auto before = typeOf();
    CQtProfile profile(path);
    EXPECT_NE(profile.Problem().find("Settings are not saved: " + path + " " + kind),
              std::string::npos)
        << profile.Problem();
    EXPECT_EQ(profile.GetProfileInt("TenvarAWU", "interval", 5), 5);
    EXPECT_EQ(profile.GetProfileString("TenvarAWU", "dataFolder", "d"), "d");
    EXPECT_FALSE(profile.WriteProfileInt("TenvarAWU", "interval", 12));
    EXPECT_FALSE(profile.WriteProfileString("TenvarAWU", "dataFolder", "/x/"));
    EXPECT_EQ(typeOf(), before);
}

TEST(QtProfileTest, FolderAndLinkToNothingAreRefusedAndLeftAsTheyAre) {
    const test::TempFolder temp;
    const std::filesystem::path folder = temp.Path();
    std::filesystem::create_directories(folder / "Tenvar.s99");
    ExpectRefusedAndUntouched((folder / "Tenvar.s99").string(), "is a folder");
    std::filesystem::create_symlink(folder / "gone", folder / "dangling.s99");
    ExpectRefusedAndUntouched((folder / "dangling.s99").string(), "is a link to nothing");
    EXPECT_FALSE(std::filesystem::exists(folder / "gone"));
    std::filesystem::create_symlink(folder / "loop.s99", folder / "loop.s99");
    ExpectRefusedAndUntouched((folder / "loop.s99").string(), "is a link that leads back");
}

TEST(QtProfileTest, NamedPipeNeverBlocksAndIsNeverWritten) {
    const test::TempFolder temp;
    const std::filesystem::path folder = temp.Path();
    const std::filesystem::path pipe = folder / "Tenvar.s99";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    auto run = std::async(std::launch::async,
                          [&] { ExpectRefusedAndUntouched(pipe.string(), "is a named pipe"); });
    if (run.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
        // Releases a reader stuck in the pipe, so the test ends with its failure.
        const int writer = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK);
        if (writer >= 0)
            ::close(writer);
        ADD_FAILURE() << "reading the settings blocked on a named pipe";
    }
    run.wait();
    EXPECT_TRUE(std::filesystem::is_fifo(pipe));
}

TEST(QtProfileTest, LinkToADeviceLeavesTheDeviceNode) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "making a device node needs root";
    const test::TempFolder temp;
    const std::filesystem::path folder = temp.Path();
    const std::filesystem::path node = folder / "null-device";
    ASSERT_EQ(::mknod(node.c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
    std::filesystem::create_symlink(node, folder / "Tenvar.s99");
    ExpectRefusedAndUntouched((folder / "Tenvar.s99").string(), "is a device");
    ExpectRefusedAndUntouched(node.string(), "is a device");
    EXPECT_TRUE(std::filesystem::is_character_file(node));
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "Tenvar.s99"));
}

TEST(QtSystemServicesTest, DocumentsFolderEndsWithSlashAndMissingFilesStayOutOfTrash) {
    CQtDocumentsFolder documents;
    const std::string folder = documents.GetDocumentsFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    CQtTrash trash;
    EXPECT_FALSE(trash.MoveToTrash("/nonexistent/mirado/file.01"));
}

// Runs with HOME pointing at an empty folder and the current folder somewhere else,
// restoring both afterwards.
class EmptyHomeTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = temp.Path();
        std::filesystem::create_directories(root / "home");
        std::filesystem::create_directories(root / "elsewhere");
        std::filesystem::create_directories(root / "data");
        SaveVariable("HOME", home);
        SaveVariable("XDG_DATA_HOME", dataHome);
        ::setenv("HOME", (root / "home").c_str(), 1);
        ::unsetenv("XDG_DATA_HOME");
        previous = std::filesystem::current_path();
        std::filesystem::current_path(root / "elsewhere");
    }
    void TearDown() override {
        std::filesystem::current_path(previous);
        RestoreVariable("HOME", home);
        RestoreVariable("XDG_DATA_HOME", dataHome);
    }
    static void SaveVariable(const char* name, std::optional<std::string>& value) {
        const char* text = std::getenv(name);
        value = text != nullptr ? std::optional<std::string>(text) : std::nullopt;
    }
    static void RestoreVariable(const char* name, const std::optional<std::string>& value) {
        if (value)
            ::setenv(name, value->c_str(), 1);
        else
            ::unsetenv(name);
    }
    size_t CountIn(const std::filesystem::path& folder) const {
        return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(folder),
                                                 std::filesystem::directory_iterator()));
    }

    test::TempFolder temp;
    std::filesystem::path root, previous;
    std::optional<std::string> home, dataHome;
};

TEST_F(EmptyHomeTest, FilesGoToTheTrashMadeInTheHomeNeverToTheCurrentFolder) {
    const std::filesystem::path file = root / "data" / "A 1%.001";
    std::ofstream(file) << "x";
    CQtTrash trash;
    ASSERT_TRUE(trash.MoveToTrash(file.string()));
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_EQ(CountIn(root / "elsewhere"), 0u);
    const std::filesystem::path bin = root / "home" / ".local" / "share" / "Trash";
    EXPECT_EQ(test::ReadText(bin / "files" / "A 1%.001"), "x");
    const std::string info = test::ReadText(bin / "info" / "A 1%.001.trashinfo");
    const std::string encoded = (root / "data").string() + "/A%201%25.001";
    EXPECT_EQ(info.rfind("[Trash Info]\nPath=" + encoded + "\nDeletionDate=", 0), 0u) << info;
    EXPECT_EQ(std::filesystem::status(bin).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_all);

    // A second file of the same name does not overwrite the first.
    std::ofstream(file) << "y";
    ASSERT_TRUE(trash.MoveToTrash(file.string()));
    EXPECT_EQ(test::ReadText(bin / "files" / "A 1%.001.2"), "y");
    EXPECT_TRUE(std::filesystem::exists(bin / "info" / "A 1%.001.2.trashinfo"));
}

TEST_F(EmptyHomeTest, RelativePathsAndLongNamesAreTrashedToo) {
    const std::string name = std::string(250, 'n') + ".001";
    std::ofstream(root / "elsewhere" / name) << "z";
    CQtTrash trash;
    ASSERT_TRUE(trash.MoveToTrash(name));
    EXPECT_EQ(CountIn(root / "elsewhere"), 0u);
    const std::filesystem::path bin = root / "home" / ".local" / "share" / "Trash";
    EXPECT_EQ(CountIn(bin / "files"), 1u);
    const std::string info =
        test::ReadText(std::filesystem::directory_iterator(bin / "info")->path());
    EXPECT_NE(info.find("Path=" + (root / "elsewhere").string() + "/" + name + "\n"),
              std::string::npos);
}

TEST_F(EmptyHomeTest, AHomeTrashLinkedElsewhereOnTheSameFileSystemIsUsed) {
    std::filesystem::create_directories(root / "home" / ".local" / "share");
    std::filesystem::create_directories(root / "kept");
    const std::filesystem::path bin = root / "home" / ".local" / "share" / "Trash";
    std::filesystem::create_directory_symlink(root / "kept", bin);
    const std::filesystem::path file = root / "data" / "c.001";
    std::ofstream(file) << "c";
    CQtTrash trash;
    ASSERT_TRUE(trash.MoveToTrash(file.string()));
    EXPECT_TRUE(std::filesystem::is_symlink(bin));
    EXPECT_EQ(test::ReadText(root / "kept" / "files" / "c.001"), "c");
    EXPECT_TRUE(std::filesystem::exists(root / "kept" / "info" / "c.001.trashinfo"));
}

TEST_F(EmptyHomeTest, AFileTheTrashCannotTakeStaysWhereItIs) {
    const std::filesystem::path file = root / "data" / "b.001";
    std::ofstream(file) << "x";
    // A file where the data folder belongs: no trash can be made.
    std::filesystem::create_directories(root / "home" / ".local");
    std::ofstream(root / "home" / ".local" / "share") << "";
    CQtTrash trash;
    EXPECT_FALSE(trash.MoveToTrash(file.string()));
    EXPECT_TRUE(std::filesystem::exists(file));
    EXPECT_EQ(CountIn(root / "elsewhere"), 0u);
    EXPECT_FALSE(trash.MoveToTrash((root / "data" / "missing.001").string()));
}

} // namespace
} // namespace mirado
