// The recording rules and the review schedule, event by event.
#include <gtest/gtest.h>

#include "game/learning_record.h"

namespace {

TEST(LearningRecordTest, AddDaysAcrossMonthsYearsAndLeapDays) {
    EXPECT_EQ(AddDays("2026-12-10", 0), "2026-12-10");
    EXPECT_EQ(AddDays("2026-12-31", 1), "2027-01-01");
    EXPECT_EQ(AddDays("2028-02-28", 1), "2028-02-29");
    EXPECT_EQ(AddDays("2027-02-28", 1), "2027-03-01");
    EXPECT_EQ(AddDays("2026-12-20", 30), "2027-01-19");
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
