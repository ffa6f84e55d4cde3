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
// broken so far. `places` holds the pictures' places as a suspended game stores
// them; the window fills it before saving and lays the scene out from it after
// loading.
struct Board {
    std::array<int, kSlots> MondaiNo{};         // the question of each slot
    std::array<int, kSlots> UnVisibleMojiNo{};  // the hidden character of each slot
    int BallSeikaiMojiNo = 0;                   // the slot the balls' character belongs to
    int FirstBallSeikaiMojiNo = 0;              // that slot at the start of the question
    std::array<int, kBalls> BallMojiNo{};       // stroke challenge: the slot of each ball's character
    std::array<int, kBlocks> SeikaiMojiNo{};    // the slot of a special block's character, -1 none
    std::array<KindOfBlock, kBlocks> BlockKind{};
    std::array<int, 5> UnVisibleBlockCount{};   // broken blocks by row
    int MovingBallNo = 0;                       // the ball in play, -1 none
    int UpBlockHitCount = 0;
    bool FirstBallDown = false;                 // the ball in play is on its first fall

    // Whether top-row column c is its slot's gap.
    bool IsGap(int c) const { return UnVisibleMojiNo[c / 4] == c % 4; }
    // The slot ball b's character belongs to: one for all balls in the score
    // challenge (it changes with a copied character), each ball's own in the stroke challenge.
    int TargetSlot(bool strokeChallenge, int b) const { return strokeChallenge ? BallMojiNo[b] : BallSeikaiMojiNo; }

    struct Places {
        std::array<BlockPlace, kBlocks> blocks{};
        std::array<BallPlace, kScoreChallengeBalls> balls{};
        std::array<StonePlace, kBlocks> stones{};
        int screenWidth = 800, screenHeight = 600;
    } places;
};
