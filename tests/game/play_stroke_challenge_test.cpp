// Whole stroke-challenge rounds on the virtual clock: a character swapped by a
// special block, a new record written to record2.dat, and a round with an equal
// count that writes nothing.
#include <gtest/gtest.h>

#include <fstream>

#include "tests/test_support/game_fixture.h"

using game_test::GameFixture;

namespace {
int ReadRecordFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    unsigned char b[4] = {};
    in.read(reinterpret_cast<char*>(b), 4);
    if (in.gcount() != 4) return -1;
    return b[0] | b[1] << 8 | b[2] << 16 | b[3] << 24;
}
}  // namespace

TEST(PlayStrokeChallenge, SwapNewRecordThenAnEqualCountWritesNothing) {
    GameFixture fx;
    TForm1& g = fx.f();
    g.Sound().IsMusic = false;
    fx.Key(VK_MENU_KEY);  // to the stroke challenge
    ASSERT_EQ(g.GameProgress().GameMode(), Challenge::Stroke);
    ASSERT_EQ(g.Scene().LblMsg->Text, "[Shift]キーを押すとゲームが始まります。");
    fx.Set().progress().TakeStrokeRecord(999);  // any finished round beats it
    fx.steering = true;
    fx.StartQuestion();
    ASSERT_EQ(g.GameBoard().MovingBallNo(), 0);

    // Ball 0 is sent at a lowest-row special block that carries a later ball's character.
    const int own = g.GameBoard().BallMojiNo()[0];
    int special = -1;
    for (int c = 0; c < 16 && special < 0; ++c)
        if (g.GameBoard().SeikaiMojiNo()[32 + c] >= 0 && g.GameBoard().SeikaiMojiNo()[32 + c] != own) special = 32 + c;
    ASSERT_GE(special, 0);
    const int taken = g.GameBoard().SeikaiMojiNo()[special];
    int laterBall = 1;
    while (g.GameBoard().BallMojiNo()[laterBall] != taken) ++laterBall;
    fx.aimBlock = special;
    ASSERT_TRUE(fx.PlayUntil([&] { return g.GameBoard().BallMojiNo()[0] != own || g.GameProgress().GameOver(); }, 120000));
    ASSERT_FALSE(g.GameProgress().GameOver());
    EXPECT_EQ(g.GameBoard().BallMojiNo()[0], taken);
    EXPECT_EQ(g.GameBoard().BallMojiNo()[laterBall], own);
    EXPECT_EQ(g.Scene().TextBallMoji[laterBall]->Text, g.SlotCharacter(own));
    fx.aimBlock = -1;

    // The four balls to their gaps.
    ASSERT_TRUE(fx.PlayUntil([&] { return g.GameProgress().Mode1_Clear() || g.GameProgress().GameOver(); }, 600000));
    ASSERT_FALSE(g.GameProgress().GameOver());
    const int strokes = g.GameProgress().PadHitCount();
    EXPECT_EQ(g.Scene().LblPadHitCount->Text, ZeroPad(strokes, 3));
    EXPECT_TRUE(g.GameProgress().ChangeHighScore());
    EXPECT_EQ(g.GameProgress().Mode1HighScore(), strokes);
    EXPECT_EQ(ReadRecordFile(fx.DataFile("record2.dat")), strokes);
    EXPECT_EQ(g.Scene().ImgTitle->Bitmap.Path(), fx.programFolder + "Data/Png/newrecord.png");
    EXPECT_EQ(g.GameBoard().MovingBallNo(), -1);
    // Every answer but the fourth was spoken; the zoom ends with the record speech.
    EXPECT_EQ(fx.speech.said.size(), 3u);
    fx.Run(1100);
    EXPECT_EQ(g.Scene().LblMsg->Text, "[Shift]キーを押せば始まります。");
    ASSERT_EQ(fx.speech.said.size(), 4u);
    EXPECT_EQ(fx.speech.said.back().text, "やったね、しんき'ろく。おめでとお。");
    EXPECT_EQ(fx.music.openPath(), fx.programFolder + "Data/Sound/parade.mp3");

    // Second round: the count ties the record at the end, and nothing is written.
    std::filesystem::remove(fx.DataFile("record2.dat"));
    fx.speech.said.clear();
    fx.effects.Clear();
    fx.StartQuestion();
    EXPECT_EQ(g.Scene().LblMode1HighScore->Text, "最小打数:" + ZeroPad(strokes, 3));
    const auto tieTheRecord = [&] {
        if (g.GameBoard().MovingBallNo() == 3) fx.Set().progress().TakeStrokeRecord(g.GameProgress().PadHitCount());
    };
    ASSERT_TRUE(fx.PlayUntil([&] { return g.GameProgress().Mode1_Clear() || g.GameProgress().GameOver(); }, 600000, tieTheRecord));
    ASSERT_FALSE(g.GameProgress().GameOver());
    EXPECT_FALSE(g.GameProgress().ChangeHighScore());
    EXPECT_FALSE(std::filesystem::exists(fx.DataFile("record2.dat")));
    EXPECT_EQ(g.Scene().ImgTitle->Bitmap.Path(), fx.programFolder + "Data/Png/seikai.png");
    EXPECT_TRUE(g.Scene().ImgTitle->Visible);
    EXPECT_EQ(g.Scene().LblMsg->Text, "[Shift]キーを押せば始まります。");
    EXPECT_TRUE(fx.Played("Data/Sound/Seikai1.wav"));
    ASSERT_FALSE(fx.speech.said.empty());
    EXPECT_EQ(fx.speech.said.back().text, "やったね。おめでとお。");
    EXPECT_EQ(fx.speech.said.back().speed, 110);
}
