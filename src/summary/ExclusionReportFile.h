#pragma once
// The exclusion report of a summary run written to a file, in the form its name asks
// for: ".pdf" the pages to print, ".json" or ".jsonl" JSON Lines, anything else CSV (as
// the batch tool's report writes them). With a study of groups, its levels, charts and
// tests follow (as the batch tool's report --groups). The file is replaced whole or not
// at all.

#include "files/Result.h"
#include "stats/StudyStatistics.h"
#include "summary/SummaryRun.h"

#include <string>

namespace mirado {

enum class ReportFileKind { Pdf, Json, Csv };

ReportFileKind ReportFileKindOf(const std::string& path);

Result<void> WriteExclusionReportFile(const std::string& path, const AcceptanceProfile& profile,
                                      const SummaryResult& result, const StudyData* study = nullptr,
                                      size_t control = 0);

} // namespace mirado
