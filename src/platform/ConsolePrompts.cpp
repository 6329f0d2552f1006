#include "platform/ConsolePrompts.h"

#include "platform/JsonWriter.h"

#include <ostream>

namespace mirado {

std::string SingleLine(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    AppendEscaped(out, text, Escapes::SingleLine);
    return out;
}

CConsolePrompts::CConsolePrompts(std::ostream& stream, std::string prefix,
                                 MessageAnswer questionAnswer)
    : stream_(stream), prefix_(std::move(prefix)), questionAnswer_(questionAnswer) {}

MessageAnswer CConsolePrompts::ShowMessage(const std::string& text, const std::string& caption,
                                           MessageIcon, MessageButtons buttons) {
    stream_ << prefix_ << ": " << SingleLine(caption) << ": " << SingleLine(text) << "\n";
    switch (buttons) {
    case MessageButtons::YesNo:
    case MessageButtons::YesNoCancel:
        return questionAnswer_;
    case MessageButtons::YesNoDefaultNo:
        return MessageAnswer::No;
    case MessageButtons::RetryCancel:
    case MessageButtons::ReloadOverwriteSaveAsCancel:
        return MessageAnswer::Cancel;
    default:
        return MessageAnswer::Ok;
    }
}

} // namespace mirado
