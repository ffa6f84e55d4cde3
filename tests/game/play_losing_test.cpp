// The three ways to lose a score-challenge question, played out, each with its
// message and the farewell of either voice.
#include <gtest/gtest.h>

#include "tests/test_support/game_fixture.h"

using game_test::GameFixture;

namespace {
enum class Loss { ContactsUsedUp, ThirdBallLost, StoneStrike };

// Plays question 1 until it is lost the given way.
void LoseQuestion(GameFixture& fx, Loss how) {
    TForm1& g = fx.f();
    fx.StartAt(0, 1);
    ASSERT_EQ(g.GameBoard().MovingBallNo(), 0);
    switch (how) {
        case Loss::ContactsUsedUp: {
            // Keep returning the ball but send it at a plain block far from the target's gap,
            // and take that gap out of play: a leg passing it by chance would answer.
            fx.steering = true;
            const int gap = fx.GapColumn(g.GameBoard().BallSeikaiMojiNo());
            g.Scene().ImgBlock[gap]->Visible = false;
            fx.aimBlock = gap < 8 ? 14 : 1;
            while (g.GameBoard().UnVisibleMojiNo()[fx.aimBlock / 4] == fx.aimBlock % 4) --fx.aimBlock;
            ASSERT_TRUE(fx.PlayUntil([&] { return g.GameProgress().GameOver(); }, 300000));
            EXPECT_EQ(g.GameProgress().PadHitCount(), 15);
            EXPECT_EQ(g.Scene().LblPadHitCount->Text, "000");
            break;
        }
        case Loss::ThirdBallLost:
            g.Scene().ImgPad->Position.X = 2000;
            ASSERT_TRUE(fx.RunUntil([&] { return g.GameProgress().GameOver(); }, 20000));
            EXPECT_TRUE(fx.Played("Data/Sound/Miss.wav"));
            break;
        case Loss::StoneStrike: {
            // A stone from a block over the paddle, well away from the falling ball.
            TImage* block = g.Scene().ImgBlock[10];
            g.Scene().ImgPad->Position.X = block->Position.X + block->Width / 2 - g.Scene().ImgPad->Width / 2;
            fx.random.Push(0);  // a one-second fall
            g.DropStone(0, 10, TForm1::StoneKind::Stone);
            ASSERT_TRUE(fx.RunUntil([&] { return !g.Scene().ImgPad->Visible; }, 2000));
            const uint32_t strike = fx.clock.NowMs();
            EXPECT_TRUE(g.Scene().ImgBakuhatu->Visible);
            EXPECT_TRUE(fx.Played("Data/Sound/Bakuhatu.wav"));
            fx.Run(3100);
            EXPECT_FALSE(g.GameProgress().GameOver()) << "the question ends with the explosion, 3.2 s after the strike";
            EXPECT_EQ(g.GameBoard().MovingBallNo(), 0);
            ASSERT_TRUE(fx.RunUntil([&] { return g.GameProgress().GameOver(); }, 200));
            // The game-over sound (which holds the clock) starts when the explosion ends.
            bool heard = false;
            for (auto& p : fx.effects.played())
                if (p.path == fx.programFolder + "Data/Sound/gameover.wav") {
                    heard = true;
                    EXPECT_GE(p.startMs - strike, 3150u);
                    EXPECT_LE(p.startMs - strike, 3260u);
                }
            EXPECT_TRUE(heard);
            EXPECT_FALSE(g.Scene().ImgBakuhatu->Visible);
            break;
        }
    }
}
}  // namespace

TEST(PlayLosing, EachWayEndsWithTheMessageAndTheVoicesFarewell) {
    const std::string farewell[2] = {"おつかれさまでした。またがんば'ってね。",
                                     "おつかれさまでした。また/がんば'ろお。"};
    for (Loss how : {Loss::ContactsUsedUp, Loss::ThirdBallLost, Loss::StoneStrike}) {
        for (int voice = 0; voice < 2; ++voice) {
            SCOPED_TRACE("way " + std::to_string(static_cast<int>(how)) + " voice " + std::to_string(voice));
            GameFixture fx;
            TForm1& g = fx.f();
            g.Sound().VoiceMode = voice;
            LoseQuestion(fx, how);
            EXPECT_TRUE(g.GameProgress().GameOver());
            EXPECT_EQ(g.GameBoard().MovingBallNo(), -1);
            EXPECT_EQ(g.Scene().LblMsg->Text, "[Shift]キーを押すと第1問から再開します。");
            EXPECT_EQ(g.Scene().ImgTitle->Bitmap.Path(), fx.programFolder + "Data/Png/GameOver.png");
            EXPECT_EQ(g.Scene().LblKaitoMoji->Text, g.SlotQuestion(g.GameBoard().BallSeikaiMojiNo()).Jukugo);
            ASSERT_FALSE(fx.speech.said.empty());
            EXPECT_EQ(fx.speech.said.back().text, farewell[voice]);
            EXPECT_EQ(fx.speech.said.back().voice, voice);
            EXPECT_EQ(fx.speech.said.back().speed, 110);

            // [Shift] repeats the question.
            fx.Key(VK_SHIFT_KEY);
            EXPECT_EQ(g.GameProgress().MondaiCount(), 1);
            EXPECT_FALSE(g.GameProgress().GameOver());
            EXPECT_TRUE(g.Scene().ImgPad->Visible);
        }
    }
}
