#include "records/TextEncoding.h"

#include <gtest/gtest.h>

namespace mirado {
namespace {

TEST(TextEncoding, RoundTripsJapaneseAndAscii) {
    const std::string utf8 = "ラット A-01 日本語ﾃｽﾄ";
    const std::optional<std::string> cp932 = Utf8ToCp932(utf8);
    ASSERT_TRUE(cp932);
    EXPECT_EQ(cp932->substr(0, 6), "\x83\x89\x83\x62\x83\x67");
    EXPECT_EQ(Cp932ToUtf8(*cp932), utf8);
    EXPECT_EQ(Cp932ByteLength(utf8), 6u + 6u + 6u + 3u);
}

TEST(TextEncoding, UnconvertibleBytesBecomeReplacementCharacters) {
    EXPECT_EQ(Cp932ToUtf8("a\x80"
                          "b"),
              "a\xEF\xBF\xBD"
              "b");
    EXPECT_EQ(Cp932ToUtf8("ab\x93"), "ab\xEF\xBF\xBD"); // lead byte without its trail byte
    EXPECT_EQ(Cp932ToUtf8(std::string("\0x", 2)), std::string("\0x", 2));
    EXPECT_EQ(Cp932ToUtf8(""), "");
}

TEST(TextEncoding, TellsWhetherATextFitsTheCodePage) {
    EXPECT_TRUE(CanConvertToCp932("Maus ①"));
    EXPECT_FALSE(CanConvertToCp932("€uro"));
    EXPECT_FALSE(CanConvertToCp932("\xFF bad utf-8"));
    EXPECT_FALSE(Cp932ByteLength("😀"));
    EXPECT_EQ(Cp932ByteLength(""), 0u);
}

TEST(TextEncoding, ConvertsLongTexts) {
    std::string utf8;
    for (int i = 0; i < 500; ++i)
        utf8 += "あい";
    EXPECT_EQ(Cp932ByteLength(utf8), 2000u);
    EXPECT_EQ(Cp932ToUtf8(*Utf8ToCp932(utf8)), utf8);
}

} // namespace
} // namespace mirado
