#include "cli/JsonWriter.h"

namespace mirado {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD"; // U+FFFD in UTF-8
constexpr unsigned char kFirstPrintable = 0x20;

// Length of the valid UTF-8 sequence starting at s[i], 0 when it is not valid
// (overlong forms, surrogates and code points above U+10FFFF included).
size_t ValidSequenceLength(std::string_view s, size_t i) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char b = byte(i);
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF; // allowed range of the second byte
    if (b < 0x80)
        return 1;
    if (b >= 0xC2 && b <= 0xDF) {
        length = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        length = 3;
        low = b == 0xE0 ? 0xA0 : 0x80;
        high = b == 0xED ? 0x9F : 0xBF;
    } else if (b >= 0xF0 && b <= 0xF4) {
        length = 4;
        low = b == 0xF0 ? 0x90 : 0x80;
        high = b == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (i + length > s.size() || byte(i + 1) < low || byte(i + 1) > high)
        return 0;
    for (size_t k = 2; k < length; ++k) {
        if (byte(i + k) < 0x80 || byte(i + k) > 0xBF)
            return 0;
    }
    return length;
}

bool IsValidUtf8(std::string_view s) {
    for (size_t i = 0; i < s.size();) {
        const size_t length = ValidSequenceLength(s, i);
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

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
        const size_t length = ValidSequenceLength(utf8, i);
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
    if (IsValidUtf8(path))
        return;
    static const char kHex[] = "0123456789abcdef";
    std::string hex;
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        hex += kHex[byte >> 4];
        hex += kHex[byte & 0x0F];
    }
    json.Key("path_bytes").String(hex);
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
