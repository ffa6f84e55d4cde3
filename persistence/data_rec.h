#pragma once
// The suspended-game record kept in "newrecord.dat": 3428 bytes, little-endian,
// laid out byte for byte as other copies of the game write it.
#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)
struct TDataRecBlock {           // 32 bytes
    float X;
    uint8_t Reserved1[16];
    uint8_t Visible;
    uint8_t Reserved2[3];
    int32_t BlockKind;
    int32_t SeikaiMojiNo;
};
struct TDataRecBall {            // 24 bytes
    float X;
    float Y;
    float StopX;
    float StopY;
    float Duration;
    uint8_t Visible;
    uint8_t Reserved[3];
};
struct TDataRecStone {           // 32 bytes
    float X;
    float Y;
    uint8_t Reserved1[4];
    float StopY;
    float Duration;
    uint8_t Visible;
    uint8_t Reserved2[11];
};
struct TDataRec {
    int32_t Stage;
    int32_t MondaiCount;
    uint8_t ShutudaiSumi[170];
    uint8_t Reserved1[2];
    int32_t ShutudaiSumiCount;
    int32_t MondaiNo[4];
    TDataRecBlock Block[48];
    TDataRecBall Ball[3];
    int32_t MovingBallNo;
    int32_t UnVisibleMojiNo[4];
    int32_t BallSeikaiMojiNo;
    int32_t FirstBallSeikaiMojiNo;
    int32_t PadHitCount;
    int32_t UpBlockHitCount;
    uint8_t Clear;
    uint8_t GameOver;
    uint8_t GameClear;
    uint8_t HintHyoji;
    int32_t UnVisibleBlockCount[5];
    TDataRecStone Stone[48];
    int32_t Score;
    int32_t TotalScore;
    int32_t OldTotalScore;
    int32_t HighScore;
    int32_t ScreenX;
    int32_t ScreenY;
};
#pragma pack(pop)

static_assert(sizeof(TDataRecBlock) == 32);
static_assert(sizeof(TDataRecBall) == 24);
static_assert(sizeof(TDataRecStone) == 32);
static_assert(sizeof(TDataRec) == 3428);
static_assert(offsetof(TDataRec, ShutudaiSumi) == 8);
static_assert(offsetof(TDataRec, ShutudaiSumiCount) == 180);
static_assert(offsetof(TDataRec, MondaiNo) == 184);
static_assert(offsetof(TDataRec, Block) == 200);
static_assert(offsetof(TDataRec, Ball) == 1736);
static_assert(offsetof(TDataRec, MovingBallNo) == 1808);
static_assert(offsetof(TDataRec, UnVisibleMojiNo) == 1812);
static_assert(offsetof(TDataRec, BallSeikaiMojiNo) == 1828);
static_assert(offsetof(TDataRec, FirstBallSeikaiMojiNo) == 1832);
static_assert(offsetof(TDataRec, PadHitCount) == 1836);
static_assert(offsetof(TDataRec, UpBlockHitCount) == 1840);
static_assert(offsetof(TDataRec, Clear) == 1844);
static_assert(offsetof(TDataRec, GameClear) == 1846);
static_assert(offsetof(TDataRec, HintHyoji) == 1847);
static_assert(offsetof(TDataRec, UnVisibleBlockCount) == 1848);
static_assert(offsetof(TDataRec, Stone) == 1868);
static_assert(offsetof(TDataRec, Score) == 3404);
static_assert(offsetof(TDataRec, HighScore) == 3416);
static_assert(offsetof(TDataRec, ScreenX) == 3420);
static_assert(offsetof(TDataRec, ScreenY) == 3424);
static_assert(offsetof(TDataRecBlock, Visible) == 20);
static_assert(offsetof(TDataRecBlock, BlockKind) == 24);
static_assert(offsetof(TDataRecBall, Visible) == 20);
static_assert(offsetof(TDataRecStone, StopY) == 12);
static_assert(offsetof(TDataRecStone, Visible) == 20);
// The layout is little-endian on disk; the game targets little-endian machines.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__);
