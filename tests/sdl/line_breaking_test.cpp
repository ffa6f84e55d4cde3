#include "platform/sdl/line_breaking.h"

#include <gtest/gtest.h>

namespace {

// Every character is 10 pixels wide.
float TenPerChar(std::string_view s) { return 10.0f * (DecodeUtf8(s).codePoints.size()); }

std::vector<std::string> Wrap(std::string_view text, float width) {
    return BreakIntoLines(text, true, width, TenPerChar);
}

}  // namespace

TEST(LineBreaking, BreaksJapaneseBetweenCharactersButNeverBeforeClosingMarks) {
    struct Case {
        const char* text;
        float width;
        std::vector<std::string> lines;
    } cases[] = {
        {"いろはにほへと", 30, {"いろは", "にほへ", "と"}},
        // The full stop would start line 2: the character before it goes along.
        {"今日は良い天気です。", 90, {"今日は良い天気で", "す。"}},
        {"あいうえおかっぱ", 60, {"あいうえお", "かっぱ"}},
        {"あいうえおキャット", 60, {"あいうえお", "キャット"}},
        {"ラーメン", 10, {"ラー", "メ", "ン"}},  // too narrow: the mark hangs rather than loops
        {"最後に」閉じ", 30, {"最後", "に」閉", "じ"}},
        // A Latin word stays whole; the long-vowel mark stays off the line start.
        {"[Shift]キーを押す", 80, {"[Shift]", "キーを押す"}},
        {"one two three", 70, {"one two", "three"}},
        {"あ「括弧」", 20, {"あ", "「括", "弧」"}},  // no line ends with an opening bracket
    };
    for (const Case& c : cases) EXPECT_EQ(Wrap(c.text, c.width), c.lines) << c.text << " at " << c.width;
}

TEST(LineBreaking, NoLineOfARealMessageStartsWithAForbiddenCharacterAtAnyWidth) {
    const std::string text =
        "前回の続きからゲームを始めますか？ はい…[Y]キー　いいえ…[N]キー。"
        "ちょっとした、ショートカットのキャッチ・フレーズ「ヨッシャ」！";
    for (float width = 20; width <= 300; width += 10) {
        std::vector<std::string> lines = Wrap(text, width);
        std::string joined;
        for (size_t i = 0; i < lines.size(); ++i) {
            joined += lines[i];
            ASSERT_FALSE(lines[i].empty()) << "width " << width;
            if (i > 0) {
                char32_t first = DecodeUtf8(lines[i]).codePoints.front();
                EXPECT_FALSE(MayNotStartLine(first)) << "line " << i << " \"" << lines[i] << "\" at " << width;
            }
            char32_t last = DecodeUtf8(lines[i]).codePoints.back();
            if (i + 1 < lines.size()) {
                EXPECT_FALSE(MayNotEndLine(last)) << lines[i] << " at " << width;
            }
        }
        // Nothing is lost except the one space the break swallowed.
        std::string withoutSpace = text;
        withoutSpace.erase(withoutSpace.find(' '), 1);
        EXPECT_TRUE(joined == text || joined == withoutSpace) << "width " << width;
    }
}

TEST(LineBreaking, LineEndsInTheTextAlwaysBreakAndWordWrapOffKeepsLongLines) {
    EXPECT_EQ(BreakIntoLines("[Esc]...終了\r\n[D]...最小化\r\n", false, 10, TenPerChar),
              (std::vector<std::string>{"[Esc]...終了", "[D]...最小化"}));
    EXPECT_EQ(BreakIntoLines("一\n\n二", true, 100, TenPerChar), (std::vector<std::string>{"一", "", "二"}));
}

TEST(LineBreaking, SmallKanaAndMarksAreForbiddenAtLineStart) {
    for (char32_t c : std::u32string(U"、。，．・ー」』）!?ぁっゃゅょァッャュョヵヶㇰ"))
        EXPECT_TRUE(MayNotStartLine(c)) << static_cast<uint32_t>(c);
    for (char32_t c : std::u32string(U"あカ四[A1「"))
        EXPECT_FALSE(MayNotStartLine(c)) << static_cast<uint32_t>(c);
}
