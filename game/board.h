#pragma once
// The board's vocabulary: three rows of sixteen blocks, the kinds of block and
// the picture of each kind, and the balls of the two challenges.
#include <array>
#include <cstdint>

constexpr int kBlockRows = 3;
constexpr int kBlocksPerRow = 16;
constexpr int kBlocks = kBlockRows * kBlocksPerRow;
constexpr int kBalls = 4;  // the stroke challenge plays all four
constexpr int kScoreChallengeBalls = 3;  // the score challenge plays the first three

// Index of the block in row r (0 the top row) and column c in ImgBlock and the
// other per-block arrays.
constexpr int BlockIndex(int r, int c) { return r * kBlocksPerRow + c; }

// What a block is. The values are the ones the record file holds.
enum class KindOfBlock : int32_t {
    Top0 = 0,  // a top-row block of slot 0; Top1..Top3 those of slots 1..3 (each slot has its colour)
    Top1 = 1,
    Top2 = 2,
    Top3 = 3,
    Stone = 4,  // drops a stone when the ball meets it
    Wood = 5,
    Gold = 6,  // the special block of the character dealt to the score challenge's balls
};

constexpr KindOfBlock TopRowKind(int slot) { return static_cast<KindOfBlock>(slot); }

// Picture of a block kind, below the program folder; nullptr for a value that is no kind.
constexpr const char* BlockPicture(KindOfBlock kind) {
    switch (kind) {
        case KindOfBlock::Top0: return "Data/Png/Block_0.png";
        case KindOfBlock::Top1: return "Data/Png/Block_1.png";
        case KindOfBlock::Top2: return "Data/Png/Block_2.png";
        case KindOfBlock::Top3: return "Data/Png/Block_3.png";
        case KindOfBlock::Stone: return "Data/Png/StoneBlock.png";
        case KindOfBlock::Wood: return "Data/Png/WoodBlock.png";
        case KindOfBlock::Gold: return "Data/Png/GoldBlock.png";
    }
    return nullptr;
}

// Where block (r, c) stands in a window `width` wide: sixteen blocks of blockWidth
// a row with seventeen equal gaps; rows blockHeight plus one and a half ball
// heights apart below a margin of two ball heights.
constexpr float BlockX(float width, float blockWidth, int c) {
    return (width - kBlocksPerRow * blockWidth) / 17 * (c + 1) + blockWidth * c;
}
constexpr float BlockY(float blockHeight, float ballHeight, int r) {
    return (blockHeight + 1.5f * ballHeight) * r + 2 * ballHeight;
}

constexpr int kSlots = 4;  // four idioms a board, one a colour of the top row

// Where a picture of the board stood, and the leg it was on, in the coordinates
// of the window size the board was laid out for.
struct BlockPlace {
    float X = 0;
    bool Visible = false;
};
struct BallPlace {
    float X = 0, Y = 0;
    float StopX = 0, StopY = 0;  // where the leg in flight ends
    float Duration = 0;          // of a whole leg
    bool Visible = false;
};
struct StonePlace {
    float X = 0, Y = 0;
    float StopY = 0;
    float Duration = 0;
    bool Visible = false;
};

// The board of a question: its four idioms and their gaps, the blocks with
// their kinds and characters, the balls and which one flies, and the rows
// broken so far. SavedPlaces() holds the pictures' places as a suspended game
// stores them; the window keeps them before saving and lays the scene out from
// them after loading.
class Board {
public:
    struct Places {
        std::array<BlockPlace, kBlocks> blocks{};
        std::array<BallPlace, kScoreChallengeBalls> balls{};
        std::array<StonePlace, kBlocks> stones{};
        int screenWidth = 800, screenHeight = 600;
    };

    const std::array<int, kSlots>& MondaiNo() const { return mondaiNo_; }  // the question of each slot
    const std::array<int, kSlots>& UnVisibleMojiNo() const { return unVisibleMojiNo_; }  // the hidden character of each slot
    int BallSeikaiMojiNo() const { return ballSeikaiMojiNo_; }  // the slot the balls' character belongs to
    int FirstBallSeikaiMojiNo() const { return firstBallSeikaiMojiNo_; }  // that slot at the start of the question
    // Stroke challenge: the slot of each ball's character.
    const std::array<int, kBalls>& BallMojiNo() const { return ballMojiNo_; }
    // The slot of a special block's character, -1 none.
    const std::array<int, kBlocks>& SeikaiMojiNo() const { return seikaiMojiNo_; }
    const std::array<KindOfBlock, kBlocks>& BlockKind() const { return blockKind_; }
    const std::array<int, 5>& UnVisibleBlockCount() const { return unVisibleBlockCount_; }  // broken blocks by row
    int MovingBallNo() const { return movingBallNo_; }  // the ball in play, -1 none
    int UpBlockHitCount() const { return upBlockHitCount_; }
    bool FirstBallDown() const { return firstBallDown_; }  // the ball in play is on its first fall
    const Places& SavedPlaces() const { return places_; }

    // Whether top-row column c is its slot's gap.
    bool IsGap(int c) const { return unVisibleMojiNo_[c / 4] == c % 4; }
    // The slot ball b's character belongs to: one for all balls in the score
    // challenge (it changes with a copied character), each ball's own in the stroke challenge.
    int TargetSlot(bool strokeChallenge, int b) const { return strokeChallenge ? ballMojiNo_[b] : ballSeikaiMojiNo_; }

    // ---- Dealing ----
    // Slot k's idiom is question q (also a question renumbered on loading).
    void DealSlot(int k, int q) { mondaiNo_[k] = q; }
    void HideCharacter(int k, int p) { unVisibleMojiNo_[k] = p; }
    // The top row's blocks take their slot's colour.
    void LayTopRow() {
        for (int c = 0; c < kBlocksPerRow; ++c) blockKind_[c] = TopRowKind(c / 4);
    }
    void LayLowerBlock(int i, bool stone) { blockKind_[i] = stone ? KindOfBlock::Stone : KindOfBlock::Wood; }
    // Rows out of play at this stage count as broken whole, rows in play as whole.
    void ResetBrokenCounts(int stage) {
        for (int r = 0; r < kBlockRows; ++r) unVisibleBlockCount_[r] = stage < r + 1 ? kBlocksPerRow : 0;
        unVisibleBlockCount_[3] = kBlocksPerRow;
        unVisibleBlockCount_[4] = kBlocksPerRow;
    }
    // Score challenge: all balls carry slot k's character.
    void DealBallsCharacter(int k) {
        ballSeikaiMojiNo_ = k;
        firstBallSeikaiMojiNo_ = k;
    }
    // Stroke challenge: ball b carries slot k's character.
    void DealBallCharacter(int b, int k) { ballMojiNo_[b] = k; }
    void ClearSpecialBlocks() { seikaiMojiNo_.fill(-1); }
    // Block i carries slot k's character; a gold one when it is the balls' dealt character.
    void PlaceSpecialBlock(int i, int k, bool gold) {
        seikaiMojiNo_[i] = k;
        if (gold) blockKind_[i] = KindOfBlock::Gold;
    }

    // ---- Play ----
    // Ball b falls from where it rests, on its first fall.
    void ServeBall(int b) {
        movingBallNo_ = b;
        firstBallDown_ = true;
    }
    void NoBallInPlay() { movingBallNo_ = -1; }
    void EndFirstFall() { firstBallDown_ = false; }  // the ball in play has met the paddle
    void BreakBlock(int r) { ++unVisibleBlockCount_[r]; }
    // A knock on the top row from above; the fifth lets the ball through and
    // starts the count again. Says whether it lets through.
    bool KnockTopRow() {
        if (++upBlockHitCount_ < 5) return false;
        upBlockHitCount_ = 0;
        return true;
    }
    // A special block's character answered: the block is blank.
    void BlankSpecialBlock(int i) { seikaiMojiNo_[i] = -1; }
    // Score challenge: the balls take slot t's character.
    void CopyToBalls(int t) { ballSeikaiMojiNo_ = t; }
    // Stroke challenge: ball b takes slot t's character, and a later ball that
    // carried t takes b's old one, so the four stay all different.
    void CopyToBall(int b, int t) {
        const int old = ballMojiNo_[b];
        ballMojiNo_[b] = t;
        for (int k = b + 1; k < kBalls; ++k)
            if (ballMojiNo_[k] == t) ballMojiNo_[k] = old;
    }

    // Where the pictures stand, as a save keeps them.
    void KeepPlaces(const Places& places) { places_ = places; }

private:
    friend struct RecordFields;  // the suspended-game record reads and writes the members it keeps

    std::array<int, kSlots> mondaiNo_{};
    std::array<int, kSlots> unVisibleMojiNo_{};
    int ballSeikaiMojiNo_ = 0;
    int firstBallSeikaiMojiNo_ = 0;
    std::array<int, kBalls> ballMojiNo_{};
    std::array<int, kBlocks> seikaiMojiNo_{};
    std::array<KindOfBlock, kBlocks> blockKind_{};
    std::array<int, 5> unVisibleBlockCount_{};
    int movingBallNo_ = 0;
    int upBlockHitCount_ = 0;
    bool firstBallDown_ = false;
    Places places_;
};
