// The learning record in play: what a deal, a hint and a lost question leave in
// Gakushu.tsv and when it is written; bad files left alone; and the review
// option's due-first deal (off: the draws of old).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "persistence/atomic_file.h"
#include "persistence/learning_file.h"
#include "tests/test_support/game_fixture.h"
#include "tests/test_support/temp_folder.h"

using game_test::GameFixture;

namespace {

struct RecordingGame : GameFixture {
    FixedCalendar calendar{"2026-12-10"};
    RecordingGame() {
        services->calendar = &calendar;
        form->OpenLearningRecord();
    }
    bool Exists(const char* name) const { return std::filesystem::exists(DataFile(name)); }
    // Loses question 1 of the score challenge by letting the balls fall.
    void LoseFirstQuestion(bool hint) {
        const bool existed = Exists("Gakushu.tsv");
        StartAt(0, 1);
        if (hint) Char(u'z');
        Run(500);
        if (!existed) {
            ASSERT_FALSE(Exists("Gakushu.tsv")) << "nothing is written while the ball flies";
        }
        form->Scene().ImgPad->Position.X = 2000;
        ASSERT_TRUE(RunUntil([&] { return form->GameProgress().GameOver(); }, 20000));
    }
};

const LearningRow* RowOf(const LearningTable& t, const std::string& idiom) {
    for (const LearningRow& r : t.rows)
        if (r.idiom == idiom) return &r;
    return nullptr;
}

TEST(LearningPlayTest, ALostQuestionRecordsTheDealTheHintAndTheMiss) {
    RecordingGame fx;
    TForm1& g = fx.f();
    fx.LoseFirstQuestion(/*hint=*/true);
    const int target = g.GameBoard().BallSeikaiMojiNo();
    LearningLoad load = ReadLearningFile(fx.DataFile("Gakushu.tsv"));
    ASSERT_EQ(load.status, LearningFileStatus::Ok) << "written when the question ended";
    ASSERT_EQ(load.table.rows.size(), 4u);
    for (int s = 0; s < kSlots; ++s) {
        const LearningRow* r = RowOf(load.table, g.SlotQuestion(s).Jukugo);
        ASSERT_NE(r, nullptr) << s;
        EXPECT_EQ(r->reading, g.SlotQuestion(s).Yomi);
        EXPECT_EQ(r->dealt, 1);
        EXPECT_EQ(r->right, 0);
        EXPECT_EQ(r->missed, s == target ? 1 : 0);
        EXPECT_EQ(r->hints, s == target ? 1 : 0);
        EXPECT_EQ(r->box, s == target ? 1 : 0);
        EXPECT_EQ(r->due, s == target ? "2026-12-10" : "");
        EXPECT_EQ(r->last, "2026-12-10");
    }
    // Quitting now has nothing new to write.
    const auto written = std::filesystem::last_write_time(fx.DataFile("Gakushu.tsv"));
    bool canClose = false;
    g.FormCloseQuery(&g, canClose);
    EXPECT_EQ(std::filesystem::last_write_time(fx.DataFile("Gakushu.tsv")), written);
}

TEST(LearningPlayTest, StartingAndQuittingFromTheTitleWritesNoRecord) {
    RecordingGame fx;
    bool canClose = false;
    fx.f().FormCloseQuery(&fx.f(), canClose);
    EXPECT_FALSE(fx.Exists("Gakushu.tsv"));
    EXPECT_FALSE(fx.Exists("Rireki.tsv"));
}

TEST(LearningPlayTest, AFileThatCannotBeUsedIsNeverReplaced) {
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"not UTF-8", "idiom\treading\n\x88\xea\n"},
        {"foreign header", "something else entirely\n"},
        {"oversized", std::string("idiom\treading\tdealt\tright\tmissed\thints\tbox\tlast\tdue\n") +
                          std::string(kLearningFileLimit, '\n')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingGame fx;
        WriteBytes(fx.DataFile("Gakushu.tsv"), c.bytes);
        fx.f().OpenLearningRecord();
        EXPECT_FALSE(fx.f().LearningRecordLog().Recording());
        EXPECT_FALSE(fx.f().LearningRecordLog().Problem().empty());
        fx.LoseFirstQuestion(false);
        EXPECT_TRUE(fx.f().GameProgress().GameOver()) << "the game plays on";
        bool canClose = false;
        fx.f().FormCloseQuery(&fx.f(), canClose);
        EXPECT_EQ(ReadBytes(fx.DataFile("Gakushu.tsv")), c.bytes);
        EXPECT_FALSE(fx.f().LearningRecordLog().Clear()) << "clearing does not replace it either";
        EXPECT_EQ(ReadBytes(fx.DataFile("Gakushu.tsv")), c.bytes);
    }
}

// Due dates for some built-in questions, written before the game reads the record.
void WriteDueRecord(RecordingGame& fx, const std::vector<std::pair<int, std::string>>& due) {
    LearningTable t;
    for (auto& [q, date] : due) {
        LearningRow r;
        r.idiom = fx.f().Questions().At(q).Jukugo;
        r.reading = fx.f().Questions().At(q).Yomi;
        r.dealt = r.missed = 1;
        r.box = 1;
        r.last = r.due = date;
        t.rows.push_back(r);
    }
    ASSERT_TRUE(WriteLearningFile(fx.DataFile("Gakushu.tsv"), t));
    fx.f().OpenLearningRecord();
}

struct Deal {
    std::array<int, kSlots> questions, hidden;
    int nextDraw;
};

Deal DealOnce(GameFixture& fx) {
    fx.Key(VK_SHIFT_KEY);
    return {fx.f().GameBoard().MondaiNo(), fx.f().GameBoard().UnVisibleMojiNo(), fx.random.Random(1000)};
}

// 40 is due longest; 9 and 120 share a date (a tie drawn at random); 60 is due
// tomorrow; 77 is already dealt in this pass.
void PrepareReviewDeal(RecordingGame& fx) {
    WriteDueRecord(fx, {{120, "2026-12-05"}, {40, "2026-12-01"}, {9, "2026-12-05"}, {60, "2026-12-11"},
                        {77, "2026-11-01"}});
    GameStateSetUp(fx.f()).progress().MarkDealt(77, true);
    fx.f().LearningRecordLog().reviewDeal = true;
}

TEST(LearningPlayTest, ReviewDealTakesDueIdiomsOldestFirst) {
    RecordingGame fx;
    PrepareReviewDeal(fx);
    const Deal d = DealOnce(fx);
    EXPECT_EQ(d.questions[0], 40);
    std::array<int, 2> tie = {d.questions[1], d.questions[2]};
    std::sort(tie.begin(), tie.end());
    EXPECT_EQ(tie, (std::array<int, 2>{9, 120}));
    EXPECT_NE(d.questions[3], 60);
    EXPECT_NE(d.questions[3], 77);
    for (int q : d.questions) EXPECT_TRUE(fx.f().GameProgress().IsDealt(q));

    // The same seed and date give the same deal.
    RecordingGame again;
    PrepareReviewDeal(again);
    const Deal d2 = DealOnce(again);
    EXPECT_EQ(d2.questions, d.questions);
    EXPECT_EQ(d2.hidden, d.hidden);

    // Once answered right, it is due no more: the next day's deal takes the next due.
    fx.f().LearningRecordLog().Right(fx.f().Questions().At(40).Jukugo, fx.f().Questions().At(40).Yomi);
    GameStateSetUp(fx.f()).progress().ResetQuestionPool();
    fx.calendar.Set("2026-12-11");
    GameStateSetUp(fx.f()).board().NoBallInPlay();
    fx.f().SetUpStage();  // the countdown of the first deal called off
    const Deal next = DealOnce(fx);
    EXPECT_NE(next.questions[0], 40);
    EXPECT_EQ(next.questions[0], 77) << "the oldest due date, now that the pool was reset";
}

TEST(LearningPlayTest, OptionOffOrNothingDueDrawsAsBefore) {
    GameFixture unrecorded;  // no calendar, no record: the game as it always was
    const Deal before = DealOnce(unrecorded);

    RecordingGame off;  // record with due idioms, option off
    WriteDueRecord(off, {{40, "2026-12-01"}, {9, "2026-12-05"}});
    const Deal offDeal = DealOnce(off);

    RecordingGame nothingDue;  // option on, nothing due yet
    WriteDueRecord(nothingDue, {{40, "2026-12-20"}});
    nothingDue.f().LearningRecordLog().reviewDeal = true;
    const Deal onDeal = DealOnce(nothingDue);

    for (const Deal* d : {&offDeal, &onDeal}) {
        EXPECT_EQ(d->questions, before.questions);
        EXPECT_EQ(d->hidden, before.hidden);
        EXPECT_EQ(d->nextDraw, before.nextDraw) << "the generator was called the same number of times";
    }
}

}  // namespace

namespace {

const char* const kEmptyRecord = "idiom\treading\tdealt\tright\tmissed\thints\tbox\tlast\tdue\tstreak\tfirstright\tfirstseen\tdays\n";

TEST(LearningPlayTest, ClearingEmptiesBothFilesAndAFailedWriteKeepsTheFile) {
    RecordingGame fx;
    fx.LoseFirstQuestion(false);
    fx.f().LearningRecordLog().GameFinished("score", 1234);
    ASSERT_TRUE(fx.f().LearningRecordLog().SaveIfChanged());

    // The history cannot be written: the record is emptied, the history stays whole.
    SetWriteFaultInjection({[](const std::string& p) { return p.find("Rireki.tsv") != std::string::npos; },
                            WriteFailurePoint::Rename});
    EXPECT_FALSE(fx.f().LearningRecordLog().Clear());
    ClearWriteFaultInjection();
    EXPECT_EQ(ReadBytes(fx.DataFile("Rireki.tsv")), "when\tmode\tresult\n2026-12-10 12:00\tscore\t1234\n");
    EXPECT_EQ(ReadBytes(fx.DataFile("Gakushu.tsv")), kEmptyRecord);

    ASSERT_TRUE(fx.f().LearningRecordLog().Clear());
    EXPECT_EQ(ReadBytes(fx.DataFile("Gakushu.tsv")), kEmptyRecord);
    EXPECT_EQ(ReadBytes(fx.DataFile("Rireki.tsv")), "when\tmode\tresult\n");
    // Nothing cleared comes back with the next save.
    fx.f().LearningRecordLog().Hinted("一期一会", "いちごいちえ");
    ASSERT_TRUE(fx.f().LearningRecordLog().SaveIfChanged());
    EXPECT_EQ(ReadLearningFile(fx.DataFile("Gakushu.tsv")).table.rows.size(), 1u);
}

}  // namespace

namespace {

TEST(LearningPlayTest, AStrokeRoundRecordsFourRightAnswersAtItsEndAndItsStrokes) {
    RecordingGame fx;
    TForm1& g = fx.f();
    g.Sound().IsMusic = false;
    fx.Key(VK_MENU_KEY);  // to the stroke challenge
    fx.steering = true;
    fx.StartQuestion();
    // The first answer comes while later balls still fall: nothing is written yet.
    ASSERT_TRUE(fx.PlayUntil([&] { return g.GameBoard().MovingBallNo() >= 1 || g.GameProgress().GameOver(); }, 120000));
    ASSERT_FALSE(g.GameProgress().GameOver());
    EXPECT_FALSE(fx.Exists("Gakushu.tsv"));
    ASSERT_TRUE(fx.PlayUntil([&] { return g.GameProgress().Mode1_Clear() || g.GameProgress().GameOver(); }, 600000));
    ASSERT_FALSE(g.GameProgress().GameOver());

    LearningLoad load = ReadLearningFile(fx.DataFile("Gakushu.tsv"));
    ASSERT_EQ(load.status, LearningFileStatus::Ok);
    ASSERT_EQ(load.table.rows.size(), 4u);
    for (const LearningRow& r : load.table.rows) {
        SCOPED_TRACE(r.idiom);
        EXPECT_EQ(r.dealt, 1);
        EXPECT_EQ(r.right, 1);
        EXPECT_EQ(r.box, 1);
        EXPECT_EQ(r.due, "2026-12-11");
        EXPECT_EQ(r.firstRight, "2026-12-10");
    }
    HistoryLoad history = ReadHistoryFile(fx.DataFile("Rireki.tsv"));
    ASSERT_EQ(history.status, LearningFileStatus::Ok);
    ASSERT_EQ(history.table.rows.size(), 1u);
    EXPECT_EQ(history.table.rows[0].mode, "strokes");
    EXPECT_EQ(history.table.rows[0].result, g.GameProgress().PadHitCount());
    EXPECT_EQ(history.table.rows[0].when, "2026-12-10 12:00");
}

}  // namespace
