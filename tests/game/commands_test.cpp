// The player's commands in each screen, pause and resume, the paddle.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <fstream>
#include <iterator>
#include <string>

#include "persistence/atomic_file.h"
#include "persistence/record_files.h"
#include "tests/test_support/game_fixture.h"
#include "tests/test_support/temp_folder.h"

namespace {

using game_test::GameFixture;

struct CountingDialog : SettingsDialog {
    TForm1* form = nullptr;
    int shown = 0;
    void ShowModal() override {
        ++shown;
        form->SettingsDialogClosed();  // closes at once
    }
};

enum class Screen { Title, Countdown, BallInPlay, Paused, BetweenQuestions, Explosion };

void Enter(GameFixture& fx, Screen s) {
    TForm1& f = fx.f();
    switch (s) {
        case Screen::Title:
            break;
        case Screen::Countdown:
            fx.Key(VK_SHIFT_KEY);
            fx.Run(1000);
            break;
        case Screen::BallInPlay:
            fx.StartQuestion();
            break;
        case Screen::Paused:
            fx.StartQuestion();
            fx.Char(u'a');
            break;
        case Screen::BetweenQuestions:
            fx.StartQuestion();
            fx.Set().progress().LoseQuestion();
            f.DoGameOver();
            break;
        case Screen::Explosion:
            fx.StartQuestion();
            f.Scene().ImgBakuhatu->Visible = true;
            break;
    }
}

// What a command may change, read before it is pressed.
struct Before {
    Challenge gameMode;
    bool pause;
    bool hint;
    const CountingDialog* dialog;
};

struct Command {
    const char* name;
    std::function<void(GameFixture&)> press;
    std::function<bool(GameFixture&, const Before&)> acted;
};

TEST(CommandGuardTest, WhichCommandsActInWhichScreen) {
    const Command commands[] = {
        {"Start", [](GameFixture& fx) { fx.Key(VK_SHIFT_KEY); },
         [](GameFixture& fx, const Before&) { return fx.f().Screens().ThinkingTimeCount == 5; }},
        {"GameMode", [](GameFixture& fx) { fx.Key(VK_MENU_KEY); },
         [](GameFixture& fx, const Before& before) { return fx.f().GameProgress().GameMode() != before.gameMode; }},
        {"Quit", [](GameFixture& fx) { fx.Key(VK_ESCAPE_KEY); },
         [](GameFixture& fx, const Before&) { return fx.f().IsClosed(); }},
        {"Pause", [](GameFixture& fx) { fx.Char(u'a'); },
         [](GameFixture& fx, const Before& before) { return fx.f().Screens().Pause != before.pause; }},
        {"Minimise", [](GameFixture& fx) { fx.Char(u'd'); },
         [](GameFixture& fx, const Before&) { return fx.host.minimizeCount == 1; }},
        {"Hint", [](GameFixture& fx) { fx.Char(u'z'); },
         [](GameFixture& fx, const Before& before) { return fx.f().GameProgress().HintHyoji() && !before.hint; }},
        {"Settings", [](GameFixture& fx) { fx.Char(u's'); },
         [](GameFixture&, const Before& before) { return before.dialog->shown == 1; }},
    };
    struct Row {
        Screen screen;
        const char* name;
        // Start, GameMode, Quit, Pause, Minimise, Hint, Settings
        bool acts[7];
    } rows[] = {
        {Screen::Title, "title", {true, true, true, false, true, false, true}},
        {Screen::Countdown, "countdown", {false, false, false, false, false, true, false}},
        {Screen::BallInPlay, "ball in play", {false, true, true, true, true, true, true}},
        {Screen::Paused, "paused", {false, true, true, true, true, false, true}},
        {Screen::BetweenQuestions, "between questions", {true, true, true, false, true, false, true}},
        {Screen::Explosion, "explosion", {false, false, false, false, false, true, false}},
    };
    for (const Row& row : rows) {
        for (int c = 0; c < 7; ++c) {
            GameFixture fx;
            CountingDialog dialog;
            dialog.form = &fx.f();
            fx.f().SetSettingsDialog(&dialog);
            Enter(fx, row.screen);
            const Before before{fx.f().GameProgress().GameMode(), fx.f().Screens().Pause, fx.f().GameProgress().HintHyoji(), &dialog};
            commands[c].press(fx);
            EXPECT_EQ(commands[c].acted(fx, before), row.acts[c]) << row.name << ": " << commands[c].name;
        }
    }
}

TEST(CommandTest, UpperCaseLettersDoNothing) {
    GameFixture fx;
    TForm1& f = fx.f();
    fx.StartQuestion();
    for (char16_t c : {u'A', u'X', u'C', u'Z', u'D'}) fx.Char(c);
    EXPECT_FALSE(f.Screens().Pause);
    EXPECT_TRUE(f.Sound().IsMusic);
    EXPECT_TRUE(f.Sound().IsSound);
    EXPECT_FALSE(f.GameProgress().HintHyoji());
    EXPECT_EQ(fx.host.minimizeCount, 0);
}

TEST(CommandTest, MusicAndSoundSwitchesActEverywhere) {
    GameFixture fx;
    TForm1& f = fx.f();
    fx.Char(u'x');
    EXPECT_FALSE(f.Sound().IsMusic);
    EXPECT_TRUE(f.Scene().ImgMusicStop->Visible);
    EXPECT_EQ(f.Sound().MediaPlayer1->State(), TMPState::Stopped);
    fx.Key(VK_MENU_KEY);  // stroke challenge: stage 3 once a board is set up
    fx.Key(VK_SHIFT_KEY);
    fx.Char(u'x');  // during the countdown
    EXPECT_TRUE(f.Sound().IsMusic);
    EXPECT_NE(fx.music.openPath().find("Data/Sound/Stage3.mp3"), std::string::npos);
    fx.Char(u'c');
    EXPECT_FALSE(f.Sound().IsSound);
    EXPECT_TRUE(f.Scene().ImgSoundStop->Visible);
    fx.effects.Clear();
    fx.Run(5000);  // the countdown's bleeps are silent now
    EXPECT_TRUE(fx.effects.played().empty());
}

TEST(PauseTest, HoldsBallAndStonesAndResumesFromWhereTheyStood) {
    GameFixture fx;
    TForm1& f = fx.f();
    fx.StartQuestion();
    fx.Run(200);
    // A stone on its way down.
    TImage* stone = f.Scene().ImgStone[2];
    stone->Visible = true;
    f.Scene().FloatAniStoneY[2]->StartValue = stone->Position.Y;
    f.Scene().FloatAniStoneY[2]->StopValue = 600;
    f.Scene().FloatAniStoneY[2]->Duration = 2;
    f.Scene().FloatAniStoneY[2]->Start();
    fx.Run(500);
    fx.Char(u'a');
    ASSERT_TRUE(f.Screens().Pause);
    EXPECT_EQ(f.Scene().LblMsg->Text, Msg::Paused);
    EXPECT_FALSE(f.Scene().TextBlockMoji[0]->Visible);
    EXPECT_FALSE(f.Scene().TextBallMoji[1]->Visible);
    const float ballY = f.Scene().ImgBall[0]->Position.Y, stoneY = stone->Position.Y;
    fx.Run(3000);
    EXPECT_FLOAT_EQ(f.Scene().ImgBall[0]->Position.Y, ballY);
    EXPECT_FLOAT_EQ(stone->Position.Y, stoneY);
    EXPECT_TRUE(stone->Visible);  // holding does not end the fall
    fx.Char(u'a');
    EXPECT_FALSE(f.Screens().Pause);
    EXPECT_FALSE(f.Scene().LblMsg->Visible);
    EXPECT_TRUE(f.Scene().TextBlockMoji[0]->Visible);
    const float ballX = f.Scene().ImgBall[0]->Position.X;
    fx.Run(100);
    EXPECT_GT(stone->Position.Y, stoneY);
    EXPECT_GT(f.Scene().ImgBall[0]->Position.Y, ballY);
    // The ball was on its first fall: it falls on straight down, towards a paddle
    // that may be waiting under it.
    EXPECT_FALSE(f.Scene().FloatAniBallX[0]->Running());
    fx.Run(400);
    EXPECT_FLOAT_EQ(f.Scene().ImgBall[0]->Position.X, ballX);
}

TEST(PauseTest, AResumedLegGoesOnTowardsItsStopValues) {
    GameFixture fx;
    TForm1& f = fx.f();
    fx.StartQuestion();
    // The first paddle contact sends the ball up and to the side.
    TImage* ball = f.Scene().ImgBall[0];
    ball->Position.X = f.Scene().ImgPad->Position.X + 10;
    ball->Position.Y = f.Scene().ImgPad->Position.Y - 12;
    f.ProcessBall();
    ASSERT_FALSE(f.GameBoard().FirstBallDown());
    fx.Run(200);
    fx.Char(u'a');
    const float x = ball->Position.X, y = ball->Position.Y;
    fx.Char(u'a');
    fx.Run(200);
    EXPECT_TRUE(f.Scene().FloatAniBallX[0]->Running());
    EXPECT_NE(ball->Position.X, x);
    EXPECT_LT(ball->Position.Y, y);
}

TEST(CommandTest, GameModeTwiceOffersToContinueTheSavedGame) {
    GameFixture fx;
    TForm1& f = fx.f();
    fx.StartQuestion();
    fx.Key(VK_MENU_KEY);
    EXPECT_EQ(f.GameProgress().GameMode(), Challenge::Stroke);
    EXPECT_EQ(f.Scene().LblMsg->Text, Msg::Start);
    EXPECT_EQ(f.Scene().LblGameMode->Text, "打数挑戦");
    EXPECT_TRUE(std::filesystem::exists(fx.DataFile("newrecord.dat")));
    fx.Key(VK_MENU_KEY);
    EXPECT_EQ(f.GameProgress().GameMode(), Challenge::Score);
    EXPECT_EQ(f.Scene().LblMsg->Text, Msg::ResumeQuestion);
    EXPECT_TRUE(f.Screens().GameLoading);
    fx.Key(VK_SHIFT_KEY);  // refused while the question is on screen
    EXPECT_NE(f.Screens().ThinkingTimeCount, 5);
    fx.Char(u'n');
    EXPECT_FALSE(f.Screens().GameLoading);
    EXPECT_EQ(f.Scene().LblMsg->Text, Msg::Start);
    fx.Key(VK_SHIFT_KEY);
    EXPECT_EQ(f.GameProgress().MondaiCount(), 1);
    EXPECT_EQ(f.Screens().ThinkingTimeCount, 5);
}

TEST(CommandTest, SwitchingBackWhileTheFourthBallFliesSavesARecordTheGameAccepts) {
    GameFixture fx;
    TForm1& f = fx.f();
    fx.StartQuestion();
    fx.Key(VK_MENU_KEY);  // to the stroke challenge; the score game is saved
    fx.StartQuestion();
    fx.Set().board().ServeBall(3);  // the fourth ball of the stroke challenge in flight
    fx.Key(VK_MENU_KEY);  // back: the resume question is on screen
    ASSERT_TRUE(f.Screens().GameLoading);
    EXPECT_EQ(f.GameBoard().MovingBallNo(), -1);
    fx.Key(VK_MENU_KEY);  // away again, saving from the resume question
    TDataRec rec{};
    ASSERT_EQ(ReadDataRecFile(fx.DataFile("newrecord.dat"), rec), ReadStatus::Ok);
    EXPECT_TRUE(rec.MovingBallNo >= -1 && rec.MovingBallNo <= 2) << rec.MovingBallNo;
}

TEST(CommandTest, GameModeSwitchKeepsAFailedSaveInView) {
    GameFixture fx;
    TForm1& f = fx.f();
    fx.StartQuestion();
    const std::string record = fx.DataFile("newrecord.dat");
    SetWriteFaultInjection({[record](const std::string& path) { return path == record; }, WriteFailurePoint::Rename});
    fx.Key(VK_MENU_KEY);
    ClearWriteFaultInjection();
    EXPECT_EQ(f.GameProgress().GameMode(), Challenge::Stroke);
    EXPECT_EQ(f.Scene().LblMsg->Text, std::string(Msg::SaveFailed) + Msg::Start);
    // A later switch that saves nothing shows the plain start message.
    fx.Key(VK_MENU_KEY);
    fx.Char(u'n');
    fx.Key(VK_MENU_KEY);
    EXPECT_EQ(f.Scene().LblMsg->Text, Msg::Start);
}

TEST(CommandTest, EscapeOnTheTitleSavesNothing) {
    GameFixture fx;
    fx.Key(VK_ESCAPE_KEY);
    EXPECT_TRUE(fx.f().IsClosed());
    EXPECT_FALSE(std::filesystem::exists(fx.DataFile("newrecord.dat")));
    EXPECT_FALSE(std::filesystem::exists(fx.DataFile("Settei.ini")));
}

TEST(CommandTest, EscapeOnTheTitleAfterMusicOffSavesNothingMore) {
    GameFixture fx;
    fx.Char(u'x');  // kept in Settei.ini at once (title_switches_test.cpp)
    const auto read = [&] {
        std::ifstream in(fx.DataFile("Settei.ini"), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const std::string kept = read();
    ASSERT_FALSE(kept.empty());
    fx.Key(VK_ESCAPE_KEY);
    EXPECT_TRUE(fx.f().IsClosed());
    EXPECT_FALSE(std::filesystem::exists(fx.DataFile("newrecord.dat")));
    EXPECT_EQ(read(), kept);
}

TEST(MouseTest, PaddleFollowsThePointerCentreInEveryStateAndNeverMovesUpOrDown) {
    GameFixture fx;
    TForm1& f = fx.f();
    auto move = [&](float x, float y) {
        const float padY = f.Scene().ImgPad->Position.Y;
        fx.input.ScreenMouseX = x;
        fx.input.ScreenMouseY = y;
        f.RouteMouseMove(x, y, {});
        EXPECT_FLOAT_EQ(f.Scene().ImgPad->Position.X, x - f.Scene().ImgPad->Width / 2) << x << "," << y;
        EXPECT_FLOAT_EQ(f.Scene().ImgPad->Position.Y, padY) << "a move to " << x << "," << y << " moved the paddle's Y";
    };
    move(400, 300);  // title screen
    move(700, 20);
    fx.StartQuestion();
    move(120, 590);
    move(300, 100);
    fx.Char(u'a');  // paused
    move(10, 590);  // over the music icon
    move(790, 5);
    f.FullScreen = false;  // a window: the event's own position
    move(250, 450);
}

}  // namespace

// Back in the score challenge with the resume question on screen, the board shown
// is the stroke challenge's: leaving then ([Alt] again, [Esc], [D]) must keep the
// suspended score game on disk, not write that board over it.
TEST(CommandTest, LeavingFromTheResumeQuestionKeepsTheSuspendedGame) {
    struct Case {
        const char* what;
        std::function<void(GameFixture&)> leave;
    };
    const Case cases[] = {
        {"[Alt] again", [](GameFixture& fx) { fx.Key(VK_MENU_KEY); }},
        {"[Esc]", [](GameFixture& fx) { fx.Key(VK_ESCAPE_KEY); }},
        {"[D]", [](GameFixture& fx) { fx.Char(u'd'); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GameFixture fx;
        fx.StartQuestion();
        fx.Play(1000);
        fx.Key(VK_MENU_KEY);  // to the stroke challenge: the score game is saved
        const std::string suspended = ReadBytes(fx.DataFile("newrecord.dat"));
        ASSERT_EQ(suspended.size(), sizeof(TDataRec));
        fx.StartQuestion();
        fx.Play(1000);
        fx.Key(VK_MENU_KEY);  // back: the resume question is on screen
        ASSERT_TRUE(fx.f().Screens().GameLoading);
        c.leave(fx);
        EXPECT_EQ(ReadBytes(fx.DataFile("newrecord.dat")), suspended);
    }
}
