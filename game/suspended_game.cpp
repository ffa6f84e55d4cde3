#include "game/suspended_game.h"

TDataRec ToRecord(const Board& board, const Progress& progress, const TDataRec& kept) {
    TDataRec r = kept;
    r.Stage = progress.Stage;
    r.MondaiCount = progress.MondaiCount;
    for (int q = 0; q < kBuiltInQuestions; ++q) r.ShutudaiSumi[q] = progress.ShutudaiSumi[q] ? 1 : 0;
    r.ShutudaiSumiCount = progress.ShutudaiSumiCount;
    for (int k = 0; k < kSlots; ++k) r.MondaiNo[k] = board.MondaiNo[k];
    for (int i = 0; i < kBlocks; ++i) {
        r.Block[i].X = board.places.blocks[i].X;
        r.Block[i].Visible = board.places.blocks[i].Visible ? 1 : 0;
        r.Block[i].BlockKind = static_cast<int32_t>(board.BlockKind[i]);
        r.Block[i].SeikaiMojiNo = board.SeikaiMojiNo[i];
    }
    for (int b = 0; b < kScoreChallengeBalls; ++b) {
        const BallPlace& ball = board.places.balls[b];
        r.Ball[b].X = ball.X;
        r.Ball[b].Y = ball.Y;
        r.Ball[b].StopX = ball.StopX;
        r.Ball[b].StopY = ball.StopY;
        r.Ball[b].Duration = ball.Duration;
        r.Ball[b].Visible = ball.Visible ? 1 : 0;
    }
    r.MovingBallNo = board.MovingBallNo;
    for (int k = 0; k < kSlots; ++k) r.UnVisibleMojiNo[k] = board.UnVisibleMojiNo[k];
    r.BallSeikaiMojiNo = board.BallSeikaiMojiNo;
    r.FirstBallSeikaiMojiNo = board.FirstBallSeikaiMojiNo;
    r.PadHitCount = progress.PadHitCount;
    r.UpBlockHitCount = board.UpBlockHitCount;
    r.Clear = progress.Clear ? 1 : 0;
    r.GameOver = progress.GameOver ? 1 : 0;
    r.GameClear = progress.GameClear ? 1 : 0;
    r.HintHyoji = progress.HintHyoji ? 1 : 0;
    for (int n = 0; n < 5; ++n) r.UnVisibleBlockCount[n] = board.UnVisibleBlockCount[n];
    for (int i = 0; i < kBlocks; ++i) {
        const StonePlace& stone = board.places.stones[i];
        r.Stone[i].X = stone.X;
        r.Stone[i].Y = stone.Y;
        r.Stone[i].StopY = stone.StopY;
        r.Stone[i].Duration = stone.Duration;
        r.Stone[i].Visible = stone.Visible ? 1 : 0;
    }
    r.Score = progress.Score;
    r.TotalScore = progress.TotalScore;
    r.OldTotalScore = progress.OldTotalScore;
    r.HighScore = progress.HighScore;
    r.ScreenX = board.places.screenWidth;
    r.ScreenY = board.places.screenHeight;
    return r;
}

void FromRecord(const TDataRec& rec, Board& board, Progress& progress) {
    progress.Stage = rec.Stage;
    progress.MondaiCount = rec.MondaiCount;
    for (int q = 0; q < kBuiltInQuestions; ++q) progress.ShutudaiSumi[q] = rec.ShutudaiSumi[q] != 0;
    progress.ShutudaiSumiCount = rec.ShutudaiSumiCount;
    for (int k = 0; k < kSlots; ++k) board.MondaiNo[k] = rec.MondaiNo[k];
    for (int i = 0; i < kBlocks; ++i) {
        board.places.blocks[i] = {rec.Block[i].X, rec.Block[i].Visible != 0};
        board.BlockKind[i] = static_cast<KindOfBlock>(rec.Block[i].BlockKind);
        board.SeikaiMojiNo[i] = rec.Block[i].SeikaiMojiNo;
    }
    for (int b = 0; b < kScoreChallengeBalls; ++b) {
        const TDataRecBall& ball = rec.Ball[b];
        board.places.balls[b] = {ball.X, ball.Y, ball.StopX, ball.StopY, ball.Duration, ball.Visible != 0};
    }
    board.MovingBallNo = rec.MovingBallNo;
    for (int k = 0; k < kSlots; ++k) board.UnVisibleMojiNo[k] = rec.UnVisibleMojiNo[k];
    board.BallSeikaiMojiNo = rec.BallSeikaiMojiNo;
    board.FirstBallSeikaiMojiNo = rec.FirstBallSeikaiMojiNo;
    progress.PadHitCount = rec.PadHitCount;
    board.UpBlockHitCount = rec.UpBlockHitCount;
    progress.Clear = rec.Clear != 0;
    progress.GameOver = rec.GameOver != 0;
    progress.GameClear = rec.GameClear != 0;
    progress.HintHyoji = rec.HintHyoji != 0;
    for (int n = 0; n < 5; ++n) board.UnVisibleBlockCount[n] = rec.UnVisibleBlockCount[n];
    for (int i = 0; i < kBlocks; ++i) {
        const TDataRecStone& stone = rec.Stone[i];
        board.places.stones[i] = {stone.X, stone.Y, stone.StopY, stone.Duration, stone.Visible != 0};
    }
    // Scores beyond what the game keeps (a file from elsewhere) are taken at its largest.
    progress.Score = BoundedScore(rec.Score);
    progress.TotalScore = BoundedScore(rec.TotalScore);
    progress.OldTotalScore = BoundedScore(rec.OldTotalScore);
    progress.HighScore = BoundedScore(rec.HighScore);
    board.places.screenWidth = rec.ScreenX;
    board.places.screenHeight = rec.ScreenY;
    // The record does not say whether the ball in play was on its first fall:
    // its saved legs run on as they are.
    board.FirstBallDown = false;
}
