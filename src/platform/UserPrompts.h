#pragma once
// What the core asks of the user: message boxes. The GUI implements it with Qt's
// message boxes; tests script the answers and read back every box shown.

#include <string>

namespace mirado {

enum class MessageIcon { None, Information, Warning, Stop, Question };
// YesNoDefaultNo: Yes and No with No the default, for a question whose Yes cannot be
// taken back. ReloadOverwriteSaveAsCancel: the question about a file changed on disk since
// it was read; its buttons are "Reload", "Overwrite", "Save As..." and "Cancel".
enum class MessageButtons {
    Ok,
    OkCancel,
    YesNo,
    YesNoCancel,
    RetryCancel,
    YesNoDefaultNo,
    ReloadOverwriteSaveAsCancel
};
enum class MessageAnswer { Ok, Cancel, Yes, No, Retry, Reload, Overwrite, SaveAs };

// Caption used by boxes that name no command: the application's title.
inline constexpr const char* kApplicationTitle = "Mirado";

class IUserPrompts {
public:
    virtual ~IUserPrompts() = default;
    // Shows one modal message box; texts are UTF-8.
    virtual MessageAnswer ShowMessage(const std::string& text, const std::string& caption,
                                      MessageIcon icon, MessageButtons buttons) = 0;
    // One of the program's own message texts, or its format before the placeholders are
    // filled, in the language the boxes are shown in; the English text by default.
    virtual std::string Translated(const std::string& english) const { return english; }
};

} // namespace mirado
