// A whole score challenge played on the virtual clock: thirty questions over
// three stages, one question lost on purpose, and the end of the game.
#include <gtest/gtest.h>

#include <chrono>

#include "tests/test_support/game_fixture.h"

using game_test::GameFixture;

TEST(PlayScoreChallenge, ThirtyQuestionsWithStageChangesALostQuestionAndTheEnding) {
    const auto realStart = std::chrono::steady_clock::now();
    GameFixture fx;
    TForm1& g = fx.f();
    g.Sound().IsMusic = false;  // the parade must play all the same
    fx.steering = true;
    const uint32_t clockStart = fx.clock.NowMs();

    int stageCheckpoint = 0;  // total at the end of the last completed stage
    bool lostOnPurpose = false;
    int accidentalLosses = 0;
    int answered = 0;
    for (int board = 0; board < 80 && !g.GameProgress().GameClear(); ++board) {
        fx.Key(VK_SHIFT_KEY);
        const int q = g.GameProgress().MondaiCount();
        SCOPED_TRACE("question " + std::to_string(q));
        ASSERT_EQ(g.Scene().LblMondaiCount->Text, "第" + std::to_string(q) + "問");
        ASSERT_EQ(g.GameProgress().Stage(), (q - 1) / 10 + 1);
        ASSERT_EQ(g.Scene().LblPadHitCount->Text, ZeroPad(g.GameProgress().Stage() * 15, 3));
        if (q % 10 == 1) {
            EXPECT_EQ(g.Fill.Path(), fx.programFolder + "Data/haikei" + std::to_string(g.GameProgress().Stage()) + ".jpg");
            EXPECT_EQ(g.GameProgress().TotalScore(), stageCheckpoint);
        }
        EXPECT_EQ(g.Scene().ImgBlock[16]->Visible, g.GameProgress().Stage() >= 2);
        EXPECT_EQ(g.Scene().ImgBlock[32]->Visible, g.GameProgress().Stage() >= 3);
        const int totalBefore = g.GameProgress().TotalScore();

        const bool loseThisOne = q == 15 && !lostOnPurpose;
        if (loseThisOne) {
            // Let all three balls fall past the paddle.
            lostOnPurpose = true;
            fx.Run(5050);
            g.Scene().ImgPad->Position.X = 2000;
            ASSERT_TRUE(fx.RunUntil([&] { return g.GameProgress().GameOver(); }, 20000));
        } else {
            fx.Run(5050);
            ASSERT_TRUE(fx.PlayUntil([&] { return g.GameProgress().Clear() || g.GameProgress().GameOver(); }, 300000));
        }
        if (g.GameProgress().GameOver()) {
            if (!loseThisOne) ++accidentalLosses;
            EXPECT_EQ(g.Scene().LblMsg->Text, ScoreLostMessage(g.GameProgress().Stage()));
            continue;  // the next [Shift] goes back to the stage's first question
        }
        ++answered;
        EXPECT_GT(g.GameProgress().Score(), 0);
        EXPECT_EQ(g.GameProgress().TotalScore(), totalBefore + g.GameProgress().Score());
        // [Shift] waits until the points have landed.
        fx.Run(1000);
        fx.Key(VK_SHIFT_KEY);
        EXPECT_EQ(g.GameProgress().MondaiCount(), q);
        fx.Run(2100);
        EXPECT_EQ(g.Scene().LblTotalScore->Text, "SCORE:" + ZeroPad(g.GameProgress().TotalScore(), 6));
        if (q % 10 == 0 && q < 30) stageCheckpoint = g.GameProgress().TotalScore();
        if (q == 30) { EXPECT_TRUE(g.GameProgress().GameClear()); }
    }
    ASSERT_TRUE(g.GameProgress().GameClear());
    EXPECT_TRUE(lostOnPurpose);
    EXPECT_EQ(g.GameProgress().MondaiCount(), 30);

    // The title has zoomed open: final message, speech, parade.
    fx.Run(1100);
    EXPECT_TRUE(g.Scene().ImgTitle->Visible);
    EXPECT_EQ(g.Scene().LblMsg->Text, "[Shift]キーを押すと第１問から再開します。");
    EXPECT_EQ(fx.music.openPath(), fx.programFolder + "Data/Sound/parade.mp3");
    EXPECT_EQ(g.Sound().MediaPlayer1->State(), TMPState::Playing);
    ASSERT_FALSE(fx.speech.said.empty());
    EXPECT_EQ(fx.speech.said.back().text,
              g.GameProgress().ChangeHighScore() ? "やったね、しんき'ろく。おめでとお。" : "やったね。おめでとお。");

    // The next [Shift] begins a new game.
    fx.Key(VK_SHIFT_KEY);
    EXPECT_EQ(g.GameProgress().MondaiCount(), 1);
    EXPECT_EQ(g.GameProgress().TotalScore(), 0);

    const double realSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - realStart).count();
    const double gameSeconds = (fx.clock.NowMs() - clockStart) / 1000.0;
    RecordProperty("accidental_losses", accidentalLosses);
    RecordProperty("game_seconds", static_cast<int>(gameSeconds));
    std::printf("score challenge: %d answers, %d accidental losses, %.0f game s in %.2f real s\n", answered,
                accidentalLosses, gameSeconds, realSeconds);
}
