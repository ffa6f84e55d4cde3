#pragma once
// The main window's scene objects: the pictures, labels and animations of its
// design, and the blocks, balls and stones it creates at start-up. The window
// owns them all; these are its handles on them.
#include <array>
#include <memory>
#include <vector>

#include "game/board.h"
#include "platform/animation.h"
#include "platform/scene.h"
#include "platform/timer.h"

struct WindowObjects {
    // The fixed design of the window (layout.cpp).
    TImage* ImgMusic = nullptr;
    TImage* ImgMusicStop = nullptr;
    TImage* ImgSound = nullptr;
    TImage* ImgSoundStop = nullptr;
    TImage* Image1 = nullptr;
    TText* Text1 = nullptr;
    TShadowEffect* ShadowEffect1 = nullptr;
    TImage* ImgPad = nullptr;
    TImage* ImageBall = nullptr;
    TFloatAnimation* FloatAnimation1 = nullptr;
    TLabel* LblImi = nullptr;
    TLabel* LblPadHitCount = nullptr;
    TLabel* LblMode1HighScore = nullptr;
    TLabel* LblTotalScore = nullptr;
    TLabel* LblHighScore = nullptr;
    TLabel* LblGameMode = nullptr;
    TLabel* LblKaitoMoji = nullptr;
    TFloatAnimation* FloatAniKaitoMoji = nullptr;
    TLabel* LblYomi = nullptr;
    TLabel* LblMsg = nullptr;
    TLabel* LblMondaiCount = nullptr;
    TImage* ImgTitle = nullptr;
    TFloatAnimation* FloatAniTitleHeight = nullptr;
    TFloatAnimation* FloatAniTitleWidth = nullptr;
    TLabel* LblVisibleBlockCount1 = nullptr;
    TLabel* LblVisibleBlockCount2 = nullptr;
    TLabel* LblScore = nullptr;
    TFloatAnimation* FloatAniScoreY = nullptr;
    TFloatAnimation* FloatAniScoreX = nullptr;
    TImage* ImgBakuhatu = nullptr;
    TFloatAnimation* FloatAniBakuhatuX = nullptr;
    TFloatAnimation* FloatAniBakuhatuY = nullptr;
    TFloatAnimation* FloatAniBakuhatuOpacity = nullptr;
    TTimer* Timer1 = nullptr;
    TRectangle* RectSosaHoho = nullptr;
    TLabel* LblSosaHoho = nullptr;
    TImage* ImgLogo = nullptr;
    TRectangle* RectNotice = nullptr;  // a notice under LblMsg (notices.cpp)
    TLabel* LblNotice = nullptr;
    std::vector<TGlowEffect*> GlowEffects;  // GlowEffect1..13 in design order


    // Created at start-up (startup.cpp): the blocks with their characters, the
    // balls with their characters and legs, the stones with their falls.
    std::array<TImage*, kBlocks> ImgBlock{};
    std::array<TText*, 16> TextBlockMoji{};
    std::array<TShadowEffect*, 16> ShadowText{};
    std::array<TText*, 8> TextSpecialBlockMoji{};
    std::array<TShadowEffect*, 8> ShadowSpecialText{};
    std::array<TImage*, kBalls> ImgBall{};
    std::array<TText*, kBalls> TextBallMoji{};
    std::array<TShadowEffect*, kBalls> ShadowEffectTextBallMoji{};
    std::array<TFloatAnimation*, kBalls> FloatAniBallX{};
    std::array<TFloatAnimation*, kBalls> FloatAniBallY{};
    std::array<TImage*, kBlocks> ImgStone{};
    std::array<TFloatAnimation*, kBlocks> FloatAniStoneY{};
};
