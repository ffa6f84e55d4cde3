// The recording rules and the review schedule, event by event.
#include <gtest/gtest.h>

#include "game/learning_record.h"
#include "tests/test_support/random_cells.h"

namespace {

TEST(LearningRecordTest, AddDaysAcrossMonthsYearsAndLeapDays) {
    const struct {
        const char* date;
        int days;
        const char* result;
    } cases[] = {
        {"2026-12-10", 0, "2026-12-10"},
        {"2026-12-31", 1, "2027-01-01"},
        {"2027-01-01", -1, "2026-12-31"},
        {"2028-02-28", 1, "2028-02-29"},   // leap year
        {"2027-02-28", 1, "2027-03-01"},
        {"2000-02-28", 1, "2000-02-29"},   // divisible by 400: leap
        {"2100-02-28", 1, "2100-03-01"},   // by 100 only: not
        {"1900-02-28", 1, "1900-03-01"},
        {"2028-02-29", 365, "2029-02-28"},
        {"2026-12-20", 30, "2027-01-19"},
        {"2026-01-31", 30, "2026-03-02"},
        {"2024-01-31", 30, "2024-03-01"},
        {"2026-06-30", 14, "2026-07-14"},
        {"1969-12-31", 1, "1970-01-01"},
        {"2026-12-10", 146097, "2426-12-10"},  // 400 years to the day
        // The files' four-digit years bound the result; what is no date stays as it is.
        {"9999-12-20", 30, "9999-12-31"},
        {"0000-01-05", -30, "0000-01-01"},
        {"2026-02-30", 1, "2026-02-30"},
        {"2026-13-01", 1, "2026-13-01"},
        {"2026-1-1", 1, "2026-1-1"},
        {"", 1, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(AddDays(c.date, c.days), c.result) << c.date << " + " << c.days;
}

// A count at the maximum stays there: one more deal once made it negative, the
// file was written so and the next start refused it.
TEST(LearningRecordTest, CountsStopAtTheirMaximum) {
    LearningTable table;
    LearningRow full;
    full.idiom = "一期一会";
    full.reading = "いちごいちえ";
    full.dealt = full.right = full.missed = full.hints = full.streak = kLearningCountMax;
    table.rows = {full};
    LearningRecord record(table);
    for (int i = 0; i < 2; ++i) {
        record.Dealt("一期一会", "いちごいちえ", "2026-12-10");
        record.Hinted("一期一会", "いちごいちえ", "2026-12-10");
        record.Right("一期一会", "いちごいちえ", "2026-12-10");
    }
    const LearningRow& r = record.Table().rows.at(0);
    for (int count : {r.dealt, r.right, r.hints, r.streak}) EXPECT_EQ(count, kLearningCountMax);
    record.Missed("一期一会", "いちごいちえ", "2026-12-10");
    EXPECT_EQ(r.missed, kLearningCountMax);
    LearningTable back;
    ASSERT_EQ(ParseLearningText(LearningText(record.Table()), back), LearningFileStatus::Ok);
    EXPECT_EQ(back, record.Table());
}

// An idiom holding a tab (cells pasted from a spreadsheet into the question
// file) is its own row, written, read back and found under the same key.
TEST(LearningRecordTest, IdiomsWithTabsKeepTheirOwnRowsThroughTheFile) {
    LearningRecord record;
    record.Missed("a\tb", "c", "2026-12-10");
    record.Right("a", "b\tc", "2026-12-10");
    record.Dealt("独\t熟語", "どく\tじゅくご", "2026-12-10");
    ASSERT_EQ(record.Table().rows.size(), 3u) << "different questions must not share a row";
    LearningTable back;
    ASSERT_EQ(ParseLearningText(LearningText(record.Table()), back), LearningFileStatus::Ok);
    const LearningRecord reread(back);
    ASSERT_NE(reread.Find("a\tb", "c"), nullptr);
    EXPECT_EQ(reread.Find("a\tb", "c")->missed, 1);
    ASSERT_NE(reread.Find("a", "b\tc"), nullptr);
    EXPECT_EQ(reread.Find("a", "b\tc")->right, 1);
    ASSERT_NE(reread.Find("独\t熟語", "どく\tじゅくご"), nullptr);
    EXPECT_EQ(reread.Find("独\t熟語", "どく\tじゅくご")->dealt, 1);
}

// Random question tables met through random events: the record's file reads
// back as the same table and every question finds its row again.
TEST(LearningRecordTest, RandomRecordsReadBackAsWritten) {
    RandomCells random(1211);
    for (int iteration = 0; iteration < 2000; ++iteration) {
        SCOPED_TRACE(::testing::Message() << "iteration " << iteration);
        std::vector<std::pair<std::string, std::string>> questions;
        for (int i = 1 + random.Below(8); i > 0; --i) questions.emplace_back(random.Cell(), random.Cell());
        LearningTable start;
        for (int i = random.Below(3); i > 0; --i) start.extraColumns.push_back(random.Cell());
        for (const auto& [idiom, reading] : questions) {
            if (random.Below(2)) continue;
            LearningRow row;
            row.idiom = idiom;
            row.reading = reading;
            row.dealt = random.Count();
            row.right = random.Count();
            row.missed = random.Count();
            row.hints = random.Count();
            row.streak = random.Count();
            row.box = random.Below(6);
            if (random.Below(2)) row.last = random.Date();
            if (random.Below(2)) row.due = random.Date();
            if (random.Below(2)) row.firstRight = random.Date();
            if (random.Below(2)) row.firstSeen = random.Date();
            for (int k = random.Below(kLearningDaysKept + 1); k > 0; --k) row.days.push_back({random.Date(), random.Below(2) == 0});
            for (int k = random.Below(4); k > 0; --k) row.extra.push_back(random.Cell());
            start.rows.push_back(std::move(row));
        }
        LearningRecord record(start);
        for (int e = random.Below(20); e > 0; --e) {
            const auto& [idiom, reading] = questions[random.Below(static_cast<int>(questions.size()))];
            const std::string today = random.Date();
            switch (random.Below(4)) {
                case 0: record.Dealt(idiom, reading, today); break;
                case 1: record.Right(idiom, reading, today); break;
                case 2: record.Missed(idiom, reading, today); break;
                default: record.Hinted(idiom, reading, today); break;
            }
        }
        LearningTable back;
        ASSERT_EQ(ParseLearningText(LearningText(record.Table()), back), LearningFileStatus::Ok);
        ASSERT_EQ(back, record.Table());
        const LearningRecord reread(back);
        for (const auto& [idiom, reading] : questions)
            EXPECT_EQ(reread.Find(idiom, reading) == nullptr, record.Find(idiom, reading) == nullptr);
    }
}

TEST(LearningRecordTest, EventsAsATable) {
    enum Event { Deal, Right, Miss, Hint };
    struct Step {
        Event event;
        const char* today;
        int dealt, right, missed, hints, box;
        const char* due;
        int streak;
        bool weak;
    };
    // One idiom's life: dealt and hinted, answered up the boxes, missed back to
    // box 1, answered again; the last answer comes just after midnight.
    const Step steps[] = {
        {Deal, "2026-12-10", 1, 0, 0, 0, 0, "", 0, false},
        {Hint, "2026-12-10", 1, 0, 0, 1, 0, "", 0, false},
        {Right, "2026-12-10", 1, 1, 0, 1, 1, "2026-12-11", 1, false},
        {Deal, "2026-12-11", 2, 1, 0, 1, 1, "2026-12-11", 1, false},
        {Right, "2026-12-11", 2, 2, 0, 1, 2, "2026-12-14", 2, false},
        {Right, "2026-12-14", 2, 3, 0, 1, 3, "2026-12-21", 3, false},
        {Right, "2026-12-21", 2, 4, 0, 1, 4, "2027-01-04", 4, false},
        {Right, "2027-01-04", 2, 5, 0, 1, 5, "2027-02-03", 5, false},
        {Right, "2027-02-03", 2, 6, 0, 1, 5, "2027-03-05", 6, false},  // box 5 is the top
        {Miss, "2027-02-03", 2, 6, 1, 1, 1, "2027-02-03", 0, true},
        {Right, "2027-02-03", 2, 7, 1, 1, 2, "2027-02-06", 1, true},  // one right is not enough
        {Right, "2027-02-04", 2, 8, 1, 1, 3, "2027-02-11", 2, false},  // next day: due counts from it
    };
    LearningRecord record;
    for (const Step& s : steps) {
        switch (s.event) {
            case Deal: record.Dealt("一期一会", "いちごいちえ", s.today); break;
            case Right: record.Right("一期一会", "いちごいちえ", s.today); break;
            case Miss: record.Missed("一期一会", "いちごいちえ", s.today); break;
            case Hint: record.Hinted("一期一会", "いちごいちえ", s.today); break;
        }
        const LearningRow* r = record.Find("一期一会", "いちごいちえ");
        ASSERT_NE(r, nullptr);
        SCOPED_TRACE(::testing::Message() << "event " << s.event << " on " << s.today);
        EXPECT_EQ(r->dealt, s.dealt);
        EXPECT_EQ(r->right, s.right);
        EXPECT_EQ(r->missed, s.missed);
        EXPECT_EQ(r->hints, s.hints);
        EXPECT_EQ(r->box, s.box);
        EXPECT_EQ(r->due, s.due);
        EXPECT_EQ(r->streak, s.streak);
        EXPECT_EQ(r->last, s.today);
        EXPECT_EQ(IsWeakIdiom(*r), s.weak);
    }
    EXPECT_EQ(record.Table().rows.size(), 1u);
    // The card's history: the first day it was dealt, and each day's answers and misses.
    const LearningRow* r = record.Find("一期一会", "いちごいちえ");
    EXPECT_EQ(r->firstSeen, "2026-12-10");
    const std::vector<LearningDay> days = {{"2026-12-10", true}, {"2026-12-11", true}, {"2026-12-14", true},
                                           {"2026-12-21", true}, {"2027-01-04", true}, {"2027-02-03", true},
                                           {"2027-02-03", false}, {"2027-02-03", true}, {"2027-02-04", true}};
    EXPECT_EQ(r->days, days);
}

// Two answers alike on a day are one entry; a long life keeps its last days only.
TEST(LearningRecordTest, TheDaysLogStaysShort) {
    LearningRecord record;
    record.Right("一期一会", "いちごいちえ", "2026-01-01");
    record.Right("一期一会", "いちごいちえ", "2026-01-01");
    ASSERT_EQ(record.Find("一期一会", "いちごいちえ")->days.size(), 1u);
    for (int d = 0; d < 100; ++d) record.Missed("一期一会", "いちごいちえ", AddDays("2026-01-02", d));
    const std::vector<LearningDay>& days = record.Find("一期一会", "いちごいちえ")->days;
    ASSERT_EQ(days.size(), kLearningDaysKept);
    EXPECT_EQ(days.front().date, AddDays("2026-01-02", 100 - static_cast<int>(kLearningDaysKept)));
    EXPECT_EQ(days.back().date, AddDays("2026-01-02", 99));
}

TEST(LearningRecordTest, RowsAreKeyedByIdiomAndReadingAndDueComparesDates) {
    LearningTable table;
    table.extraColumns = {"note"};
    LearningRecord record(table);
    record.Missed("一期一会", "いちごいちえ", "2026-12-10");
    record.Dealt("一期一会", "いっきいちえ", "2026-12-10");  // another reading: another row
    ASSERT_EQ(record.Table().rows.size(), 2u);
    EXPECT_EQ(record.Table().rows[1].extra.size(), 1u) << "new rows get cells for the extra columns";
    const LearningRow& missed = record.Table().rows[0];
    EXPECT_TRUE(IsDue(missed, "2026-12-10"));
    EXPECT_TRUE(IsDue(missed, "2027-01-01"));
    EXPECT_FALSE(IsDue(missed, "2026-12-09"));
    EXPECT_FALSE(IsDue(record.Table().rows[1], "2030-01-01")) << "never answered: not scheduled";
}

}  // namespace
