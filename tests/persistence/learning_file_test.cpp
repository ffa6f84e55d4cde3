// Gakushu.tsv and Rireki.tsv: round trip, columns and rows of other copies kept,
// escapes, counts kept in range, bad files refused.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "persistence/learning_file.h"
#include "tests/test_support/random_cells.h"
#include "tests/test_support/temp_folder.h"

namespace {

const char* const kColumns = "idiom\treading\tdealt\tright\tmissed\thints\tbox\tlast\tdue\tstreak\tfirstright\tfirstseen\tdays";
const std::string kHeader = std::string(kColumns) + "\n";

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
    a.firstSeen = "2026-12-08";
    a.days = {{"2026-12-08", false}, {"2026-12-09", true}, {"2026-12-10", true}};
    LearningRow b;
    b.idiom = "四面楚歌";
    b.reading = "しめんそか";
    b.dealt = 1;
    t.rows = {a, b};
    ASSERT_TRUE(WriteLearningFile(dir.File("Gakushu.tsv"), t));
    const std::string bytes = ReadBytes(dir.File("Gakushu.tsv"));
    EXPECT_EQ(bytes, kHeader +
                         "一石二鳥\tいっせきにちょう\t3\t2\t1\t1\t2\t2026-12-10\t2026-12-13\t2\t2026-12-09\t2026-12-08\t"
                         "2026-12-08- 2026-12-09+ 2026-12-10+\n" +
                         "四面楚歌\tしめんそか\t1\t0\t0\t0\t0\t\t\t0\t\t\t\n");
    LearningLoad back = ReadLearningFile(dir.File("Gakushu.tsv"));
    ASSERT_EQ(back.status, LearningFileStatus::Ok);
    ASSERT_EQ(back.table.rows.size(), 2u);
    EXPECT_EQ(back.table.rows[0].due, "2026-12-13");
    EXPECT_EQ(back.table, t);
    EXPECT_EQ(LearningText(back.table), bytes);
}

TEST(LearningFileTest, UnknownColumnsAndRowsOfOtherCopiesAreKept) {
    // A newer copy added a column; a row is for an idiom this copy has no more.
    const std::string text = std::string(kColumns) + "\tnote\n" +
                             "消えた熟語\tきえたじゅくご\t5\t1\t4\t0\t1\t2026-01-02\t2026-01-02\t0\t\t\t2026-01-02-\tメモ\n";
    LearningTable t;
    ASSERT_EQ(ParseLearningText(text, t), LearningFileStatus::Ok);
    EXPECT_EQ(t.extraColumns, std::vector<std::string>{"note"});
    ASSERT_EQ(t.rows.size(), 1u);
    EXPECT_EQ(t.rows[0].extra, std::vector<std::string>{"メモ"});
    EXPECT_EQ(LearningText(t), text);

    // A copy that knew our columns only up to "firstright" added its own after
    // them: ours come back in their place, empty, and its column after them.
    LearningTable older;
    ASSERT_EQ(ParseLearningText("idiom\treading\tdealt\tright\tmissed\thints\tbox\tlast\tdue\tstreak\tfirstright\tnote\n"
                                "一期一会\tいちごいちえ\t1\t1\t0\t0\t1\t2026-01-02\t2026-01-03\t1\t2026-01-02\tメモ\n",
                                older),
              LearningFileStatus::Ok);
    EXPECT_EQ(older.extraColumns, std::vector<std::string>{"note"});
    EXPECT_EQ(older.rows.at(0).firstRight, "2026-01-02");
    EXPECT_EQ(older.rows.at(0).firstSeen, "");
    EXPECT_TRUE(older.rows.at(0).days.empty());
    EXPECT_EQ(LearningText(older), std::string(kColumns) + "\tnote\n" +
                                       "一期一会\tいちごいちえ\t1\t1\t0\t0\t1\t2026-01-02\t2026-01-03\t1\t2026-01-02\t\t\tメモ\n");

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
        {"count with a plus sign", std::string(kHeader) + "一期一会\tいちごいちえ\t+1\t0\t0\t0\t0\t\t\t0\n"},
        {"minus sign alone", std::string(kHeader) + "一期一会\tいちごいちえ\t-\t0\t0\t0\t0\t\t\t0\n"},
        {"count escaped", std::string(kHeader) + "一期一会\tいちごいちえ\t\\x31\t0\t0\t0\t0\t\t\t0\n"},
        {"box below 0", std::string(kHeader) + "一期一会\tいちごいちえ\t1\t0\t0\t0\t-1\t\t\t0\n"},
        {"box above 5", std::string(kHeader) + "一期一会\tいちごいちえ\t1\t0\t0\t0\t6\t\t\t0\n"},
        {"bad date", std::string(kHeader) + "一期一会\tいちごいちえ\t1\t0\t0\t0\t0\t12/10/2026\t\t0\n"},
        {"too few columns", std::string(kHeader) + "一期一会\tいちごいちえ\t1\n"},
        {"streak not a number", std::string(kHeader) + "一期一会\tいちごいちえ\t1\t0\t0\t0\t0\t\t\t1e3\n"},
        {"first seen no date", kHeader + "一期一会\tいちごいちえ\t1\t0\t0\t0\t0\t\t\t0\t\tきのう\t\n"},
        {"day without a result", kHeader + "一期一会\tいちごいちえ\t1\t0\t0\t0\t0\t\t\t0\t\t\t2026-01-02\n"},
        {"day with another mark", kHeader + "一期一会\tいちごいちえ\t1\t0\t0\t0\t0\t\t\t0\t\t\t2026-01-02x\n"},
        {"days run together", kHeader + "一期一会\tいちごいちえ\t1\t0\t0\t0\t0\t\t\t0\t\t\t2026-01-02+2026-01-03-\n"},
        {"days with two spaces", kHeader + "一期一会\tいちごいちえ\t1\t0\t0\t0\t0\t\t\t0\t\t\t2026-01-02+  2026-01-03-\n"},
        {"day no date", kHeader + "一期一会\tいちごいちえ\t1\t0\t0\t0\t0\t\t\t0\t\t\t2026-1-02+\n"},
    };
    for (const auto& c : cases) {
        LearningTable t;
        t.rows.resize(1);  // a failed parse leaves its output alone
        EXPECT_EQ(ParseLearningText(c.text, t), LearningFileStatus::NotText) << c.name;
        EXPECT_EQ(t.rows.size(), 1u) << c.name;
    }
}

// A tab pasted into an idiom once made a row of 12 cells under a header of 11,
// and the game refused its own file from then on.
TEST(LearningFileTest, CellsWithControlsAndBackslashesAreEscapedAndReadBack) {
    const struct {
        std::string cell, written;
    } cases[] = {
        {"独\t熟語", "独\\x09熟語"},
        {"a\r\nb", "a\\x0D\\x0Ab"},
        {std::string("\0\x1F\x7F", 3), "\\x00\\x1F\\x7F"},
        {"\xE3\x81", "\\xE3\\x81"},  // not UTF-8: the file stays UTF-8
        // Backslashes are kept as they are unless they would read as an escape.
        {"C:\\new\\test", "C:\\new\\test"},
        {"\\\\", "\\\\"},
        {"\\x41 \\x5c \\xg0", "\\x41 \\x5c \\xg0"},
        {"\\x09", "\\x5Cx09"},
        {"\\\t", "\\\\x09"},
        {"\\", "\\"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.written);
        LearningTable t;
        t.extraColumns = {c.cell};
        LearningRow row;
        row.idiom = c.cell;
        row.reading = c.cell;
        row.extra = {c.cell};
        t.rows = {row};
        const std::string text = LearningText(t);
        EXPECT_EQ(text, std::string(kColumns) + "\t" + c.written + "\n" + c.written + "\t" + c.written +
                            "\t0\t0\t0\t0\t0\t\t\t0\t\t\t\t" + c.written + "\n");
        LearningTable back;
        ASSERT_EQ(ParseLearningText(text, back), LearningFileStatus::Ok);
        EXPECT_EQ(back, t);

        HistoryTable h;
        h.extraColumns = {c.cell};
        h.rows = {HistoryRow{c.cell, c.cell, 7, {c.cell}}};
        HistoryTable hBack;
        ASSERT_EQ(ParseHistoryText(HistoryText(h), hBack), LearningFileStatus::Ok);
        EXPECT_EQ(hBack, h);
    }
}

// Older copies wrote a count that had overflowed (2147483647 + 1 as
// -2147483648); such a file reads again instead of stopping the record.
TEST(LearningFileTest, CountsOutOfRangeReadAsTheNearestEnd) {
    const struct {
        const char* cell;
        int value;
    } cases[] = {
        {"-2147483648", 0}, {"-1", 0}, {"-0", 0}, {"007", 7}, {"2147483647", kLearningCountMax},
        {"2147483648", kLearningCountMax}, {"99999999999999999999999", kLearningCountMax},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cell);
        const std::string n = c.cell;
        LearningTable t;
        ASSERT_EQ(ParseLearningText(std::string(kHeader) + "一期一会\tいちごいちえ\t" + n + "\t" + n + "\t" + n + "\t" + n +
                                        "\t5\t\t\t" + n + "\n",
                                    t),
                  LearningFileStatus::Ok);
        const LearningRow& r = t.rows.at(0);
        for (int count : {r.dealt, r.right, r.missed, r.hints, r.streak}) EXPECT_EQ(count, c.value);
        HistoryTable h;
        ASSERT_EQ(ParseHistoryText("when\tmode\tresult\n2026-12-10 21:05\tscore\t" + n + "\n", h), LearningFileStatus::Ok);
        EXPECT_EQ(h.rows.at(0).result, c.value);
    }
}

// What the reader would refuse is never written: negative numbers, a box
// outside 0..5, a date that is none.
TEST(LearningFileTest, TheWriterKeepsNumbersAndDatesInRange) {
    LearningTable t;
    LearningRow r;
    r.idiom = "一期一会";
    r.dealt = r.right = r.missed = r.hints = r.streak = -5;
    r.box = 9;
    r.last = "2026-12-1";
    r.due = "10000-01-01";
    r.firstRight = "2026-12-10";
    r.firstSeen = "yesterday";
    // One day that is none, then 40 days: only the last 30 are written.
    r.days = {{"2026-13-01", true}};
    std::string days;
    for (int d = 1; d <= 40; ++d) {
        char date[16];
        std::snprintf(date, sizeof date, "2026-%02d-%02d", 10 + (d - 1) / 30, (d - 1) % 30 + 1);
        r.days.push_back({date, d % 3 != 0});
        if (d > 10) days += std::string(days.empty() ? "" : " ") + date + (d % 3 != 0 ? "+" : "-");
    }
    t.rows = {r};
    const std::string text = LearningText(t);
    EXPECT_EQ(text, kHeader + "一期一会\t\t0\t0\t0\t0\t5\t\t\t0\t2026-12-10\t\t" + days + "\n");
    // Read back, the same 30; a file holding more than 30 (hand-made) reads as its last 30.
    LearningTable back;
    ASSERT_EQ(ParseLearningText(text, back), LearningFileStatus::Ok);
    EXPECT_EQ(back.rows.at(0).days, std::vector<LearningDay>(r.days.end() - 30, r.days.end()));
    LearningTable more;
    ASSERT_EQ(ParseLearningText(kHeader + "一期一会\t\t0\t0\t0\t0\t5\t\t\t0\t\t\t2026-09-30- " + days + "\n", more),
              LearningFileStatus::Ok);
    EXPECT_EQ(more.rows.at(0).days, back.rows.at(0).days);
    HistoryTable h;
    h.rows = {HistoryRow{"2026-12-10 21:05", "score", -30, {}}};
    EXPECT_EQ(HistoryText(h), "when\tmode\tresult\n2026-12-10 21:05\tscore\t0\n");
}

// Random history tables (cells with every kind of trouble, results up to the
// maximum) read back as written.
TEST(LearningFileTest, RandomHistoryTablesReadBackAsWritten) {
    RandomCells random(20261211);
    for (int iteration = 0; iteration < 2000; ++iteration) {
        HistoryTable h;
        for (int i = random.Below(3); i > 0; --i) h.extraColumns.push_back(random.Cell());
        for (int i = random.Below(6); i > 0; --i) {
            HistoryRow row{random.Cell(), random.Cell(), random.Count(), {}};
            for (int k = random.Below(4); k > 0; --k) row.extra.push_back(random.Cell());
            h.rows.push_back(std::move(row));
        }
        const std::string text = HistoryText(h);
        HistoryTable back;
        ASSERT_EQ(ParseHistoryText(text, back), LearningFileStatus::Ok) << "iteration " << iteration;
        ASSERT_EQ(back, h) << "iteration " << iteration;
        ASSERT_EQ(HistoryText(back), text) << "iteration " << iteration;
    }
}

TEST(LearningFileTest, StatusOfFilesThatCannotBeUsed) {
    TempFolder dir;
    EXPECT_EQ(ReadLearningFile(dir.File("Gakushu.tsv")).status, LearningFileStatus::Missing);
    WriteBytes(dir.File("big.tsv"), std::string(kHeader) + std::string(kLearningFileLimit, '\n'));
    EXPECT_EQ(ReadLearningFile(dir.File("big.tsv")).status, LearningFileStatus::TooLarge);
    std::filesystem::create_directory(dir.File("folder.tsv"));
    EXPECT_EQ(ReadLearningFile(dir.File("folder.tsv")).status, LearningFileStatus::Unreadable);
}

}  // namespace
