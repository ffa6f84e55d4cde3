// A game suspended with [Esc] and continued with [Y] in the next run must stand
// on the screen as it stood when it was left: compared object by object with
// the scene of the run that saved it, in flight and just after an answer.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <map>
#include <string>

#include "tests/test_support/game_state_set_up.h"
#include "tests/test_support/program_run.h"

namespace {

using game_test::Folders;
using game_test::ProgramRun;

using Scene = std::map<std::string, std::string>;

std::string Num(float v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f", std::round(v * 10) / 10);
    return buf;
}

std::string Describe(const TControl* c) {
    std::string d = c->IsShownInScene() ? "shown" : "hidden";
    if (!c->IsShownInScene()) return d;  // where a hidden object waits does not show
    d += " at " + Num(c->Position.X) + "," + Num(c->Position.Y) + " size " + Num(c->Width) + "x" +
         Num(c->Height);
    if (const auto* img = dynamic_cast<const TImage*>(c)) d += " picture " + img->Bitmap.Path();
    if (const auto* text = dynamic_cast<const TText*>(c))
        d += " text '" + text->Text + "' colour " + std::to_string(text->Color);
    if (const auto* label = dynamic_cast<const TLabel*>(c))
        d += " text '" + label->Text + "' colour " + std::to_string(label->FontColor);
    return d;
}

void DescribeEach(Scene& s, std::initializer_list<std::pair<const char*, const TControl*>> named) {
    for (const auto& [name, control] : named) s[name] = Describe(control);
}

// The board: blocks, their characters, stones, balls, the counters beside it.
Scene Board(TForm1& f) {
    Scene s;
    for (int i = 0; i < kBlocks; ++i) {
        s["ImgBlock[" + std::to_string(i) + "]"] = Describe(f.Scene().ImgBlock[i]);
        s["ImgStone[" + std::to_string(i) + "]"] = Describe(f.Scene().ImgStone[i]);
    }
    for (int c = 0; c < 16; ++c) s["TextBlockMoji[" + std::to_string(c) + "]"] = Describe(f.Scene().TextBlockMoji[c]);
    for (int k = 0; k < 8; ++k) {
        const TText* t = f.Scene().TextSpecialBlockMoji[k];
        std::string on = "nowhere";
        for (int i = 0; i < kBlocks; ++i)
            if (t->Parent() == f.Scene().ImgBlock[i]) on = "on block " + std::to_string(i);
        s["TextSpecialBlockMoji[" + std::to_string(k) + "]"] = Describe(t) + (t->IsShownInScene() ? " " + on : "");
    }
    for (int b = 0; b < kBalls; ++b) {
        s["ImgBall[" + std::to_string(b) + "]"] = Describe(f.Scene().ImgBall[b]);
        s["TextBallMoji[" + std::to_string(b) + "]"] = Describe(f.Scene().TextBallMoji[b]);
    }
    s["ImgPad"] = f.Scene().ImgPad->Visible ? "shown" : "hidden";  // the pointer places it
    DescribeEach(s, {{"LblVisibleBlockCount1", f.Scene().LblVisibleBlockCount1},
                     {"LblVisibleBlockCount2", f.Scene().LblVisibleBlockCount2},
                     {"LblPadHitCount", f.Scene().LblPadHitCount},
                     {"LblTotalScore", f.Scene().LblTotalScore},
                     {"LblHighScore", f.Scene().LblHighScore},
                     {"LblMode1HighScore", f.Scene().LblMode1HighScore},
                     {"LblMondaiCount", f.Scene().LblMondaiCount},
                     {"LblGameMode", f.Scene().LblGameMode}});
    s["background"] = f.Fill.Path();
    return s;
}

// Everything on the screen: the board and the labels and pictures around it.
Scene WholeScreen(TForm1& f) {
    Scene s = Board(f);
    DescribeEach(s, {{"LblKaitoMoji", f.Scene().LblKaitoMoji},
                     {"LblImi", f.Scene().LblImi},
                     {"LblYomi", f.Scene().LblYomi},
                     {"LblMsg", f.Scene().LblMsg},
                     {"LblScore", f.Scene().LblScore},
                     {"ImgTitle", f.Scene().ImgTitle},
                     {"ImgLogo", f.Scene().ImgLogo},
                     {"ImgBakuhatu", f.Scene().ImgBakuhatu}});
    return s;
}

void ExpectSameScene(const Scene& saved, const Scene& continued, const char* when) {
    for (const auto& [name, was] : saved) {
        auto it = continued.find(name);
        ASSERT_NE(it, continued.end()) << name;
        EXPECT_EQ(it->second, was) << name << " " << when;
    }
}

// Runs with the paddle kept under the ball until the paddle has touched it n times.
void PlayUntilPaddleContacts(ProgramRun& run, int n) {
    TForm1& g = run.f();
    for (int t = 0; t < 60000 && g.GameProgress().PadHitCount() < n; t += 10) {
        if (g.GameBoard().MovingBallNo() >= 0) {
            const TImage* ball = g.Scene().ImgBall[g.GameBoard().MovingBallNo()];
            g.Scene().ImgPad->Position.X = ball->Position.X + ball->Width / 2 - g.Scene().ImgPad->Width / 2;
        }
        run.app.RunFor(10);
    }
    ASSERT_GE(g.GameProgress().PadHitCount(), n);
}

// The ball in play sent into the gap of its slot from below.
void AnswerRightly(ProgramRun& run) {
    TForm1& g = run.f();
    const int b = g.GameBoard().MovingBallNo();
    const TImage* gap = g.Scene().ImgBlock[g.GameBoard().BallSeikaiMojiNo() * 4 + g.GameBoard().UnVisibleMojiNo()[g.GameBoard().BallSeikaiMojiNo()]];
    g.Hold(b);
    g.Scene().ImgBall[b]->Position.X = gap->Position.X + 5;
    g.Scene().ImgBall[b]->Position.Y = gap->Position.Y + gap->Height - 12;
    g.Scene().FloatAniBallY[b]->StartValue = g.Scene().ImgBall[b]->Position.Y + 100;
    g.Scene().FloatAniBallX[b]->StartValue = g.Scene().ImgBall[b]->Position.X;
    g.ForgetBallPath();
    g.Scene().ImgPad->Position.X = 2000;
    g.ProcessBall();
    ASSERT_TRUE(g.GameProgress().Clear());
}

struct Case {
    const char* name;
    int firstQuestion;  // of the game as it is left
    bool answered;      // left once the points of a correct answer landed, else with the ball in flight
};

class ResumeScene : public ::testing::TestWithParam<Case> {};

TEST_P(ResumeScene, ContinuedGameStandsAsItWasLeft) {
    const Case c = GetParam();
    Folders folders;
    Scene saved, savedBoard;
    {
        ProgramRun a(folders.program, folders.documents, 1280, 720);
        TForm1& g = a.f();
        GameStateSetUp(g).NextQuestion(c.firstQuestion);
        a.Shift();
        a.app.RunFor(5050);
        ASSERT_EQ(g.GameBoard().MovingBallNo(), 0);
        PlayUntilPaddleContacts(a, 2);
        if (c.answered) {
            AnswerRightly(a);
            a.app.RunFor(3500);  // the points have landed on the total
        }
        savedBoard = Board(g);
        saved = c.answered ? savedBoard : WholeScreen(g);
        a.Key(VK_ESCAPE_KEY);  // the close saves the game
    }

    ProgramRun b(folders.program, folders.documents, 1280, 720);
    TForm1& g = b.f();
    ASSERT_TRUE(g.Screens().GameLoading);
    b.Char(u'y');
    if (c.answered) {
        ASSERT_TRUE(g.GameProgress().Clear());
        ExpectSameScene(saved, Board(g), "waiting for [Shift]");
        return;
    }
    // Waiting for [A]: the board is the one left; only its characters may still
    // differ (play going on writes what the record holds on them).
    ASSERT_TRUE(g.Screens().Pause);
    auto withoutCharacters = [](Scene s) {
        std::erase_if(s, [](const auto& entry) { return entry.first.find("Moji") != std::string::npos; });
        return s;
    };
    ExpectSameScene(withoutCharacters(savedBoard), withoutCharacters(Board(g)), "waiting for [A]");

    b.Char(u'a');
    ASSERT_FALSE(g.Screens().Pause);
    ExpectSameScene(saved, WholeScreen(g), "after [A]");
}

INSTANTIATE_TEST_SUITE_P(LeftAndContinued, ResumeScene,
                         ::testing::Values(Case{"InFlightStageOne", 1, false},
                                           Case{"InFlightStageTwo", 11, false},
                                           Case{"InFlightStageThree", 21, false},
                                           Case{"AnsweredStageOne", 1, true},
                                           Case{"AnsweredStageThree", 21, true}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
