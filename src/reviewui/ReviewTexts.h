#pragma once
// The review's words as the window shows them: statuses, reasons and who decided.

#include "review/ReadingReview.h"

#include <QString>

namespace mirado {

QString StatusText(ReadingStatus status);
// A standard reason's label for its log key; any other text as it is.
QString ReasonText(const std::string& reason);
// The reading's reason with a manual decision's note after it.
QString ReviewReasonText(const ReadingReview& review);
// "by hand" or "by rule".
QString DecidedByText(bool manual);
// Prefix that marks a decision made by hand wherever a status is shown.
inline constexpr const char* kManualMark = "\u2022 ";

} // namespace mirado
