#pragma once
// The exclusion report as data: per session, the readings recorded and how many each
// status took (recorded = damaged + incomplete + ... + accepted), and every reading that
// is not accepted with its status, its reason and, for a decision by hand, who made it
// and when. The batch tool's report and the summary window's report take their tables
// from here.
//
// Texts are UTF-8 (the recordings' CP932 texts converted); a path that is not valid
// UTF-8 is shown with U+FFFD and its exact bytes are given in hexadecimal in
// `path_bytes`, as in the table export.

#include "review/ReadingReview.h"

#include <string>
#include <vector>

namespace mirado {

// CSV (header row, LF line ends, RFC 4180 quoting): study_no, animal_no, date, recorded,
// then one column per status in the order of ReadingStatus.
std::string SessionCountsCsv(const ReviewResult& review);
// JSON Lines: one object per session: study_no, animal_no, date, then the counts.
std::string SessionCountsJsonLines(const ReviewResult& review);

// CSV: path, study_no, animal_no, date, time, sbp, hr, status, reason, decided_by, note,
// user, decided_at, path_bytes; one row per reading that is not accepted, in the
// sessions' order and each session's time order (readings in no session last).
std::string ExcludedReadingsCsv(const std::vector<Reading>& readings, const ReviewResult& review);
// JSON Lines with the same fields (path_bytes only when needed, empty texts left out).
std::string ExcludedReadingsJsonLines(const std::vector<Reading>& readings,
                                      const ReviewResult& review);

// The whole report as CSV: a comment line "# profile: " with the profile as JSON, an
// empty line, the sessions' counts, an empty line and the readings not accepted.
std::string ExclusionReportCsv(const AcceptanceProfile& profile,
                               const std::vector<Reading>& readings, const ReviewResult& review);
// The whole report as JSON Lines, each object's first key "table" naming its part:
// "profile", "sessions" (one per session) and "excluded" (one per reading not accepted).
std::string ExclusionReportJsonLines(const AcceptanceProfile& profile,
                                     const std::vector<Reading>& readings,
                                     const ReviewResult& review);

} // namespace mirado
