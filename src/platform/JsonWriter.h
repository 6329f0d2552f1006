#pragma once
// CJsonWriter: builds one compact JSON text (no spaces, no line breaks), so that a record
// fits on one line of JSON Lines. Strings are taken as UTF-8; any byte sequence that is
// not valid UTF-8 is written as U+FFFD, so the output is valid JSON for any input bytes.
// The batch tool's JSON, the study summary's JSON Lines and the console messages all
// escape text through AppendEscaped.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mirado {

// How AppendEscaped writes a text.
enum class Escapes {
    // A JSON string's content: \" and \\, \n \r \t, every other control character as
    // \u00XX; each byte that is not valid UTF-8 becomes U+FFFD.
    JsonString,
    // The same, but every control character as \u00XX (\n is \u000a).
    JsonStringNumeric,
    // One line of a message: \n \r \t, every other control character and DEL as \xHH;
    // every other byte is kept as it is, valid UTF-8 or not.
    SingleLine,
};

// Appends the text to out, escaped as the given way asks.
void AppendEscaped(std::string& out, std::string_view text, Escapes escapes);

// The shortest decimal that reads back as the same double ("120", "0.1",
// "100.66666666666667"), as the JSON numbers and the summary's CSV write it.
std::string ShortestDecimal(double value);

class CJsonWriter {
public:
    // strings: JsonString or JsonStringNumeric, for keys and string values alike.
    explicit CJsonWriter(Escapes strings = Escapes::JsonString) : strings_(strings) {}

    CJsonWriter& BeginObject();
    CJsonWriter& EndObject();
    CJsonWriter& BeginArray();
    CJsonWriter& EndArray();
    CJsonWriter& Key(std::string_view utf8);
    CJsonWriter& String(std::string_view utf8);
    CJsonWriter& Int(int64_t value);
    // The shortest decimal of the value (ShortestDecimal); the value must be finite.
    CJsonWriter& Double(double value);
    CJsonWriter& Bool(bool value);
    CJsonWriter& Null();

    const std::string& Text() const { return text_; }

private:
    void BeforeValue();
    void Open(char bracket);
    void Close(char bracket);
    void AppendQuoted(std::string_view utf8);

    std::string text_;
    std::vector<bool> hasMember_; // per open object or array: a member was written
    bool afterKey_ = false;
    Escapes strings_;
};

// A JSON string literal (quotes included) for arbitrary bytes taken as UTF-8.
std::string JsonQuote(std::string_view utf8);

// Writes the key "path" with the path; a path that is not valid UTF-8 shows U+FFFD for
// each byte that is not, and the added key "path_bytes" holds its exact bytes in hex, so
// that two different paths never print the same.
void WritePath(CJsonWriter& json, std::string_view path);

} // namespace mirado
