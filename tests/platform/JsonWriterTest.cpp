#include "platform/JsonWriter.h"

#include <gtest/gtest.h>

namespace mirado {
namespace {

TEST(JsonWriter, NestsWithCommasInTheRightPlaces) {
    CJsonWriter json;
    json.BeginObject().Key("a").Int(-1).Key("b").BeginArray().Int(1).Null().Bool(true).EndArray();
    json.Key("c").BeginObject().EndObject().Key("d").BeginArray().Double(0.5).EndArray();
    json.EndObject();
    EXPECT_EQ(json.Text(), R"({"a":-1,"b":[1,null,true],"c":{},"d":[0.5]})");
}

TEST(JsonWriter, EscapesQuotesBackslashesAndControlCharacters) {
    EXPECT_EQ(JsonQuote("a\"b\\c/"), R"("a\"b\\c/")");
    EXPECT_EQ(JsonQuote(std::string("\n\r\t\x01\x1f\x7f", 6)), R"("\n\r\t\u0001\u001f)"
                                                               "\x7f\"");
    EXPECT_EQ(JsonQuote(std::string("a\0b", 3)), R"("a\u0000b")");
}

TEST(JsonWriter, KeepsValidUtf8AndReplacesEverythingElse) {
    EXPECT_EQ(JsonQuote("血圧表 ソ €𝄞"), "\"血圧表 ソ €𝄞\"");
    const std::string replacement = "\xEF\xBF\xBD";
    // CP932 bytes of 表 (second byte a backslash) are not UTF-8: each byte is replaced or
    // escaped, never passed through raw.
    EXPECT_EQ(JsonQuote("\x95\x5C"), "\"" + replacement + "\\\\\"");
    EXPECT_EQ(JsonQuote("\xC0\xAF"), "\"" + replacement + replacement + "\""); // overlong
    EXPECT_EQ(JsonQuote("\xED\xA0\x80"), "\"" + replacement + replacement + replacement + "\"");
    EXPECT_EQ(JsonQuote("\xF4\x90\x80\x80").size(), 2 + 4 * replacement.size()); // > U+10FFFF
    EXPECT_EQ(JsonQuote("\xE8\xA1"), "\"" + replacement + replacement + "\"");   // cut short
}

// The one escaper in its three spellings: JSON strings of the batch tool, the summary's
// JSON strings (numeric escapes only) and one-line messages.
struct EscapeRow {
    std::string text;
    std::string json;
    std::string jsonNumeric;
    std::string singleLine;
};

TEST(JsonWriter, EscapesEachWayAsItsReadersExpect) {
    const std::string fffd = "\xEF\xBF\xBD";
    const EscapeRow rows[] = {
        {"plain /é", "plain /é", "plain /é", "plain /é"},
        {"a\nb\rc\td", R"(a\nb\rc\td)", R"(a\u000ab\u000dc\u0009d)", R"(a\nb\rc\td)"},
        {"\x08\x0c\x1b", R"(\u0008\u000c\u001b)", R"(\u0008\u000c\u001b)", R"(\x08\x0c\x1b)"},
        {"\x7f", "\x7f", "\x7f", R"(\x7f)"},
        {"q\"b\\", R"(q\"b\\)", R"(q\"b\\)", "q\"b\\"},
        {"\xE3\x81"
         "a",
         fffd + fffd + "a", fffd + fffd + "a",
         "\xE3\x81"
         "a"},
        {std::string("\0", 1), R"(\u0000)", R"(\u0000)", R"(\x00)"},
    };
    for (const EscapeRow& row : rows) {
        SCOPED_TRACE(row.json);
        std::string json, numeric, line;
        AppendEscaped(json, row.text, Escapes::JsonString);
        AppendEscaped(numeric, row.text, Escapes::JsonStringNumeric);
        AppendEscaped(line, row.text, Escapes::SingleLine);
        EXPECT_EQ(json, row.json);
        EXPECT_EQ(numeric, row.jsonNumeric);
        EXPECT_EQ(line, row.singleLine);
    }
}

TEST(JsonWriter, NumericWriterEscapesKeysAndValuesAlike) {
    CJsonWriter json(Escapes::JsonStringNumeric);
    json.BeginObject().Key("k\n").String("v\t").EndObject();
    EXPECT_EQ(json.Text(), R"({"k\u000a":"v\u0009"})");
}

TEST(JsonWriter, DoublesAreTheShortestDecimalThatReadsBack) {
    const std::pair<double, const char*> rows[] = {
        {120.0, "120"}, {0.1, "0.1"},    {100.0 + 2.0 / 3.0, "100.66666666666667"},
        {-2.5, "-2.5"}, {1e21, "1e+21"},
    };
    for (const auto& [value, text] : rows) {
        EXPECT_EQ(ShortestDecimal(value), text);
        CJsonWriter json;
        EXPECT_EQ(json.Double(value).Text(), text);
    }
}

} // namespace
} // namespace mirado
