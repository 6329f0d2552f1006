#pragma once
// What the core asks of the user: message boxes. The GUI implements it with Qt's
// message boxes; tests script the answers and read back every box shown.

#include <string>

namespace mirado {

enum class MessageIcon { None, Information, Warning, Stop, Question };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No, Retry };

// Caption used by boxes that name no command: the application's title.
inline constexpr const char* kApplicationTitle = "Mirado";

class IUserPrompts {
public:
    virtual ~IUserPrompts() = default;
    // Shows one modal message box; texts are UTF-8.
    virtual MessageAnswer ShowMessage(const std::string& text, const std::string& caption,
                                      MessageIcon icon, MessageButtons buttons) = 0;
};

} // namespace mirado
