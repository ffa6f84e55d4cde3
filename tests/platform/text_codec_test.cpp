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

// The program's one UTF-8 reader: code points with their offsets, and every kind
// of malformed sequence read as U+FFFD of one byte, so a label never shows a
// character that the bytes only pretend to hold.
TEST(TextCodec, DecodesUtf8WithOffsetsAndReadsMalformedBytesAsReplacements) {
    const Utf8CodePoints d = DecodeUtf8("aé一𩸽");
    EXPECT_EQ(d.codePoints, (std::vector<char32_t>{U'a', U'é', U'一', U'𩸽'}));
    EXPECT_EQ(d.offsets, (std::vector<std::size_t>{0, 1, 3, 6, 10}));

    struct Case {
        const char* what;
        std::string bytes;
    };
    const Case malformed[] = {
        {"overlong '/'", "\xC0\xAF"},
        {"overlong 3-byte", "\xE0\x80\xAF"},
        {"surrogate", "\xED\xA0\x80"},
        {"above U+10FFFF", "\xF4\x90\x80\x80"},
        {"stray continuation", "\x80"},
        {"cut short", "\xE4\xB8"},
        {"lead without continuation", "\xE4\x41\x42"},
    };
    for (const Case& c : malformed) {
        SCOPED_TRACE(c.what);
        const Utf8CodePoints m = DecodeUtf8(c.bytes);
        ASSERT_EQ(m.offsets.size(), m.codePoints.size() + 1);
        EXPECT_EQ(m.offsets.back(), c.bytes.size());
        EXPECT_EQ(m.codePoints.front(), U'\uFFFD');
        for (std::size_t i = 0; i < m.codePoints.size(); ++i) {
            if (m.codePoints[i] == U'\uFFFD') EXPECT_EQ(m.offsets[i + 1] - m.offsets[i], 1u) << i;
        }
        EXPECT_FALSE(IsValidUtf8(c.bytes));
        EXPECT_EQ(DecodeUtf8At(c.bytes, 0).codePoint, -1);
    }
    EXPECT_EQ(DecodeUtf8("\xE4\x41\x42").codePoints, (std::vector<char32_t>{U'\uFFFD', U'A', U'B'}));

    // Writing code points back gives the same bytes, 4-byte ones included.
    std::string back;
    for (char32_t c : d.codePoints) AppendUtf8(back, c);
    EXPECT_EQ(back, "aé一𩸽");
}

TEST(TextCodec, SplitsRowsAtTabs) {
    using Fields = std::vector<std::string_view>;
    EXPECT_EQ(SplitAtTabs("一期一会\tいちごいちえ\t\t"), (Fields{"一期一会", "いちごいちえ", "", ""}));
    EXPECT_EQ(SplitAtTabs("no tab"), (Fields{"no tab"}));
    EXPECT_EQ(SplitAtTabs(""), (Fields{""}));
}

}  // namespace
