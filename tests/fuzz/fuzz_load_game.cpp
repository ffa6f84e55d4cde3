// A suspended game's record taken into a board and progress, without a window:
// whatever the file holds, a record the game accepts gives a board whose every
// index the game uses is in range, and it is written back exactly as it was read.
//
// Input: the first 3428 bytes are the record (a shorter input is zero-filled);
// the first byte after it says which slots were saved with their texts (bit k:
// slot k may name an additional question the list no longer has).
#include <algorithm>
#include <cmath>
#include <cstring>

#include "game/suspended_game.h"
#include "persistence/record_files.h"
#include "tests/fuzz/fuzz_target.h"

namespace {

constexpr int kQuestionsKnown = kBuiltInQuestions + 2;  // two additional questions

bool SameBytes(const TDataRec& a, const TDataRec& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace

TM_FUZZ_TARGET(load_game) {
    TDataRec rec{};
    std::memcpy(&rec, data, std::min(size, sizeof rec));
    const uint8_t textBits = size > sizeof rec ? data[sizeof rec] : 0;
    std::array<bool, 4> savedWithTexts{};
    for (int k = 0; k < 4; ++k) savedWithTexts[k] = (textBits >> k) & 1;
    if (!DataRecIsUsable(rec, kQuestionsKnown, savedWithTexts)) return 0;

    Board board;
    Progress progress;
    // As at start-up: the best score and the marks are taken from the file first.
    const KeptValues kept = KeptValuesOf(rec, sizeof rec);
    if (kept.highScore) progress.TakeHighScore(*kept.highScore);
    if (kept.usedQuestions) progress.TakeBuiltInMarks(*kept.usedQuestions);
    FromRecord(rec, board, progress);
    FUZZ_CHECK(progress.Score() >= 0 && progress.Score() <= kLargestScore);
    FUZZ_CHECK(progress.TotalScore() >= 0 && progress.TotalScore() <= kLargestScore);

    FUZZ_CHECK(progress.Stage() >= 1 && progress.Stage() <= 3);
    FUZZ_CHECK(progress.MondaiCount() >= 1 && progress.MondaiCount() <= kQuestionsPerGame);
    FUZZ_CHECK(board.MovingBallNo() >= -1 && board.MovingBallNo() < kScoreChallengeBalls);
    FUZZ_CHECK(board.BallSeikaiMojiNo() >= 0 && board.BallSeikaiMojiNo() < kSlots);
    FUZZ_CHECK(board.FirstBallSeikaiMojiNo() >= 0 && board.FirstBallSeikaiMojiNo() < kSlots);
    for (int k = 0; k < kSlots; ++k) {
        FUZZ_CHECK(board.UnVisibleMojiNo()[k] >= 0 && board.UnVisibleMojiNo()[k] < 4);
        FUZZ_CHECK(board.MondaiNo()[k] >= 0);
        FUZZ_CHECK(board.MondaiNo()[k] < kQuestionsKnown || savedWithTexts[k]);
    }
    for (int i = 0; i < kBlocks; ++i) {
        FUZZ_CHECK(BlockPicture(board.BlockKind()[i]) != nullptr);
        FUZZ_CHECK(board.SeikaiMojiNo()[i] >= -1 && board.SeikaiMojiNo()[i] < kSlots);
        FUZZ_CHECK(std::isfinite(board.SavedPlaces().blocks[i].X) && std::isfinite(board.SavedPlaces().stones[i].Y));
    }
    for (int n : board.UnVisibleBlockCount()) FUZZ_CHECK(n >= 0 && n <= kBlocksPerRow);
    FUZZ_CHECK(board.SavedPlaces().screenWidth > 0 && board.SavedPlaces().screenHeight > 0);

    // Written back over what was read, the record is the same bytes but for what the
    // game keeps its own way: the marks as taken (0 or 1) with their count, the best
    // score as taken, and scores within the largest the game keeps.
    TDataRec expected = rec;
    for (int q = 0; q < kBuiltInQuestions; ++q) expected.ShutudaiSumi[q] = kept.usedQuestions && rec.ShutudaiSumi[q];
    expected.ShutudaiSumiCount = progress.BuiltInDealtCount();
    expected.HighScore = progress.HighScore();
    expected.Score = BoundedScore(rec.Score);
    expected.TotalScore = BoundedScore(rec.TotalScore);
    expected.OldTotalScore = BoundedScore(rec.OldTotalScore);
    FUZZ_CHECK(SameBytes(ToRecord(board, progress, rec), expected));
    return 0;
}
