#include "reviewui/ReviewTexts.h"

#include "platform/qtcore/UiText.h"
#include "review/ReviewEvent.h"

namespace mirado {

QString StatusText(ReadingStatus status) {
    static const char* const kTexts[kReadingStatusCount] = {
        QT_TRANSLATE_NOOP("Mirado", "Damaged"),
        QT_TRANSLATE_NOOP("Mirado", "Incomplete"),
        QT_TRANSLATE_NOOP("Mirado", "Training"),
        QT_TRANSLATE_NOOP("Mirado", "Acclimation"),
        QT_TRANSLATE_NOOP("Mirado", "Out of range"),
        QT_TRANSLATE_NOOP("Mirado", "Deviation"),
        QT_TRANSLATE_NOOP("Mirado", "Rejected"),
        QT_TRANSLATE_NOOP("Mirado", "Session rejected"),
        QT_TRANSLATE_NOOP("Mirado", "Accepted"),
    };
    return UiText(kTexts[static_cast<size_t>(status)]);
}

QString ReasonText(const std::string& reason) {
    for (const RejectReason& standard : kRejectReasons)
        if (reason == standard.key)
            return UiText(standard.label);
    return QString::fromStdString(reason);
}

QString ReviewReasonText(const ReadingReview& review) {
    QString text =
        review.manual ? ReasonText(review.reason) : QString::fromStdString(review.reason);
    if (!review.note.empty())
        text += (text.isEmpty() ? QString() : QStringLiteral(": ")) +
                QString::fromStdString(review.note);
    return text;
}

QString DecidedByText(bool manual) {
    return manual ? UiText("by hand") : UiText("by rule");
}

} // namespace mirado
