// How questions and rounds end: the lost question's answer, message and
// farewell, and the end of a game with the title zoom and the parade.
#include <gtest/gtest.h>

#include <filesystem>

#include "persistence/atomic_file.h"

#include "tests/test_support/game_fixture.h"

using game_test::GameFixture;

TEST(ScoreLostMessage, NamesTheFirstQuestionOfTheStageInAsciiDigits) {
    EXPECT_EQ(ScoreLostMessage(1), "[Shift]キーを押すと第1問から再開します。");
    EXPECT_EQ(ScoreLostMessage(2), "[Shift]キーを押すと第11問から再開します。");
    EXPECT_EQ(ScoreLostMessage(3), "[Shift]キーを押すと第21問から再開します。");
}

TEST(DoGameOver, EndingStates) {
    struct Case {
        int mode, question, voice;
        bool sound;
        std::string message, farewell;
    };
    const std::string female = "おつかれさまでした。またがんば'ってね。";
    const std::string male = "おつかれさまでした。また/がんば'ろお。";
    const Case cases[] = {
        {0, 1, 0, true, "[Shift]キーを押すと第1問から再開します。", female},
        {0, 17, 1, true, "[Shift]キーを押すと第11問から再開します。", male},
        {0, 25, 0, false, "[Shift]キーを押すと第21問から再開します。", ""},
        {1, 1, 1, true, "[Shift]キーを押すと再開します。", male},
        {1, 1, 0, true, "[Shift]キーを押すと再開します。", female},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message + " voice " + std::to_string(c.voice));
        GameFixture fx(c.sound);
        TForm1& g = fx.f();
        g.Sound().VoiceMode = c.voice;
        fx.StartAt(c.mode, c.question);
        g.Scene().FloatAniBallY[0]->StopAtCurrent();
        g.DropStone(0, 0, TForm1::StoneKind::Stone);  // one stone in the air
        const int s = c.mode == 0 ? g.GameBoard().BallSeikaiMojiNo() : g.GameBoard().BallMojiNo()[0];
        fx.effects.Clear();
        fx.Set().progress().LoseQuestion();
        g.DoGameOver();

        EXPECT_EQ(g.Scene().LblMsg->Text, c.message);
        EXPECT_TRUE(g.Scene().LblMsg->Visible);
        EXPECT_EQ(g.GameBoard().MovingBallNo(), -1);
        EXPECT_TRUE(g.GameProgress().HintHyoji());
        EXPECT_FALSE(g.Scene().ImgStone[0]->Visible);  // the falling stone was ended and parked
        EXPECT_EQ(g.Scene().ImgTitle->Bitmap.Path(), fx.programFolder + "Data/Png/GameOver.png");
        EXPECT_TRUE(g.Scene().ImgTitle->Visible);
        EXPECT_EQ(g.Scene().LblKaitoMoji->Text, g.SlotQuestion(s).Jukugo);
        EXPECT_EQ(g.Scene().LblImi->Text, g.SlotQuestion(s).Imi);
        EXPECT_EQ(g.Scene().LblYomi->Text, g.SlotQuestion(s).Yomi);
        EXPECT_TRUE(g.Scene().LblImi->Visible && g.Scene().LblYomi->Visible && g.Scene().LblKaitoMoji->Visible);
        EXPECT_FLOAT_EQ(g.Scene().LblYomi->Position.Y, g.Scene().LblKaitoMoji->Position.Y - g.Scene().LblYomi->Height);
        if (c.sound) {
            ASSERT_EQ(fx.speech.said.size(), 1u);
            EXPECT_EQ(fx.speech.said[0].text, c.farewell);
            EXPECT_EQ(fx.speech.said[0].voice, c.voice);
            EXPECT_EQ(fx.speech.said[0].speed, 110);
            ASSERT_FALSE(fx.effects.played().empty());
            EXPECT_EQ(fx.effects.played()[0].path, fx.programFolder + "Data/Sound/gameover.wav");
            EXPECT_TRUE(fx.effects.played()[0].synchronous);
        } else {
            EXPECT_TRUE(fx.speech.said.empty());
            EXPECT_TRUE(fx.effects.played().empty());
        }
    }
}

TEST(TitleZoom, EndsWithMessageSpeechAndParadeEvenWithMusicOff) {
    struct Case {
        int mode;
        bool record;
        std::string message, speech;
    };
    const Case cases[] = {
        {0, true, "[Shift]キーを押すと第１問から再開します。", "やったね、しんき'ろく。おめでとお。"},
        {0, false, "[Shift]キーを押すと第１問から再開します。", "やったね。おめでとお。"},
        {1, true, "[Shift]キーを押せば始まります。", "やったね、しんき'ろく。おめでとお。"},
    };
    for (const Case& c : cases) {
        GameFixture fx;
        TForm1& g = fx.f();
        g.Sound().IsMusic = false;
        if (c.mode == 0)
            fx.Set().progress().StartScoreChallenge();
        else
            fx.Set().progress().StartStrokeChallenge();
        if (c.record) fx.Set().NewRecord();
        g.Scene().ImgTitle->Visible = true;
        const float w = g.Scene().ImgTitle->Width, h = g.Scene().ImgTitle->Height;
        const uint32_t zoomStart = fx.clock.NowMs();
        g.ZoomInTitle();
        EXPECT_EQ(g.Scene().ImgTitle->Width, 0);
        fx.Run(900);
        EXPECT_TRUE(fx.speech.said.empty());
        fx.Run(200);
        EXPECT_FLOAT_EQ(g.Scene().ImgTitle->Width, w);
        EXPECT_FLOAT_EQ(g.Scene().ImgTitle->Height, h);
        EXPECT_EQ(g.Scene().LblMsg->Text, c.message);
        EXPECT_TRUE(g.Scene().LblMsg->Visible);
        ASSERT_EQ(fx.speech.said.size(), 1u);
        EXPECT_EQ(fx.speech.said[0].text, c.speech);
        EXPECT_EQ(fx.speech.said[0].speed, 110);
        EXPECT_EQ(fx.music.openPath(), fx.programFolder + "Data/Sound/parade.mp3");
        EXPECT_EQ(g.Sound().MediaPlayer1->State(), TMPState::Playing);
        EXPECT_GE(g.Sound().MusicStartTime, zoomStart + 1000);
    }
}

TEST(TitleZoom, CutShortByHidingTheTitleEndsNothing) {
    GameFixture fx;
    TForm1& g = fx.f();
    g.Scene().ImgTitle->Visible = true;
    g.Scene().LblMsg->Text = "5";
    g.ZoomInTitle();
    fx.Run(300);
    g.Scene().ImgTitle->Visible = false;  // [Shift] started the next board meanwhile
    fx.Run(1000);
    EXPECT_EQ(g.Scene().LblMsg->Text, "5");
    EXPECT_NE(fx.music.openPath(), fx.programFolder + "Data/Sound/parade.mp3");
    EXPECT_TRUE(fx.speech.said.empty());
}

TEST(Explosion, EndsTheQuestionOnlyWhenItRunsItsCourse) {
    for (bool cutShort : {false, true}) {
        GameFixture fx;
        TForm1& g = fx.f();
        g.Scene().ImgBakuhatu->Visible = true;
        g.Scene().FloatAniBakuhatuX->Start();
        fx.Run(500);
        if (cutShort) g.Scene().ImgBakuhatu->Visible = false;  // a loaded game or a new board hid it
        fx.Run(3000);
        EXPECT_EQ(g.GameProgress().GameOver(), !cutShort);
        EXPECT_EQ(fx.speech.said.empty(), cutShort);
        EXPECT_FALSE(g.Scene().ImgBakuhatu->Visible);
    }
}

// Every write of one file fails while this lives.
struct FailingWrites {
    explicit FailingWrites(std::string path) {
        SetWriteFaultInjection({[path](const std::string& p) { return p == path; }, WriteFailurePoint::Open});
    }
    ~FailingWrites() { ClearWriteFaultInjection(); }
};

// A save that fails at the end of a game, or with a new stroke record, is still on
// screen when the ending is over, before the message that asks for [Shift].
TEST(FailedSaveAtTheEnd, StaysInViewThroughTheWholeEnding) {
    const std::string strokeFailed = "最小打数の保存に失敗しました。";
    auto expectInViewFor = [](GameFixture& fx, const std::string& failure, uint32_t ms) {
        for (uint32_t t = 0; t < ms; t += 100) {
            fx.Run(100);
            ASSERT_TRUE(fx.f().Scene().LblMsg->Visible) << "at " << t << " ms";
            ASSERT_EQ(fx.f().Scene().LblMsg->Text.rfind(failure, 0), 0u) << "at " << t << " ms: " << fx.f().Scene().LblMsg->Text;
        }
    };
    {
        // Question 30 of the score challenge: its save carries the best score.
        GameFixture fx;
        TForm1& g = fx.f();
        const FailingWrites failing(fx.DataFile("newrecord.dat"));
        fx.StartAt(0, 30);
        fx.HitBlockFromBelow(fx.GapColumn(g.GameBoard().BallSeikaiMojiNo()));
        ASSERT_TRUE(g.GameProgress().GameClear());
        EXPECT_EQ(g.Scene().LblMsg->Text, Msg::SaveFailed);
        // The points wait and fly, the title zooms in, the parade starts.
        expectInViewFor(fx, Msg::SaveFailed, 5000);
        EXPECT_EQ(g.Scene().LblMsg->Text, std::string(Msg::SaveFailed) + Msg::GameClearRestart);
        EXPECT_EQ(fx.music.openPath(), fx.programFolder + "Data/Sound/parade.mp3") << "the ending ran its course";
    }
    {
        // A new stroke record that cannot be written.
        GameFixture fx;
        TForm1& g = fx.f();
        g.Sound().IsMusic = false;
        fx.Key(VK_MENU_KEY);  // to the stroke challenge
        fx.Set().progress().TakeStrokeRecord(999);
        const FailingWrites failing(fx.DataFile("record2.dat"));
        fx.StartQuestion();
        for (int b = 0; b < 4; ++b) {
            ASSERT_EQ(g.GameBoard().MovingBallNo(), b);
            fx.HitBlockFromBelow(fx.GapColumn(g.GameBoard().BallMojiNo()[b]));
        }
        ASSERT_TRUE(g.GameProgress().Mode1_Clear());
        EXPECT_TRUE(g.GameProgress().ChangeHighScore());
        EXPECT_EQ(g.Scene().LblMsg->Text, strokeFailed);
        expectInViewFor(fx, strokeFailed, 2000);
        EXPECT_EQ(g.Scene().LblMsg->Text, strokeFailed + Msg::StrokeNext);
        EXPECT_EQ(fx.music.openPath(), fx.programFolder + "Data/Sound/parade.mp3") << "the ending ran its course";
    }
}
