// What the learning window lists: entries from the questions and the record,
// the 苦手だけ filter and the search, sorting, and the progress series.
#include <gtest/gtest.h>

#include <algorithm>

#include "game/learning_record.h"
#include "game/progress.h"
#include "settings_dialog/learning_view.h"

namespace {

std::vector<LearningQuestion> Questions() {
    return {{"一期一会", "いちごいちえ", "一生に一度のチャンス", "いちごいちえ"},
            {"四面楚歌", "しめんそか", "周りが敵ばかり", "しめ'んそか"},
            {"一石二鳥", "いっせきにちょう", "一つで二つの得", "いっせきにちょお"},
            {"温故知新", "おんこちしん", "古きをたずねて新しきを知る", "おんこちしん"}};
}

LearningRecord SampleRecord() {
    LearningRecord r;
    r.Missed("一期一会", "いちごいちえ", "2026-12-01");  // weak, due 12-01
    r.Dealt("四面楚歌", "しめんそか", "2026-12-02");
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
        // Katakana finds hiragana and the other way round, in every field.
        {false, "シメン", {"四面楚歌"}},
        {false, "イッセキ", {"一石二鳥"}},
        {false, "ちゃんす", {"一期一会"}},  // "チャンス" in the meaning
        {false, "チャンス", {"一期一会"}},
    };
    for (const auto& c : cases) {
        LearningFilter f{c.weakOnly, c.search, false, ""};
        std::vector<const LearningEntry*> got;
        for (const LearningEntry* e : VisibleEntries(entries, f, LearningColumn::Idiom, true)) got.push_back(e);
        std::sort(got.begin(), got.end(), [](auto* a, auto* b) { return a->question < b->question; });
        EXPECT_EQ(Idioms(got), c.expected) << c.weakOnly << " " << c.search;
    }
}

TEST(LearningViewTest, TheSearchFoldsKatakanaOfEveryBuiltInIdiom) {
    std::vector<LearningQuestion> questions = {{"全知全能", "ぜんちぜんのう", "すべてを知り、何でもできる完全な能力", ""},
                                               {"喜怒哀楽", "きどあいらく", "人間のさまざまな感情", ""}};
    const std::vector<LearningEntry> entries = BuildLearningEntries(questions, LearningRecord());
    LearningFilter f;
    f.search = "ゼンチ";
    EXPECT_EQ(Idioms(VisibleEntries(entries, f, LearningColumn::Idiom, true)), std::vector<std::string>{"全知全能"});
    f.search = "サマザマ";
    EXPECT_EQ(Idioms(VisibleEntries(entries, f, LearningColumn::Idiom, true)), std::vector<std::string>{"喜怒哀楽"});
    // A match never runs from one field into the next.
    f.search = "のうす";
    EXPECT_TRUE(VisibleEntries(entries, f, LearningColumn::Idiom, true).empty());
}

TEST(LearningViewTest, HeadlineAndForecastOfTodaysWork) {
    const LearningRecord record = SampleRecord();
    std::vector<LearningQuestion> questions = Questions();
    questions.push_back({"一日千秋", "いちじつせんしゅう", "待ち遠しい", ""});
    LearningRecord r = record;
    r.Right("一日千秋", "いちじつせんしゅう", "2026-12-05");
    r.Right("一日千秋", "いちじつせんしゅう", "2026-12-06");  // box 2: due 12-09
    const std::vector<LearningEntry> entries = BuildLearningEntries(questions, r);
    // Due: 一期一会 12-01, 四面楚歌 12-11 (box 3 after 12-04), 一石二鳥 12-06, 一日千秋 12-09.
    const struct {
        const char* today;
        int due;
        std::vector<int> forecast;
    } cases[] = {
        {"2026-12-05", 1, {1, 0, 0, 1, 0, 1, 0}},
        {"2026-12-06", 2, {0, 0, 1, 0, 1, 0, 0}},
        {"2026-12-09", 3, {0, 1, 0, 0, 0, 0, 0}},
        {"2026-11-29", 0, {0, 1, 0, 0, 0, 0, 1}},  // the seventh day is counted, the tenth not
    };
    for (const auto& c : cases) {
        const LearningHeadline h = MakeHeadline(entries, c.today);
        EXPECT_EQ(h.due, c.due) << c.today;
        EXPECT_EQ(h.forecast, c.forecast) << c.today;
        EXPECT_EQ(h.weak, 1) << "一期一会 only";
        EXPECT_EQ(h.learned, 3) << "四面楚歌, 一石二鳥, 一日千秋";
        EXPECT_EQ(h.total, 5);
    }
    LearningFilter due{false, "", true, "2026-12-06"};
    EXPECT_EQ(Idioms(VisibleEntries(entries, due, LearningColumn::Due, true)),
              (std::vector<std::string>{"一期一会", "一石二鳥"}));
    // Without a calendar nothing is due and nothing forecast.
    EXPECT_EQ(MakeHeadline(entries, "").due, 0);
    EXPECT_EQ(MakeHeadline(entries, "").forecast, std::vector<int>(7, 0));
}

TEST(LearningViewTest, CardFactsFromTheRecord) {
    const LearningRecord record = SampleRecord();
    const std::vector<LearningEntry> entries = BuildLearningEntries(Questions(), record);
    auto facts = [](const LearningEntry& e, const char* today) {
        std::string out;
        for (const CardFact& f : CardFacts(e, today)) out += f.label + "=" + f.value + ";";
        return out;
    };
    EXPECT_EQ(facts(entries[1], "2026-12-11"),
              "出題された回数=1 回;正解=2 回;ミス=1 回;ヒント=0 回;連続正解=2 回;復習の箱=3 / 5;"
              "初めて出た日=12/2(水);初めて正解した日=12/3(木);最後に出た日=12/4(金);次の復習=12/11(金)　今日です;"
              "最近の答え=12/2 ×　12/3 ○　12/4 ○;");
    EXPECT_EQ(facts(entries[0], "2026-12-07"),
              "出題された回数=0 回;正解=0 回;ミス=1 回;ヒント=0 回;連続正解=0 回;復習の箱=1 / 5;"
              "初めて出た日=-;初めて正解した日=まだ正解していません;最後に出た日=12/1(火);"
              "次の復習=12/1(火)　今日までの分です;最近の答え=12/1 ×;");
    EXPECT_EQ(facts(entries[2], "2026-12-05"), "出題された回数=0 回;正解=1 回;ミス=0 回;ヒント=1 回;連続正解=1 回;"
                                               "復習の箱=1 / 5;初めて出た日=-;初めて正解した日=12/5(土);"
                                               "最後に出た日=12/5(土);次の復習=12/6(日);最近の答え=12/5 ○;");
    EXPECT_EQ(facts(entries[3], "2026-12-05"), "記録=まだ出題されていません;");

    // Met but never answered; and a long history shows its last days after a sign of more.
    LearningEntry dealtOnly = entries[1];
    dealtOnly.days.clear();
    EXPECT_NE(facts(dealtOnly, "2026-12-05").find("最近の答え=まだありません;"), std::string::npos);
    LearningEntry many = entries[1];
    many.days.clear();
    for (int d = 1; d <= 10; ++d) many.days.push_back({"2026-11-" + std::string(d < 10 ? "0" : "") + std::to_string(d), d != 9});
    EXPECT_NE(facts(many, "2026-12-05").find("最近の答え=…　11/3 ○　11/4 ○　11/5 ○　11/6 ○　11/7 ○　11/8 ○　11/9 ×　11/10 ○;"),
              std::string::npos);
}

TEST(LearningViewTest, TheCardsPitchFromTheSpeechText) {
    const struct {
        bool additional;
        const char* reading;
        const char* speech;
        const char* pitch;
    } cases[] = {
        {false, "ふわらいどう", "ふわら'いどお。", "LHHLLL"},
        {false, "きうそうだい", "きうそおだい。", "LHHHHH"},  // a built-in phrase without a mark is flat
        {true, "ふわらいどう", "ふわら'いどお", "LHHLLL"},
        {true, "ふわらいどう", "ふわらいどう", ""},      // the player's bare reading claims no accent
        {true, "ふわらいどう", "付和雷同", ""},          // nor does text that is not notation
        {true, "ふわらいどう", "", ""},
    };
    for (const auto& c : cases) {
        LearningEntry e;
        e.additional = c.additional;
        e.reading = c.reading;
        e.speech = c.speech;
        EXPECT_EQ(AccentString(CardPitch(e)), c.pitch) << c.speech;
    }
    // The card spells the morae as the reading does.
    LearningEntry e;
    e.reading = "ふわらいどう";
    e.speech = "ふわら'いどお。";
    EXPECT_EQ(CardPitch(e).front().morae.back().kana, "う");
    // Entries past the built-in questions are the player's own.
    std::vector<LearningQuestion> questions(kBuiltInQuestions + 1, LearningQuestion{"一期一会", "いちごいちえ", "", ""});
    const std::vector<LearningEntry> entries = BuildLearningEntries(questions, LearningRecord());
    EXPECT_FALSE(entries[kBuiltInQuestions - 1].additional);
    EXPECT_TRUE(entries[kBuiltInQuestions].additional);
}

TEST(LearningViewTest, DaysResultsAndAxes) {
    const struct {
        const char* date;
        const char* shortDay;
        const char* monthDay;
    } days[] = {{"2026-12-13", "12/13(日)", "12/13"}, {"2024-02-29", "2/29(木)", "2/29"},
                {"2000-01-01", "1/1(土)", "1/1"},     {"2026-12-10 21:05", "12/10(木)", "12/10"},
                {"", "", ""},                         {"いつか", "いつか", "いつか"}};
    for (const auto& d : days) {
        EXPECT_EQ(ShortDay(d.date), d.shortDay) << d.date;
        EXPECT_EQ(MonthDay(d.date), d.monthDay) << d.date;
    }

    HistoryTable h;
    h.rows = {{"2026-12-01 10:00", "score", 12000, {}}, {"2026-12-01 11:00", "strokes", 41, {}},
              {"2026-12-02 09:00", "score", 15500, {}}, {"2026-12-03 09:00", "strokes", 38, {}},
              {"2026-12-04 09:00", "strokes", 38, {}},  {"2026-12-05 09:00", "score", 9000, {}}};
    const std::vector<GameResult> scores = GameResults(h, "score", 20);
    const std::vector<GameResult> strokes = GameResults(h, "strokes", 20);
    ASSERT_EQ(scores.size(), 3u);
    EXPECT_EQ(scores[1].when, "2026-12-02 09:00");
    EXPECT_EQ(BestResult(scores, false), 1);
    EXPECT_EQ(BestResult(strokes, true), 1) << "fewer is better; the first of equals";
    EXPECT_EQ(BestResult({}, true), -1);
    const std::vector<GameResult> lastTwo = GameResults(h, "score", 2);
    ASSERT_EQ(lastTwo.size(), 2u);
    EXPECT_EQ(lastTwo[0].value, 15500);

    const struct {
        int top, ticks, step;
    } axes[] = {{0, 4, 1}, {3, 4, 1}, {8, 4, 2}, {107, 4, 50}, {170, 4, 50}, {25729, 4, 10000}, {40, 4, 10}};
    for (const auto& a : axes) EXPECT_EQ(AxisStep(a.top, a.ticks), a.step) << a.top;
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

// A column added to the table sorts only once the comparison knows it: a
// sortable one must order these idioms, whose values differ in every column.
TEST(LearningViewTest, EverySortableColumnOfTheTableSorts) {
    const std::vector<LearningEntry> entries = BuildLearningEntries(Questions(), SampleRecord());
    const std::vector<std::string> questionOrder = {"一期一会", "四面楚歌", "一石二鳥", "温故知新"};
    int first = 0;
    for (const LearningColumnSpec& c : kLearningTableColumns) {
        const std::vector<std::string> up = Idioms(VisibleEntries(entries, {}, c.column, true));
        const std::vector<std::string> down = Idioms(VisibleEntries(entries, {}, c.column, false));
        if (c.sort == ColumnSort::None) {
            EXPECT_EQ(up, questionOrder) << c.header;
            EXPECT_EQ(down, questionOrder) << c.header;
        } else {
            EXPECT_NE(up, down) << c.header;
        }
        first += c.sort == ColumnSort::First;
    }
    EXPECT_EQ(first, 1) << "the window opens sorted by one column";
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
