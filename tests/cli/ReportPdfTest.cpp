// The exclusion report as PDF: pages as many as the tables need, and an OUT that cannot
// be written (a full disk, a read-only folder) left without any partial file.

#include "CliRun.h"
#include "SampleFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/mount.h>

namespace mirado::test {
namespace {

namespace fs = std::filesystem;

class ReportPdfTest : public SampleFolderTest {
protected:
    ReportPdfTest() : SampleFolderTest("mirado-report-pdf-") {}

    // count copies of one session's recording and a profile that rejects them all.
    CliArgs ReportOf(int count, const std::string& output) {
        const std::string profile = (folder / "strict.json").string();
        std::ofstream(profile) << R"({"name": "Strict", "sbp_max": 10})";
        CliArgs args = {"report", "--profile", profile, "-o", output};
        for (int i = 0; i < count; ++i)
            args.push_back(Copy("DG0511.001", std::to_string(i) + ".001"));
        return args;
    }
    static int PagesOf(const std::string& pdf) {
        int pages = 0;
        for (size_t at = pdf.find("/Type /Page"); at != std::string::npos;
             at = pdf.find("/Type /Page", at + 1))
            pages += pdf.compare(at, 12, "/Type /Pages") == 0 ? 0 : 1;
        return pages;
    }
};

TEST_F(ReportPdfTest, TheReportTakesAsManyPagesAsItsTablesNeed) {
    const struct {
        int files;
        int pages;
    } rows[] = {{3, 1}, {120, 4}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.files);
        fs::remove_all(folder);
        fs::create_directories(folder);
        const std::string output = (folder / "report.PDF").string();
        const CliRun run = Cli(ReportOf(row.files, output));
        ASSERT_EQ(run.status, kExitOk) << run.err;
        const std::string pdf = Bytes(output);
        ASSERT_EQ(pdf.rfind("%PDF-", 0), 0u);
        EXPECT_EQ(PagesOf(pdf), row.pages);
    }
}

TEST_F(ReportPdfTest, FormatDoesNotGoWithAPdfAndAFileIsNeverItsOwnReport) {
    const std::string path = Copy("DG0511.001", "A.001");
    const CliRun csv = Cli(
        {"report", "--profile", "all", "--format", "csv", "-o", (folder / "r.pdf").string(), path});
    EXPECT_EQ(csv.status, kExitUsage);
    EXPECT_NE(csv.err.find("--format"), std::string::npos);
    EXPECT_FALSE(fs::exists(folder / "r.pdf"));
}

// A small file system, full or read-only: exit status 1, a message naming OUT, and no
// file at all where the report was to go (nor a temporary one beside it).
TEST_F(ReportPdfTest, AReportThatCannotBeWrittenLeavesNoFile) {
    const struct {
        const char* kind;
        unsigned long flags;
        const char* options;
    } rows[] = {{"full", 0, "size=4k"}, {"read-only", MS_RDONLY, "size=64k"}};
    CliArgs args = ReportOf(40, "");
    for (const auto& row : rows) {
        SCOPED_TRACE(row.kind);
        const fs::path small = folder / row.kind;
        fs::create_directories(small);
        if (::mount("tmpfs", small.c_str(), "tmpfs", row.flags, row.options) != 0)
            GTEST_SKIP() << "no small file system can be mounted here";
        const std::string output = (small / "report.pdf").string();
        args[4] = output;
        const CliRun run = Cli(args);
        const bool empty = fs::is_empty(small);
        ::umount(small.c_str());
        EXPECT_EQ(run.status, kExitLoadFailed);
        EXPECT_NE(run.err.find("mirado-cli report: " + output + ": "), std::string::npos)
            << run.err;
        EXPECT_TRUE(empty);
    }
}

} // namespace
} // namespace mirado::test
