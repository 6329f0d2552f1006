#pragma once
// Message boxes as lines of text, for runs without a window (the batch tool, the
// program's screenshot mode): each box becomes one line "PREFIX: CAPTION: TEXT" on the
// given stream and is answered at once.

#include "platform/UserPrompts.h"

#include <iosfwd>
#include <string>
#include <string_view>

namespace mirado {

class CConsolePrompts : public IUserPrompts {
public:
    // Questions (Yes/No, Yes/No/Cancel) take questionAnswer; Retry/Cancel and the question
    // about a changed file take Cancel; every other box takes Ok.
    CConsolePrompts(std::ostream& stream, std::string prefix, MessageAnswer questionAnswer);

    MessageAnswer ShowMessage(const std::string& text, const std::string& caption, MessageIcon,
                              MessageButtons buttons) override;

private:
    std::ostream& stream_;
    std::string prefix_;
    MessageAnswer questionAnswer_;
};

// The text with every control character written as an escape (\n, \r, \t or \xHH), so
// that a message naming any path stays on one line.
std::string SingleLine(std::string_view text);

} // namespace mirado
