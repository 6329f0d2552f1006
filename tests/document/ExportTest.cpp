#include "DocumentFixture.h"

#include "document/ExportLoop.h"
#include "document/MessageText.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <unistd.h>

namespace mirado::test {

TEST(MessageText, PlaceholderIsReplacedOnceAndATextWithoutOneStaysAsItIs) {
    EXPECT_EQ(ReplacePlaceholder(kSavePromptFormat, "%1", "/d/a.001"), "Save changes to /d/a.001?");
    EXPECT_EQ(ReplacePlaceholder("%s and %s", "%s", "x"), "x and %s");
    EXPECT_EQ(ReplacePlaceholder("no mark", "%1", "x"), "no mark");
    EXPECT_EQ(NotWritableText("/r/o.txt").rfind("Not writable [ /r/o.txt ]", 0), 0u);
}

namespace {

CExportFields Fields(const std::string& animalNo, int hr, int sbp) {
    CExportFields fields;
    fields.date = "24/01/02";
    fields.time = "09:30:15";
    fields.animalNo = animalNo;
    fields.comment =
        std::string(1, 'c'); // not from a literal: GCC 12 warns falsely there (-Wrestrict)
    fields.sampling = 2;
    fields.hr = hr;
    fields.sbp = sbp;
    fields.dbp = 80;
    fields.mbp = 95;
    return fields;
}

RecordSpec ExampleSpec() {
    RecordSpec spec;
    spec.sampleInterval = 25;
    spec.sbp = 241;
    spec.dbp = -3;
    spec.mbp = 190;
    return spec;
}

} // namespace

TEST(TextExportTest, MeanRowsGroupByAnimalInByteOrderAndAverage) {
    CMeanExport mean;
    mean.Begin();
    mean.Append(MakeExportRow(Fields("B", 300, 120)));
    mean.Append(MakeExportRow(Fields("A", 280, 110)));
    EXPECT_EQ(mean.Append(MakeExportRow(Fields("B", 311, 125))), 3);
    mean.Sort();
    ASSERT_EQ(mean.Average(), 2);
    EXPECT_EQ(mean.FormatMean(0),
              "\"24/01/02\",\"09:30:15\",\"       A\",\"        \",\"        \","
              "\"        \",\"c\",2,\" 280.0\",\" 110.0\",\"  80.0\",\"  95.0\"\r\n");
    EXPECT_EQ(mean.FormatMean(1),
              "\"24/01/02\",\"09:30:15\",\"       B\",\"        \",\"        \","
              "\"        \",\"c\",2,\" 305.5\",\" 122.5\",\"  80.0\",\"  95.0\"\r\n");
    EXPECT_EQ(mean.FormatMean(2), "");
    mean.End();
    EXPECT_EQ(mean.GetMeanCount(), 0);
}

TEST(TextExportTest, EqualAnimalNumbersKeepListOrderAndHighBytesSortLast) {
    CMeanExport mean;
    mean.Begin();
    for (int i = 0; i < 40; ++i) {
        CExportFields fields = Fields(i % 2 ? "\x83\x89" : "Z", 300, 100);
        fields.date = std::to_string(i);
        mean.Append(MakeExportRow(fields));
    }
    mean.Sort();
    ASSERT_EQ(mean.Average(), 2);
    // Each group's texts come from its first row in list order.
    EXPECT_NE(mean.FormatMean(0).find("\"       0\",\"09:30:15\",\"       Z\""), std::string::npos);
    EXPECT_NE(mean.FormatMean(1).find("\"       1\",\"09:30:15\",\"      \x83\x89\""),
              std::string::npos);
}

TEST(TextExportTest, LongTextsAreNeverCut) {
    CExportFields fields = Fields("ABCDEFGHIJ", 1, 2);
    const std::string line = FormatDominantLine(fields);
    EXPECT_NE(line.find("\"ABCDEFGHIJ\""), std::string::npos);
}

// Reads one CSV record the way a spreadsheet would: returns the fields, or nothing when
// the text holds more or less than one well-formed record.
std::optional<std::vector<std::string>> ParseOneCsvRecord(const std::string& line) {
    std::vector<std::string> fields(1);
    bool quoted = false, ended = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (ended)
            return std::nullopt; // something after the record's end
        if (quoted) {
            if (c != '"')
                fields.back() += c;
            else if (i + 1 < line.size() && line[i + 1] == '"')
                fields.back() += line[++i];
            else
                quoted = false;
        } else if (c == '"' && (fields.back().empty() || line[i - 1] == ',')) {
            quoted = true;
        } else if (c == ',') {
            fields.emplace_back();
        } else if (c == '\r' && i + 1 < line.size() && line[i + 1] == '\n') {
            ++i;
            ended = true;
        } else if (c == '"' || c == '\r' || c == '\n') {
            return std::nullopt; // a stray quote or a bare line break
        } else {
            fields.back() += c;
        }
    }
    if (quoted || !ended)
        return std::nullopt;
    return fields;
}

TEST(TextExportTest, QuotesAndLineBreaksInTextsKeepEachRowOneCsvRecord) {
    CExportFields fields = Fields("A\"B", 300, 120);
    fields.comment = "say \"hi\"\r\nnext";
    fields.sexAge = "M\n3";
    const std::string dominant = FormatDominantLine(fields);
    EXPECT_NE(dominant.find(",\"     A\"\"B\","), std::string::npos) << dominant;
    EXPECT_NE(dominant.find(",\"     M 3\","), std::string::npos) << dominant;
    const std::string mean = FormatMeanLine(MakeExportRow(fields));
    EXPECT_NE(mean.find(",\"     A\"\"B\","), std::string::npos) << mean;
    for (const std::string& line : {dominant, mean}) {
        const auto record = ParseOneCsvRecord(line);
        ASSERT_TRUE(record.has_value()) << line;
        ASSERT_EQ(record->size(), 12u);
        EXPECT_EQ((*record)[2], "     A\"B");
        EXPECT_EQ((*record)[5], "     M 3");
        EXPECT_EQ((*record)[6], "say \"hi\"  next");
    }
}

// An independent reader: Python's csv module, when the machine has Python.
TEST(TextExportTest, PythonsCsvReaderReadsARowWithQuotesAsOneRow) {
    if (std::system("python3 -c '' >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "python3 is not installed";
    CExportFields fields = Fields("A-001", 300, 120);
    fields.comment = "a \"quoted\", word";
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("mirado-csv-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "out.txt", std::ios::binary)
        << kExportHeader << FormatDominantLine(fields);
    std::ofstream(folder / "check.py")
        << "import csv, sys\n"
           "rows = list(csv.reader(open(sys.argv[1], newline='')))\n"
           "ok = len(rows) == 2 and len(rows[1]) == 12\n"
           "ok = ok and rows[1][6] == 'a \"quoted\", word' and rows[1][2] == '   A-001'\n"
           "sys.exit(0 if ok else 1)\n";
    const std::string command =
        "python3 '" + (folder / "check.py").string() + "' '" + (folder / "out.txt").string() + "'";
    const int status = std::system(command.c_str());
    std::filesystem::remove_all(folder);
    EXPECT_EQ(status, 0);
}

TEST_F(DocumentTest, DominantRowHasTheExactBytes) {
    Doc().SetFileList({Write("a.01", ExampleSpec())});
    ASSERT_TRUE(Doc().OpenFileAt(0));
    const std::string hr = std::to_string(Doc().GetHeartRate());
    EXPECT_EQ(
        Doc().FormatDominantRow(),
        "\"24/01/02\",\"09:30:15\",\"   A-001\",\"     EX1\",\"     25g\",\"     M8W\",\"\",2,\"" +
            hr + "\",\"121\",\"-2\",\"95\"\r\n");
}

TEST_F(DocumentTest, ExportWritesHeaderAndMarkedRowsAndLeavesTheCurrentFile) {
    RecordSpec first = ExampleSpec(), second = ExampleSpec(), third = ExampleSpec();
    first.animalNo = "R1";
    second.animalNo = "R2";
    third.animalNo = "R3";
    Doc().SetFileList({Write("a.01", first), Write("b.01", second), Write("c.01", third)});
    ASSERT_TRUE(Doc().OpenFileAt(1));
    Doc().ToggleSelected(2);
    Doc().ToggleSelected(0);
    std::vector<std::string> read;
    const std::string out = folder.File("out.txt");

    const ExportResult result = ExportFiles(MarkedPaths(Doc()), ExportMode::Dominant, out, 2,
                                            [&](size_t index, const Reading& reading) {
                                                EXPECT_EQ(index, read.size());
                                                read.push_back(reading.path);
                                            });

    ASSERT_TRUE(result.written) << result.error;
    EXPECT_EQ(read, (std::vector<std::string>{Doc().GetPathAt(0), Doc().GetPathAt(2)}));
    EXPECT_EQ(Doc().GetCurrentIndex(), 1);
    const std::string text = ReadText(out);
    EXPECT_EQ(text.rfind(kExportHeader, 0), 0u);
    const size_t r1 = text.find("      R1");
    const size_t r3 = text.find("      R3");
    EXPECT_NE(r1, std::string::npos);
    EXPECT_NE(r3, std::string::npos);
    EXPECT_LT(r1, r3);
    EXPECT_EQ(text.find("      R2"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
}

TEST_F(DocumentTest, MeanExportGroupsTheMarkedFilesByAnimal) {
    RecordSpec b = ExampleSpec(), a = ExampleSpec();
    b.animalNo = "B";
    a.animalNo = "A";
    a.sbp = 201;
    Doc().SetFileList({Write("a.01", b), Write("b.01", a), Write("c.01", b)});
    Doc().SelectAll();
    ASSERT_TRUE(Doc().OpenFileAt(0));

    const std::string text = BuildExportText(MarkedPaths(Doc()), ExportMode::Mean, 1);

    const std::string header = kExportHeader;
    ASSERT_EQ(text.rfind(header, 0), 0u);
    const std::string rows = text.substr(header.size());
    const size_t firstEnd = rows.find("\r\n");
    ASSERT_NE(firstEnd, std::string::npos);
    EXPECT_NE(rows.substr(0, firstEnd).find("\"       A\""), std::string::npos);
    EXPECT_NE(rows.substr(0, firstEnd).find("\" 101.0\""), std::string::npos);
    EXPECT_NE(rows.find("\"       B\"", firstEnd), std::string::npos);
    EXPECT_NE(rows.find("\" 121.0\",\"  -2.0\",\"  95.0\"\r\n", firstEnd), std::string::npos);
    EXPECT_EQ(rows.find("\r\n", firstEnd + 2) + 2, rows.size()); // exactly two rows
}

TEST_F(DocumentTest, MarkedDamagedFileGivesItsRowFromWhatWasRead) {
    const std::string truncated = folder.File("b.01");
    std::vector<uint8_t> bytes = BuildRecord(ExampleSpec());
    bytes.resize(600); // header and result block read, channels missing
    WriteBytes(truncated, bytes);
    const std::string stub = folder.File("c.01");
    std::vector<uint8_t> stubBytes(16, 0); // empty date and time, then "AB" of the number
    stubBytes.push_back('A');
    stubBytes.push_back('B');
    WriteBytes(stub, stubBytes);
    Doc().SetFileList({truncated, stub});
    Doc().SelectAll();
    ASSERT_FALSE(Doc().OpenFileAt(0));

    const std::string text = BuildExportText(MarkedPaths(Doc()), ExportMode::Dominant, 1);

    EXPECT_EQ(text, std::string(kExportHeader) +
                        "\"24/01/02\",\"09:30:15\",\"   A-001\",\"     EX1\",\"     25g\","
                        "\"     M8W\",\"\",2,\"0\",\"121\",\"0\",\"0\"\r\n"
                        "\"        \",\"        \",\"      AB\",\"        \",\"        \","
                        "\"        \",\"\",0,\"0\",\"0\",\"0\",\"0\"\r\n");
}

TEST_F(DocumentTest, DamagedFileRowNeverTakesThePreviousFilesAnalysis) {
    const std::string damaged = folder.File("a.01");
    std::vector<uint8_t> bytes = BuildRecord(ExampleSpec());
    bytes.resize(600);
    WriteBytes(damaged, bytes);
    Doc().SetFileList({damaged, Write("b.01")});
    ASSERT_TRUE(Doc().OpenFileAt(1));
    Doc().ShowAnalysis(true); // the good file's own analysis is shown
    Doc().ToggleSelected(0);

    const std::string text = BuildExportText(MarkedPaths(Doc()), ExportMode::Dominant, 1);

    EXPECT_NE(text.find(",2,\"0\",\"121\",\"0\",\"0\"\r\n"), std::string::npos) << text;
    EXPECT_TRUE(Doc().IsAnalysisSource()); // the view is left as it was
    ASSERT_FALSE(Doc().OpenFileAt(0));
    EXPECT_FALSE(Doc().IsAnalysisSource());
}

// A file that could not be read has no values: the Mean lines are those of the study
// without it, and the export counts it. Dominant rows keep every marked file.
TEST_F(DocumentTest, MeanExportLeavesUnreadableFilesOutAndCountsThem) {
    RecordSpec spec = ExampleSpec();
    std::vector<std::string> readable;
    for (int i = 0; i < 4; ++i) {
        spec.animalNo = i % 2 == 0 ? "A" : "B";
        spec.sbp = static_cast<int16_t>(200 + 10 * i);
        readable.push_back(Write(NumberedName(static_cast<size_t>(i)), spec));
    }
    std::vector<uint8_t> damaged = BuildRecord(spec); // of animal B, channels cut short
    damaged.resize(600);
    const std::string broken = folder.File("broken.01");
    WriteBytes(broken, damaged);
    std::vector<std::string> withBroken = readable;
    withBroken.insert(withBroken.begin() + 1, broken);

    int leftOut = -1;
    const std::string expected = BuildExportText(readable, ExportMode::Mean, 1, {}, {}, &leftOut);
    EXPECT_EQ(leftOut, 0);
    EXPECT_EQ(BuildExportText(withBroken, ExportMode::Mean, 1, {}, {}, &leftOut), expected);
    EXPECT_EQ(leftOut, 1);
    const std::string out = folder.File("out.txt");
    const ExportResult result = ExportFiles(withBroken, ExportMode::Mean, out, 1);
    ASSERT_TRUE(result.written);
    EXPECT_EQ(result.leftOut, 1);
    EXPECT_EQ(ReadText(out), expected);
    EXPECT_EQ(LeftOutOfMeansText(result.leftOut),
              "Marked files left out of the means because they could not be read: 1");
    // Dominant: the damaged file still has its row, as before.
    const std::string dominant =
        BuildExportText(withBroken, ExportMode::Dominant, 1, {}, {}, &leftOut);
    EXPECT_EQ(leftOut, 0);
    EXPECT_EQ(std::count(dominant.begin(), dominant.end(), '\n'), 6);
}

// The text is the same on any number of threads; the file written piece by piece, in
// either encoding, holds the text made whole.
TEST_F(DocumentTest, ExportTextIsTheSameOnAnyThreadsAndWrittenInPieces) {
    RecordSpec spec = ExampleSpec();
    std::vector<std::string> paths;
    for (int i = 0; i < 6; ++i) {
        spec.animalNo = i % 2 == 0 ? "\x8E\x8E-1" : "B,\"2";
        spec.sbp = 150 + 7 * i;
        paths.push_back(Write(NumberedName(static_cast<size_t>(i)), spec));
    }
    std::vector<uint8_t> damaged = BuildRecord(spec);
    damaged.resize(600);
    paths.push_back(folder.File("damaged.01"));
    WriteBytes(paths.back(), damaged);
    const std::string out = folder.File("out.txt");
    for (ExportMode mode : {ExportMode::Dominant, ExportMode::Mean}) {
        const std::string text = BuildExportText(paths, mode, 1);
        EXPECT_EQ(BuildExportText(paths, mode, 4), text);
        for (ExportEncoding encoding : {ExportEncoding::Cp932, ExportEncoding::Utf8WithBom}) {
            ASSERT_TRUE(ExportFiles(paths, mode, out, 3, {}, {}, encoding).written);
            EXPECT_EQ(ReadText(out), ExportTextStart(encoding) + EncodeExportLines(text, encoding));
        }
    }
}

TEST_F(DocumentTest, ExportToATargetWithALongValidNameIsWritten) {
    Pick(1);
    Doc().SelectAll();
    ASSERT_TRUE(Doc().OpenFileAt(0));
    const std::string out = folder.File(std::string(246, 't') + ".txt");
    const ExportResult result = ExportFiles(MarkedPaths(Doc()), ExportMode::Dominant, out, 1);
    ASSERT_TRUE(result.written) << result.error;
    EXPECT_EQ(ReadText(out).rfind(kExportHeader, 0), 0u);
}

TEST_F(DocumentTest, FailedExportWriteLeavesNoFileBehind) {
    Pick(1);
    Doc().SelectAll();
    ASSERT_TRUE(Doc().OpenFileAt(0));
    const std::string out = folder.File("missing-folder/out.txt");
    const ExportResult result = ExportFiles(MarkedPaths(Doc()), ExportMode::Dominant, out, 1);
    EXPECT_FALSE(result.written);
    EXPECT_NE(result.error.find(out), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(out));
    EXPECT_FALSE(CanWriteExportFile(out));
    EXPECT_FALSE(CanWriteExportFile(folder.Folder()));
    EXPECT_TRUE(CanWriteExportFile(folder.File("fine.txt")));
    EXPECT_EQ(NotWritableText("/x/y.txt"),
              "Not writable [ /x/y.txt ]\u3000Check drive type(write only drive?), File "
              "attribute(Write Protect?) etc.");
}

} // namespace mirado::test
