#include "voice/speech_text.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// Readings from a fixed table; anything else has none.
class TableReading : public ReadingService {
public:
    explicit TableReading(std::map<std::string, std::string> table) : table_(std::move(table)) {}
    std::string ReadingOf(const std::string& text) override {
        calls.push_back(text);
        auto found = table_.find(text);
        return found == table_.end() ? std::string() : found->second;
    }
    std::vector<std::string> calls;

private:
    std::map<std::string, std::string> table_;
};

TEST(NotationToOpenJTalkText, RemovesMarksAndKeepsTheFirstLineOnly) {
    struct Case { const char* notation; const char* expected; } cases[] = {
        {"おつかれさまでした。またがんば'ってね。", "おつかれさまでした。またがんばってね。"},
        {"また/がんば'ろお。", "またがんばろお。"},
        {"やったね、しんき'ろく。おめでとお。", "やったね、しんきろく。おめでとお。"},
        {"いちご/いち'え。。いちどきりの", "いちごいちえ。。いちどきりの"},
        {"いち'ご\nに'ぎょうめ", "いちご"},
        {"さ'くら\r\nつぎ", "さくら"},
        {"'/'", ""},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NotationToOpenJTalkText(c.notation), c.expected) << c.notation;
    }
}

TEST(MakeSpeechText, WritesTheTopicParticleBeforeAPauseAsSpoken) {
    TableReading reading({
        {"今日は、晴れ", "きょうは、はれ"},
        {"花は、春は、", "はなは、はるは、"},
        {"母は強い", "はははつよい"},
        {"母は、", "はは、"},  // no particle: "は、" is the end of the word
    });
    EXPECT_EQ(MakeSpeechText(reading, "今日は、晴れ"), "きょうわ、はれ");
    EXPECT_EQ(MakeSpeechText(reading, "花は、春は、"), "はなわ、はるわ、");
    EXPECT_EQ(MakeSpeechText(reading, "母は強い"), "はははつよい");
    // The rule is textual, as the game has always applied it.
    EXPECT_EQ(MakeSpeechText(reading, "母は、"), "はわ、");
    EXPECT_EQ(MakeSpeechText(reading, "読めない"), "");
}

TEST(InsertReadingAfterLine, InsertsTheCaretLinesReadingDirectlyAfterIt) {
    TableReading reading({{"一期一会", "いちごいちえ"}, {"花鳥風月", "かちょうふうげつ"}});
    using Lines = std::vector<std::string>;
    struct Case {
        const char* what;
        Lines before;
        int caret;
        bool inserted;
        Lines after;
    } cases[] = {
        {"middle line", {"一期一会", "意味", "x"}, 0, true, {"一期一会", "いちごいちえ", "意味", "x"}},
        {"last line appends", {"x", "花鳥風月"}, 1, true, {"x", "花鳥風月", "かちょうふうげつ"}},
        {"empty line", {"一期一会", ""}, 1, false, {"一期一会", ""}},
        {"no reading", {"読めない"}, 0, false, {"読めない"}},
        {"caret past the end", {"一期一会"}, 1, false, {"一期一会"}},
        {"caret before the start", {"一期一会"}, -1, false, {"一期一会"}},
        {"no lines", {}, 0, false, {}},
    };
    for (auto& c : cases) {
        Lines lines = c.before;
        EXPECT_EQ(InsertReadingAfterLine(lines, c.caret, reading), c.inserted) << c.what;
        EXPECT_EQ(lines, c.after) << c.what;
    }
    // An empty line is never handed to the reading service.
    for (const std::string& asked : reading.calls) EXPECT_FALSE(asked.empty());
}

TEST(KatakanaToHiragana, ConvertsKatakanaOnly) {
    EXPECT_EQ(KatakanaToHiragana("キョウハ、ハレ。"), "きょうは、はれ。");
    EXPECT_EQ(KatakanaToHiragana("ヴァイオリン・ヶ月ー"), "ゔぁいおりん・ゖ月ー");
    EXPECT_EQ(KatakanaToHiragana("漢字かなABCｱ"), "漢字かなABCｱ");
    // Bytes that are not UTF-8 stay as they are, and what follows them is still converted.
    EXPECT_EQ(KatakanaToHiragana("\xE3\x82ア\xFFカ\xE3"), "\xE3\x82あ\xFFか\xE3");
}

}  // namespace
