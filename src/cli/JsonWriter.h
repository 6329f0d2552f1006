#pragma once
// CJsonWriter: builds one compact JSON text (no spaces, no line breaks), so that a record
// fits on one line of JSON Lines. Strings are taken as UTF-8; any byte sequence that is
// not valid UTF-8 is written as U+FFFD, so the output is valid JSON for any input bytes.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mirado {

class CJsonWriter {
public:
    CJsonWriter& BeginObject();
    CJsonWriter& EndObject();
    CJsonWriter& BeginArray();
    CJsonWriter& EndArray();
    CJsonWriter& Key(std::string_view utf8);
    CJsonWriter& String(std::string_view utf8);
    CJsonWriter& Int(int64_t value);
    CJsonWriter& Bool(bool value);
    CJsonWriter& Null();

    const std::string& Text() const { return text_; }

private:
    void BeforeValue();
    void Open(char bracket);
    void Close(char bracket);

    std::string text_;
    std::vector<bool> hasMember_; // per open object or array: a member was written
    bool afterKey_ = false;
};

// A JSON string literal (quotes included) for arbitrary bytes taken as UTF-8.
std::string JsonQuote(std::string_view utf8);

// Writes the key "path" with the path; a path that is not valid UTF-8 shows U+FFFD for
// each byte that is not, and the added key "path_bytes" holds its exact bytes in hex, so
// that two different paths never print the same.
void WritePath(CJsonWriter& json, std::string_view path);

} // namespace mirado
