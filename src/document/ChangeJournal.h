#pragma once
// IChangeJournal: where changes to a recording's bytes are recorded (in the program, the
// review log of the recording's folder). The document's save, its revert to the original
// and the original copy's restore tell it the stored fields before and after and the
// digests of both byte sets; the journal decides where and how they are written.
//
// A journal that cannot record a change never undoes or fails the change: the bytes are
// already written, and the failure is shown as a warning (JournalChange).

#include "files/Result.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace mirado {

class IUserPrompts;

enum class RecordChangeKind { Save, Revert };

// One stored field by its name in data ("marker_s", "sbp_raw", "animal_no", ...): a
// number, or a text as UTF-8.
struct RecordField {
    std::string name;
    std::variant<int64_t, std::string> value;
    bool operator==(const RecordField&) const = default;
};
using RecordFields = std::vector<RecordField>;

// The fields a save or an edit may change, from a recording's bytes: marker_s, marker_m,
// marker_d, sbp_raw, mbp_raw, dbp_raw, valid (0 or 1), then animal_no, study_no, weight,
// sex_age, comment. None when the bytes are no recording.
RecordFields StoredFieldsOf(std::string_view bytes);

struct RecordChange {
    RecordChangeKind kind = RecordChangeKind::Save;
    std::string path;
    RecordFields before, after;
    std::string sha256Before; // empty when no file was there before
    std::string sha256After;
};

class IChangeJournal {
public:
    virtual ~IChangeJournal() = default;
    // Records the change; fails with the reason when it could not.
    virtual Result<void> Record(const RecordChange& change) = 0;
};

inline constexpr const char* kJournalCaption = "Review Log";
inline constexpr const char* kJournalFailedText =
    "The file was written, but the change could not be added to the review log: ";

// Records in journal (nothing happens when it is null) that the file at path went from
// the bytes before (null when there was no file) to after. A failure is shown through
// prompts as a warning with an OK button; the change itself stands.
void JournalChange(IChangeJournal* journal, IUserPrompts* prompts, RecordChangeKind kind,
                   const std::string& path, const std::vector<uint8_t>* before,
                   std::string_view after);

} // namespace mirado
