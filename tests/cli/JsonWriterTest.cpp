#include "cli/JsonWriter.h"

#include <gtest/gtest.h>

namespace mirado {
namespace {

TEST(JsonWriter, NestsWithCommasInTheRightPlaces) {
    CJsonWriter json;
    json.BeginObject().Key("a").Int(-1).Key("b").BeginArray().Int(1).Null().Bool(true).EndArray();
    json.Key("c").BeginObject().EndObject().Key("d").BeginArray().EndArray().EndObject();
    EXPECT_EQ(json.Text(), R"({"a":-1,"b":[1,null,true],"c":{},"d":[]})");
}

TEST(JsonWriter, EscapesQuotesBackslashesAndControlCharacters) {
    EXPECT_EQ(JsonQuote("a\"b\\c"), R"("a\"b\\c")");
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

} // namespace
} // namespace mirado
