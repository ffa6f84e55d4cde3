// Our notation read as written, and the full-context labels made from it.
#include <gtest/gtest.h>

#include <numeric>

#include "game/question_table.h"
#include "game/tform1.h"
#include "voice/full_context_labels.h"
#include "voice/notation.h"
#include "voice/notation_synthesizer.h"

namespace {

std::string Join(const std::vector<std::string>& v) {
    std::string out;
    for (const std::string& s : v) out += (out.empty() ? "" : " ") + s;
    return out;
}

std::string PhonemesOfNotation(const std::string& utf8) {
    std::optional<SpokenText> t = ParseNotation(utf8);
    return t ? Join(PhonemesOf(*t)) : "<not notation>";
}

// The phonemes of the labels between the outer silences, pauses included.
std::string LabelPhonemes(const std::vector<std::string>& labels) {
    std::vector<std::string> out;
    for (size_t i = 1; i + 1 < labels.size(); ++i) out.push_back(ReadLabel(labels[i]).phoneme);
    return Join(out);
}

std::string FieldOf(const std::string& label, const char* from, const char* to) {
    size_t a = label.find(from), b = label.find(to);
    return a == std::string::npos || b == std::string::npos ? std::string() : label.substr(a, b - a);
}

// Mora count and accent type of each accent phrase as the labels give them, in
// order. A phrase is the run of labels with the same F and I fields (they hold
// its place in its breath group and the group's place in the utterance).
std::vector<std::pair<int, int>> LabelPhrases(const std::vector<std::string>& labels) {
    std::vector<std::pair<int, int>> out;
    std::string previous;
    for (const std::string& l : labels) {
        LabelFields f = ReadLabel(l);
        if (f.accentPhraseMorae == "xx") {
            previous.clear();
            continue;
        }
        std::string key = FieldOf(l, "/F:", "/G:") + FieldOf(l, "/I:", "/J:");
        if (key != previous) out.push_back({std::stoi(f.accentPhraseMorae), std::stoi(f.accentType)});
        previous = key;
    }
    return out;
}

// An independent count of the notation's marks: for each "/"-phrase, the number
// of kana (small ゃゅょぁぃぅぇぉ join the one before) up to its first mark that
// has a mora before it, 0 when there is none; and its mora count.
std::vector<std::pair<int, int>> MarkedPhrases(const std::string& utf8) {
    std::vector<std::pair<int, int>> out;
    int morae = 0, accent = 0;
    static const std::string small[] = {"ゃ", "ゅ", "ょ", "ぁ", "ぃ", "ぅ", "ぇ", "ぉ"};
    auto close = [&] {
        if (morae > 0) out.push_back({morae, accent == 0 ? morae : accent});
        morae = accent = 0;
    };
    for (size_t i = 0; i < utf8.size();) {
        if (utf8[i] == '\'') {
            if (morae > 0 && accent == 0) accent = morae;
            ++i;
        } else if (utf8[i] == '/') {
            close();
            ++i;
        } else {
            std::string ch = utf8.substr(i, 3);
            i += 3;
            if (ch == "、" || ch == "。") {
                close();
            } else if (std::find(std::begin(small), std::end(small), ch) == std::end(small)) {
                ++morae;
            }
        }
    }
    close();
    return out;
}

TEST(Notation, EveryKanaIsSaidAsWritten) {
    struct Case { const char* text; const char* phonemes; } cases[] = {
        // は and へ are kana, never particles; small ょ joins the kana before it.
        {"はがんいっしょお", "h a g a N i cl sh o o"},
        {"にりつはいはん", "n i r i ts U h a i h a N"},
        {"はくがくたさい", "h a k u g a k U t a s a i"},
        {"こおへいむし", "k o o h e i m u sh i"},
        {"きょきょじつじつ", "ky o ky o j i ts u j i ts u"},
        {"せんせんきょおきょお", "s e N s e N ky o o ky o o"},
        {"せいこおうどく", "s e i k o o u d o k u"},
        // Long vowels as spelled: う stays u, お stays o; ー holds the sound before.
        {"きうそおだい", "k i u s o o d a i"},
        {"らーめん", "r a a m e N"},
        {"ちぇっく", "ch e cl k u"},
        {"ふぁいと", "f a i t o"},
        {"ヴァイオリン", "v a i o r i N"},
        {"カタカナ", "k a t a k a n a"},
        {"をゐゑ", "o i e"},
        {"ぢづ", "j i z u"},
    };
    for (const Case& c : cases) EXPECT_EQ(PhonemesOfNotation(c.text), c.phonemes) << c.text;
}

TEST(Notation, VowelsBetweenVoicelessConsonantsAreWhispered) {
    struct Case { const char* text; const char* phonemes; } cases[] = {
        {"おつかれさまでした。", "o ts U k a r e s a m a d e sh I t a"},
        {"き'た", "k i t a"},            // never on the accent nucleus
        {"きた", "k I t a"},
        {"ききいっぱつ", "k I k i i cl p a ts u"},  // never twice in a row
        {"します。", "sh i m a s U"},      // ます before the stop
        {"します", "sh i m a s u"},        // ... but not without one
        {"です、はい", "d e s U h a i"},
        {"すし", "s u sh i"},              // s before sh keeps its vowel
        {"ひと", "h I t o"},
        {"ふく。", "f U k u"},             // nothing voiceless after the last ku
        {"くつ/した", "k U ts u sh I t a"},  // across a phrase boundary too
    };
    for (const Case& c : cases) EXPECT_EQ(PhonemesOfNotation(c.text), c.phonemes) << c.text;
}

TEST(Notation, MarksSetTheAccentOfTheirPhrase) {
    struct Case { const char* text; std::vector<std::pair<int, int>> phrases; } cases[] = {
        {"さ'くら。", {{3, 1}}},
        {"さくら。", {{3, 0}}},
        {"いちご/いち'え。", {{3, 0}, {3, 2}}},
        {"きょ'そ", {{2, 1}}},  // a joined kana is one mora
        // A mark with nothing before it in its phrase carries no accent: the
        // table's first row is one phrase with its nucleus on そ.
        {"'きょそ'しんたい。", {{6, 2}}},
        {"'さくら", {{3, 0}}},
        {"い'ち/'に", {{2, 1}, {1, 0}}},
        // Only the first mark after a mora counts.
        {"あ'い'う", {{3, 1}}},
        // Pauses end a phrase as "/" does; empty phrases vanish.
        {"やったね、しんき'ろく。おめでとお。", {{4, 0}, {5, 3}, {5, 0}}},
        {"//あ、、。。い'/", {{1, 0}, {1, 1}}},
    };
    for (const Case& c : cases) {
        std::optional<SpokenText> t = ParseNotation(c.text);
        ASSERT_TRUE(t) << c.text;
        std::vector<std::pair<int, int>> got;
        for (const SpokenBreathGroup& g : t->groups)
            for (const SpokenPhrase& p : g.phrases) got.push_back({int(p.morae.size()), p.accent});
        EXPECT_EQ(got, c.phrases) << c.text;
    }
}

TEST(Notation, TextOutsideTheNotationIsLeftForTheAnalyser) {
    EXPECT_TRUE(IsNotation("いちご/いち'え。。いっしょおに"));
    EXPECT_TRUE(IsNotation("カタカナー、 　"));
    // Malformed UTF-8 is not notation either: an overlong "'" or "/" and a cut kana.
    for (const char* other : {"一期一会", "あいう1", "abc", "あ？", "\xE3\x81", "あ\xC0\xA7い", "あ\xC0\xAFい",
                              "\xE0\x83\x81"})
        EXPECT_FALSE(IsNotation(other)) << other;
    EXPECT_FALSE(ParseNotation("一期一会"));
    EXPECT_TRUE(ParseNotation("'/、。")->empty());

    using Runs = std::vector<std::pair<bool, std::string>>;
    EXPECT_EQ(SplitIntoRuns("いちご/いち'え。。いっしょおに。"),
              (Runs{{true, "いちご/いち'え。いっしょおに。"}}));
    EXPECT_EQ(SplitIntoRuns("いちにさんし。数の並び、一から四まで"),
              (Runs{{true, "いちにさんし。"}, {false, "数の並び、一から四まで。"}}));
    EXPECT_EQ(SplitIntoRuns("あ。漢字。い。"), (Runs{{true, "あ。"}, {false, "漢字。"}, {true, "い。"}}));
    EXPECT_EQ(SplitIntoRuns("。'。 。"), Runs{});
}

TEST(FullContextLabels, ShapeOfATwoGroupUtterance) {
    std::vector<std::string> l = FullContextLabels(*ParseNotation("さ'く/ら、あ。"));
    ASSERT_EQ(l.size(), 10u);  // sil s a k u r a pau a sil
    EXPECT_EQ(LabelPhonemes(l), "s a k u r a pau a");
    // The opening silence looks ahead to the first phrase and breath group.
    EXPECT_EQ(l[0],
              "xx^xx-sil+s=a/A:xx+xx+xx/B:xx-xx_xx/C:xx_xx+xx/D:02+xx_xx/E:xx_xx!xx_xx-xx"
              "/F:xx_xx#xx_xx@xx_xx|xx_xx/G:2_1%0_xx_xx/H:xx_xx/I:xx-xx@xx+xx&xx-xx|xx+xx/J:2_3/K:2+3-4");
    // "k": second mora of さ'く (accent 1), first phrase of two in the first group.
    EXPECT_EQ(l[3],
              "s^a-k+u=r/A:1+2+1/B:xx-xx_xx/C:02_xx+xx/D:02+xx_xx/E:xx_xx!xx_xx-xx"
              "/F:2_1#0_xx@1_2|1_3/G:1_1%0_xx_1/H:xx_xx/I:2-3@1+2&1-3|1+4/J:1_1/K:2+3-4");
    // "r" of the flat phrase ら: its accent is written as its mora count; a pause follows it.
    EXPECT_EQ(l[5],
              "k^u-r+a=pau/A:0+1+1/B:02-xx_xx/C:02_xx+xx/D:02+xx_xx/E:2_1!0_xx-1"
              "/F:1_1#0_xx@2_1|3_1/G:1_1%0_xx_0/H:xx_xx/I:2-3@1+2&1-3|1+4/J:1_1/K:2+3-4");
    EXPECT_EQ(l[8],
              "a^pau-a+sil=xx/A:0+1+1/B:02-xx_xx/C:02_xx+xx/D:xx+xx_xx/E:1_1!0_xx-0"
              "/F:1_1#0_xx@1_1|1_1/G:xx_xx%xx_xx_xx/H:2_3/I:1-1@2+1&3-1|4+1/J:xx_xx/K:2+3-4");
    EXPECT_EQ(ReadLabel(l[7]).phoneme, "pau");
    EXPECT_EQ(WithoutWordFields(l[7]),
              "r^a-pau+a=sil/A:xx+xx+xx/E:1_1!0_xx-xx/F:xx_xx#xx_xx@xx_xx|xx_xx/G:1_1%0_xx_xx"
              "/H:2_3/I:xx-xx@xx+xx&xx-xx|xx+xx/J:1_1/K:2+3-4");
    EXPECT_TRUE(FullContextLabels(SpokenText{}).empty());
}

// The built-in table: every idiom's labels say its reading, with the notation's
// long-vowel spelling, and every phrase carries the accent its mark gives.
TEST(FullContextLabels, EveryIdiomOfTheTableSaysItsReadingWithItsMarks) {
    std::vector<BuiltInQuestion> rows = ParseQuestionTable(kBuiltInQuestionTable);
    ASSERT_EQ(rows.size(), 170u);
    for (size_t q = 0; q < rows.size(); ++q) {
        SCOPED_TRACE("row " + std::to_string(q) + " " + rows[q].jukugo + " " + rows[q].speech);
        std::vector<std::string> labels = FullContextLabels(*ParseNotation(rows[q].speech));
        // Reading and labels, both without devoicing; where the reading writes
        // an o followed by う, the notation may say the long o.
        std::string said = LabelPhonemes(labels), read = PhonemesOfNotation(rows[q].yomi);
        for (auto* s : {&said, &read})
            for (char& c : *s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        ASSERT_EQ(std::count(said.begin(), said.end(), ' '), std::count(read.begin(), read.end(), ' '));
        for (size_t i = 0; i < said.size(); ++i) {
            if (said[i] == read[i]) continue;
            bool longO = said[i] == 'o' && read[i] == 'u' && i >= 2 && read[i - 2] == 'o';
            EXPECT_TRUE(longO) << said << " / " << read;
        }
        EXPECT_EQ(LabelPhrases(labels), MarkedPhrases(rows[q].speech));
    }
}

TEST(FullContextLabels, FixedPhrasesSayWhatTheyAreWritten) {
    struct Case { const char* text; const char* phonemes; std::vector<std::pair<int, int>> phrases; } cases[] = {
        {"おつかれさまでした。またがんば'ってね。", "o ts U k a r e s a m a d e sh I t a pau m a t a g a N b a cl t e n e",
         {{9, 9}, {8, 5}}},
        {"おつかれさまでした。また/がんば'ろお。", "o ts U k a r e s a m a d e sh I t a pau m a t a g a N b a r o o",
         {{9, 9}, {2, 2}, {5, 3}}},
        {"やったね、しんき'ろく。おめでとお。", "y a cl t a n e pau sh i N k i r o k u pau o m e d e t o o",
         {{4, 4}, {5, 3}, {5, 5}}},
        {"やったね。おめでとお。", "y a cl t a n e pau o m e d e t o o", {{4, 4}, {5, 5}}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> labels = FullContextLabels(*ParseNotation(c.text));
        EXPECT_EQ(LabelPhonemes(labels), c.phonemes) << c.text;
        EXPECT_EQ(LabelPhrases(labels), c.phrases) << c.text;
        EXPECT_EQ(LabelPhrases(labels), MarkedPhrases(c.text)) << c.text;
    }
    // They are the game's own texts.
    EXPECT_EQ(std::string(SpeechText::Otsukare) + kVoices[0].farewell, cases[0].text);
    EXPECT_EQ(std::string(SpeechText::Otsukare) + kVoices[1].farewell, cases[1].text);
    EXPECT_EQ(std::string(SpeechText::NewRecord), cases[2].text);
    EXPECT_EQ(std::string(SpeechText::WellDone), cases[3].text);
}

// Every built-in answer (idiom, stop, reviewed meaning) is said from the
// notation alone: nothing goes to the text analyser, and the labels say the
// meaning's reviewed text.
TEST(FullContextLabels, EveryMeaningIsSaidFromItsReviewedText) {
    std::vector<BuiltInQuestion> rows = ParseQuestionTable(kBuiltInQuestionTable);
    ASSERT_EQ(rows.size(), 170u);
    NotationSynthesizer synth("/nonexistent/open_jtalk", "/nonexistent", std::chrono::milliseconds(100));
    std::atomic<bool> cancel{false};
    for (size_t q = 0; q < rows.size(); ++q) {
        SCOPED_TRACE("row " + std::to_string(q) + " " + rows[q].meaningSpeech);
        ASSERT_TRUE(IsNotation(rows[q].meaningSpeech));
        std::vector<LabelRun> runs = synth.Labels("", rows[q].speech + "。" + rows[q].meaningSpeech, cancel);
        ASSERT_EQ(runs.size(), 1u);
        EXPECT_FALSE(runs[0].analysed);
        std::vector<std::string> meaning = FullContextLabels(*ParseNotation(rows[q].meaningSpeech));
        std::vector<std::string> idiom = FullContextLabels(*ParseNotation(rows[q].speech));
        EXPECT_EQ(LabelPhonemes(runs[0].labels), LabelPhonemes(idiom) + " pau " + LabelPhonemes(meaning));
        std::string reviewed = PhonemesOfNotation(rows[q].meaningSpeech);
        std::string labelled = LabelPhonemes(meaning);
        std::string withoutPauses;
        for (size_t at = 0; at < labelled.size();) {
            size_t end = labelled.find(' ', at);
            std::string ph = labelled.substr(at, end == std::string::npos ? std::string::npos : end - at);
            if (ph != "pau") withoutPauses += (withoutPauses.empty() ? "" : " ") + ph;
            at = end == std::string::npos ? labelled.size() : end + 1;
        }
        EXPECT_EQ(withoutPauses, reviewed);
        EXPECT_EQ(LabelPhrases(meaning), MarkedPhrases(rows[q].meaningSpeech));
    }
}

}  // namespace
