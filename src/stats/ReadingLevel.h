#pragma once
// The summary's reading level: one row per reading, in the order of the files, with the
// group of its animal and the status the review gave it; the long table a statistics
// package or a spreadsheet takes, each row one value the session means are made of.
//
// Columns: path, study_no, animal_no, group, date, time, sbp, mbp, dbp, hr, status,
// reason, path_bytes. The identification texts are UTF-8 and empty for a reading whose
// header cannot be trusted (it joins no session); the group is the groups table's, or
// "(none)". The pressures and the heart rate are those the statistics take: given for a
// complete reading only, MBP and DBP never with Analysis S. path_bytes holds the path's
// bytes in hex when the path is not valid UTF-8.
//
// Use:
//   std::string csv = ReadingLevelCsv(readings, review, groups, source);

#include "document/Reading.h"
#include "review/ReadingReview.h"
#include "stats/GroupsTable.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace mirado {

struct ReadingLevelRow {
    std::string path;                                 // as given (any bytes)
    std::string studyNo, animalNo, group, date, time; // UTF-8; empty outside any session
    std::array<std::optional<int>, 4> values;         // sbp, mbp, dbp, hr
    std::string status, reason;                       // UTF-8
};

// The rows, one per reading in the readings' order.
std::vector<ReadingLevelRow> ReadingLevelRows(const std::vector<Reading>& readings,
                                              const ReviewResult& review, const GroupsTable& groups,
                                              ValueSource source);

// CSV with a header row (RFC 4180 quoting, LF line ends, empty fields where there is no
// value).
std::string ReadingLevelCsv(const std::vector<Reading>& readings, const ReviewResult& review,
                            const GroupsTable& groups, ValueSource source);
// JSON Lines with the same keys, the numbers as numbers or null; path_bytes only when
// needed.
std::string ReadingLevelJsonLines(const std::vector<Reading>& readings, const ReviewResult& review,
                                  const GroupsTable& groups, ValueSource source);

} // namespace mirado
