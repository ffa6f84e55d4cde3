// The pitch drawn over a card's reading: the Tokyo pattern of each phrase's
// mark, and for every built-in idiom the same highs and lows the voice's
// labels carry.
#include <gtest/gtest.h>

#include "game/progress.h"
#include "game/question_bank.h"
#include "platform/text_codec.h"
#include "voice/accent_pattern.h"
#include "voice/full_context_labels.h"
#include "voice/notation.h"

namespace {

std::string Kana(const std::vector<AccentPhrase>& phrases) {
    std::string out;
    for (const AccentPhrase& p : phrases) {
        if (!out.empty()) out += '|';
        for (const AccentMora& m : p.morae) out += m.kana + (&m == &p.morae.back() ? "" : ".");
    }
    return out;
}

TEST(AccentPatternTest, TokyoPatternOfEachMark) {
    const struct {
        const char* notation;
        const char* pattern;
        const char* kana;
    } cases[] = {
        {"ふわら'いどお。", "LHHLLL", "ふ.わ.ら.い.ど.お"},
        {"き'ど/あ'いらく。", "HL|HLLL", "き.ど|あ.い.ら.く"},
        {"ぜんちぜ'んのお。", "LHHHLLL", "ぜ.ん.ち.ぜ.ん.の.お"},  // ん is a mora of its own
        {"きうそおだい。", "LHHHHH", "き.う.そ.お.だ.い"},      // flat: no mark
        {"'きょそ'しんたい。", "LHLLLL", "きょ.そ.し.ん.た.い"},  // a mark before any mora counts for nothing
        {"い'っ'せき", "HLLL", "い.っ.せ.き"},                   // the first mark counts
        {"キョ'ーダイ", "HLLL", "きょ.ー.だ.い"},                 // katakana read as hiragana; ー a mora
        {"あめ'、ふる'", "LH|LH", "あ.め|ふ.る"},                 // a pause starts a new phrase
        {"", "", ""},
        {"漢字です", "", ""},  // not notation: nothing to draw
    };
    for (const auto& c : cases) {
        const std::vector<AccentPhrase> p = AccentPattern(c.notation);
        EXPECT_EQ(AccentString(p), c.pattern) << c.notation;
        EXPECT_EQ(Kana(p), c.kana) << c.notation;
    }
    // The drop comes after the nucleus; a flat phrase has none.
    const std::vector<AccentPhrase> kido = AccentPattern("き'ど/あ'いらく");
    ASSERT_EQ(kido.size(), 2u);
    EXPECT_EQ(kido[0].nucleus, 1);
    EXPECT_FALSE(kido[1].pauseBefore);
    EXPECT_TRUE(AccentPattern("あめ'、ふる'")[1].pauseBefore);
    EXPECT_EQ(AccentPattern("きうそおだい")[0].nucleus, 0);
}

TEST(AccentPatternTest, SpeltWithTheReadingWhenTheMoraeAgree) {
    const struct {
        const char* notation;
        const char* reading;
        const char* kana;
    } cases[] = {
        {"ふわら'いどお。", "ふわらいどう", "ふ.わ.ら.い.ど.う"},
        {"き'ど/あ'いらく。", "きどあいらく", "き.ど|あ.い.ら.く"},
        {"'きょそ'しんたい。", "きょそしんたい", "きょ.そ.し.ん.た.い"},
        {"ふわら'いどお。", "ふわらいど", "ふ.わ.ら.い.ど.お"},  // one mora short: the notation's own kana
    };
    for (const auto& c : cases)
        EXPECT_EQ(Kana(SpeltAsReading(AccentPattern(c.notation), c.reading)), c.kana) << c.notation;
}

// High or low of each mora as the labels say it: the mora's place in its phrase
// (A field) against the phrase's accent type (F field), in the Tokyo pattern. A
// flat phrase is labelled with its mora count as type, which gives the same.
std::string LabelAccentString(const std::vector<std::string>& labels) {
    std::string out, previousPhrase, previousMora;
    for (const std::string& l : labels) {
        const LabelFields f = ReadLabel(l);
        if (f.accentPhraseMorae == "xx") continue;
        const auto field = [&l](const char* from, const char* to) {
            const std::size_t a = l.find(from), b = l.find(to);
            return l.substr(a, b - a);
        };
        const std::string phrase = field("/F:", "/G:") + field("/I:", "/J:");
        const std::string mora = phrase + field("/A:", "/B:");
        if (mora == previousMora) continue;  // the mora's other phonemes
        if (!previousPhrase.empty() && phrase != previousPhrase) out += '|';
        const int m = std::stoi(f.moraInPhrase), type = std::stoi(f.accentType);
        out += (m == 1 ? type == 1 : m <= type) ? 'H' : 'L';
        previousPhrase = phrase;
        previousMora = mora;
    }
    return out;
}

TEST(AccentPatternTest, EveryBuiltInIdiomAsItsSpeechLabelsCarryIt) {
    const QuestionBank bank;
    int drawn = 0;
    for (int q = 0; q < kBuiltInQuestions; ++q) {
        const Question& question = bank.At(q);
        const std::string speech = Cp932ToUtf8(question.SpeakMoji).value_or("");
        const std::optional<SpokenText> spoken = ParseNotation(speech);
        ASSERT_TRUE(spoken) << question.Jukugo;
        const std::vector<AccentPhrase> card = AccentPattern(speech);
        EXPECT_EQ(AccentString(card), LabelAccentString(FullContextLabels(*spoken))) << question.Jukugo << " " << speech;
        drawn += !card.empty();
    }
    EXPECT_EQ(drawn, kBuiltInQuestions) << "every built-in idiom has a pitch to draw";
}

}  // namespace
