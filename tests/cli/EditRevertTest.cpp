#include "CliRun.h"
#include "SampleFolder.h"

#include "document/MiradoDoc.h"
#include "document/OriginalCopy.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <latch>
#include <sys/stat.h>
#include <thread>

namespace mirado::test {
namespace {

namespace fs = std::filesystem;

class EditRevertTest : public SampleFolderTest {
protected:
    EditRevertTest() : SampleFolderTest("mirado-edit-") {}
};

// Two runs editing one file at the same moment, many times over: both edits are in the
// file afterwards, and the kept original is the file's first bytes.
TEST_F(EditRevertTest, ConcurrentEditsKeepBothChangesAndTheFirstOriginal) {
    constexpr int kRounds = 30;
    for (int round = 0; round < kRounds; ++round) {
        const std::string path = Copy("DG0511.001", "C" + std::to_string(round) + ".001");
        const std::string before = Bytes(path);
        std::latch start(2);
        int statuses[2] = {-1, -1};
        const auto edit = [&](int which, CliArgs args) {
            start.arrive_and_wait();
            statuses[which] = Cli(args).status;
        };
        std::thread first(edit, 0, CliArgs{"edit", "--comment", "both kept", path});
        std::thread second(edit, 1, CliArgs{"edit", "--animal-no", "A-2", path});
        first.join();
        second.join();
        ASSERT_EQ(statuses[0], kExitOk);
        ASSERT_EQ(statuses[1], kExitOk);
        const std::string info = Cli({"info", path}).out;
        ASSERT_NE(info.find("\"comment\":\"both kept\""), std::string::npos) << round << info;
        ASSERT_NE(info.find("\"animal_no\":\"A-2\""), std::string::npos) << round << info;
        ASSERT_EQ(Bytes(OriginalCopyPath(path)), before) << round;
    }
}

TEST_F(EditRevertTest, AnythingButARegularFileAtTheCopysNameRefusesTheSave) {
    const std::vector<std::pair<const char*, void (*)(const std::string&)>> blockers = {
        {"folder", [](const std::string& copy) { fs::create_directory(copy); }},
        {"fifo", [](const std::string& copy) { ASSERT_EQ(::mkfifo(copy.c_str(), 0600), 0); }},
        {"dangling link", [](const std::string& copy) { fs::create_symlink("gone.001", copy); }},
    };
    for (const auto& [kind, block] : blockers) {
        const std::string path = Copy("DG0511.001", std::string("K-") + kind + ".001");
        const std::string before = Bytes(path);
        fs::create_directories(folder / kOriginalsFolder);
        block(OriginalCopyPath(path));
        const CliRun run = Cli({"edit", "--comment", "X", path});
        EXPECT_EQ(run.status, kExitLoadFailed) << kind;
        EXPECT_NE(run.err.find("not a regular file"), std::string::npos) << kind << run.err;
        EXPECT_EQ(Bytes(path), before) << kind;
    }
}

TEST_F(EditRevertTest, RevertTakesOnlyARegularFileThatLoadsAsARecording) {
    const std::string other = Copy("RB0502.001", "other.001");
    const std::string otherBytes = Bytes(other);
    // What stands at the kept copy's name, and why revert refuses it.
    struct Row {
        const char* kind;
        std::function<void(const std::string& copy)> put;
        const char* reason;
    };
    const auto writing = [](std::string bytes) {
        return [bytes](const std::string& copy) {
            std::ofstream(copy, std::ios::binary | std::ios::trunc) << bytes;
        };
    };
    const Row rows[] = {
        {"empty", writing(""), "not a readable recording"},
        {"truncated", writing(otherBytes.substr(0, 700)), "not a readable recording"},
        {"random", writing(std::string(9000, '\x5a')), "not a readable recording"},
        {"link to a recording",
         [&other](const std::string& copy) {
             fs::remove(copy);
             fs::create_symlink(other, copy);
         },
         "not a regular file"},
    };
    for (const Row& row : rows) {
        const std::string path = Copy("DG0511.001", std::string("R-") + row.kind + ".001");
        ASSERT_EQ(Cli({"edit", "--comment", "edited", path}).status, kExitOk);
        const std::string edited = Bytes(path);
        row.put(OriginalCopyPath(path));
        const CliRun run = Cli({"revert", path});
        EXPECT_EQ(run.status, kExitLoadFailed) << row.kind;
        EXPECT_NE(run.err.find(row.reason), std::string::npos) << row.kind << run.err;
        EXPECT_EQ(Bytes(path), edited) << row.kind;
    }
}

// Edit F.001, put another recording under its name: revert refuses to bring back the
// first animal's bytes, and the next edit keeps the new recording's original, setting
// the old copy aside.
TEST_F(EditRevertTest, AReusedNameKeepsTheNewOriginal) {
    const std::string path = Copy("DG0511.001", "F.001");
    const std::string first = Bytes(path);
    ASSERT_EQ(Cli({"edit", "--comment", "first", path}).status, kExitOk);
    fs::remove(path);
    fs::copy_file(fs::path(MIRADO_SOURCE_DIR) / "samples" / "RB0502.001", path);
    const std::string second = Bytes(path);

    const CliRun refused = Cli({"revert", path});
    EXPECT_EQ(refused.status, kExitLoadFailed);
    EXPECT_NE(refused.err.find("not the recording"), std::string::npos) << refused.err;
    EXPECT_EQ(Bytes(path), second);

    ASSERT_EQ(Cli({"edit", "--comment", "second", path}).status, kExitOk);
    EXPECT_EQ(Bytes(OriginalCopyPath(path)), second);
    EXPECT_EQ(Bytes(folder / kOriginalsFolder / kOlderCopiesFolder / "F.001.1"), first);
    ASSERT_EQ(Cli({"revert", path}).status, kExitOk);
    EXPECT_EQ(Bytes(path), second);
}

TEST_F(EditRevertTest, SynthReplacesAnExistingFileOnlyWithForce) {
    const std::string path = Copy("DG0511.001", "S.001");
    const std::string before = Bytes(path);
    const CliRun refused = Cli({"synth", "--seed", "4", "-o", path});
    EXPECT_EQ(refused.status, kExitLoadFailed);
    EXPECT_NE(refused.err.find("--force"), std::string::npos) << refused.err;
    EXPECT_EQ(Bytes(path), before);
    EXPECT_EQ(Cli({"synth", "--seed", "4", "--force", "-o", path}).status, kExitOk);
    EXPECT_NE(Bytes(path), before);

    // The sample set is checked whole before anything is written.
    const fs::path set = folder / "set";
    fs::create_directories(set);
    ASSERT_EQ(Cli({"synth", "--sample-set", set.string()}).status, kExitOk);
    const std::string kept = Bytes(set / "RB0502.001");
    fs::remove(set / "DG0511.001");
    EXPECT_EQ(Cli({"synth", "--sample-set", set.string()}).status, kExitLoadFailed);
    EXPECT_FALSE(fs::exists(set / "DG0511.001"));
    EXPECT_EQ(Cli({"synth", "--force", "--sample-set", set.string()}).status, kExitOk);
    EXPECT_EQ(Bytes(set / "RB0502.001"), kept);
}

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
