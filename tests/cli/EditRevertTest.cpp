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

// Without --analysis the stored marker moves with its pressure, as in the viewer.
TEST_F(EditRevertTest, AStoredMarkerEditWritesItsRecomputedPressure) {
    const std::string path = Copy("DG0511.001", "S.001");
    const std::string sbpBefore = Cli({"info", path}).out;
    ASSERT_EQ(Cli({"edit", "--marker-s", "1000", path}).status, kExitOk);

    CMiradoDoc doc({});
    doc.SetFileList({path});
    ASSERT_TRUE(doc.OpenFileAt(0));
    int sbp = 0, mbp = 0, dbp = 0;
    doc.GetDominantPressures(sbp, mbp, dbp);
    doc.ShowAnalysis(true);
    doc.MoveMarker({MovableMarker::S, 1000});
    int analysed = 0, ignored = 0;
    doc.GetDominantPressures(analysed, ignored, ignored);
    EXPECT_EQ(sbp, analysed);
    EXPECT_NE(Cli({"info", path}).out, sbpBefore);
}

TEST_F(EditRevertTest, TheMeanExportSaysHowManyFilesItLeftOut) {
    const std::string good = Copy("DG0511.001", "G.001");
    const std::string damaged = Copy("DG0511.002", "D.001");
    fs::resize_file(damaged, 1500);
    const std::string out = (folder / "mean.txt").string();
    const CliRun run = Cli({"export", "--mode", "mean", "-o", out, good, damaged});
    EXPECT_EQ(run.status, kExitLoadFailed);
    EXPECT_NE(run.err.find("left out of the means because they could not be read: 1"),
              std::string::npos)
        << run.err;
    const CliRun alone = Cli({"export", "--mode", "mean", "-o", out + "2", good});
    EXPECT_EQ(alone.status, kExitOk);
    EXPECT_EQ(Bytes(out), Bytes(out + "2"));
}

} // namespace
} // namespace mirado::test
