// Readings and the study summary: values per source as the document's Dominant row gives
// them, completeness, group keys, session order, the statistics and both writers.

#include "document/StudySummary.h"
#include "DocumentFixture.h"
#include "platform/JsonWriter.h"

#include <gtest/gtest.h>

namespace mirado::test {
namespace {

class StudySummaryTest : public DocumentTest {
protected:
    // Writes one file per spec and reads them all.
    std::vector<Reading> ReadAll(const std::vector<RecordSpec>& specs,
                                 ValueSource source = ValueSource::Stored, unsigned jobs = 1) {
        std::vector<std::string> paths;
        for (const RecordSpec& spec : specs)
            paths.push_back(Write(NumberedName(paths.size()), spec));
        return ReadRecordings(paths, source, jobs);
    }
    StudySummary Summarize(const std::vector<RecordSpec>& specs,
                           ValueSource source = ValueSource::Stored) {
        return SummarizeReadings(ReadAll(specs, source), source);
    }
    static RecordSpec Animal(const std::string& animalNo, int16_t sbp,
                             const std::string& date = "24/01/02") {
        RecordSpec spec;
        spec.animalNo = animalNo;
        spec.sbp = sbp;
        spec.dateTime = date + "09:30:15";
        return spec;
    }
};

// --- Readings: the values of a Dominant row for each source ----------------------------

TEST_F(StudySummaryTest, EachSourceGivesTheDocumentsDominantRowForThatMode) {
    RecordSpec spec;
    spec.modelLetter = 'B'; // variant E, which fills MBP and DBP from its own analysis
    const std::string path = Write("b.01", spec);
    Doc().SetFileList({path});
    Doc().OpenFileAt(0);
    const std::string stored = Doc().FormatDominantRow();
    Doc().ShowAnalysis(false);
    const std::string analysisS = Doc().FormatDominantRow();
    Doc().ShowAnalysis(true);
    const std::string analysisSM = Doc().FormatDominantRow();

    EXPECT_EQ(FormatDominantLine(ReadRecording(path, ValueSource::Stored).values), stored);
    EXPECT_EQ(FormatDominantLine(ReadRecording(path, ValueSource::AnalysisS).values), analysisS);
    EXPECT_EQ(FormatDominantLine(ReadRecording(path, ValueSource::AnalysisSM).values), analysisSM);
}

TEST_F(StudySummaryTest, ReadingLeavesTheDocumentAlone) {
    const std::vector<std::string> paths = Pick(2);
    Doc().OpenFileAt(1);
    Doc().ShowAnalysis(true);
    WriteBytes(folder.File("broken.01"), {1, 2, 3});
    ReadRecordings({paths[0], folder.File("broken.01")}, ValueSource::AnalysisSM, 1);
    EXPECT_EQ(Doc().GetCurrentIndex(), 1);
    EXPECT_TRUE(Doc().IsAnalysisSource());
    EXPECT_FALSE(Doc().IsDamagedAt(0));
    EXPECT_TRUE(prompts.Shown().empty());
}

TEST_F(StudySummaryTest, CompletenessInEachSource) {
    RecordSpec invalid;
    invalid.valid = false; // stored MBP and DBP count as 0
    RecordSpec noSbp;
    noSbp.sbp = 0;
    const std::vector<Reading> stored = ReadAll({RecordSpec{}, invalid, noSbp});
    EXPECT_TRUE(stored[0].complete);
    EXPECT_FALSE(stored[1].complete);
    EXPECT_EQ(stored[1].values.mbp, 0);
    EXPECT_FALSE(stored[2].complete);

    // Analysis S has no mean pressure: SBP alone decides; S-M needs the MBP too.
    const Reading s = ReadRecording(folder.File("a0.01"), ValueSource::AnalysisS);
    const Reading sm = ReadRecording(folder.File("a0.01"), ValueSource::AnalysisSM);
    EXPECT_EQ(s.values.mbp, 0);
    EXPECT_EQ(s.complete, s.values.sbp != 0);
    EXPECT_EQ(sm.complete, sm.values.sbp != 0 && sm.values.mbp != 0);
    EXPECT_FALSE(IsCompleteReading(true, CExportFields{}, ValueSource::AnalysisS));
    CExportFields sbpOnly;
    sbpOnly.sbp = 120;
    EXPECT_TRUE(IsCompleteReading(true, sbpOnly, ValueSource::AnalysisS));
    EXPECT_FALSE(IsCompleteReading(true, sbpOnly, ValueSource::AnalysisSM));
    EXPECT_FALSE(IsCompleteReading(true, sbpOnly, ValueSource::Stored));
    sbpOnly.mbp = 90;
    EXPECT_FALSE(IsCompleteReading(false, sbpOnly, ValueSource::Stored));
}

TEST_F(StudySummaryTest, AFileThatFailsCountsInNButNotInTheStatistics) {
    const std::string good = Write("good.01", Animal("A", 240));
    const std::string broken = folder.File("broken.01");
    std::vector<uint8_t> bytes = BuildRecord(Animal("A", 240));
    PutInt16(bytes, kOffsetWriterMark, kOwnWriterMark); // saved once by this program
    bytes.resize(bytes.size() / 2);                     // the channels end early
    WriteBytes(broken, bytes);
    const std::string missing = folder.File("missing.01");
    const std::vector<Reading> readings =
        ReadRecordings({good, broken, missing}, ValueSource::Stored, 1);
    EXPECT_FALSE(readings[1].loaded);
    EXPECT_FALSE(readings[1].error.empty());
    EXPECT_FALSE(readings[2].loaded);
    const StudySummary summary = SummarizeReadings(readings, ValueSource::Stored);
    // The damaged file keeps the texts it was read with; the missing one joins no group.
    ASSERT_EQ(summary.sessions.size(), 1u);
    EXPECT_EQ(summary.sessions[0].animalNo, "A");
    EXPECT_EQ(summary.sessions[0].n, 2);
    EXPECT_EQ(summary.sessions[0].nComplete, 1);
    EXPECT_EQ(summary.sessions[0].sbp.mean, 120.0);
}

TEST_F(StudySummaryTest, FilesWithoutAReadableHeaderJoinNoGroup) {
    const std::string good = Write("good.01", Animal("A", 240));
    std::vector<uint8_t> noise(6000);
    std::mt19937 random(11);
    for (uint8_t& byte : noise)
        byte = static_cast<uint8_t>(random());
    PutInt16(noise, kOffsetWriterMark, 0x1234);
    const std::string randomBytes = folder.File("noise.01");
    WriteBytes(randomBytes, noise);
    const std::string empty = folder.File("empty.01");
    WriteBytes(empty, {});
    std::vector<uint8_t> unmarked = BuildRecord(Animal("B", 240));
    unmarked.resize(unmarked.size() / 2);
    const std::string brokenUnmarked = folder.File("unmarked.01");
    WriteBytes(brokenUnmarked, unmarked);
    const std::vector<std::string> paths = {good, randomBytes, empty, folder.File("gone.01"),
                                            brokenUnmarked};
    const std::vector<Reading> readings = ReadRecordings(paths, ValueSource::Stored, 1);
    for (size_t i = 1; i < readings.size(); ++i) {
        EXPECT_FALSE(readings[i].loaded) << paths[i];
        EXPECT_FALSE(readings[i].headerRead) << paths[i];
    }
    const StudySummary summary = SummarizeReadings(readings, ValueSource::Stored);
    ASSERT_EQ(summary.sessions.size(), 1u);
    EXPECT_EQ(summary.sessions[0].animalNo, "A");
    EXPECT_EQ(summary.sessions[0].n, 1);
    ASSERT_EQ(summary.animals.size(), 1u);
}

TEST_F(StudySummaryTest, ParallelReadingGivesTheSameReadingsInOrder) {
    const std::string animals[] = {"A0", "A1", "A2"};
    std::vector<RecordSpec> specs;
    for (int i = 0; i < 40; ++i)
        specs.push_back(Animal(animals[i % 3], static_cast<int16_t>(200 + i)));
    const std::vector<Reading> one = ReadAll(specs, ValueSource::AnalysisSM, 1);
    std::vector<std::string> paths;
    for (const Reading& reading : one)
        paths.push_back(reading.path);
    const std::vector<Reading> three = ReadRecordings(paths, ValueSource::AnalysisSM, 3);
    ASSERT_EQ(three.size(), one.size());
    for (size_t i = 0; i < one.size(); ++i) {
        EXPECT_EQ(three[i].path, one[i].path);
        EXPECT_EQ(FormatDominantLine(three[i].values), FormatDominantLine(one[i].values));
    }
    size_t calls = 0;
    const std::vector<Reading> stopped =
        ReadRecordings(paths, ValueSource::Stored, 2, [&](size_t done) {
            ++calls;
            return done < 5;
        });
    EXPECT_EQ(stopped.size(), 5u);
    EXPECT_EQ(calls, 5u);
}

// --- Groups -------------------------------------------------------------------------------

TEST_F(StudySummaryTest, GroupKeysAreTheTrimmedBytes) {
    RecordSpec padded = Animal("  A-1", 240); // the field pads with blanks on the right
    RecordSpec plain = Animal("A-1", 250);
    RecordSpec japanese = Animal("\x83\x89\x83\x62\x83\x67", 260); // "ラット" in CP932
    japanese.exNo = "\x8E\xC0\x8C\xB1";                            // "実験"
    RecordSpec empty = Animal("", 270);
    empty.exNo = "";
    RecordSpec otherStudy = Animal("A-1", 280);
    otherStudy.exNo = "EX2";
    const StudySummary summary = Summarize({padded, plain, japanese, empty, otherStudy});
    ASSERT_EQ(summary.sessions.size(), 4u);
    EXPECT_EQ(summary.sessions[0].studyNo, "");
    EXPECT_EQ(summary.sessions[0].animalNo, "");
    EXPECT_EQ(summary.sessions[1].studyNo, "EX1");
    EXPECT_EQ(summary.sessions[1].animalNo, "A-1");
    EXPECT_EQ(summary.sessions[1].n, 2);
    EXPECT_EQ(summary.sessions[2].studyNo, "EX2");
    EXPECT_EQ(summary.sessions[3].studyNo, "\x8E\xC0\x8C\xB1");
    const std::string csv = SummaryCsv(summary.sessions);
    EXPECT_NE(csv.find("\n実験,ラット,24/01/02,1,1,"), std::string::npos) << csv;
    EXPECT_NE(SummaryJsonLines(summary.animals)
                  .find("{\"study_no\":\"実験\",\"animal_no\":\"ラット\","
                        "\"date\":null,"),
              std::string::npos);
}

TEST_F(StudySummaryTest, SessionsFollowTheDateWithUnreadableDatesLast) {
    const StudySummary summary = Summarize({
        Animal("A", 240, "24/02/01"),
        Animal("A", 240, "99/12/31"), // 2099
        Animal("A", 240, "24/13/01"), // no such month
        Animal("A", 240, "00/01/01"), // 2000
        Animal("A", 240, "23/02/29"), // no such day
        Animal("A", 240, "24/02/29"),
        Animal("A", 240, "24/02/01"),
        Animal("A", 240, "2024-1-2"),
    });
    std::vector<std::string> dates;
    for (const SummaryRow& row : summary.sessions)
        dates.push_back(*row.date);
    EXPECT_EQ(dates, (std::vector<std::string>{"00/01/01", "24/02/01", "24/02/29", "99/12/31",
                                               "2024-1-2", "23/02/29", "24/13/01"}));
    EXPECT_EQ(summary.sessions[1].n, 2);
    EXPECT_EQ(summary.sessions[3].sessionDate->year, 2099);
    EXPECT_FALSE(summary.sessions[4].sessionDate.has_value());
    ASSERT_EQ(summary.animals.size(), 1u);
    EXPECT_EQ(summary.animals[0].n, 8);
    EXPECT_FALSE(summary.animals[0].date.has_value());
}

TEST(SessionDateTest, ReadsOnlyTwoDigitFieldsOfARealDay) {
    EXPECT_TRUE(ReadSessionDate("00/02/29").has_value()); // 2000 is a leap year
    EXPECT_FALSE(ReadSessionDate("01/02/29").has_value());
    EXPECT_FALSE(ReadSessionDate("24/1/02 ").has_value());
    EXPECT_FALSE(ReadSessionDate("24/01/00").has_value());
    EXPECT_FALSE(ReadSessionDate("24/01/0").has_value());
    EXPECT_FALSE(ReadSessionDate("").has_value());
    const auto date = ReadSessionDate("31/12/31");
    ASSERT_TRUE(date.has_value());
    EXPECT_EQ(date->year, 2031);
    EXPECT_EQ(date->month, 12);
    EXPECT_EQ(date->day, 31);
}

// --- Statistics -----------------------------------------------------------------------------

TEST(SummaryStatisticTest, MeanSampleSdAndStandardError) {
    const SummaryStatistic none = ComputeStatistic({});
    EXPECT_EQ(none.n, 0);
    EXPECT_FALSE(none.mean || none.sd || none.se || none.min || none.max);
    const SummaryStatistic one = ComputeStatistic({120});
    EXPECT_EQ(one.mean, 120.0);
    EXPECT_FALSE(one.sd.has_value());
    EXPECT_FALSE(one.se.has_value());
    EXPECT_EQ(one.min, 120);
    EXPECT_EQ(one.max, 120);
    const SummaryStatistic four = ComputeStatistic({2, 4, 4, 6});
    EXPECT_EQ(four.mean, 4.0);
    EXPECT_DOUBLE_EQ(*four.sd, std::sqrt(8.0 / 3.0));
    EXPECT_DOUBLE_EQ(*four.se, std::sqrt(8.0 / 3.0) / 2.0);
    EXPECT_EQ(four.min, 2);
    EXPECT_EQ(four.max, 6);
}

TEST_F(StudySummaryTest, HeartRateOfZeroIsLeftOutOfTheHeartRateOnly) {
    RecordSpec noBeats = Animal("A", 260);
    noBeats.beatSpacing = 0; // heart rate 0
    const StudySummary summary = Summarize({Animal("A", 240), noBeats});
    const SummaryRow& row = summary.sessions.at(0);
    EXPECT_EQ(row.nComplete, 2);
    EXPECT_EQ(row.sbp.n, 2);
    EXPECT_EQ(row.sbp.mean, 125.0);
    EXPECT_EQ(row.hr.n, 1);
    EXPECT_GT(*row.hr.mean, 0.0);
    EXPECT_FALSE(row.hr.sd.has_value());
}

TEST_F(StudySummaryTest, TheAnimalRowIsOverAllReadingsNotTheMeanOfSessionMeans) {
    const StudySummary summary =
        Summarize({Animal("A", 200, "24/01/01"), Animal("A", 200, "24/01/02"),
                   Animal("A", 260, "24/01/02"), Animal("B", 300)});
    ASSERT_EQ(summary.sessions.size(), 3u);
    EXPECT_EQ(summary.sessions[0].sbp.mean, 100.0);
    EXPECT_EQ(summary.sessions[1].sbp.mean, 115.0);
    ASSERT_EQ(summary.animals.size(), 2u);
    EXPECT_EQ(summary.animals[0].n, 3);
    EXPECT_EQ(summary.animals[0].sbp.mean, 110.0); // not 107.5
    EXPECT_DOUBLE_EQ(*summary.animals[0].sbp.sd, std::sqrt(300.0));
    EXPECT_EQ(summary.animals[1].animalNo, "B");
    EXPECT_EQ(summary.animals[1].sbp.n, 1);
}

TEST_F(StudySummaryTest, AnalysisSLeavesTheMeanAndDiastolicEmpty) {
    const StudySummary summary = Summarize({RecordSpec{}, RecordSpec{}}, ValueSource::AnalysisS);
    const SummaryRow& row = summary.sessions.at(0);
    EXPECT_EQ(row.mbp.n, 0);
    EXPECT_FALSE(row.mbp.mean.has_value());
    EXPECT_EQ(row.dbp.n, 0);
    EXPECT_EQ(row.sbp.n, row.nComplete);
}

// --- Writers ----------------------------------------------------------------------------------

TEST(SummaryWriterTest, CsvQuotesOnlyWhatNeedsIt) {
    SummaryRow row;
    row.studyNo = "S,1";
    row.animalNo = "say \"hi\"";
    row.date = "24/01/02";
    row.n = 2;
    row.nComplete = 1;
    row.sbp = ComputeStatistic({121});
    const std::string csv = SummaryCsv({row});
    EXPECT_EQ(csv.substr(0, csv.find('\n')),
              "study_no,animal_no,date,n,n_complete,sbp_n,sbp_mean,sbp_sd,sbp_se,sbp_min,sbp_max,"
              "mbp_n,mbp_mean,mbp_sd,mbp_se,mbp_min,mbp_max,dbp_n,dbp_mean,dbp_sd,dbp_se,dbp_min,"
              "dbp_max,hr_n,hr_mean,hr_sd,hr_se,hr_min,hr_max");
    EXPECT_EQ(csv.substr(csv.find('\n') + 1),
              "\"S,1\",\"say \"\"hi\"\"\",24/01/02,2,1,1,121,,,121,121,0,,,,,,0,,,,,,0,,,,,\n");
    row.date.reset();
    row.studyNo = "line\nbreak";
    EXPECT_NE(SummaryCsv({row}).find("\n\"line\nbreak\",\"say \"\"hi\"\"\",,2,"),
              std::string::npos);
}

TEST(SummaryWriterTest, JsonLinesWithShortestNumbersAndNulls) {
    SummaryRow row;
    row.studyNo = "q\"\\";
    row.animalNo = "A";
    row.date = "24/01/02";
    row.n = 3;
    row.nComplete = 3;
    row.sbp = ComputeStatistic({100, 101, 101});
    row.hr = ComputeStatistic({300});
    EXPECT_EQ(SummaryJsonLines({row}),
              "{\"study_no\":\"q\\\"\\\\\",\"animal_no\":\"A\",\"date\":\"24/01/02\",\"n\":3,"
              "\"n_complete\":3,\"sbp\":{\"n\":3,\"mean\":" +
                  ShortestDecimal(302.0 / 3.0) + ",\"sd\":" + ShortestDecimal(*row.sbp.sd) +
                  ",\"se\":" + ShortestDecimal(*row.sbp.se) +
                  ",\"min\":100,\"max\":101},\"mbp\":{\"n\":0,\"mean\":null,\"sd\":null,"
                  "\"se\":null,\"min\":null,\"max\":null},\"dbp\":{\"n\":0,\"mean\":null,\"sd\":"
                  "null,\"se\":null,\"min\":null,\"max\":null},\"hr\":{\"n\":1,\"mean\":300,"
                  "\"sd\":null,\"se\":null,\"min\":300,\"max\":300}}\n");
    EXPECT_EQ(std::stod(ShortestDecimal(1.0 / 3.0)), 1.0 / 3.0);
}

TEST(SummaryWriterTest, JsonTextsAreUtf8WithEveryControlCharacterNumeric) {
    SummaryRow row;
    row.studyNo = "a\tb\n";
    row.animalNo = "\x8E\xC0"; // 実 in CP932
    row.date.reset();
    const std::string line = SummaryJsonLines({row});
    EXPECT_EQ(line.substr(0, line.find(",\"n\":")),
              R"({"study_no":"a\u0009b\u000a","animal_no":"実","date":null)");
}

} // namespace
} // namespace mirado::test
