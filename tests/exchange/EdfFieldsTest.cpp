// The EDF+ header's text fields and the annotation lists: what the standard allows in
// each field, exact time texts, the start date's century rule and the byte layout.

#include "exchange/EdfFile.h"
#include "exchange/RecordingEdf.h"
#include "records/AdData.h"
#include "records/LoadedRecord.h"
#include "records/WaveCodec.h"
#include "support/RecordBuilder.h"
#include "support/TempFolder.h"

#include <algorithm>
#include <gtest/gtest.h>

#include <cmath>

namespace mirado::test {
namespace {

struct SubfieldRow {
    std::string utf8, ascii;
};

TEST(EdfFields, SubfieldsArePrintableAsciiWithoutSpaces) {
    const SubfieldRow rows[] = {
        {"", "X"},
        {"M 12", "M_12"},
        {"\xEF\xBC\xB2\xEF\xBC\xA1\xEF\xBC\xB4\xEF\xBC\x91", "RAT1"}, // full-width RAT1
        {"\xE9\x9B\x84\xE3\x80\x80"
         "4",
         "?_4"}, // a kanji, ideographic space
        {"a\tb", "a?b"},
        {"\xFF"
         "x",
         "?x"}, // a byte that is not UTF-8
        {"\xEF\xBD\xB6"
         "A",
         "?A"}, // half-width katakana is not ASCII
    };
    for (const SubfieldRow& row : rows)
        EXPECT_EQ(EdfSubfield(row.utf8), row.ascii) << row.utf8;
}

struct SecondsRow {
    int64_t units;
    std::string seconds;
};

TEST(EdfFields, TimesAreExactDecimalSeconds) {
    const SecondsRow rows[] = {{0, "0"},         {80000, "8"},    {4000, "0.4"},
                               {54320, "5.432"}, {1, "0.0001"},   {10010, "1.001"},
                               {1020000, "102"}, {-200, "-0.02"}, {-10000, "-1"}};
    for (const SecondsRow& row : rows)
        EXPECT_EQ(TenthMillisecondsAsSeconds(row.units), row.seconds) << row.units;
    EXPECT_EQ(EdfOnset(1358, 40), "+5.432");
    EXPECT_EQ(EdfOnset(0, 20), "+0");
    EXPECT_EQ(EdfOnset(-3, 20), "-0.006");
}

struct StartRow {
    std::string date, time;
    EdfStart start;
};

TEST(EdfFields, StartDateFollowsTheCenturyRule) {
    const StartRow rows[] = {
        {"24/12/07", "12:56:02", {"07.12.24", "12.56.02", "07-DEC-2024"}},
        {"84/02/29", "23:59:59", {"29.02.84", "23.59.59", "29-FEB-2084"}},
        {"85/01/31", "00:00:00", {"31.01.yy", "00.00.00", "31-JAN-2085"}},
        {"23/02/29", "24:00:00", {"01.01.85", "00.00.00", "X"}}, // no leap day, no hour 24
        {"00/00/00", "12:5:02 ", {"01.01.85", "00.00.00", "X"}},
        {"", "", {"01.01.85", "00.00.00", "X"}},
    };
    for (const StartRow& row : rows) {
        const EdfStart start = EdfStartOf(row.date, row.time);
        EXPECT_EQ(start.date, row.start.date) << row.date;
        EXPECT_EQ(start.time, row.start.time) << row.time;
        EXPECT_EQ(start.startdate, row.start.startdate) << row.date;
    }
}

TEST(EdfFields, AnnotationTextsKeepUtf8AndLoseSeparators) {
    EXPECT_EQ(EdfAnnotationText("\xE9\x9B\x84 4"), "\xE9\x9B\x84 4");
    EXPECT_EQ(EdfAnnotationText(std::string("a\x14"
                                            "b\x15"
                                            "c\0d\n",
                                            8)),
              "a b c d ");
    EXPECT_EQ(EdfAnnotationText("\xFF"), "\xEF\xBF\xBD");
}

// Every cuff sample reads back exactly as half mmHg through the 8-character range texts,
// and the readout's whole mmHg is that value rounded half away from zero.
TEST(EdfFields, CuffRangeMapsEverySampleToHalfMmHg) {
    const double physicalMin = std::stod(kCuffPhysicalMin);
    const double physicalMax = std::stod(kCuffPhysicalMax);
    const double gain = (physicalMax - physicalMin) / 65535.0;
    const double offset = physicalMin + 32768.0 * gain;
    for (const int digital : {-32768, -32767, -3, -1, 0, 1, 3, 359, 32766, 32767}) {
        const double mmHg = gain * digital + offset;
        EXPECT_EQ(mmHg, digital / 2.0) << digital;
        EXPECT_EQ(HalfRound(static_cast<int16_t>(digital)), std::round(mmHg)) << digital;
    }
}

TEST(EdfFields, FileLayout) {
    EdfContents contents{"P", "R", "07.12.24", "12.56.02", "0.4", {}, {{"+0.5", "Beat"}}};
    contents.signals.push_back({"Cuff", "", "mmHg", "-1", "1", -32768, 32767, {1, -2}});
    const std::string bytes = EdfBytes(contents);
    const size_t header = 256 * 3;
    EXPECT_EQ(bytes.substr(184, 8), "768     ");
    EXPECT_EQ(bytes.substr(192, 5), "EDF+C");
    EXPECT_EQ(bytes.substr(236, 8), "1       ");
    EXPECT_EQ(bytes.substr(244, 8), "0.4     ");
    EXPECT_EQ(bytes.substr(252, 4), "2   ");
    EXPECT_EQ(bytes.substr(256 + 16, 16), "EDF Annotations ");
    // samples per record: 2 for the cuff, 8 for the 16 bytes of the annotation lists
    EXPECT_EQ(bytes.substr(256 + 2 * (16 + 80 + 8 * 5 + 80), 16), "2       8       ");
    EXPECT_EQ(bytes.substr(header, 4), std::string("\x01\x00\xFE\xFF", 4));
    EXPECT_EQ(bytes.substr(header + 4), std::string("+0\x14\x14\0+0.5\x14"
                                                    "Beat\x14\0",
                                                    16));
}

struct ValidityRow {
    bool valid;
    std::vector<std::string> expected; // the texts that must be there
    std::vector<std::string> absent;
};

// What the viewer shows as absent while the values are not valid (marker M, MBP, DBP) is
// left out; the longest interval, 127 units, gives a 50.8 s record.
TEST(EdfRecording, ValuesNotValidLeaveOutMarkerMAndTheMean) {
    const ValidityRow rows[] = {
        {true, {"Marker M", "MBP 95 mmHg", "DBP 80 mmHg", "SBP 121 mmHg"}, {}},
        {false, {"Marker S", "SBP 121 mmHg"}, {"Marker M", "MBP 95 mmHg", "DBP 80 mmHg"}},
    };
    for (const ValidityRow& row : rows) {
        RecordSpec spec;
        spec.valid = row.valid;
        spec.sampleInterval = 127;
        const LoadedRecord record = LoadRecordFromBytes("r.001", BuildRecord(spec));
        ASSERT_TRUE(record.Loaded()) << record.message;
        const EdfContents contents = RecordingEdfContents({*record.data, 0, "r.001", ""});
        std::vector<std::string> texts;
        for (const EdfAnnotation& annotation : contents.annotations)
            texts.push_back(annotation.text);
        for (const std::string& text : row.expected)
            EXPECT_NE(std::find(texts.begin(), texts.end(), text), texts.end()) << text;
        for (const std::string& text : row.absent)
            EXPECT_EQ(std::find(texts.begin(), texts.end(), text), texts.end()) << text;
        EXPECT_EQ(contents.recordSeconds, "50.8");
        const auto markerS =
            std::find_if(contents.annotations.begin(), contents.annotations.end(),
                         [](const EdfAnnotation& a) { return a.text == "Marker S"; });
        ASSERT_NE(markerS, contents.annotations.end());
        EXPECT_EQ(markerS->onset, "+12.7"); // sample 1000 x 12.7 ms
    }
}

// A sample interval byte of 128 or more reads negative: no sampling rate, no file.
TEST(EdfRecording, NoSamplingRateIsRefused) {
    TempFolder folder;
    RecordSpec spec;
    spec.sampleInterval = 200;
    const std::string input = folder.File("r.001");
    WriteBytes(input, BuildRecord(spec));
    const Result<void> written = WriteRecordingEdf(input, folder.File("r.001.edf"), "");
    ASSERT_FALSE(written.ok());
    EXPECT_NE(written.error().find("no sampling rate"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(folder.File("r.001.edf")));
}

} // namespace
} // namespace mirado::test
