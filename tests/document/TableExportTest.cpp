// The tidy table and the UTF-8 text export: every column of a row is what the viewer
// shows for the file in the chosen mode, rows stay valid CSV whatever the texts hold, a
// damaged file keeps only its identity and message, and the UTF-8 export is the CP932
// export decoded.

#include "document/TableExport.h"
#include "DocumentFixture.h"
#include "document/ExportLoop.h"
#include "records/AnalysisSequence.h"
#include "records/PaneTexts.h"
#include "records/TextEncoding.h"

#include <gtest/gtest.h>

namespace mirado::test {
namespace {

// Splits RFC 4180 text into rows of fields (quoted fields may hold commas, quotes and
// line breaks).
std::vector<std::vector<std::string>> ParseCsv(const std::string& text) {
    std::vector<std::vector<std::string>> rows(1, std::vector<std::string>(1));
    bool quoted = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        std::string& field = rows.back().back();
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"')
                field += text[++i];
            else if (c == '"')
                quoted = false;
            else
                field += c;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            rows.back().emplace_back();
        } else if (c == '\n') {
            rows.emplace_back(1);
        } else {
            field += c;
        }
    }
    rows.pop_back(); // after the last line end
    return rows;
}

std::map<std::string, std::string> RowByName(const std::vector<std::string>& header,
                                             const std::vector<std::string>& row) {
    EXPECT_EQ(row.size(), header.size());
    std::map<std::string, std::string> named;
    for (size_t i = 0; i < header.size() && i < row.size(); ++i)
        named[header[i]] = row[i];
    return named;
}

class TableExportTest : public DocumentTest {
protected:
    // The row of path as the table gives it, by column name.
    std::map<std::string, std::string> TableRow(const std::string& path, ValueSource source) {
        const auto rows = ParseCsv(BuildTableText({path}, source, 1));
        EXPECT_EQ(rows.size(), 2u);
        return RowByName(rows.at(0), rows.at(1));
    }

    // The same columns read off the document showing the file in the mode of source.
    std::map<std::string, std::string> ViewerRow(const std::string& path, ValueSource source) {
        Doc().SetFileList({path});
        Doc().OpenFileAt(0);
        if (source != ValueSource::Stored)
            Doc().ShowAnalysis(source == ValueSource::AnalysisSM);
        int sbp = 0, mbp = 0, dbp = 0, s = 0, m = 0, d = 0;
        Doc().GetDominantPressures(sbp, mbp, dbp);
        Doc().GetMarkers(s, m, d);
        const bool valid = Doc().IsValid();
        const int model = Doc().GetDeviceTypeCode();
        std::map<std::string, std::string> row;
        row["species"] = SpeciesText(model, Doc().GetSampling());
        row["sbp"] = std::to_string(HalfRound(static_cast<int16_t>(sbp)));
        row["mbp"] = std::to_string(HalfRound(static_cast<int16_t>(mbp)));
        row["dbp"] = std::to_string(HalfRound(static_cast<int16_t>(dbp)));
        row["hr"] = std::to_string(Doc().GetHeartRate());
        row["marker_s"] = std::to_string(s);
        row["marker_m"] = valid ? std::to_string(m) : "";
        row["marker_interval_ms"] = valid ? std::to_string(Doc().GetMarkerInterval()) : "";
        row["code"] = std::to_string(Doc().GetResultCode());
        row["flag"] = ResultFlagText(ShownResultCode(Doc().GetResultCode(), valid));
        return row;
    }
};

TEST_F(TableExportTest, EveryValueColumnIsWhatTheViewerShowsInThatMode) {
    for (char letter : {'A', 'B'}) {
        RecordSpec spec;
        spec.modelLetter = letter;
        spec.sampleInterval = 25;
        const std::string path = Write(std::string(1, letter) + ".01", spec);
        for (ValueSource source :
             {ValueSource::Stored, ValueSource::AnalysisS, ValueSource::AnalysisSM}) {
            SCOPED_TRACE(std::string(1, letter) + " source " +
                         std::to_string(static_cast<int>(source)));
            const auto table = TableRow(path, source);
            for (const auto& [column, value] : ViewerRow(path, source))
                EXPECT_EQ(table.at(column), value) << column;
            EXPECT_EQ(table.at("sampling_ms"), "2.5");
            EXPECT_EQ(table.at("source"), source == ValueSource::Stored ? "stored"
                                          : letter == 'A'               ? "method_a"
                                                                        : "method_e");
            EXPECT_EQ(table.at("error"), "");
        }
    }
}

TEST_F(TableExportTest, TextsArriveIntactAndEachRowStaysOneRecord) {
    RecordSpec spec;
    spec.animalNo = Utf8ToCp932("\xE3\x83\x9E\xE3\x82\xA6\xE3\x82\xB9").value(); // katakana
    spec.comment = "a\"b,c";
    const std::string path = Write("texts,\"q\".01", spec);
    const auto rows = ParseCsv(BuildTableText({path, path}, ValueSource::Stored, 1));
    ASSERT_EQ(rows.size(), 3u);
    const auto row = RowByName(rows[0], rows[1]);
    EXPECT_EQ(row.at("path"), path);
    EXPECT_EQ(row.at("file"), "texts,\"q\".01");
    EXPECT_EQ(row.at("animal_no"), "\xE3\x83\x9E\xE3\x82\xA6\xE3\x82\xB9");
    EXPECT_EQ(row.at("comment"), "a\"b,c");
    EXPECT_EQ(row.at("date"), "24/01/02");
    EXPECT_EQ(row.at("complete"), "1");
    EXPECT_EQ(row.at("path_bytes"), "");
}

TEST_F(TableExportTest, ANameThatIsNotUtf8ShowsReplacementsAndItsExactBytes) {
    const std::string good = Write("\xE8\xA9\xA6.01"); // valid UTF-8: kept byte for byte
    const std::string odd = Write("r\xFF\xE8\xA9.01"); // a stray byte and a cut sequence
    const std::string text = BuildTableText({good, odd}, ValueSource::Stored, 1);
    EXPECT_TRUE(IsValidUtf8(text));
    const auto rows = ParseCsv(text);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].back(), "path_bytes");
    const auto kept = RowByName(rows[0], rows[1]);
    EXPECT_EQ(kept.at("path"), good);
    EXPECT_EQ(kept.at("path_bytes"), "");
    const auto shown = RowByName(rows[0], rows[2]);
    EXPECT_EQ(shown.at("file"), "r\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD.01");
    EXPECT_EQ(shown.at("path_bytes"), HexBytes(odd));
    EXPECT_EQ(shown.at("complete"), "1");
}

TEST_F(TableExportTest, ADamagedFileKeepsItsIdentityAndMessageOnly) {
    const std::string good = Write("good.01");
    const std::string broken = folder.File("broken.01");
    WriteBytes(broken, {1, 2, 3});
    const auto rows = ParseCsv(BuildTableText({good, broken}, ValueSource::AnalysisSM, 1));
    ASSERT_EQ(rows.size(), 3u);
    const auto row = RowByName(rows[0], rows[2]);
    EXPECT_EQ(row.at("path"), broken);
    EXPECT_EQ(row.at("source"), ""); // no method is known without the file's model
    EXPECT_FALSE(row.at("error").empty());
    for (const char* column : {"date", "species", "sbp", "hr", "marker_s", "code", "complete"})
        EXPECT_EQ(row.at(column), "") << column;
}

TEST_F(TableExportTest, ParallelReadingGivesTheSameText) {
    std::vector<std::string> paths = Pick(12);
    WriteBytes(folder.File("broken.01"), {9});
    paths.insert(paths.begin() + 5, folder.File("broken.01"));
    EXPECT_EQ(BuildTableText(paths, ValueSource::AnalysisSM, 3),
              BuildTableText(paths, ValueSource::AnalysisSM, 1));
}

TEST_F(TableExportTest, Utf8ExportIsTheCp932ExportDecodedAfterAMark) {
    RecordSpec spec;
    spec.comment = Utf8ToCp932("\xE6\x97\xA5\xE6\x9C\xAC").value() + "\x81"; // a lone lead byte
    const std::vector<std::string> paths = Pick(3, spec);
    const std::string cp932 = folder.File("cp932.txt");
    const std::string utf8 = folder.File("utf8.txt");
    ASSERT_TRUE(ExportFiles(paths, ExportMode::Dominant, cp932, 1).written);
    ASSERT_TRUE(
        ExportFiles(paths, ExportMode::Dominant, utf8, 1, {}, {}, ExportEncoding::Utf8WithBom)
            .written);
    const std::string encoded = ReadText(utf8);
    ASSERT_EQ(encoded.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_EQ(encoded.substr(3), Cp932ToUtf8(ReadText(cp932)));
    EXPECT_NE(encoded.find("\xE6\x97\xA5\xE6\x9C\xAC\xEF\xBF\xBD"), std::string::npos);
}

} // namespace
} // namespace mirado::test
