#pragma once
// The exclusion report of a summary run written to a file, in the form its name asks
// for: ".pdf" the pages to print, ".json" or ".jsonl" JSON Lines, anything else CSV (as
// the batch tool's report writes them). The file is replaced whole or not at all.

#include "files/Result.h"
#include "summary/SummaryRun.h"

#include <string>

namespace mirado {

enum class ReportFileKind { Pdf, Json, Csv };

ReportFileKind ReportFileKindOf(const std::string& path);

Result<void> WriteExclusionReportFile(const std::string& path, const AcceptanceProfile& profile,
                                      const SummaryResult& result);

} // namespace mirado
