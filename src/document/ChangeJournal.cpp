#include "document/ChangeJournal.h"

#include "document/Sha256.h"
#include "platform/UserPrompts.h"
#include "records/AdData.h"
#include "records/TextEncoding.h"

namespace mirado {

RecordFields StoredFieldsOf(std::string_view bytes) {
    CAdData record;
    int modelCode = 0;
    if (!record
             .LoadFromBytes({}, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(),
                            modelCode, nullptr)
             .ok())
        return {};
    int16_t markers[3] = {0, 0, 0}, pressures[3] = {0, 0, 0};
    record.GetStoredMarkers(markers[0], markers[1], markers[2]);
    record.GetStoredPressures(pressures[0], pressures[1], pressures[2]);
    return {
        {"marker_s", markers[0]},
        {"marker_m", markers[1]},
        {"marker_d", markers[2]},
        {"sbp_raw", pressures[0]},
        {"mbp_raw", pressures[1]},
        {"dbp_raw", pressures[2]},
        {"valid", record.IsValid() ? 1 : 0},
        {"animal_no", Cp932ToUtf8(record.GetAnimalNo())},
        {"study_no", Cp932ToUtf8(record.GetStudyNo())},
        {"weight", Cp932ToUtf8(record.GetWeight())},
        {"sex_age", Cp932ToUtf8(record.GetSexAge())},
        {"comment", Cp932ToUtf8(record.GetComment())},
    };
}

void JournalChange(IChangeJournal* journal, IUserPrompts* prompts, RecordChangeKind kind,
                   const std::string& path, const std::vector<uint8_t>* before,
                   std::string_view after) {
    if (journal == nullptr)
        return;
    RecordChange change;
    change.kind = kind;
    change.path = path;
    if (before != nullptr) {
        const std::string_view bytes(reinterpret_cast<const char*>(before->data()), before->size());
        change.before = StoredFieldsOf(bytes);
        change.sha256Before = Sha256Hex(bytes);
    }
    change.after = StoredFieldsOf(after);
    change.sha256After = Sha256Hex(after);
    const Result<void> recorded = journal->Record(change);
    if (recorded.ok() || prompts == nullptr)
        return;
    prompts->ShowMessage(path + "\n" + prompts->Translated(kJournalFailedText) + recorded.error(),
                         kJournalCaption, MessageIcon::Warning, MessageButtons::Ok);
}

} // namespace mirado
