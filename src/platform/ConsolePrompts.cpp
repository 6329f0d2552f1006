#include "platform/ConsolePrompts.h"

#include <ostream>

namespace mirado {

namespace {

constexpr unsigned char kFirstPrintable = 0x20;
constexpr unsigned char kDelete = 0x7F;

void AppendEscaped(std::string& out, unsigned char c) {
    static const char kHex[] = "0123456789abcdef";
    switch (c) {
    case '\n':
        out += "\\n";
        return;
    case '\r':
        out += "\\r";
        return;
    case '\t':
        out += "\\t";
        return;
    default:
        out += "\\x";
        out += kHex[c >> 4];
        out += kHex[c & 0x0F];
    }
}

} // namespace

std::string SingleLine(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < kFirstPrintable || byte == kDelete)
            AppendEscaped(out, byte);
        else
            out += c;
    }
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
