#pragma once
// The study summary: readings grouped by study number, animal number and session (the
// recording date), with the count and the spread of the pressures and the heart rate in
// each group, and one row per study and animal over all its sessions. The viewer's
// summary window, its chart and `mirado-cli summary` all take their numbers from here.
//
// Use:
//   std::vector<Reading> readings = ReadRecordings(paths, ValueSource::Stored, jobs);
//   StudySummary summary = SummarizeReadings(readings, ValueSource::Stored);
//   std::string csv = SummaryCsv(summary.sessions);          // or summary.animals
//   std::string json = SummaryJsonLines(summary.animals);
// or, without keeping the readings, CStudySummaryBuilder: Add each reading, then Build.
//
// Groups: the study and animal numbers are compared as their CP932 bytes (padding blanks
// are already trimmed by the record). The session is the date text (the first 8 bytes of
// the date-time field) read as YY/MM/DD with the years 2000 to 2099; a date text that does
// not read so is a session of its own, placed after every real date, unreadable ones in
// the order of their bytes. Rows are ordered by study number, animal number (bytes), then
// session.
//
// Statistics: every reading counts in n; the complete ones (Reading.complete) give the
// SBP, MBP and DBP statistics, and those of them with a heart rate above 0 the HR
// statistics. With Analysis S the MBP and DBP statistics are empty (n 0). The standard
// deviation is the sample one (n - 1); it and the standard error (sd / sqrt(n)) are
// absent for one value; everything but n is absent for none.

#include "document/Reading.h"

#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace mirado {

struct SummaryStatistic {
    int n = 0;
    std::optional<double> mean, sd, se;
    std::optional<int> min, max;
};

// A date that reads as YY/MM/DD.
struct SessionDate {
    int year = 0; // 2000 to 2099
    int month = 0;
    int day = 0;
};

// The date text read as YY/MM/DD (two digits each, a valid day of the month, the year
// taken as 20YY); nothing when it does not read so.
std::optional<SessionDate> ReadSessionDate(const std::string& dateText);

struct SummaryRow {
    std::string studyNo;                    // CP932 bytes, trimmed
    std::string animalNo;                   // CP932 bytes, trimmed
    std::optional<std::string> date;        // the date text as in the file; none on an animal's row
    std::optional<SessionDate> sessionDate; // the date as read; none when unreadable or absent
    int n = 0; // readings, failed loads with a readable header included
    int nComplete = 0;
    SummaryStatistic sbp, mbp, dbp, hr;
};

struct StudySummary {
    ValueSource source = ValueSource::Stored;
    std::vector<SummaryRow> sessions; // one per study, animal and session
    std::vector<SummaryRow> animals;  // one per study and animal, over all its readings
};

// The statistics of a list of values (whole mmHg or beats per minute).
SummaryStatistic ComputeStatistic(const std::vector<int>& values);

class CStudySummaryBuilder {
public:
    explicit CStudySummaryBuilder(ValueSource source) : source_(source) {}
    void Add(const Reading& reading);
    StudySummary Build() const;

private:
    struct Values {
        int sbp, mbp, dbp, hr;
        bool complete;
    };
    // Study number, animal number, then the session's order: real dates first by date,
    // then unreadable texts by their bytes.
    using GroupKey = std::tuple<std::string, std::string, bool, int, std::string>;

    SummaryRow MakeRow(const std::string& studyNo, const std::string& animalNo,
                       const std::vector<const Values*>& values) const;

    ValueSource source_;
    std::map<GroupKey, std::vector<Values>> groups_;
};

StudySummary SummarizeReadings(const std::vector<Reading>& readings, ValueSource source);

// The rows as CSV: UTF-8 without BOM, a header row, dot decimals, fields quoted as RFC 4180
// asks (only when they hold a comma, a double quote or a line break), LF line ends. Absent
// values are empty fields. Columns: study_no, animal_no, date, n, n_complete, then for
// sbp, mbp, dbp and hr each _n, _mean, _sd, _se, _min, _max.
std::string SummaryCsv(const std::vector<SummaryRow>& rows);

// The rows as JSON Lines, one object per row: study_no, animal_no, date (null on an
// animal's row), n, n_complete, and sbp, mbp, dbp, hr each {n, mean, sd, se, min, max}
// with null for an absent value. Texts are UTF-8.
std::string SummaryJsonLines(const std::vector<SummaryRow>& rows);

} // namespace mirado
