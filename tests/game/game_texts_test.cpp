// Filling the placeholders of the game's texts, and the texts built from them.
#include <gtest/gtest.h>

#include "game/data_files.h"
#include "game/game_texts.h"
#include "game/learning_log.h"

namespace {

TEST(GameTextsTest, FormatFillsEveryPlaceholderAndLeavesTheRestAsWritten) {
    struct Case {
        const char* pattern;
        const char* expected;
    };
    const Case cases[] = {
        {"{a}", "1"},
        {"{a}{a}", "11"},
        {"前{a}中{b}後", "前1中二後"},
        {"{b} と {a}", "二 と 1"},
        {"{unknown} stays", "{unknown} stays"},
        {"open { without close", "open { without close"},
        {"close } alone", "close } alone"},
        {"", ""},
        {"{}", "{}"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Format(c.pattern, {{"a", "1"}, {"b", "二"}}), c.expected) << c.pattern;
    // A value holding braces is not filled again.
    EXPECT_EQ(Format("{a}/{b}", {{"a", "{b}"}, {"b", "x"}}), "{b}/x");
}

TEST(GameTextsTest, LabelsAndLinesKeepTheirWording) {
    EXPECT_EQ(ScoreText(1200), "SCORE:001200");
    EXPECT_EQ(HighScoreText(15000), "HIGHSCORE:015000");
    EXPECT_EQ(StrokeRecordText(30), "最小打数:030");
    EXPECT_EQ(QuestionNumberText(12), "第12問");
    EXPECT_EQ(ScoreLostMessage(3), "[Shift]キーを押すと第21問から再開します。");
    EXPECT_EQ(SaveFailureLine({"Gakushu.tsv", "Rireki.tsv"}, WriteError::NoSpace),
              "Gakushu.tsv と Rireki.tsv を保存できませんでした（空き容量が足りません）。");
}

TEST(GameTextsTest, LearningFileProblemNamesTheFileAfterTheReason) {
    EXPECT_EQ(LearningFileProblem(LearningFileStatus::Unreadable, "Gakushu.tsv"),
              "学習記録のファイルを読めないため、記録していません。(Gakushu.tsv)");
    EXPECT_EQ(LearningFileProblem(LearningFileStatus::NotText, "Rireki.tsv"),
              "学習記録のファイルの形式が正しくないため、記録していません。(Rireki.tsv)");
    EXPECT_EQ(LearningFileProblem(LearningFileStatus::TooLarge, "Gakushu.tsv"),
              "学習記録のファイルが大きすぎるため、記録していません。(Gakushu.tsv)");
    EXPECT_TRUE(LearningFileProblem(LearningFileStatus::Ok, "Gakushu.tsv").empty());
    EXPECT_TRUE(LearningFileProblem(LearningFileStatus::Missing, "Gakushu.tsv").empty());
}

}  // namespace
