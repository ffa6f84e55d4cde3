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
    FromRecord(rec, board, progress);

    FUZZ_CHECK(progress.Stage >= 1 && progress.Stage <= 3);
    FUZZ_CHECK(progress.MondaiCount >= 1 && progress.MondaiCount <= kQuestionsPerGame);
    FUZZ_CHECK(board.MovingBallNo >= -1 && board.MovingBallNo < kScoreChallengeBalls);
    FUZZ_CHECK(board.BallSeikaiMojiNo >= 0 && board.BallSeikaiMojiNo < kSlots);
    FUZZ_CHECK(board.FirstBallSeikaiMojiNo >= 0 && board.FirstBallSeikaiMojiNo < kSlots);
    for (int k = 0; k < kSlots; ++k) {
        FUZZ_CHECK(board.UnVisibleMojiNo[k] >= 0 && board.UnVisibleMojiNo[k] < 4);
        FUZZ_CHECK(board.MondaiNo[k] >= 0);
        FUZZ_CHECK(board.MondaiNo[k] < kQuestionsKnown || savedWithTexts[k]);
    }
    for (int i = 0; i < kBlocks; ++i) {
        FUZZ_CHECK(BlockPicture(board.BlockKind[i]) != nullptr);
        FUZZ_CHECK(board.SeikaiMojiNo[i] >= -1 && board.SeikaiMojiNo[i] < kSlots);
        FUZZ_CHECK(std::isfinite(board.places.blocks[i].X) && std::isfinite(board.places.stones[i].Y));
    }
    for (int n : board.UnVisibleBlockCount) FUZZ_CHECK(n >= 0 && n <= kBlocksPerRow);
    FUZZ_CHECK(board.places.screenWidth > 0 && board.places.screenHeight > 0);

    // Written back over what was read, the record is the same bytes (the used-question
    // marks as 0 or 1, which is all the game ever writes there).
    TDataRec expected = rec;
    for (uint8_t& used : expected.ShutudaiSumi) used = used != 0 ? 1 : 0;
    FUZZ_CHECK(SameBytes(ToRecord(board, progress, rec), expected));
    return 0;
}
