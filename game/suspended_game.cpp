#include "game/suspended_game.h"

#include <type_traits>

namespace {

// Every value the record and the game share, each named once: field(recordValue,
// gameValue) is called for each, so writing and reading go through one list.
// Const on one side picks the direction.
template <class Rec, class B, class P, class Field>
void EachField(Rec& r, B& board, P& progress, Field&& field) {
    field(r.Stage, progress.Stage);
    field(r.MondaiCount, progress.MondaiCount);
    for (int k = 0; k < kSlots; ++k) field(r.MondaiNo[k], board.MondaiNo[k]);
    for (int i = 0; i < kBlocks; ++i) {
        field(r.Block[i].X, board.places.blocks[i].X);
        field(r.Block[i].Visible, board.places.blocks[i].Visible);
        field(r.Block[i].BlockKind, board.BlockKind[i]);
        field(r.Block[i].SeikaiMojiNo, board.SeikaiMojiNo[i]);
    }
    for (int b = 0; b < kScoreChallengeBalls; ++b) {
        auto& ball = board.places.balls[b];
        field(r.Ball[b].X, ball.X);
        field(r.Ball[b].Y, ball.Y);
        field(r.Ball[b].StopX, ball.StopX);
        field(r.Ball[b].StopY, ball.StopY);
        field(r.Ball[b].Duration, ball.Duration);
        field(r.Ball[b].Visible, ball.Visible);
    }
    field(r.MovingBallNo, board.MovingBallNo);
    for (int k = 0; k < kSlots; ++k) field(r.UnVisibleMojiNo[k], board.UnVisibleMojiNo[k]);
    field(r.BallSeikaiMojiNo, board.BallSeikaiMojiNo);
    field(r.FirstBallSeikaiMojiNo, board.FirstBallSeikaiMojiNo);
    field(r.PadHitCount, progress.PadHitCount);
    field(r.UpBlockHitCount, board.UpBlockHitCount);
    field(r.Clear, progress.Clear);
    field(r.GameOver, progress.GameOver);
    field(r.GameClear, progress.GameClear);
    field(r.HintHyoji, progress.HintHyoji);
    for (int n = 0; n < 5; ++n) field(r.UnVisibleBlockCount[n], board.UnVisibleBlockCount[n]);
    for (int i = 0; i < kBlocks; ++i) {
        auto& stone = board.places.stones[i];
        field(r.Stone[i].X, stone.X);
        field(r.Stone[i].Y, stone.Y);
        field(r.Stone[i].StopY, stone.StopY);
        field(r.Stone[i].Duration, stone.Duration);
        field(r.Stone[i].Visible, stone.Visible);
    }
    field(r.Score, progress.Score);
    field(r.TotalScore, progress.TotalScore);
    field(r.OldTotalScore, progress.OldTotalScore);
    field(r.ScreenX, board.places.screenWidth);
    field(r.ScreenY, board.places.screenHeight);
}

}  // namespace

TDataRec ToRecord(const Board& board, const Progress& progress, const TDataRec& kept) {
    TDataRec r = kept;
    EachField(r, board, progress,
              [](auto& rec, const auto& game) { rec = static_cast<std::remove_reference_t<decltype(rec)>>(game); });
    // Read back at start-up, even from a board that cannot be continued.
    r.HighScore = progress.HighScore;
    for (int q = 0; q < kBuiltInQuestions; ++q) r.ShutudaiSumi[q] = progress.BuiltInMarks()[q] ? 1 : 0;
    r.ShutudaiSumiCount = progress.BuiltInDealtCount();
    return r;
}

void FromRecord(const TDataRec& rec, Board& board, Progress& progress) {
    EachField(rec, board, progress,
              [](const auto& r, auto& game) { game = static_cast<std::remove_reference_t<decltype(game)>>(r); });
    // Scores beyond what the game keeps (a file from elsewhere) are taken at its largest.
    progress.Score = BoundedScore(progress.Score);
    progress.TotalScore = BoundedScore(progress.TotalScore);
    progress.OldTotalScore = BoundedScore(progress.OldTotalScore);
    // The record does not say whether the ball in play was on its first fall:
    // its saved legs run on as they are.
    board.FirstBallDown = false;
}
