#pragma once
// The history of one recording: the events its folder's review log holds for it (its
// decisions, corrections, saves and reverts), oldest first, under its present status and
// who decided it (a hand or a rule). Lines the log could not read are named below.

#include "review/ReadingReview.h"

#include <QDialog>

#include <optional>
#include <string>

namespace mirado {

class CHistoryDialog : public QDialog {
    Q_OBJECT
public:
    // review: the reading's present review, when it is known.
    CHistoryDialog(const std::string& recordingPath, const std::optional<ReadingReview>& review,
                   QWidget* parent = nullptr);
};

} // namespace mirado
