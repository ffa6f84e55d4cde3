#include "platform/text_codec.h"

#include <gtest/gtest.h>

namespace {

TEST(TextCodec, RoundTripsCharactersShiftJisAloneWouldLose) {
    // 々 (repetition mark), ① (NEC row 13), 髙 (IBM extension), U+3000, ～ and － (the
    // code page 932 mappings of 0x8160 and 0x817C, not the JIS ones).
    struct Case { const char* utf8; std::string cp932; };
    const Case cases[] = {
        {"々", "\x81\x58"},
        {"①", "\x87\x40"},
        {"髙", "\xFB\xFC"},
        {"\u3000", "\x81\x40"},
        {"～", "\x81\x60"},
        {"－", "\x81\x7C"},
        {"きょそしんたい。", "\x82\xAB\x82\xE5\x82\xBB\x82\xB5\x82\xF1\x82\xBD\x82\xA2\x81\x42"},
        {"ABC 123", "ABC 123"},
        {"", ""},
    };
    for (const Case& c : cases) {
        const auto encoded = Utf8ToCp932(c.utf8);
        ASSERT_TRUE(encoded) << c.utf8;
        EXPECT_EQ(*encoded, c.cp932) << c.utf8;
        const auto decoded = Cp932ToUtf8(*encoded);
        ASSERT_TRUE(decoded) << c.utf8;
        EXPECT_EQ(*decoded, c.utf8);
    }
}

TEST(TextCodec, ReportsFailureInsteadOfGarbage) {
    // Undecodable code page 932: a lead byte cut off at the end, a lead byte followed by
    // a byte that cannot trail, an unassigned single byte.
    for (const std::string& bad : {std::string("\x82"), std::string("abc\x82"), std::string("\x82\x20"),
                                  std::string("\xA0")}) {
        EXPECT_FALSE(Cp932ToUtf8(bad)) << testing::PrintToString(bad);
    }
    // Malformed UTF-8, and a character code page 932 has no code for.
    for (const std::string& bad : {std::string("\xE3\x81"), std::string("\xC0\xAF"),
                                  std::string("\xED\xA0\x80"), std::string("😀"), std::string("한")}) {
        EXPECT_FALSE(Utf8ToCp932(bad)) << testing::PrintToString(bad);
    }
    EXPECT_EQ(Utf8ToCp932Lossy("あ😀い"), "\x82\xA0?\x82\xA2");
}

TEST(TextCodec, CountsUtf16UnitsAndSplitsCharacters) {
    EXPECT_EQ(Utf16Length(""), 0u);
    EXPECT_EQ(Utf16Length("温故知新"), 4u);
    EXPECT_EQ(Utf16Length("\u3000故知新"), 4u);
    EXPECT_EQ(Utf16Length("𠮟る"), 3u);  // a character above U+FFFF takes two units
    EXPECT_EQ(Utf16Length("a\xFF" "b"), 3u);

    EXPECT_EQ(SplitUtf8Characters("虎視眈々"), (std::vector<std::string>{"虎", "視", "眈", "々"}));
    EXPECT_EQ(SplitUtf8Characters("a𠮟\xFF"), (std::vector<std::string>{"a", "𠮟", "\xFF"}));

    EXPECT_EQ(Utf16UnitCharacter("一期一会", 3), "会");
    EXPECT_EQ(Utf16UnitCharacter("𠮟咤激励", 1), "𠮟");
    EXPECT_EQ(Utf16UnitCharacter("𠮟咤激励", 2), "咤");
    EXPECT_EQ(Utf16UnitCharacter("一期一会", 4), "");
    EXPECT_EQ(Utf16UnitCharacter("一期一会", -1), "");
}

}  // namespace
