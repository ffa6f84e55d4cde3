// The suspended game's record to and from the board and progress: every shared
// value makes the round trip, and what the start-up keeps is left alone.
#include <gtest/gtest.h>

#include <cstring>

#include "game/suspended_game.h"

namespace {

// A record whose every value differs from its neighbours and from a fresh game's,
// the reserved bytes left zero.
TDataRec DistinctRecord() {
    TDataRec r{};
    int n = 1;
    auto next = [&] { return n++; };
    r.Stage = 2;
    r.MondaiCount = 17;
    for (int q = 0; q < kBuiltInQuestions; ++q) r.ShutudaiSumi[q] = q % 3 == 0;
    r.ShutudaiSumiCount = 57;
    for (auto& q : r.MondaiNo) q = next();
    for (int i = 0; i < kBlocks; ++i) {
        r.Block[i].X = 0.5f * next();
        r.Block[i].Visible = i % 2;
        r.Block[i].BlockKind = i % 7;
        r.Block[i].SeikaiMojiNo = i % 5 - 1;
    }
    for (auto& b : r.Ball) b = {1.0f * next(), 1.0f * next(), 1.0f * next(), 1.0f * next(), 0.25f * next(), 1, {}};
    r.MovingBallNo = 1;
    for (int k = 0; k < kSlots; ++k) r.UnVisibleMojiNo[k] = 3 - k;
    r.BallSeikaiMojiNo = 2;
    r.FirstBallSeikaiMojiNo = 3;
    r.PadHitCount = 12;
    r.UpBlockHitCount = 4;
    r.Clear = 1;
    r.GameOver = 0;
    r.GameClear = 0;
    r.HintHyoji = 1;
    for (int k = 0; k < 5; ++k) r.UnVisibleBlockCount[k] = k + 3;
    for (int i = 0; i < kBlocks; ++i)
        r.Stone[i] = {1.0f * next(), 1.0f * next(), {}, 1.0f * next(), 0.5f * next(), static_cast<uint8_t>(i % 2), {}};
    r.Score = 1600;
    r.TotalScore = 23450;
    r.OldTotalScore = 20000;
    r.HighScore = 31000;
    r.ScreenX = 1600;
    r.ScreenY = 900;
    return r;
}

}  // namespace

TEST(SuspendedGame, EveryValueMakesTheRoundTrip) {
    const TDataRec rec = DistinctRecord();
    Board board;
    Progress progress;
    // The best score and the dealt marks come from the start-up's reading of the file.
    progress.TakeHighScore(rec.HighScore);
    for (int q = 0; q < kBuiltInQuestions; ++q) progress.MarkDealt(q, rec.ShutudaiSumi[q] != 0);
    FromRecord(rec, board, progress);
    const TDataRec back = ToRecord(board, progress);
    EXPECT_EQ(std::memcmp(&back, &rec, sizeof rec), 0);
}

TEST(SuspendedGame, ReadingLeavesWhatTheStartUpKeptAndBoundsTheScores) {
    TDataRec rec = DistinctRecord();
    rec.TotalScore = 2147483547;
    rec.Score = 1200000;
    Board board;
    Progress progress;
    progress.TakeHighScore(15000);
    progress.MarkDealt(5, true);
    FromRecord(rec, board, progress);
    EXPECT_EQ(progress.HighScore(), 15000);
    EXPECT_EQ(progress.DealtCount(), 1);
    EXPECT_TRUE(progress.IsDealt(5));
    EXPECT_FALSE(progress.IsDealt(0));
    EXPECT_EQ(progress.TotalScore(), kLargestScore);
    EXPECT_EQ(progress.Score(), kLargestScore);
    EXPECT_EQ(progress.OldTotalScore(), 20000);
}
