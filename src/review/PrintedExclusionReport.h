#pragma once
// The exclusion report as pages to print (the batch tool's PDF report and the summary
// window's): the profile and its rules, the sessions' counts by status, every reading not
// accepted with its status, its reason and, for a decision by hand, who made it and when,
// then the statistics of each session's accepted readings. Texts are English, as in the
// batch tool's other outputs; the recordings' texts are converted to UTF-8.

#include "document/PrintedReport.h"
#include "review/ReadingReview.h"

#include <vector>

namespace mirado {

inline constexpr const char* kExclusionReportTitle = "Exclusion report";

PrintedReport PrintedExclusionReport(const AcceptanceProfile& profile,
                                     const std::vector<Reading>& readings,
                                     const ReviewResult& review, ValueSource source);

} // namespace mirado
