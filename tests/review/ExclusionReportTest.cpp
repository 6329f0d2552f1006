// The exclusion report's tables: the counts per session and every excluded reading with
// its reason and who decided it, as CSV and as JSON Lines.

#include "review/ExclusionReport.h"

#include <gtest/gtest.h>

namespace mirado::test {
namespace {

Reading MakeReading(const std::string& path, const std::string& time, int sbp) {
    Reading reading;
    reading.path = path;
    reading.loaded = reading.complete = reading.headerRead = true;
    reading.values.exNo = "S1";
    reading.values.animalNo = "A,1"; // a comma, quoted in CSV
    reading.values.date = "26/12/01";
    reading.values.time = time;
    reading.values.sbp = sbp;
    reading.values.hr = 420;
    return reading;
}

class ExclusionReportTest : public ::testing::Test {
protected:
    ExclusionReportTest() {
        readings = {MakeReading("/d/b.01", "09:00:02", 130),
                    MakeReading("/d/a.01", "09:00:01", 125),
                    MakeReading("/d/c.01", "09:00:03", 140)};
        Reading unreadable;
        unreadable.path = "/d/x\xff.01";
        unreadable.error = "File format Error";
        readings.push_back(unreadable);
        AcceptanceProfile profile;
        profile.acclimationReadings = 1;
        std::vector<std::optional<ManualDecision>> decisions(readings.size());
        decisions[2] =
            ManualDecision{false, "other", "tail moved", "ana", "2026-12-01T10:00:00+09:00"};
        review = ReviewReadings(readings, ValueSource::Stored, profile, decisions);
    }

    std::vector<Reading> readings;
    ReviewResult review;
};

TEST_F(ExclusionReportTest, CountsEachSessionByStatus) {
    EXPECT_EQ(SessionCountsCsv(review),
              "study_no,animal_no,date,recorded,damaged,incomplete,training,acclimation,"
              "out_of_range,deviation,rejected,session_rejected,accepted\n"
              "S1,\"A,1\",26/12/01,3,0,0,0,1,0,0,1,0,1\n");
    EXPECT_EQ(SessionCountsJsonLines(review),
              R"({"study_no":"S1","animal_no":"A,1","date":"26/12/01","recorded":3,"damaged":0,)"
              R"("incomplete":0,"training":0,"acclimation":1,"out_of_range":0,"deviation":0,)"
              R"("rejected":1,"session_rejected":0,"accepted":1})"
              "\n");
}

TEST_F(ExclusionReportTest, ListsEveryExcludedReadingInTimeOrderWithWhoDecided) {
    EXPECT_EQ(ExcludedReadingsCsv(readings, review),
              "path,study_no,animal_no,date,time,sbp,hr,status,reason,decided_by,note,user,"
              "decided_at,path_bytes\n"
              "/d/a.01,S1,\"A,1\",26/12/01,09:00:01,125,420,acclimation,acclimation reading 1 "
              "of 1,rule,,,,\n"
              "/d/c.01,S1,\"A,1\",26/12/01,09:00:03,140,420,rejected,other,manual,tail moved,"
              "ana,2026-12-01T10:00:00+09:00,\n"
              "/d/x\xef\xbf\xbd.01,,,,,,,damaged,File format Error,rule,,,,2f642f78ff2e3031\n");
    EXPECT_EQ(ExcludedReadingsJsonLines(readings, review),
              R"({"path":"/d/a.01","study_no":"S1","animal_no":"A,1","date":"26/12/01",)"
              R"("time":"09:00:01","sbp":125,"hr":420,"status":"acclimation",)"
              R"("reason":"acclimation reading 1 of 1","decided_by":"rule"})"
              "\n"
              R"({"path":"/d/c.01","study_no":"S1","animal_no":"A,1","date":"26/12/01",)"
              R"("time":"09:00:03","sbp":140,"hr":420,"status":"rejected","reason":"other",)"
              R"("decided_by":"manual","note":"tail moved","user":"ana",)"
              R"("decided_at":"2026-12-01T10:00:00+09:00"})"
              "\n"
              "{\"path\":\"/d/x\xef\xbf\xbd.01\",\"status\":\"damaged\","
              R"("reason":"File format Error","decided_by":"rule","path_bytes":"2f642f78ff2e3031"})"
              "\n");
}

} // namespace
} // namespace mirado::test
