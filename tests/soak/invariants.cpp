#include "tests/soak/invariants.h"

#include <cstring>

#include "persistence/record_files.h"

namespace {

#define REQUIRE(cond, what)                                        \
    do {                                                           \
        if (!(cond)) broken.push_back(std::string(what) + " [" #cond "]"); \
    } while (0)

int HiddenBlocks(const TForm1& g, int r) {
    int hidden = 0;
    for (int c = 0; c < kBlocksPerRow; ++c) hidden += !g.Scene().ImgBlock[r * kBlocksPerRow + c]->Visible;
    return hidden;
}

}  // namespace

void CheckGameInvariants(const TForm1& g, std::vector<std::string>& broken) {
    REQUIRE(g.GameProgress().Stage() >= 0 && g.GameProgress().Stage() <= 3, "stage in 0..3");
    REQUIRE(g.GameBoard().MovingBallNo() >= -1 && g.GameBoard().MovingBallNo() <= (g.GameProgress().GameMode() == Challenge::Score ? 2 : 3),
            "MovingBallNo in -1..2 (score challenge) or -1..3");
    REQUIRE(g.GameProgress().Score() >= 0, "score never negative");
    REQUIRE(g.GameProgress().TotalScore() >= 0, "total score never negative");
    REQUIRE(g.GameProgress().PadHitCount() >= 0, "paddle hits never negative");
    REQUIRE(g.GameProgress().MondaiCount() >= 0 && g.GameProgress().MondaiCount() <= kQuestionsPerGame, "question count in 0..30");
    REQUIRE(g.Questions().TuikaJukugos() == g.GameProgress().AdditionalQuestionCount(), "a used mark for every additional question");
    REQUIRE(g.GameProgress().DealtCount() <= g.Questions().Count(), "no more questions dealt than the bank holds");

    if (g.GameProgress().Stage() >= 1) {
        const int questions = kBuiltInQuestions + g.Questions().TuikaJukugos();
        for (int k = 0; k < kSlots; ++k) {
            REQUIRE(g.GameBoard().MondaiNo()[k] >= 0 && g.GameBoard().MondaiNo()[k] < questions, "question number of slot " + std::to_string(k));
            REQUIRE(g.GameBoard().UnVisibleMojiNo()[k] >= 0 && g.GameBoard().UnVisibleMojiNo()[k] <= 3, "hidden position of slot " + std::to_string(k));
        }
        REQUIRE(g.GameBoard().BallSeikaiMojiNo() >= 0 && g.GameBoard().BallSeikaiMojiNo() < kSlots, "target slot");
        for (int b = 0; b < kBalls; ++b)
            REQUIRE(g.GameBoard().BallMojiNo()[b] >= 0 && g.GameBoard().BallMojiNo()[b] < kSlots, "ball slot " + std::to_string(b));
        // Rows in play count their hidden blocks; rows out of play (and the two
        // guard entries below the bottom row) hold 16.
        for (int r = 0; r < 5; ++r) {
            const int want = r < g.GameProgress().Stage() ? HiddenBlocks(g, r) : 16;
            REQUIRE(g.GameBoard().UnVisibleBlockCount()[r] == want,
                    "UnVisibleBlockCount[" + std::to_string(r) + "]=" + std::to_string(g.GameBoard().UnVisibleBlockCount()[r]) +
                        " but " + std::to_string(want) + " expected (stage " + std::to_string(g.GameProgress().Stage()) + ")");
        }
        for (int i = 0; i < kBlocks; ++i) {
            REQUIRE(static_cast<int>(g.GameBoard().BlockKind()[i]) >= 0 && static_cast<int>(g.GameBoard().BlockKind()[i]) <= 6, "block kind " + std::to_string(i));
            REQUIRE(g.GameBoard().SeikaiMojiNo()[i] >= -1 && g.GameBoard().SeikaiMojiNo()[i] < kSlots, "answer slot of block " + std::to_string(i));
        }
    }
    // While the board runs, a visible stone is one that falls. (At the title and
    // while paused a stone may stand: held, or restored from a record and not yet
    // set going.)
    const bool boardRuns = !g.Screens().Title && !g.Screens().Pause && g.Scene().Timer1->Enabled();
    for (int i = 0; boardRuns && i < kBlocks; ++i) {
        if (!g.Scene().ImgStone[i]->Visible) continue;
        REQUIRE(g.Scene().FloatAniStoneY[i]->Running(), "visible stone " + std::to_string(i) + " not falling while the board runs");
    }
}

void CheckSavedRecord(const TForm1& g, const std::string& recordPath, std::vector<std::string>& broken) {
    TDataRec onDisk{};
    const bool read = ReadDataRecFile(recordPath, onDisk) == ReadStatus::Ok;
    REQUIRE(read, "saved record readable");
    if (!read) return;
    REQUIRE(std::memcmp(&onDisk, &g.SuspendedGameRecord(), sizeof onDisk) == 0, "saved record equals the game's record");
    std::array<bool, 4> additional{};
    for (int k = 0; k < kSlots; ++k) additional[k] = onDisk.MondaiNo[k] >= kBuiltInQuestions;
    REQUIRE(DataRecIsUsable(onDisk, kBuiltInQuestions + g.Questions().TuikaJukugos(), additional), "saved record usable");
}

void CheckRestoredFrom(const TForm1& g, const TDataRec& r, std::vector<std::string>& broken) {
    REQUIRE(g.GameProgress().Stage() == r.Stage && g.GameProgress().MondaiCount() == r.MondaiCount, "restored stage and question count");
    for (int k = 0; k < kSlots; ++k) {
        REQUIRE(g.GameBoard().MondaiNo()[k] == r.MondaiNo[k], "restored question of slot " + std::to_string(k));
        REQUIRE(g.GameBoard().UnVisibleMojiNo()[k] == r.UnVisibleMojiNo[k], "restored hidden position " + std::to_string(k));
    }
    for (int i = 0; i < kBlocks; ++i) {
        const std::string n = std::to_string(i);
        REQUIRE(g.Scene().ImgBlock[i]->Visible == (r.Block[i].Visible != 0), "restored visibility of block " + n);
        REQUIRE(g.Scene().ImgBlock[i]->Position.X == r.Block[i].X, "restored x of block " + n);
        REQUIRE(static_cast<int32_t>(g.GameBoard().BlockKind()[i]) == r.Block[i].BlockKind && g.GameBoard().SeikaiMojiNo()[i] == r.Block[i].SeikaiMojiNo,
                "restored kind of block " + n);
        REQUIRE(g.Scene().ImgStone[i]->Visible == (r.Stone[i].Visible != 0), "restored visibility of stone " + n);
        if (r.Stone[i].Visible)
            REQUIRE(g.Scene().ImgStone[i]->Position.X == r.Stone[i].X && g.Scene().ImgStone[i]->Position.Y == r.Stone[i].Y,
                    "restored place of stone " + n);
    }
    for (int b = 0; b < 3; ++b) {
        const std::string n = std::to_string(b);
        REQUIRE(g.Scene().ImgBall[b]->Visible == (r.Ball[b].Visible != 0), "restored visibility of ball " + n);
        REQUIRE(g.Scene().ImgBall[b]->Position.X == r.Ball[b].X && g.Scene().ImgBall[b]->Position.Y == r.Ball[b].Y,
                "restored place of ball " + n);
    }
    REQUIRE(g.GameBoard().MovingBallNo() == r.MovingBallNo, "restored ball in play");
    REQUIRE(g.GameBoard().BallSeikaiMojiNo() == r.BallSeikaiMojiNo && g.GameBoard().FirstBallSeikaiMojiNo() == r.FirstBallSeikaiMojiNo,
            "restored target slots");
    REQUIRE(g.GameProgress().PadHitCount() == r.PadHitCount && g.GameBoard().UpBlockHitCount() == r.UpBlockHitCount, "restored hit counts");
    REQUIRE(g.GameProgress().Clear() == (r.Clear != 0) && g.GameProgress().GameOver() == (r.GameOver != 0) && g.GameProgress().GameClear() == (r.GameClear != 0) &&
                g.GameProgress().HintHyoji() == (r.HintHyoji != 0),
            "restored flags");
    for (int n = 0; n < 5; ++n)
        REQUIRE(g.GameBoard().UnVisibleBlockCount()[n] == r.UnVisibleBlockCount[n], "restored hidden-block count " + std::to_string(n));
    REQUIRE(g.GameProgress().Score() == r.Score && g.GameProgress().TotalScore() == r.TotalScore && g.GameProgress().OldTotalScore() == r.OldTotalScore,
            "restored scores");
}
