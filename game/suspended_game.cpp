#include "game/suspended_game.h"

#include <type_traits>

// Every value the record and the game share, each named once: field(recordValue,
// gameValue) is called for each, so writing and reading go through one list.
// Const on one side picks the direction. A friend of Board and Progress: the
// record is the one place that reaches their members directly.
struct RecordFields {
    template <class Rec, class B, class P, class Field>
    static void Each(Rec& r, B& board, P& progress, Field&& field) {
        field(r.Stage, progress.stage_);
        field(r.MondaiCount, progress.mondaiCount_);
        for (int k = 0; k < kSlots; ++k) field(r.MondaiNo[k], board.mondaiNo_[k]);
        for (int i = 0; i < kBlocks; ++i) {
            field(r.Block[i].X, board.places_.blocks[i].X);
            field(r.Block[i].Visible, board.places_.blocks[i].Visible);
            field(r.Block[i].BlockKind, board.blockKind_[i]);
            field(r.Block[i].SeikaiMojiNo, board.seikaiMojiNo_[i]);
        }
        for (int b = 0; b < kScoreChallengeBalls; ++b) {
            auto& ball = board.places_.balls[b];
            field(r.Ball[b].X, ball.X);
            field(r.Ball[b].Y, ball.Y);
            field(r.Ball[b].StopX, ball.StopX);
            field(r.Ball[b].StopY, ball.StopY);
            field(r.Ball[b].Duration, ball.Duration);
            field(r.Ball[b].Visible, ball.Visible);
        }
        field(r.MovingBallNo, board.movingBallNo_);
        for (int k = 0; k < kSlots; ++k) field(r.UnVisibleMojiNo[k], board.unVisibleMojiNo_[k]);
        field(r.BallSeikaiMojiNo, board.ballSeikaiMojiNo_);
        field(r.FirstBallSeikaiMojiNo, board.firstBallSeikaiMojiNo_);
        field(r.PadHitCount, progress.padHitCount_);
        field(r.UpBlockHitCount, board.upBlockHitCount_);
        field(r.Clear, progress.clear_);
        field(r.GameOver, progress.gameOver_);
        field(r.GameClear, progress.gameClear_);
        field(r.HintHyoji, progress.hintHyoji_);
        for (int n = 0; n < 5; ++n) field(r.UnVisibleBlockCount[n], board.unVisibleBlockCount_[n]);
        for (int i = 0; i < kBlocks; ++i) {
            auto& stone = board.places_.stones[i];
            field(r.Stone[i].X, stone.X);
            field(r.Stone[i].Y, stone.Y);
            field(r.Stone[i].StopY, stone.StopY);
            field(r.Stone[i].Duration, stone.Duration);
            field(r.Stone[i].Visible, stone.Visible);
        }
        field(r.Score, progress.score_);
        field(r.TotalScore, progress.totalScore_);
        field(r.OldTotalScore, progress.oldTotalScore_);
        field(r.ScreenX, board.places_.screenWidth);
        field(r.ScreenY, board.places_.screenHeight);
    }

    // A record's values into a board and progress that hold together: scores
    // beyond what the game keeps (a file from elsewhere) are taken at its largest;
    // the record does not say whether the ball in play was on its first fall, so
    // its saved legs run on as they are.
    static void Read(const TDataRec& rec, Board& board, Progress& progress) {
        Each(rec, board, progress,
             [](const auto& r, auto& game) { game = static_cast<std::remove_reference_t<decltype(game)>>(r); });
        progress.score_ = BoundedScore(progress.score_);
        progress.totalScore_ = BoundedScore(progress.totalScore_);
        progress.oldTotalScore_ = BoundedScore(progress.oldTotalScore_);
        board.firstBallDown_ = false;
    }
};

TDataRec ToRecord(const Board& board, const Progress& progress, const TDataRec& kept) {
    TDataRec r = kept;
    RecordFields::Each(r, board, progress,
                       [](auto& rec, const auto& game) { rec = static_cast<std::remove_reference_t<decltype(rec)>>(game); });
    // Read back at start-up, even from a board that cannot be continued.
    r.HighScore = progress.HighScore();
    for (int q = 0; q < kBuiltInQuestions; ++q) r.ShutudaiSumi[q] = progress.BuiltInMarks()[q] ? 1 : 0;
    r.ShutudaiSumiCount = progress.BuiltInDealtCount();
    return r;
}

void FromRecord(const TDataRec& rec, Board& board, Progress& progress) { RecordFields::Read(rec, board, progress); }
