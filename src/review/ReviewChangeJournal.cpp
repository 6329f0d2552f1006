#include "review/ReviewChangeJournal.h"

#include "review/ReviewLog.h"

namespace mirado {

nlohmann::json RecordFieldsJson(const RecordFields& fields) {
    nlohmann::json json = nlohmann::json::object();
    for (const RecordField& field : fields)
        std::visit([&](const auto& value) { json[field.name] = value; }, field.value);
    return json;
}

Result<void> CReviewChangeJournal::Record(const RecordChange& change) {
    const ReviewAction action =
        change.kind == RecordChangeKind::Revert ? ReviewAction::Revert : saveAction_;
    const ReviewEvent event = ChangedFieldsEvent(
        action, FileNameInFolder(change.path), change.sha256Before, change.sha256After,
        RecordFieldsJson(change.before), RecordFieldsJson(change.after));
    return AppendReviewEvent(ReviewLogPathFor(change.path), event);
}

} // namespace mirado
