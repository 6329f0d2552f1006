#include "platform/JsonWriter.h"

#include "platform/Utf8.h"

#include <charconv>

namespace mirado {

namespace {

constexpr unsigned char kFirstPrintable = 0x20;
constexpr unsigned char kDelete = 0x7F;

bool IsJson(Escapes escapes) {
    return escapes != Escapes::SingleLine;
}

bool NeedsEscape(unsigned char byte, Escapes escapes) {
    if (byte < kFirstPrintable)
        return true;
    if (IsJson(escapes))
        return byte == '"' || byte == '\\';
    return byte == kDelete;
}

void AppendEscape(std::string& out, unsigned char byte, Escapes escapes) {
    static const char kHex[] = "0123456789abcdef";
    if (escapes != Escapes::JsonStringNumeric) {
        switch (byte) {
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
            break;
        }
    }
    if (byte == '"' || byte == '\\') {
        out += '\\';
        out += static_cast<char>(byte);
        return;
    }
    out += IsJson(escapes) ? "\\u00" : "\\x";
    out += kHex[byte >> 4];
    out += kHex[byte & 0x0F];
}

} // namespace

void AppendEscaped(std::string& out, std::string_view text, Escapes escapes) {
    for (size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const size_t length = IsJson(escapes) ? ValidUtf8SequenceLength(text, i) : 1;
        if (length == 0) {
            out += kUtf8Replacement;
            ++i;
        } else if (length == 1 && NeedsEscape(byte, escapes)) {
            AppendEscape(out, byte, escapes);
            ++i;
        } else {
            out.append(text.substr(i, length));
            i += length;
        }
    }
}

std::string ShortestDecimal(double value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string JsonQuote(std::string_view utf8) {
    std::string out = "\"";
    AppendEscaped(out, utf8, Escapes::JsonString);
    out += '"';
    return out;
}

void WritePath(CJsonWriter& json, std::string_view path) {
    json.Key("path").String(path);
    if (!IsValidUtf8(path))
        json.Key("path_bytes").String(HexBytes(path));
}

void CJsonWriter::BeforeValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!hasMember_.empty()) {
        if (hasMember_.back())
            text_ += ',';
        hasMember_.back() = true;
    }
}

void CJsonWriter::Open(char bracket) {
    BeforeValue();
    text_ += bracket;
    hasMember_.push_back(false);
}

void CJsonWriter::Close(char bracket) {
    text_ += bracket;
    if (!hasMember_.empty())
        hasMember_.pop_back();
}

void CJsonWriter::AppendQuoted(std::string_view utf8) {
    text_ += '"';
    AppendEscaped(text_, utf8, strings_);
    text_ += '"';
}

CJsonWriter& CJsonWriter::BeginObject() {
    Open('{');
    return *this;
}

CJsonWriter& CJsonWriter::EndObject() {
    Close('}');
    return *this;
}

CJsonWriter& CJsonWriter::BeginArray() {
    Open('[');
    return *this;
}

CJsonWriter& CJsonWriter::EndArray() {
    Close(']');
    return *this;
}

CJsonWriter& CJsonWriter::Key(std::string_view utf8) {
    BeforeValue();
    AppendQuoted(utf8);
    text_ += ':';
    afterKey_ = true;
    return *this;
}

CJsonWriter& CJsonWriter::String(std::string_view utf8) {
    BeforeValue();
    AppendQuoted(utf8);
    return *this;
}

CJsonWriter& CJsonWriter::Int(int64_t value) {
    BeforeValue();
    text_ += std::to_string(value);
    return *this;
}

CJsonWriter& CJsonWriter::Double(double value) {
    BeforeValue();
    text_ += ShortestDecimal(value);
    return *this;
}

CJsonWriter& CJsonWriter::Bool(bool value) {
    BeforeValue();
    text_ += value ? "true" : "false";
    return *this;
}

CJsonWriter& CJsonWriter::Null() {
    BeforeValue();
    text_ += "null";
    return *this;
}

} // namespace mirado
