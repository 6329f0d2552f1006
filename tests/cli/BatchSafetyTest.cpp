// mirado-cli under failure and unusual input: outputs written whole or not at all, an
// output that is an input refused, write errors on standard output reported, long file
// lists, and paths with control characters or bytes that are not UTF-8.

#include "CliRun.h"
#include "cli/CliOptions.h"
#include "records/synth/RecordingGenerator.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <sstream>
#include <sys/resource.h>

namespace mirado {
namespace {

using test::Cli;
using test::CliRun;
using test::Lines;
using test::ReadBytes;
using test::WriteBytes;

namespace fs = std::filesystem;

// A stream buffer that refuses every byte, as a full disk does.
class FullDevice : public std::streambuf {
protected:
    int_type overflow(int_type) override { return traits_type::eof(); }
    std::streamsize xsputn(const char*, std::streamsize) override { return 0; }
};

std::string PathKey(const std::string& line) {
    const size_t start = line.find("\"path\":\"") + 8;
    return line.substr(start, line.find('"', start) - start);
}

class BatchSafety : public ::testing::Test {
protected:
    std::string Write(const std::string& name, uint64_t seed = 1) {
        SynthOptions options;
        options.seed = seed;
        const std::string path = folder_.File(name);
        const Result<void> written = WriteRecording(path, options);
        EXPECT_TRUE(written.ok()) << written.error();
        return path;
    }

    // Runs with the current folder set to the test's folder.
    CliRun CliInFolder(const CliArgs& args) {
        const fs::path previous = fs::current_path();
        fs::current_path(folder_.Path());
        CliRun run = Cli(args);
        fs::current_path(previous);
        return run;
    }

    test::TempFolder folder_;
};

TEST_F(BatchSafety, AnOutputThatIsAnInputIsRefusedBeforeAnythingIsWritten) {
    const std::string file = Write("x.001");
    const std::vector<uint8_t> original = ReadBytes(file);
    fs::create_directory(folder_.File("sub"));
    fs::create_symlink(file, folder_.File("link.txt"));
    fs::create_hard_link(file, folder_.File("hard.txt"));
    const std::string other = Write("other.001", 2);
    for (const std::string& output :
         {file, folder_.File("sub/../x.001"), folder_.File("link.txt"), folder_.File("hard.txt")}) {
        for (const char* mode : {"dominant", "mean"}) {
            const CliRun run = Cli({"export", "--mode", mode, "-o", output, other, file});
            EXPECT_EQ(run.status, kExitUsage) << output;
            EXPECT_NE(run.err.find("is the input file " + file), std::string::npos) << run.err;
        }
    }
    const CliRun relative = CliInFolder({"export", "-o", "x.001", "./x.001"});
    EXPECT_EQ(relative.status, kExitUsage);
    EXPECT_EQ(ReadBytes(file), original);
    EXPECT_TRUE(fs::is_symlink(folder_.File("link.txt")));

    const std::string pdfNamed = folder_.File("m.pdf");
    fs::copy_file(file, pdfNamed);
    EXPECT_EQ(Cli({"render", pdfNamed, "-o", pdfNamed, "--dpi", "20"}).status, kExitUsage);
    EXPECT_EQ(ReadBytes(pdfNamed), original);
}

TEST_F(BatchSafety, AFailingWriteToStandardOutputIsExitOneWithAMessage) {
    const std::string file = Write("a.001");
    FullDevice full;
    std::ostream out(&full);
    std::istringstream in;
    std::ostringstream err;
    EXPECT_EQ(RunCli({"info", file, file}, in, out, err), kExitLoadFailed);
    EXPECT_EQ(err.str(), "mirado-cli info: cannot write standard output\n");

    for (const CliArgs& args : {CliArgs{"samples", file}, CliArgs{"--help"}}) {
        std::ostream again(&full);
        std::ostringstream message;
        EXPECT_NE(RunCli(args, in, again, message), kExitOk) << args[0];
    }
}

TEST_F(BatchSafety, RenderReplacesItsOutputWholeOrNotAtAll) {
    const std::string file = Write("a.001");
    const std::string pdf = folder_.File("out.pdf");
    const std::vector<uint8_t> previous = {'o', 'l', 'd'};
    WriteBytes(pdf, previous);

    // Files written by this process may not grow beyond 2000 bytes: the page is larger.
    rlimit unlimited{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &unlimited), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = unlimited;
    limited.rlim_cur = 2000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const CliRun failed = Cli({"render", file, "-o", pdf, "--dpi", "50"});
    const CliRun failedPng = Cli({"render", file, "-o", folder_.File("new.png"), "--dpi", "50"});
    setrlimit(RLIMIT_FSIZE, &unlimited);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(failed.status, kExitLoadFailed);
    EXPECT_EQ(failed.out, "");
    EXPECT_NE(failed.err.find("cannot write " + pdf + ": Cannot write the file (File too large)"),
              std::string::npos)
        << failed.err;
    EXPECT_EQ(ReadBytes(pdf), previous);
    EXPECT_EQ(failedPng.status, kExitLoadFailed);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_.Path()), {}), 2); // a.001, out.pdf

    const CliRun written = Cli({"render", file, "-o", pdf, "--dpi", "50"});
    EXPECT_EQ(written.status, kExitOk) << written.err;
    EXPECT_EQ(written.out, pdf + "\n");
    EXPECT_GT(ReadBytes(pdf).size(), 2000u);

    const CliRun noFolder = Cli({"render", file, "-o", folder_.File("none/out.pdf")});
    EXPECT_EQ(noFolder.status, kExitLoadFailed);
    EXPECT_FALSE(fs::exists(folder_.File("none")));
}

TEST_F(BatchSafety, ADpiThePngCannotTakeIsAUsageError) {
    const std::string file = Write("a.001");
    const CliRun run = Cli({"render", file, "-o", folder_.File("a.png"), "--dpi", "1201"});
    EXPECT_EQ(run.status, kExitUsage);
    EXPECT_NE(run.err.find("--dpi"), std::string::npos);
    EXPECT_FALSE(fs::exists(folder_.File("a.png")));
}

TEST_F(BatchSafety, InfoReadsAHundredThousandFilesFromAListInOrder) {
    const std::vector<std::string> files = {Write("a.001", 1), Write("b.002", 2),
                                            Write("c.003", 3)};
    constexpr int kLines = 100000;
    std::string list;
    for (int i = 0; i < kLines; ++i)
        list += files[(i * 7 + i / 3) % 3] + "\n";
    const std::string listPath = folder_.File("list.txt");
    WriteBytes(listPath, std::vector<uint8_t>(list.begin(), list.end()));

    const CliRun run = Cli({"info", "--files-from", listPath});
    EXPECT_EQ(run.status, kExitOk) << run.err.substr(0, 200);
    EXPECT_EQ(run.err, "");
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), static_cast<size_t>(kLines));
    const std::vector<std::string> single = {Lines(Cli({"info", files[0]}).out)[0],
                                             Lines(Cli({"info", files[1]}).out)[0],
                                             Lines(Cli({"info", files[2]}).out)[0]};
    for (int i = 0; i < kLines; ++i)
        ASSERT_EQ(lines[i], single[(i * 7 + i / 3) % 3]) << i;
}

TEST_F(BatchSafety, FileListsComeAfterTheArgumentsAndMayBeStandardInput) {
    const std::string a = Write("a.001", 1);
    const std::string b = Write("b.002", 2);
    const CliRun run = Cli({"info", a, "--files-from", "-"}, b + "\n\n" + a + "\n");
    EXPECT_EQ(run.status, kExitOk);
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(PathKey(lines[0]), a);
    EXPECT_EQ(PathKey(lines[1]), b);
    EXPECT_EQ(PathKey(lines[2]), a);

    const std::string text = folder_.File("out.txt");
    EXPECT_EQ(Cli({"export", "-o", text, "--files-from", "-"}, a + "\n" + b + "\n").status,
              kExitOk);
    const std::vector<uint8_t> exported = ReadBytes(text);
    EXPECT_EQ(std::count(exported.begin(), exported.end(), '\n'), 3);
    const std::string pdf = folder_.File("sel.pdf");
    const CliRun selected =
        Cli({"render", "--selected", "--files-from", "-", "-o", pdf, "--dpi", "20"}, a + "\n" + b);
    EXPECT_EQ(selected.status, kExitOk) << selected.err;

    EXPECT_EQ(Cli({"info", "--files-from", folder_.File("missing.txt")}).status, kExitUsage);
    EXPECT_EQ(Cli({"info", "--files-from", "-"}, "\n").status, kExitUsage);
    EXPECT_EQ(Cli({"render", "--files-from", "-", "-o", pdf}, a + "\n" + b).status, kExitUsage);
}

TEST_F(BatchSafety, AListLineHoldingANulIsAnErrorNamingTheLine) {
    // The system would take the name up to the NUL: another file, here an existing one.
    const std::string a = Write("a.001", 1);
    const std::string list = a + "\n\n" + a + std::string("\0.bak\n", 6);
    const CliRun run = Cli({"info", "--files-from", "-"}, list);
    EXPECT_EQ(run.status, kExitUsage);
    EXPECT_NE(run.err.find("line 3 of standard input holds a NUL byte"), std::string::npos)
        << run.err;
    EXPECT_EQ(run.out, "");

    std::istringstream bytes(std::string("x\n\0\n", 4));
    std::vector<std::string> paths;
    EXPECT_EQ(ReadFileListLines(bytes, "L", paths).error(), "line 2 of L holds a NUL byte");
}

TEST_F(BatchSafety, RelativePathsBecomeAbsoluteWithoutFollowingLinks) {
    Write("a.001");
    fs::create_directory(folder_.File("sub"));
    fs::create_symlink(folder_.File("a.001"), folder_.File("sub/link.001"));
    const CliRun run = CliInFolder({"info", "sub/../a.001", "./sub/link.001", "sub//missing.001"});
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(PathKey(lines[0]), folder_.File("a.001"));
    EXPECT_EQ(PathKey(lines[1]), folder_.File("sub/link.001"));
    EXPECT_EQ(PathKey(lines[2]), folder_.File("sub/missing.001"));
    EXPECT_EQ(run.err.rfind(folder_.File("sub/missing.001"), 0), 0u) << run.err;
}

TEST_F(BatchSafety, PathsWithControlCharactersOrBadUtf8StayOnOneLineAndDistinct) {
    const std::string broken = folder_.File("new\nline\x1b[1m.001");
    const CliRun missing = Cli({"info", broken});
    ASSERT_EQ(Lines(missing.err).size(), 1u) << missing.err;
    EXPECT_NE(missing.err.find("new\\nline\\x1b[1m.001"), std::string::npos) << missing.err;
    EXPECT_NE(missing.out.find("new\\nline\\u001b[1m.001"), std::string::npos);
    EXPECT_EQ(missing.out.find("path_bytes"), std::string::npos);

    std::string damaged = Write("a.001");
    fs::resize_file(damaged, 3000);
    const std::string renamed = folder_.File("tab\there.001");
    fs::rename(damaged, renamed);
    const CliRun exported = Cli({"export", "-o", folder_.File("out.txt"), renamed});
    EXPECT_EQ(exported.status, kExitLoadFailed);
    EXPECT_EQ(Lines(exported.err).size(), 1u) << exported.err;
    EXPECT_NE(exported.err.find("tab\\there.001"), std::string::npos);
    const CliRun rendered =
        Cli({"render", Write("r.001"), "-o", folder_.File("two\nlines.pdf"), "--dpi", "20"});
    EXPECT_EQ(rendered.out, folder_.File("two\\nlines.pdf") + "\n");
    EXPECT_TRUE(fs::exists(folder_.File("two\nlines.pdf")));

    const std::string first = folder_.File("\xff.001");
    const std::string second = folder_.File("\xfe.001");
    const CliRun bad = Cli({"info", first, second, folder_.File("é.001")});
    const std::vector<std::string> lines = Lines(bad.out);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_NE(lines[0], lines[1]);
    EXPECT_NE(lines[0].find("\xEF\xBF\xBD.001\",\"path_bytes\":\""), std::string::npos);
    std::string hex;
    for (const unsigned char c : first) {
        const char digits[] = "0123456789abcdef";
        hex += digits[c >> 4];
        hex += digits[c & 15];
    }
    EXPECT_NE(lines[0].find("\"path_bytes\":\"" + hex + "\""), std::string::npos) << lines[0];
    EXPECT_NE(lines[2].find("é.001\",\"ok\""), std::string::npos);
    EXPECT_NE(Cli({"info", "--help"}).out.find("path_bytes"), std::string::npos);
}

} // namespace
} // namespace mirado
