#include "CliRun.h"

#include "document/MiradoDoc.h"
#include "document/OriginalCopy.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace mirado::test {
namespace {

namespace fs = std::filesystem;

std::string Bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class EditRevertTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("mirado-edit-" + std::to_string(::getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }
    std::string Copy(const std::string& sample, const std::string& name) {
        const fs::path path = folder / name;
        fs::copy_file(fs::path(MIRADO_SOURCE_DIR) / "samples" / sample, path);
        return path.string();
    }
    fs::path folder;
};

TEST_F(EditRevertTest, EditKeepsTheOriginalOnceAndRevertGivesItBack) {
    const std::string path = Copy("DG0511.001", "F.001");
    const std::string before = Bytes(path);
    ASSERT_EQ(Cli({"edit", "--comment", "X", path}).status, kExitOk);
    EXPECT_EQ(Bytes(OriginalCopyPath(path)), before);
    EXPECT_NE(Cli({"info", path}).out.find("\"comment\":\"X\""), std::string::npos);

    ASSERT_EQ(Cli({"edit", "--marker-s", "900", "--analysis", "sm", path}).status, kExitOk);
    EXPECT_EQ(Bytes(OriginalCopyPath(path)), before);

    ASSERT_EQ(Cli({"revert", path}).status, kExitOk);
    EXPECT_EQ(Bytes(path), before);
    EXPECT_TRUE(fs::exists(OriginalCopyPath(path)));
}

TEST_F(EditRevertTest, DryRunPrintsTheChangesAndWritesNothing) {
    const std::string path = Copy("RB0502.001", "B.001");
    const std::string before = Bytes(path);
    const CliRun run = Cli({"edit", "--dry-run", "--animal-no", " R-7 ", "--analysis", "s", path});
    EXPECT_EQ(run.status, kExitOk);
    EXPECT_NE(run.out.find("\"animal_no\":{\"from\":"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"to\":\"R-7\""), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"mbp_raw\":{\"from\":"), std::string::npos) << run.out;
    EXPECT_EQ(Bytes(path), before);
    EXPECT_FALSE(fs::exists(folder / kOriginalsFolder));
}

TEST_F(EditRevertTest, DamagedFilesAndFilesWithoutACopyAreLeftAlone) {
    const std::string path = Copy("DG0511.001", "D.001");
    fs::resize_file(path, 1500);
    const std::string before = Bytes(path);
    const CliRun edit = Cli({"edit", "--comment", "X", path});
    EXPECT_EQ(edit.status, kExitLoadFailed);
    EXPECT_EQ(Bytes(path), before);
    const CliRun revert = Cli({"revert", path});
    EXPECT_EQ(revert.status, kExitLoadFailed);
    EXPECT_NE(revert.err.find("no original copy"), std::string::npos);
    EXPECT_EQ(Cli({"edit", "--marker-s", "4000", path}).status, kExitUsage);
    EXPECT_EQ(Cli({"edit", "--analysis", "x", path}).status, kExitUsage);
}

TEST_F(EditRevertTest, ATextCp932CannotHoldIsRefusedNamingTheCharacter) {
    const std::string path = Copy("DG0511.001", "E.001");
    const std::string before = Bytes(path);
    const struct {
        const char* option;
        std::string text;
        const char* named;
    } refused[] = {
        {"--animal-no", "\xF0\x9F\x98\x80x", "U+1F600"}, // an emoji
        {"--comment", "ok \xE2\x82\xA9", "U+20A9"},      // the won sign
        {"--weight", "12\xFFg", "0xFF is not UTF-8"},
    };
    for (const auto& [option, text, named] : refused) {
        const CliRun run = Cli({"edit", option, text, path});
        EXPECT_EQ(run.status, kExitUsage) << option;
        EXPECT_NE(run.err.find(option), std::string::npos) << run.err;
        EXPECT_NE(run.err.find(named), std::string::npos) << run.err;
    }
    EXPECT_EQ(Bytes(path), before);
    EXPECT_FALSE(fs::exists(folder / kOriginalsFolder));
    // Japanese text, half-width katakana included, is CP932's own.
    EXPECT_EQ(Cli({"edit", "--comment", "\xE8\xA9\xA6\xEF\xBD\xB6", path}).status, kExitOk);
}

TEST_F(EditRevertTest, TheBatchEditWritesWhatTheDocumentsOperationsWrite) {
    for (const char* mode : {"", "s", "sm"}) {
        const std::string batch = Copy("RB0502.001", std::string("batch") + mode + ".001");
        const std::string own = Copy("RB0502.001", std::string("own") + mode + ".001");
        CliArgs args = {"edit", "--marker-s", "800", "--marker-m", "1900", "--weight", "31g"};
        if (*mode != '\0')
            args.insert(args.end(), {"--analysis", mode});
        args.push_back(batch);
        ASSERT_EQ(Cli(args).status, kExitOk);

        CMiradoDoc doc({});
        doc.SetFileList({own});
        ASSERT_TRUE(doc.OpenFileAt(0));
        if (*mode != '\0')
            doc.ShowAnalysis(std::string(mode) == "sm");
        doc.MoveMarker({MovableMarker::S, 800});
        doc.MoveMarker({MovableMarker::M, 1900});
        IdTexts texts = doc.GetIdTexts();
        texts.weight = "31g";
        doc.SetIdTexts(texts);
        ASSERT_TRUE(doc.SaveCurrentFile());
        EXPECT_EQ(Bytes(batch), Bytes(own)) << mode;
    }
}

} // namespace
} // namespace mirado::test
