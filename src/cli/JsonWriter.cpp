#include "cli/JsonWriter.h"

#include "records/TextEncoding.h"

namespace mirado {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD"; // U+FFFD in UTF-8
constexpr unsigned char kFirstPrintable = 0x20;

void AppendEscapedAscii(std::string& out, char c) {
    static const char kHex[] = "0123456789abcdef";
    switch (c) {
    case '"':
        out += "\\\"";
        return;
    case '\\':
        out += "\\\\";
        return;
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
    const auto u = static_cast<unsigned char>(c);
    if (u < kFirstPrintable) {
        out += "\\u00";
        out += kHex[u >> 4];
        out += kHex[u & 0x0F];
        return;
    }
    out += c;
}

} // namespace

std::string JsonQuote(std::string_view utf8) {
    std::string out = "\"";
    for (size_t i = 0; i < utf8.size();) {
        const size_t length = ValidUtf8SequenceLength(utf8, i);
        if (length == 0) {
            out += kReplacement;
            ++i;
        } else if (length == 1) {
            AppendEscapedAscii(out, utf8[i]);
            ++i;
        } else {
            out.append(utf8.substr(i, length));
            i += length;
        }
    }
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
    text_ += JsonQuote(utf8);
    text_ += ':';
    afterKey_ = true;
    return *this;
}

CJsonWriter& CJsonWriter::String(std::string_view utf8) {
    BeforeValue();
    text_ += JsonQuote(utf8);
    return *this;
}

CJsonWriter& CJsonWriter::Int(int64_t value) {
    BeforeValue();
    text_ += std::to_string(value);
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
