#include "summary/ExclusionReportFile.h"

#include "charts/ReportCharts.h"
#include "files/FileAccess.h"
#include "review/ExclusionReport.h"
#include "review/PrintedExclusionReport.h"
#include "stats/StudyReport.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace mirado {

ReportFileKind ReportFileKindOf(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".pdf")
        return ReportFileKind::Pdf;
    if (extension == ".json" || extension == ".jsonl")
        return ReportFileKind::Json;
    return ReportFileKind::Csv;
}

Result<void> WriteExclusionReportFile(const std::string& path, const AcceptanceProfile& profile,
                                      const SummaryResult& result, const StudyData* study,
                                      size_t control) {
    switch (ReportFileKindOf(path)) {
    case ReportFileKind::Pdf: {
        const std::optional<QByteArray> pdf = ReportPdfWithStudy(
            PrintedExclusionReport(profile, result.readings, result.review, result.source), study,
            control);
        if (!pdf)
            return Fail("the pages could not be drawn");
        return WriteFileAtomically(path, std::string_view(pdf->constData(), pdf->size()));
    }
    case ReportFileKind::Json:
        return WriteFileAtomically(
            path, ExclusionReportJsonLines(profile, result.readings, result.review) +
                      (study ? StudyReportJsonLines(*study, control) : std::string()));
    case ReportFileKind::Csv:
        break;
    }
    return WriteFileAtomically(path, ExclusionReportCsv(profile, result.readings, result.review) +
                                         (study ? StudyReportCsv(*study, control) : std::string()));
}

} // namespace mirado
