// The ball in play against the paddle, the blocks and the window's edges.
#include <gtest/gtest.h>

#include "tests/test_support/game_fixture.h"

using game_test::GameFixture;

namespace {

// A dealt question with ball 0 released; mode and first question chosen.
struct BallTest : ::testing::Test {
    GameFixture fx;
    TForm1& g = fx.f();

    void StartAt(int mode, int question) {
        fx.StartAt(mode, question);
        ASSERT_EQ(g.GameBoard().MovingBallNo(), 0);
    }
    TImage* Ball() { return g.Scene().ImgBall[g.GameBoard().MovingBallNo()]; }
    void BallOnPaddle() {
        Ball()->Position.X = g.Scene().ImgPad->Position.X + 10;
        Ball()->Position.Y = g.Scene().ImgPad->Position.Y - 12;
    }
    int NonGapColumn() { return fx.GapColumn(0) == 0 ? 1 : 0; }
};

TEST_F(BallTest, FirstPaddleContactSendsTheBallUpAndHidesTheCountdownMessage) {
    StartAt(0, 1);
    ASSERT_TRUE(g.Scene().LblMsg->Visible);
    BallOnPaddle();
    fx.random.Push(1);    // duration 1.2 s
    fx.random.Push(300);  // X stop 350
    g.ProcessBall();
    EXPECT_FALSE(g.Scene().LblMsg->Visible);
    EXPECT_FALSE(g.GameBoard().FirstBallDown());
    EXPECT_EQ(g.GameProgress().PadHitCount(), 1);
    EXPECT_EQ(g.Scene().LblPadHitCount->Text, "014");
    EXPECT_FLOAT_EQ(Ball()->Position.Y, g.Scene().ImgPad->Position.Y - Ball()->Height - 5);
    EXPECT_FLOAT_EQ(g.Scene().FloatAniBallX[0]->Duration, 1.2f);
    EXPECT_FLOAT_EQ(g.Scene().FloatAniBallY[0]->Duration, 1.2f);
    EXPECT_FLOAT_EQ(g.Scene().FloatAniBallX[0]->StopValue, 350);
    EXPECT_FLOAT_EQ(g.Scene().FloatAniBallY[0]->StopValue, 0);
    EXPECT_TRUE(g.Scene().FloatAniBallX[0]->Running());
    EXPECT_TRUE(fx.Played("Data/Sound/Pad_hit.wav"));

    // A later contact aims from the last leg's direction: it went right, so on to the right.
    fx.Run(300);
    BallOnPaddle();
    const float x = Ball()->Position.X;
    g.Scene().FloatAniBallX[0]->StartValue = x - 50;
    fx.random.Push(3);   // duration 4 s
    fx.random.Push(40);  // X stop x + 40
    g.ProcessBall();
    EXPECT_FLOAT_EQ(g.Scene().FloatAniBallX[0]->Duration, 4.0f);
    EXPECT_FLOAT_EQ(g.Scene().FloatAniBallX[0]->StopValue, x + 40);
    EXPECT_EQ(g.Scene().LblPadHitCount->Text, "013");
}

TEST_F(BallTest, StrokeChallengeFirstContactShowsTheBallsCharacterMeaningAndHidesReading) {
    StartAt(1, 1);
    fx.Set().progress().ClearQuestion();
    g.Scene().LblYomi->Visible = true;
    BallOnPaddle();
    g.ProcessBall();
    const int s = g.GameBoard().BallMojiNo()[0];
    EXPECT_FALSE(g.GameProgress().Clear());
    EXPECT_EQ(g.Scene().LblKaitoMoji->Text, g.SlotCharacter(s));
    EXPECT_EQ(g.Scene().LblImi->Text, g.SlotQuestion(s).Imi);
    EXPECT_EQ(g.Scene().LblYomi->Text, g.SlotQuestion(s).Yomi);
    EXPECT_FALSE(g.Scene().LblYomi->Visible);
    EXPECT_EQ(g.Scene().LblPadHitCount->Text, "001");  // strokes so far
}

TEST_F(BallTest, TheContactThatUsesUpTheAllowanceLosesTheQuestionShowingZeroFirst) {
    struct Case { int question, contactsBefore; };
    for (Case c : {Case{1, 14}, Case{21, 44}}) {
        GameFixture local;
        TForm1& h = local.f();
        local.StartAt(0, c.question);
        local.Set().Record([&](TDataRec& r) { r.PadHitCount = c.contactsBefore - 1; });
        TImage* ball = h.Scene().ImgBall[0];
        ball->Position.X = h.Scene().ImgPad->Position.X + 10;
        ball->Position.Y = h.Scene().ImgPad->Position.Y - 12;
        h.ProcessBall();
        ASSERT_FALSE(h.GameProgress().GameOver()) << c.question;
        ball->Position.Y = h.Scene().ImgPad->Position.Y - 12;
        h.ProcessBall();
        EXPECT_EQ(h.Scene().LblPadHitCount->Text, "000") << c.question;
        EXPECT_TRUE(h.GameProgress().GameOver()) << c.question;
        EXPECT_EQ(h.GameBoard().MovingBallNo(), -1);
        EXPECT_EQ(h.Scene().LblMsg->Text, ScoreLostMessage(h.GameProgress().Stage()));
    }
}

TEST_F(BallTest, UpperRowIsHitFirstThenTheLeftmostBlock) {
    StartAt(0, 21);  // stage 3: rows 1 and 2 in play
    const int b = g.GameBoard().MovingBallNo();
    g.Scene().FloatAniBallY[b]->StopAtCurrent();
    // Overlap blocks (1,5), (1,6) and (2,5) at once.
    TImage* b15 = g.Scene().ImgBlock[16 + 5];
    TImage* b16 = g.Scene().ImgBlock[16 + 6];
    Ball()->Position.X = b15->Position.X + 15;
    Ball()->Position.Y = b15->Position.Y + b15->Height - 12;
    b16->Position.X = b15->Position.X + 20;                 // pushed into the ball
    g.Scene().ImgBlock[32 + 5]->Position.Y = Ball()->Position.Y;  // row 2 raised into it as well
    g.Scene().FloatAniBallY[b]->StartValue = Ball()->Position.Y + 50;
    g.ProcessBall();
    EXPECT_FALSE(g.Scene().ImgBlock[16 + 5]->Visible);
    EXPECT_TRUE(g.Scene().ImgBlock[16 + 6]->Visible);
    EXPECT_TRUE(g.Scene().ImgBlock[32 + 5]->Visible);
    EXPECT_EQ(g.GameBoard().UnVisibleBlockCount()[1], 1);
    EXPECT_EQ(g.Scene().LblVisibleBlockCount1->Text, "15");
    // Going up, it met the lower face: placed below the block and sent down.
    EXPECT_FLOAT_EQ(Ball()->Position.Y, b15->Position.Y + b15->Height + 5);
    EXPECT_FLOAT_EQ(g.Scene().FloatAniBallY[b]->StopValue, g.ClientHeight());
}

TEST_F(BallTest, WhichBlocksDropStones) {
    struct Case {
        int question, row;
        bool stoneBlock, drops;
    };
    for (Case c : {Case{1, 0, false, false}, Case{11, 0, false, false}, Case{21, 0, false, true},
                   Case{11, 1, true, true}, Case{11, 1, false, false}}) {
        GameFixture local;
        TForm1& h = local.f();
        local.StartAt(0, c.question);
        int col = 0;
        if (c.row == 0) {
            col = local.GapColumn(0) == 0 ? 1 : 0;  // not a gap
        } else {
            for (col = 0; col < 16 && h.GameBoard().SeikaiMojiNo()[16 + col] >= 0; ++col) {
            }
            local.Set().board().LayLowerBlock(16 + col, c.stoneBlock);
        }
        const int i = c.row * 16 + col;
        local.HitBlockFromBelow(i);
        EXPECT_EQ(h.Scene().ImgStone[i]->Visible, c.drops) << c.question << " row " << c.row;
        if (c.drops) {
            EXPECT_TRUE(h.Scene().FloatAniStoneY[i]->Running());
            EXPECT_EQ(h.Scene().ImgStone[i]->Bitmap.Path(), local.programFolder + "Data/Png/stone.png");
            const float d = h.Scene().FloatAniStoneY[i]->Duration;
            EXPECT_TRUE(d == 1 || d == 2 || d == 3) << d;
        }
        // Top-row blocks are never destroyed; lower ones break from stage 2 on.
        EXPECT_EQ(h.Scene().ImgBlock[i]->Visible, c.row == 0);
    }
}

TEST_F(BallTest, FifthTopRowHitFromAboveLetsTheBallThrough) {
    StartAt(0, 1);
    const int col = NonGapColumn();
    TImage* block = g.Scene().ImgBlock[col];
    fx.Set().Record([](TDataRec& r) { r.UpBlockHitCount = 0; });
    for (int hit = 1; hit <= 5; ++hit) {
        g.Scene().FloatAniBallY[0]->StopAtCurrent();
        g.Scene().FloatAniBallX[0]->StopAtCurrent();
        Ball()->Position.X = block->Position.X + 5;
        Ball()->Position.Y = block->Position.Y - Ball()->Height + 12;
        g.Scene().FloatAniBallY[0]->StartValue = Ball()->Position.Y - 30;  // coming down
        g.ProcessBall();
        if (hit < 5) {
            EXPECT_EQ(g.GameBoard().UpBlockHitCount(), hit);
            EXPECT_FLOAT_EQ(Ball()->Position.Y, block->Position.Y - Ball()->Height - 5);
            EXPECT_FLOAT_EQ(g.Scene().FloatAniBallY[0]->StopValue, 0);
        }
    }
    EXPECT_EQ(g.GameBoard().UpBlockHitCount(), 0);
    EXPECT_FLOAT_EQ(Ball()->Position.Y, block->Position.Y + block->Height + 5);
    EXPECT_FLOAT_EQ(g.Scene().FloatAniBallY[0]->StopValue, g.ClientHeight());
}

TEST_F(BallTest, EdgesActFiveUnitsInAndPutTheBallTenUnitsIn) {
    StartAt(0, 1);
    const float W = g.ClientWidth(), H = g.ClientHeight();
    struct Case {
        float x, y;
        float wantX, wantY;
        float stopX, stopY;  // -1: not checked
    };
    // Corner: top and left in the same tick.
    for (Case c : {Case{300, 5, 300, 10, -1, H}, Case{5, 300, 10, 300, W, -1},
                   Case{W - 35, 300, W - 40, 300, 0, -1}, Case{4, 4, 10, 10, W, -1}}) {
        g.Scene().FloatAniBallX[0]->StopAtCurrent();
        g.Scene().FloatAniBallY[0]->StopAtCurrent();
        fx.Set().Record([](TDataRec& r) { r.PadHitCount = 1; });
        Ball()->Position.X = c.x;
        Ball()->Position.Y = c.y;
        g.Scene().ImgPad->Position.X = 2000;  // out of the way
        g.ProcessBall();
        EXPECT_FLOAT_EQ(Ball()->Position.X, c.wantX) << c.x << "," << c.y;
        EXPECT_FLOAT_EQ(Ball()->Position.Y, c.wantY) << c.x << "," << c.y;
        if (c.stopX >= 0) { EXPECT_FLOAT_EQ(g.Scene().FloatAniBallX[0]->StopValue, c.stopX); }
        if (c.stopY >= 0) { EXPECT_FLOAT_EQ(g.Scene().FloatAniBallY[0]->StopValue, c.stopY); }
        EXPECT_TRUE(g.Scene().FloatAniBallX[0]->Running());
    }
}

TEST_F(BallTest, LostBallsReleaseTheNextUntilTheThird) {
    StartAt(0, 1);
    g.Scene().ImgPad->Position.X = 2000;  // never under the ball
    for (int b = 0; b < 2; ++b) {
        ASSERT_TRUE(fx.RunUntil([&] { return g.GameBoard().MovingBallNo() == b + 1; }, 5000)) << b;
        EXPECT_TRUE(g.GameBoard().FirstBallDown());
        EXPECT_TRUE(g.Scene().FloatAniBallY[b + 1]->Running());
        EXPECT_FLOAT_EQ(g.Scene().FloatAniBallY[b + 1]->Duration, 1.5f);
        EXPECT_FLOAT_EQ(g.Scene().FloatAniBallY[b + 1]->StopValue, g.ClientHeight());
        g.Scene().ImgPad->Position.X = 2000;
    }
    ASSERT_TRUE(fx.RunUntil([&] { return g.GameProgress().GameOver(); }, 5000));
    EXPECT_TRUE(fx.Played("Data/Sound/Miss.wav"));
    EXPECT_EQ(g.GameBoard().MovingBallNo(), -1);
}

TEST_F(BallTest, AFinishedStoneIsParkedHiddenWhereItStarted) {
    StartAt(0, 21);
    const int i = 16 + 3;
    g.DropStone(1, 3, TForm1::StoneKind::WrongAnswer);
    EXPECT_EQ(g.Scene().ImgStone[i]->Bitmap.Path(), fx.programFolder + "Data/Png/stone2.png");
    const float d = g.Scene().FloatAniStoneY[i]->Duration;
    EXPECT_TRUE(d == 0.5f || d == 1.5f || d == 2.5f) << d;
    g.Scene().ImgPad->Position.X = 2000;
    fx.Run(2700);
    EXPECT_FALSE(g.Scene().ImgStone[i]->Visible);
    EXPECT_FLOAT_EQ(g.Scene().ImgStone[i]->Position.Y, g.Scene().ImgBlock[i]->Position.Y);
}

// A leg fast enough, or a tick late enough, to carry the ball further in one tick
// than a block is tall: the contact is found on the way the ball swept since the
// previous tick, at the point where it first touched.
TEST(SweptContactTest, FastLegsAndLateTicksHitTheBlockTheGapAndThePaddleOnce) {
    enum class Target { Block, Gap, Paddle };
    const char* const names[] = {"block", "gap", "paddle"};
    for (Target target : {Target::Block, Target::Gap, Target::Paddle}) {
        for (float speed : {400.0f, 1000.0f, 2000.0f, 3000.0f}) {      // units per second
            for (uint32_t tick : {50u, 100u, 150u}) {                   // frame tick length, ms
                SCOPED_TRACE(std::string(names[static_cast<int>(target)]) + " at " + std::to_string(speed) +
                             " units/s, ticks of " + std::to_string(tick) + " ms");
                GameFixture fx;
                TForm1& g = fx.f();
                g.Sound().IsMusic = false;
                g.SetClientSize(1280, 720);
                fx.StartQuestion();
                ASSERT_EQ(g.GameBoard().MovingBallNo(), 0);
                g.Scene().Timer1->SetInterval(tick);
                TImage* ball = g.Scene().ImgBall[0];

                const int gapColumn = fx.GapColumn(g.GameBoard().BallSeikaiMojiNo());
                const int plainColumn = gapColumn >= 8 ? 5 : 10;
                TImage* aim = target == Target::Paddle ? g.Scene().ImgPad
                              : target == Target::Gap  ? g.Scene().ImgBlock[gapColumn]
                                                       : g.Scene().ImgBlock[plainColumn];
                if (target != Target::Paddle) g.Scene().ImgPad->Position.X = 5000;

                // A slanted leg through the middle of the aim, upwards at a block,
                // downwards at the paddle, starting 260 units before it and ending
                // far beyond (past the top or the bottom of the window).
                const float cx = aim->Position.X + aim->Width / 2, cy = aim->Position.Y + aim->Height / 2;
                const float dy = target == Target::Paddle ? 0.958f : -0.958f;
                const float dx = cx < 640 ? -0.287f : 0.287f;
                const float x0 = cx - dx * 260 - ball->Width / 2, y0 = cy - dy * 260 - ball->Height / 2;
                g.Hold(0);
                ball->Position.X = x0;
                ball->Position.Y = y0;
                g.Scene().FloatAniBallX[0]->StopValue = x0 + dx * 860;
                g.Scene().FloatAniBallY[0]->StopValue = y0 + dy * 860;
                g.Scene().FloatAniBallX[0]->Duration = g.Scene().FloatAniBallY[0]->Duration = 860 / speed;
                g.Launch(0);
                const float legStopY = g.Scene().FloatAniBallY[0]->StopValue;

                // Until the first contact changes the leg (or the ball is gone).
                ASSERT_TRUE(fx.RunUntil(
                    [&] { return g.GameBoard().MovingBallNo() != 0 || g.Scene().FloatAniBallY[0]->StopValue != legStopY; }, 3000));
                // Where the ball's path first touches the aim's face.
                const float faceY = target == Target::Paddle
                                        ? std::nearbyint(aim->Position.Y + 5) - ball->Height + 5
                                        : std::nearbyint(aim->Position.Y + aim->Height - 5) - 5;
                const float faceX = x0 + (faceY - y0) * dx / dy;
                switch (target) {
                    case Target::Block:
                        EXPECT_FALSE(g.GameProgress().Clear());
                        EXPECT_FLOAT_EQ(ball->Position.Y, aim->Position.Y + aim->Height + 5) << "bounced down";
                        EXPECT_FLOAT_EQ(g.Scene().FloatAniBallY[0]->StopValue, g.ClientHeight());
                        EXPECT_NEAR(ball->Position.X, faceX, 0.5f);
                        break;
                    case Target::Gap:
                        EXPECT_TRUE(g.GameProgress().Clear());
                        EXPECT_EQ(g.GameProgress().TotalScore(), g.GameProgress().Score());
                        EXPECT_NEAR(ball->Position.X, faceX, 0.5f);
                        EXPECT_NEAR(ball->Position.Y, faceY, 0.5f) << "left at the gap's face";
                        break;
                    case Target::Paddle:
                        EXPECT_EQ(g.GameBoard().MovingBallNo(), 0) << "the ball went through the paddle";
                        EXPECT_EQ(g.GameProgress().PadHitCount(), 1);
                        EXPECT_FLOAT_EQ(ball->Position.Y, aim->Position.Y - ball->Height - 5);
                        EXPECT_NEAR(ball->Position.X, faceX, 0.5f);
                        break;
                }
            }
        }
    }
}

TEST(SweptContactTest, ContactFractionAlongAWay) {
    TForm form(800, 600);
    TImage* ball = form.Create<TImage>(&form);
    TImage* block = form.Create<TImage>(&form);
    block->SetBounds(100, 100, 40, 24);  // contact rectangle 105..135 x 105..119
    struct Case {
        float x0, y0, x1, y1;
        float at;  // -1: no contact
    } cases[] = {
        // The ball's contact rectangle is x+5..x+25: it overlaps the block for
        // 80 < x < 130 and 80 < y < 114.
        {100, 300, 100, -100, 0.465f},  // straight up through it: y < 114 from t = 186/400
        {100, 130, 100, 200, -1},       // moving away below it
        {300, 300, 300, -100, -1},      // passes beside it
        {100, 90, 100, 90, 1},          // standing in it: where it stands decides
        {100, 114, 100, 114, -1},       // standing just below: the edges only touch
        {0, 200, 200, 0, 0.43f},        // diagonal: x inside from 0.4, y from 0.43
    };
    for (const Case& c : cases) {
        ball->SetBounds(c.x1, c.y1, 30, 30);  // contact rectangle x+5..x+25
        const float at = SweptContact(ball, c.x0, c.y0, block);
        if (c.at < 0) {
            EXPECT_LT(at, 0) << c.x0 << "," << c.y0 << " -> " << c.x1 << "," << c.y1;
        } else {
            EXPECT_NEAR(at, c.at, 1e-4f) << c.x0 << "," << c.y0 << " -> " << c.x1 << "," << c.y1;
        }
    }
}

}  // namespace
