#pragma once
// The modal dialogs the document runs: the ID dialog (identification texts of the
// current file) and the Parameters dialog (display settings). Only their runs are
// declared here; the GUI provides the dialogs, tests script them.

#include <string>

namespace mirado {

class CDisplaySettings;

// The five identification texts of a measurement file, UTF-8.
struct IdTexts {
    std::string animalNo;
    std::string exNo;
    std::string weight;
    std::string sexAge;
    std::string comment;
    bool operator==(const IdTexts&) const = default;
};

// How the line of the recording's date and time begins.
inline constexpr const char* kDateTimeLinePrefix = "DATE&TIME: ";

// Texts the ID dialog edits; dateTimeLine is shown only.
struct IdDialogFields : IdTexts {
    std::string dateTimeLine;
};

class IIdDialog {
public:
    virtual ~IIdDialog() = default;
    // Shows the fields for editing; true on OK with the edited texts in fields,
    // false on Cancel (fields are then to be ignored).
    virtual bool Run(IdDialogFields& fields) = 0;
};

class IParametersDialog {
public:
    virtual ~IParametersDialog() = default;
    // Runs the dialog on settings; on OK the dialog has stored and saved the new
    // values and returns true. Cancel returns false and leaves settings as they were.
    virtual bool Run(CDisplaySettings& settings) = 0;
};

} // namespace mirado
