// The frame tick: countdown and release, sliding rows and balls, the stone
// strike and the music loop.
#include <gtest/gtest.h>

#include "tests/test_support/game_fixture.h"

namespace {

using game_test::GameFixture;

int CountPlayed(const GameFixture& fx, const std::string& name) {
    int n = 0;
    for (const auto& p : fx.effects.played())
        if (p.path.size() >= name.size() && p.path.compare(p.path.size() - name.size(), name.size(), name) == 0) ++n;
    return n;
}

TEST(CountdownTest, CountsDownOneSecondApartAndReleasesWithTheStartMessage) {
    GameFixture fx;
    TForm1& f = fx.f();
    fx.Key(VK_SHIFT_KEY);
    EXPECT_EQ(CountPlayed(fx, "Bleep.wav"), 1);  // the deal's bleep
    fx.Run(60);
    EXPECT_EQ(f.Scene().LblMsg->Text, "5");
    // During the countdown the question label sits centred just above the message.
    EXPECT_FLOAT_EQ(f.Scene().LblMondaiCount->Position.X, (800 - f.Scene().LblMondaiCount->Width) / 2);
    EXPECT_FLOAT_EQ(f.Scene().LblMondaiCount->Position.Y, f.Scene().LblMsg->Position.Y - f.Scene().LblMondaiCount->Height);

    const char* expected[] = {"4", "3", "2", "1"};
    for (const char* text : expected) {
        fx.Run(1000);
        EXPECT_EQ(f.Scene().LblMsg->Text, text);
        EXPECT_EQ(f.GameBoard().MovingBallNo(), -1);
    }
    EXPECT_EQ(CountPlayed(fx, "Bleep.wav"), 5);
    // The tick that shows the start message releases ball 0 with the drop sound.
    fx.effects.Clear();
    while (f.GameBoard().MovingBallNo() < 0) fx.Run(10);
    EXPECT_EQ(f.Scene().LblMsg->Text, "競技開始");
    EXPECT_EQ(CountPlayed(fx, "Down.wav"), 1);
    EXPECT_EQ(CountPlayed(fx, "Bleep.wav"), 0);
    EXPECT_TRUE(f.GameBoard().FirstBallDown());
    EXPECT_TRUE(f.Scene().FloatAniBallY[0]->Running());
    EXPECT_FALSE(f.Scene().FloatAniBallX[0]->Running());
    fx.Run(60);
    EXPECT_FLOAT_EQ(f.Scene().LblMondaiCount->Position.X, 800 - f.Scene().LblMondaiCount->Width - 10);
    EXPECT_FLOAT_EQ(f.Scene().LblMondaiCount->Position.Y, 0);
    EXPECT_EQ(f.Scene().LblMondaiCount->TextAlign, TTextAlign::taTrailing);
}

TEST(CountdownTest, ALateTickStillReleasesTheBall) {
    GameFixture fx;
    TForm1& f = fx.f();
    fx.Key(VK_SHIFT_KEY);
    fx.Run(4100);
    ASSERT_EQ(f.Scene().LblMsg->Text, "1");
    f.Scene().Timer1->SetEnabled(false);
    fx.clock.Advance(3000);  // the UI thread was held for three seconds
    f.Scene().Timer1->SetEnabled(true);
    fx.Run(60);
    EXPECT_EQ(f.GameBoard().MovingBallNo(), 0);
    EXPECT_EQ(f.Scene().LblMsg->Text, "競技開始");
}

// A stage-`stage` question with the ball in flight after its first paddle contact.
void BallInFlight(GameFixture& fx, int stage) {
    fx.Set().Record([&](TDataRec& r) {
        r.MondaiCount = (stage - 1) * 10;
        r.Clear = 1;
    });
    fx.StartQuestion();
    fx.Set().Record([](TDataRec& r) {
        r.PadHitCount = 1;
        r.MovingBallNo = 0;
    });
}

TEST(SlideTest, WhichRowsSlideAndHowFar) {
    GameFixture fx;
    TForm1& f = fx.f();
    BallInFlight(fx, 3);
    f.Scene().Timer1->SetEnabled(false);
    fx.input.LeftButton = true;
    auto xs = [&](int row) { return f.Scene().ImgBlock[row * 16 + 3]->Position.X; };
    float before[3] = {xs(0), xs(1), xs(2)};

    f.Timer1Timer(nullptr);  // rows 1 and 2 present: only row 2 slides
    EXPECT_FLOAT_EQ(xs(2), before[2] - 12);
    EXPECT_FLOAT_EQ(xs(1), before[1]);
    EXPECT_FLOAT_EQ(xs(0), before[0]);

    fx.Set().Record([](TDataRec& r) { r.UnVisibleBlockCount[2] = 16; });  // row 2 gone: row 1 slides too
    fx.input.Ctrl = true;           // twice as fast
    f.Timer1Timer(nullptr);
    EXPECT_FLOAT_EQ(xs(1), before[1] - 24);
    EXPECT_FLOAT_EQ(xs(0), before[0]);

    fx.Set().Record([](TDataRec& r) { r.PadHitCount = 0; });  // before the first paddle contact nothing slides
    f.Timer1Timer(nullptr);
    EXPECT_FLOAT_EQ(xs(1), before[1] - 24);
}

TEST(SlideTest, EdgeGuardsAndStonesThatFollow) {
    GameFixture fx;
    TForm1& f = fx.f();
    BallInFlight(fx, 1);
    f.Scene().Timer1->SetEnabled(false);
    TImage* first = f.Scene().ImgBlock[0];
    TImage* last = f.Scene().ImgBlock[15];

    // Right: on the tick at which block 0 crosses the right edge only block 0 moves.
    fx.input.RightButton = true;
    first->Position.X = 795;
    const float secondBefore = f.Scene().ImgBlock[1]->Position.X;
    f.Timer1Timer(nullptr);
    EXPECT_FLOAT_EQ(first->Position.X, 807);
    EXPECT_FLOAT_EQ(f.Scene().ImgBlock[1]->Position.X, secondBefore);
    EXPECT_FLOAT_EQ(f.Scene().ImgStone[0]->Position.X, 807);  // a parked stone follows its block
    fx.input.RightButton = false;

    // Left: stops once block 15 lies entirely left of the window.
    fx.input.LeftButton = true;
    f.SetUpStage();
    fx.Set().Record([](TDataRec& r) {
        r.PadHitCount = 1;
        r.MovingBallNo = 0;
    });
    // A falling stone keeps its own X.
    f.Scene().ImgStone[3]->Visible = true;
    const float fallingX = f.Scene().ImgStone[3]->Position.X;
    for (int i = 0; i < 200; ++i) f.Timer1Timer(nullptr);
    EXPECT_LE(last->Position.X, -last->Width);
    EXPECT_GT(last->Position.X, -last->Width - 12.0001f);
    EXPECT_FLOAT_EQ(f.Scene().ImgStone[3]->Position.X, fallingX);
    EXPECT_FLOAT_EQ(f.Scene().ImgStone[4]->Position.X, f.Scene().ImgBlock[4]->Position.X);
}

TEST(StoneStrikeTest, BlowsUpThePaddleFreezesTheBallAndLosesAfterTheExplosion) {
    GameFixture fx;
    TForm1& f = fx.f();
    fx.StartQuestion();
    fx.Run(300);  // ball 0 falling
    ASSERT_EQ(f.GameBoard().MovingBallNo(), 0);
    // Let the track end so that the music step would restart it this tick.
    f.Sound().MusicStartTime = fx.clock.NowMs() - 700000;
    const int playsBefore = fx.music.playCalls();
    TImage* stone = f.Scene().ImgStone[5];
    stone->Visible = true;
    stone->Position.X = f.Scene().ImgPad->Position.X;
    stone->Position.Y = f.Scene().ImgPad->Position.Y;
    f.Scene().FloatAniStoneY[5]->StartValue = f.Scene().ImgBlock[5]->Position.Y;
    f.Scene().FloatAniStoneY[5]->StopValue = 600;
    f.Scene().FloatAniStoneY[5]->Duration = 10;
    f.Scene().FloatAniStoneY[5]->Start();
    fx.effects.Clear();
    f.Timer1Timer(nullptr);
    EXPECT_EQ(CountPlayed(fx, "Bakuhatu.wav"), 1);
    EXPECT_FALSE(f.Scene().ImgPad->Visible);
    EXPECT_FALSE(stone->Visible);
    EXPECT_FALSE(f.Scene().FloatAniBallY[0]->Running());
    EXPECT_TRUE(f.Scene().ImgBakuhatu->Visible);
    EXPECT_EQ(fx.music.playCalls(), playsBefore);  // no restart in this tick
    f.Sound().MusicStartTime = fx.clock.NowMs();  // (a later restart would set the held ball going again)
    const float frozenY = f.Scene().ImgBall[0]->Position.Y;
    fx.Run(3100);
    EXPECT_FALSE(f.GameProgress().GameOver());
    EXPECT_FLOAT_EQ(f.Scene().ImgBall[0]->Position.Y, frozenY);
    fx.Run(200);
    EXPECT_TRUE(f.GameProgress().GameOver());
    EXPECT_FALSE(f.Scene().ImgBakuhatu->Visible);
}

TEST(MusicLoopTest, RestartsAfterTheTrackLengthInWholeSeconds) {
    GameFixture fx;
    TForm1& f = fx.f();
    fx.music.SetTrack(fx.programFolder + "Data/Sound/Stage1.mp3", 95600);
    fx.Char(u'x');
    fx.Char(u'x');  // reopen the track with its new length
    ASSERT_EQ(f.Sound().MediaPlayer1->Duration(), 956000000);
    const uint32_t started = f.Sound().MusicStartTime;
    fx.Run(94900);
    EXPECT_EQ(f.Sound().MusicStartTime, started);
    fx.Run(200);
    EXPECT_NE(f.Sound().MusicStartTime, started);
    EXPECT_NEAR(static_cast<double>(f.Sound().MusicStartTime - started), 95000, 60);
    EXPECT_TRUE(f.Scene().Timer1->Enabled());
    EXPECT_EQ(f.Sound().MediaPlayer1->State(), TMPState::Playing);
}

TEST(MusicLoopTest, ARestartDuringAFirstFallKeepsTheBallFallingStraight) {
    GameFixture fx;
    TForm1& f = fx.f();
    fx.StartQuestion();
    ASSERT_TRUE(f.GameBoard().FirstBallDown());
    f.Scene().ImgPad->Position.X = 2000;
    const float x = f.Scene().ImgBall[0]->Position.X, y = f.Scene().ImgBall[0]->Position.Y;
    f.Sound().MusicStartTime = fx.clock.NowMs() - 700000;  // the track is over: restarted at the next tick
    fx.Run(300);
    EXPECT_GT(f.Scene().ImgBall[0]->Position.Y, y);
    EXPECT_FALSE(f.Scene().FloatAniBallX[0]->Running());
    EXPECT_FLOAT_EQ(f.Scene().ImgBall[0]->Position.X, x);
}

TEST(MusicLoopTest, NothingWithMusicOff) {
    GameFixture fx;
    TForm1& f = fx.f();
    fx.Char(u'x');
    ASSERT_FALSE(f.Sound().IsMusic);
    const int plays = fx.music.playCalls();
    fx.Run(700000);
    EXPECT_EQ(fx.music.playCalls(), plays);
}

}  // namespace
