#pragma once
// CReviewChangeJournal: records the changes to recordings in the review log of each
// recording's folder, as one edit, save or revert event naming the fields that changed
// (old and new values) and the bytes' digests before and after.

#include "document/ChangeJournal.h"
#include "review/ReviewEvent.h"

namespace mirado {

// The changed fields as a flat JSON object: numbers as numbers, texts as strings.
nlohmann::json RecordFieldsJson(const RecordFields& fields);

class CReviewChangeJournal : public IChangeJournal {
public:
    // Saves are recorded under saveAction: the viewer's are saves, the batch tool's edits.
    explicit CReviewChangeJournal(ReviewAction saveAction = ReviewAction::Save)
        : saveAction_(saveAction) {}

    Result<void> Record(const RecordChange& change) override;

private:
    ReviewAction saveAction_;
};

} // namespace mirado
