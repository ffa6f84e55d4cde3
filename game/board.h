#pragma once
// The board's vocabulary: three rows of sixteen blocks, the kinds of block and
// the picture of each kind, and the balls of the two challenges.
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
