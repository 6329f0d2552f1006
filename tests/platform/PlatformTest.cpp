#include "platform/DocumentBase.h"
#include "platform/ProfileValue.h"
#include "platform/ScriptedPlatform.h"
#include "platform/qt/QtProfile.h"
#include "platform/qt/QtSystemServices.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace mirado {
namespace {

std::filesystem::path FreshFolder(const std::string& name) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         ("mirado-platform-" + std::to_string(::getpid()) + name);
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

std::string ReadText(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(DocumentBaseTest, UpdatesEveryViewButTheSenderAndReportsTitles) {
    CDocumentBase doc;
    RecordingView first, second;
    doc.AddView(&first);
    doc.AddView(&second);
    doc.AddView(&first); // registered once only
    doc.UpdateAllViews(&first, kUpdateErase);
    EXPECT_TRUE(first.Hints().empty());
    EXPECT_EQ(second.Hints(), std::vector<int>{kUpdateErase});
    doc.RemoveView(&second);
    doc.UpdateAllViews();
    EXPECT_EQ(first.Hints(), std::vector<int>{kUpdateAll});
    EXPECT_EQ(second.Hints().size(), 1u);

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

TEST(QtProfileTest, WritesAnIniSectionAndReadsItBack) {
    const std::filesystem::path folder = FreshFolder("ini");
    const std::string file = (folder / "Tenvar.s99").string();
    {
        CQtProfile profile(file);
        EXPECT_TRUE(profile.WriteProfileInt("TenvarAWU", "interval", 12));
        EXPECT_TRUE(profile.WriteProfileString("TenvarAWU", "dataFolder", "/data/x y/"));
    }
    const std::string text = ReadText(file);
    EXPECT_NE(text.find("[TenvarAWU]"), std::string::npos);
    EXPECT_NE(text.find("interval=12"), std::string::npos);

    CQtProfile profile(file);
    EXPECT_EQ(profile.GetProfileInt("TenvarAWU", "interval", 5), 12);
    EXPECT_EQ(profile.GetProfileString("TenvarAWU", "dataFolder", ""), "/data/x y/");
    EXPECT_EQ(profile.GetProfileInt("TenvarAWU", "missing", 5), 5);
    std::filesystem::remove_all(folder);
}

TEST(QtProfileTest, HandWrittenBadValuesGiveTheDefault) {
    const std::filesystem::path folder = FreshFolder("bad");
    const std::filesystem::path file = folder / "Tenvar.s99";
    std::ofstream(file) << "[TenvarAWU]\ninterval=fast\npressColor=1,2\nalert=1\n";
    CQtProfile profile(file.string());
    EXPECT_EQ(profile.GetProfileInt("TenvarAWU", "interval", 5), 5);
    EXPECT_EQ(profile.GetProfileInt("TenvarAWU", "pressColor", 6), 6);
    EXPECT_EQ(profile.GetProfileString("TenvarAWU", "pressColor", ""), "1,2");
    EXPECT_EQ(profile.GetProfileInt("TenvarAWU", "alert", 0), 1);
    std::filesystem::remove_all(folder);
}

TEST(QtSystemServicesTest, DocumentsFolderEndsWithSlashAndMissingFilesStayOutOfTrash) {
    CQtDocumentsFolder documents;
    const std::string folder = documents.GetDocumentsFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    CQtTrash trash;
    EXPECT_FALSE(trash.MoveToTrash("/nonexistent/mirado/file.01"));
}

} // namespace
} // namespace mirado
