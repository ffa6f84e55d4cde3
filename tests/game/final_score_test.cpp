// Scores at their limits and at the end of a game: a total that would pass what
// the labels and files hold stops there, and the best score is judged and saved
// on the final total.
#include <gtest/gtest.h>

#include <algorithm>

#include "persistence/learning_file.h"
#include "persistence/record_files.h"
#include "platform/calendar.h"
#include "tests/test_support/program_run.h"

namespace {

using game_test::Folders;
using game_test::ProgramRun;

// A run that keeps Rireki.tsv (the learning record needs a calendar).
struct RecordingRun : ProgramRun {
    FixedCalendar calendar{"2026-12-10"};
    explicit RecordingRun(const Folders& folders)
        : ProgramRun(folders.program, folders.documents, 800, 600, [this](TForm1& f) {
              f.svc.calendar = &calendar;
              f.OpenLearningRecord();
          }) {}

    // Question `question` of the score challenge dealt and ball 0 released.
    void StartAt(int question) {
        TForm1& g = f();
        g.progress.GameClear = false;
        g.progress.Clear = true;
        g.progress.MondaiCount = question - 1;
        Shift();
        app.RunFor(5050);
        ASSERT_EQ(g.board.MovingBallNo, 0);
    }

    // The ball in play meets the target's gap from below; the points then land on the total.
    void AnswerRight() {
        TForm1& g = f();
        const int b = g.board.MovingBallNo;
        const int slot = g.board.BallSeikaiMojiNo;
        TImage* ball = g.ImgBall[b];
        const TImage* gap = g.ImgBlock[slot * 4 + g.board.UnVisibleMojiNo[slot]];
        g.FloatAniBallX[b]->StopAtCurrent();
        g.FloatAniBallY[b]->StopAtCurrent();
        ball->Position.X = gap->Position.X + 5;
        ball->Position.Y = gap->Position.Y + gap->Height - 12;
        g.FloatAniBallY[b]->StartValue = ball->Position.Y + 100;
        g.FloatAniBallX[b]->StartValue = ball->Position.X;
        g.ImgPad->Position.X = 2000;
        g.ProcessBall();
        ASSERT_TRUE(g.progress.Clear);
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
        ASSERT_TRUE(g.GameLoading);
        b.Char(u'y');
        EXPECT_EQ(g.LblTotalScore->Text, "SCORE:999999");
        b.Char(u'a');
        b.AnswerRight();
        EXPECT_GT(g.progress.Score, 0);
        EXPECT_EQ(g.progress.TotalScore, kLargestScore);
        EXPECT_EQ(g.LblTotalScore->Text, "SCORE:999999");
        g.SaveGame();
        const TDataRec saved = RecordOnDisk(folders);
        EXPECT_EQ(saved.TotalScore, kLargestScore);
        EXPECT_EQ(saved.OldTotalScore, kLargestScore);
        EXPECT_TRUE(RecordUsable(saved));
    }
    RecordingRun c(folders);
    EXPECT_TRUE(c.f().GameLoading);
    EXPECT_EQ(c.f().LblMsg->Text, Msg::ResumeQuestion);
    EXPECT_TRUE(c.f().StartupNotices.empty());
}

