// What the learning window lists: entries from the questions and the record,
// the 苦手だけ filter and the search, sorting, and the progress series.
#include <gtest/gtest.h>

#include <algorithm>

#include "game/learning_record.h"
#include "settings_dialog/learning_view.h"

namespace {

std::vector<LearningQuestion> Questions() {
    return {{"一期一会", "いちごいちえ", "一生に一度の出会い", "いちごいちえ"},
            {"四面楚歌", "しめんそか", "周りが敵ばかり", "しめ'んそか"},
            {"一石二鳥", "いっせきにちょう", "一つで二つの得", "いっせきにちょお"},
            {"温故知新", "おんこちしん", "古きをたずねて新しきを知る", "おんこちしん"}};
}

LearningRecord SampleRecord() {
    LearningRecord r;
    r.Missed("一期一会", "いちごいちえ", "2026-12-01");  // weak, due 12-01
    r.Missed("四面楚歌", "しめんそか", "2026-12-02");
    r.Right("四面楚歌", "しめんそか", "2026-12-03");
    r.Right("四面楚歌", "しめんそか", "2026-12-04");  // two in a row: weak no more
    r.Right("一石二鳥", "いっせきにちょう", "2026-12-05");  // due 12-06
    r.Hinted("一石二鳥", "いっせきにちょう", "2026-12-05");
    return r;  // 温故知新 never met
}

std::vector<std::string> Idioms(const std::vector<const LearningEntry*>& v) {
    std::vector<std::string> out;
    for (const LearningEntry* e : v) out.push_back(e->idiom);
    return out;
}

TEST(LearningViewTest, FilterAndSearch) {
    const LearningRecord record = SampleRecord();
    const std::vector<LearningEntry> entries = BuildLearningEntries(Questions(), record);
    ASSERT_EQ(entries.size(), 4u);
    const struct {
        bool weakOnly;
        const char* search;
        std::vector<std::string> expected;  // by idiom's question number
    } cases[] = {
        {false, "", {"一期一会", "四面楚歌", "一石二鳥", "温故知新"}},
        {true, "", {"一期一会"}},
        {false, "一", {"一期一会", "一石二鳥"}},
        {false, "しめん", {"四面楚歌"}},  // the reading
        {false, "新しき", {"温故知新"}},  // the meaning
        {true, "しめん", {}},
    };
    for (const auto& c : cases) {
        LearningFilter f{c.weakOnly, c.search, false, ""};
        std::vector<const LearningEntry*> got;
        for (const LearningEntry* e : VisibleEntries(entries, f, LearningColumn::Idiom, true)) got.push_back(e);
        std::sort(got.begin(), got.end(), [](auto* a, auto* b) { return a->question < b->question; });
        EXPECT_EQ(Idioms(got), c.expected) << c.weakOnly << " " << c.search;
    }
}

TEST(LearningViewTest, SortingByEachColumnBothWays) {
    const LearningRecord record = SampleRecord();
    const std::vector<LearningEntry> entries = BuildLearningEntries(Questions(), record);
    const struct {
        LearningColumn column;
        std::vector<std::string> ascending, descending;  // ties stay in question order
    } cases[] = {
        {LearningColumn::Reading, {"一期一会", "一石二鳥", "温故知新", "四面楚歌"},
         {"四面楚歌", "温故知新", "一石二鳥", "一期一会"}},
        {LearningColumn::Right, {"一期一会", "温故知新", "一石二鳥", "四面楚歌"},
         {"四面楚歌", "一石二鳥", "一期一会", "温故知新"}},
        {LearningColumn::Missed, {"一石二鳥", "温故知新", "一期一会", "四面楚歌"},
         {"一期一会", "四面楚歌", "一石二鳥", "温故知新"}},
        {LearningColumn::Hints, {"一期一会", "四面楚歌", "温故知新", "一石二鳥"},
         {"一石二鳥", "一期一会", "四面楚歌", "温故知新"}},
        // An idiom without a review date sorts after every date.
        {LearningColumn::Due, {"一期一会", "一石二鳥", "四面楚歌", "温故知新"},
         {"温故知新", "四面楚歌", "一石二鳥", "一期一会"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Idioms(VisibleEntries(entries, {}, c.column, true)), c.ascending) << static_cast<int>(c.column);
        EXPECT_EQ(Idioms(VisibleEntries(entries, {}, c.column, false)), c.descending) << static_cast<int>(c.column);
    }
}

TEST(LearningViewTest, ProgressSeries) {
    const LearningRecord record = SampleRecord();
    const std::vector<LearningEntry> entries = BuildLearningEntries(Questions(), record);
    // First right answers: 四面楚歌 on 12-03, 一石二鳥 on 12-05.
    const std::vector<int> known = KnownIdiomsPerDay(entries, record, "2026-12-06", 5);
    EXPECT_EQ(known, (std::vector<int>{0, 1, 1, 2, 2}));  // 12-02 .. 12-06
    EXPECT_EQ(KnownIdiomsPerDay(entries, record, "2027-03-01", 60).size(), 60u);

    HistoryTable h;
    h.rows = {{"2026-12-01 10:00", "score", 12000, {}},
              {"2026-12-01 11:00", "strokes", 41, {}},
              {"2026-12-02 09:00", "score", 15500, {}}};
    EXPECT_EQ(ScoreChallengeResults(h), (std::vector<int>{12000, 15500}));
}

}  // namespace
