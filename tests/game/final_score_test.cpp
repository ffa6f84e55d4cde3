// Scores at their limits and at the end of a game: a total that would pass what
// the labels and files hold stops there, and the best score is judged and saved
// on the final total.
#include <gtest/gtest.h>

#include <algorithm>

#include "persistence/learning_file.h"
#include "persistence/record_files.h"
#include "platform/calendar.h"
#include "tests/test_support/game_state_set_up.h"
#include "tests/test_support/program_run.h"

namespace {

using game_test::Folders;
using game_test::ProgramRun;

// A run that keeps Rireki.tsv (the learning record needs a calendar).
struct RecordingRun : ProgramRun {
    FixedCalendar calendar{"2026-12-10"};
    explicit RecordingRun(const Folders& folders)
        : ProgramRun(folders.program, folders.documents, 800, 600, [this](TForm1& f) {
              services.calendar = &calendar;
              f.OpenLearningRecord();
          }) {}

    // Question `question` of the score challenge dealt and ball 0 released.
    void StartAt(int question) {
        TForm1& g = f();
        GameStateSetUp(g).NextQuestion(question);
        Shift();
        app.RunFor(5050);
        ASSERT_EQ(g.GameBoard().MovingBallNo(), 0);
    }

    // The ball in play meets the target's gap from below; the points then land on the total.
    void AnswerRight() {
        TForm1& g = f();
        const int b = g.GameBoard().MovingBallNo();
        const int slot = g.GameBoard().BallSeikaiMojiNo();
        TImage* ball = g.Scene().ImgBall[b];
        const TImage* gap = g.Scene().ImgBlock[slot * 4 + g.GameBoard().UnVisibleMojiNo()[slot]];
        g.Scene().FloatAniBallX[b]->StopAtCurrent();
        g.Scene().FloatAniBallY[b]->StopAtCurrent();
        ball->Position.X = gap->Position.X + 5;
        ball->Position.Y = gap->Position.Y + gap->Height - 12;
        g.Scene().FloatAniBallY[b]->StartValue = ball->Position.Y + 100;
        g.Scene().FloatAniBallX[b]->StartValue = ball->Position.X;
        g.Scene().ImgPad->Position.X = 2000;
        g.ProcessBall();
        ASSERT_TRUE(g.GameProgress().Clear());
        app.RunFor(3500);
    }
};

TDataRec RecordOnDisk(const Folders& folders) {
    TDataRec rec{};
    EXPECT_EQ(ReadDataRecFile(folders.Data("newrecord.dat"), rec), ReadStatus::Ok);
    return rec;
}

bool RecordUsable(const TDataRec& rec) { return DataRecIsUsable(rec, kBuiltInQuestions, {}); }

}  // namespace

// A suspended game whose total is near the largest 32-bit number (written by some
// other program) is played on: nothing negative on screen or on disk, and the
// next start offers the game again.
TEST(FinalScore, AHugeSuspendedTotalStopsAtTheLargestScore) {
    Folders folders;
    {
        RecordingRun a(folders);
        a.StartAt(5);
        a.f().SaveGame();
    }
    TDataRec rec = RecordOnDisk(folders);
    rec.TotalScore = 2147483547;
    rec.OldTotalScore = 2147483547;
    ASSERT_TRUE(WriteDataRecFile(folders.Data("newrecord.dat"), rec));
    {
        RecordingRun b(folders);
        TForm1& g = b.f();
        ASSERT_TRUE(g.Screens().GameLoading);
        b.Char(u'y');
        EXPECT_EQ(g.Scene().LblTotalScore->Text, "SCORE:999999");
        b.Char(u'a');
        b.AnswerRight();
        EXPECT_GT(g.GameProgress().Score(), 0);
        EXPECT_EQ(g.GameProgress().TotalScore(), kLargestScore);
        EXPECT_EQ(g.Scene().LblTotalScore->Text, "SCORE:999999");
        g.SaveGame();
        const TDataRec saved = RecordOnDisk(folders);
        EXPECT_EQ(saved.TotalScore, kLargestScore);
        EXPECT_EQ(saved.OldTotalScore, kLargestScore);
        EXPECT_TRUE(RecordUsable(saved));
    }
    RecordingRun c(folders);
    EXPECT_TRUE(c.f().Screens().GameLoading);
    EXPECT_EQ(c.f().Scene().LblMsg->Text, Msg::ResumeQuestion);
    EXPECT_TRUE(c.f().StartupNoticeLines().empty());
}

// The 30th answer: the record is judged on the total with that answer's points,
// and the saved best (newrecord.dat), the HIGHSCORE shown, the row Rireki.tsv gets
// and the next start's HIGHSCORE all say the final total.
TEST(FinalScore, TheLastAnswerJudgesAndSavesTheRecordOnTheFinalTotal) {
    struct Case {
        const char* name;
        int totalBefore, best;
        bool record;
    };
    // The last answer here is worth (45 - 5) x 4 x 4 x 10 = 6400 points.
    const Case cases[] = {
        {"over the best before the answer", 19520, 15000, true},
        {"lifted past the best by the answer", 14000, 15000, true},
        {"short of the best", 100, 15000, false},
        {"equal to the best is no record", 8600, 15000, false},
        {"stops at the largest score", 998000, 15000, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Folders folders;
        int final = 0;
        {
            RecordingRun a(folders);
            TForm1& g = a.f();
            a.StartAt(30);
            GameStateSetUp(g).Record([&](TDataRec& r) {
                r.TotalScore = c.totalBefore;
                r.PadHitCount = 5;
            });
            GameStateSetUp(g).progress().TakeHighScore(c.best);
            a.AnswerRight();
            ASSERT_TRUE(g.GameProgress().GameClear());
            ASSERT_EQ(g.GameProgress().Score(), 6400);
            final = std::min(c.totalBefore + 6400, kLargestScore);
            EXPECT_EQ(g.GameProgress().TotalScore(), final);
            EXPECT_EQ(g.GameProgress().ChangeHighScore(), c.record);
            const int best = c.record ? final : c.best;
            EXPECT_EQ(g.GameProgress().HighScore(), best);
            EXPECT_EQ(g.Scene().LblHighScore->Text, HighScoreText(best));
            EXPECT_EQ(g.Scene().LblTotalScore->Text, ScoreText(final));
            EXPECT_EQ(g.Scene().ImgTitle->Bitmap.Path(),
                      g.AssetPath(c.record ? "Data/Png/newrecord.png" : "Data/Png/GameClear.png"));
            const TDataRec saved = RecordOnDisk(folders);
            EXPECT_EQ(saved.HighScore, best);
            EXPECT_EQ(saved.TotalScore, final);
            EXPECT_EQ(saved.GameClear, 1);
            const HistoryLoad history = ReadHistoryFile(folders.Data("Rireki.tsv"));
            ASSERT_EQ(history.status, LearningFileStatus::Ok);
            ASSERT_EQ(history.table.rows.size(), 1u);
            EXPECT_EQ(history.table.rows[0].mode, "score");
            EXPECT_EQ(history.table.rows[0].result, final);
        }
        RecordingRun next(folders);
        EXPECT_FALSE(next.f().Screens().GameLoading);
        EXPECT_EQ(next.f().Scene().LblHighScore->Text, HighScoreText(c.record ? final : c.best));
    }
}
