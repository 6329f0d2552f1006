#pragma once
// What the review asks of the user when a reading is rejected: the reason, picked from the
// standard reasons (their log keys), with a note for "other". The window shows a small
// modal list; tests script the answers.

#include <optional>
#include <string>

namespace mirado {

struct ReasonChoice {
    std::string reason; // the reason's key in the review log ("movement", "other", ...)
    std::string note;   // free text, for "other"; may be empty
};

class IReasonPicker {
public:
    virtual ~IReasonPicker() = default;
    // Shows the reasons with preselected (a key, or empty) chosen first; nothing when the
    // user cancelled.
    virtual std::optional<ReasonChoice> PickReason(const std::string& preselected) = 0;
};

} // namespace mirado
