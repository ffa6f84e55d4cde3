// Gakushu.tsv and Rireki.tsv: round trip, columns and rows of other copies kept,
// bad files refused.
#include <gtest/gtest.h>

#include <filesystem>

#include "persistence/learning_file.h"
#include "tests/test_support/temp_folder.h"

namespace {

const char* const kHeader = "idiom\treading\tdealt\tright\tmissed\thints\tbox\tlast\tdue\tstreak\tfirstright\n";

TEST(LearningFileTest, RoundTripIsByteForByte) {
    TempFolder dir;
    LearningTable t;
    LearningRow a;
    a.idiom = "一石二鳥";
    a.reading = "いっせきにちょう";
    a.dealt = 3;
    a.right = 2;
    a.missed = 1;
    a.hints = 1;
    a.box = 2;
    a.last = "2026-12-10";
    a.due = "2026-12-13";
    a.streak = 2;
    a.firstRight = "2026-12-09";
    LearningRow b;
    b.idiom = "四面楚歌";
    b.reading = "しめんそか";
    b.dealt = 1;
    t.rows = {a, b};
    ASSERT_TRUE(WriteLearningFile(dir.File("Gakushu.tsv"), t));
    const std::string bytes = ReadBytes(dir.File("Gakushu.tsv"));
    EXPECT_EQ(bytes, std::string(kHeader) + "一石二鳥\tいっせきにちょう\t3\t2\t1\t1\t2\t2026-12-10\t2026-12-13\t2\t2026-12-09\n" +
                         "四面楚歌\tしめんそか\t1\t0\t0\t0\t0\t\t\t0\t\n");
    LearningLoad back = ReadLearningFile(dir.File("Gakushu.tsv"));
    ASSERT_EQ(back.status, LearningFileStatus::Ok);
    ASSERT_EQ(back.table.rows.size(), 2u);
    EXPECT_EQ(back.table.rows[0].due, "2026-12-13");
    EXPECT_EQ(back.table.rows[0].streak, 2);
    EXPECT_EQ(LearningText(back.table), bytes);
}

TEST(LearningFileTest, UnknownColumnsAndRowsOfOtherCopiesAreKept) {
    // A newer copy added a column; a row is for an idiom this copy has no more.
    const std::string text = std::string("idiom\treading\tdealt\tright\tmissed\thints\tbox\tlast\tdue\tstreak\tfirstright\tnote\n") +
                             "消えた熟語\tきえたじゅくご\t5\t1\t4\t0\t1\t2026-01-02\t2026-01-02\t0\t\tメモ\n";
    LearningTable t;
    ASSERT_EQ(ParseLearningText(text, t), LearningFileStatus::Ok);
    EXPECT_EQ(t.extraColumns, std::vector<std::string>{"note"});
    ASSERT_EQ(t.rows.size(), 1u);
    EXPECT_EQ(t.rows[0].extra, std::vector<std::string>{"メモ"});
    EXPECT_EQ(LearningText(t), text);

    // A file of a copy that knows only the nine first columns reads too.
    LearningTable nine;
    ASSERT_EQ(ParseLearningText("idiom\treading\tdealt\tright\tmissed\thints\tbox\tlast\tdue\n"
                                "一期一会\tいちごいちえ\t1\t0\t1\t0\t1\t2026-01-02\t2026-01-02\n",
                                nine),
              LearningFileStatus::Ok);
    EXPECT_EQ(nine.rows.at(0).missed, 1);
    EXPECT_EQ(nine.rows.at(0).streak, 0);

    HistoryTable h;
    const std::string history = "when\tmode\tresult\tplayer\n2026-12-10 21:05\tscore\t24500\tA\n";
    ASSERT_EQ(ParseHistoryText(history, h), LearningFileStatus::Ok);
    EXPECT_EQ(h.rows.at(0).result, 24500);
    EXPECT_EQ(HistoryText(h), history);
}

TEST(LearningFileTest, BadTextIsRefused) {
    const struct {
        const char* name;
        std::string text;
    } cases[] = {
        {"empty", ""},
        {"other header", "jukugo\tyomi\n"},
        {"not UTF-8", std::string(kHeader) + "\x88\xea\t\x82\xa0\t1\t0\t0\t0\t0\t\t\t0\n"},
        {"count not a number", std::string(kHeader) + "一期一会\tいちごいちえ\tx\t0\t0\t0\t0\t\t\t0\n"},
        {"negative count", std::string(kHeader) + "一期一会\tいちごいちえ\t-1\t0\t0\t0\t0\t\t\t0\n"},
        {"box above 5", std::string(kHeader) + "一期一会\tいちごいちえ\t1\t0\t0\t0\t6\t\t\t0\n"},
        {"bad date", std::string(kHeader) + "一期一会\tいちごいちえ\t1\t0\t0\t0\t0\t12/10/2026\t\t0\n"},
        {"too few columns", std::string(kHeader) + "一期一会\tいちごいちえ\t1\n"},
    };
    for (const auto& c : cases) {
        LearningTable t;
        t.rows.resize(1);  // a failed parse leaves its output alone
        EXPECT_EQ(ParseLearningText(c.text, t), LearningFileStatus::NotText) << c.name;
        EXPECT_EQ(t.rows.size(), 1u) << c.name;
    }
}

TEST(LearningFileTest, StatusOfFilesThatCannotBeUsed) {
    TempFolder dir;
    EXPECT_EQ(ReadLearningFile(dir.File("Gakushu.tsv")).status, LearningFileStatus::Missing);
    WriteBytes(dir.File("big.tsv"), std::string(kHeader) + std::string(kLearningFileLimit, '\n'));
    EXPECT_EQ(ReadLearningFile(dir.File("big.tsv")).status, LearningFileStatus::TooLarge);
    std::filesystem::create_directory(dir.File("folder.tsv"));
    EXPECT_EQ(ReadLearningFile(dir.File("folder.tsv")).status, LearningFileStatus::Unreadable);
    for (auto s : {LearningFileStatus::Unreadable, LearningFileStatus::NotText, LearningFileStatus::TooLarge})
        EXPECT_FALSE(LearningFileProblem(s).empty());
}

}  // namespace
