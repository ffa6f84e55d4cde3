// Answer judging: points, correct and wrong gaps, characters copied from
// special blocks, the spoken idiom.
#include <gtest/gtest.h>

#include "game/clear_of_help_panel.h"
#include "tests/test_support/game_fixture.h"

using game_test::GameFixture;

TEST(AnswerPoints, Table) {
    struct Case {
        int stage, contacts, ball;
        bool hint, dealt;
        int points;
    };
    const Case cases[] = {
        {1, 5, 0, false, true, 600},    // (15-5) x 3 x 2 x 10
        {1, 5, 0, true, true, 300},     // the hint halves
        {1, 5, 0, false, false, 600},   // stage 1: the dealt character does not double
        {2, 10, 1, false, true, 1600},  // (30-10) x 2 x 4 x 10
        {2, 10, 1, false, false, 800},  // copied character
        {3, 20, -1, false, true, 4000}, // last question: ball factor 4
        {3, 44, 2, true, false, 10},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AnswerPoints(c.stage, c.contacts, c.ball, c.hint, c.dealt), c.points)
            << c.stage << " " << c.contacts << " " << c.ball;
}

namespace {
struct JudgingTest : ::testing::Test {
    GameFixture fx;
    TForm1& g = fx.f();
    int GapOf(int slot) { return fx.GapColumn(slot); }
};
}  // namespace

TEST_F(JudgingTest, CorrectAnswerScoresShowsTheIdiomAndLandsOnTheTotal) {
    fx.StartAt(0, 1);
    const int s = g.GameBoard().BallSeikaiMojiNo();
    fx.Set().Record([](TDataRec& r) { r.PadHitCount = 5; });
    fx.reading.table[g.SlotQuestion(s).Imi] = "いみは、これ";
    const uint32_t t0 = fx.clock.NowMs();
    fx.HitBlockFromBelow(GapOf(s));

    EXPECT_TRUE(g.GameProgress().Clear());
    EXPECT_EQ(g.GameBoard().MovingBallNo(), -1);
    EXPECT_TRUE(g.GameProgress().HintHyoji());
    EXPECT_EQ(g.GameProgress().Score(), 600);
    EXPECT_EQ(g.GameProgress().TotalScore(), 600);
    EXPECT_EQ(g.Scene().LblKaitoMoji->Text, g.SlotQuestion(s).Jukugo);
    EXPECT_TRUE(g.Scene().LblImi->Visible);
    EXPECT_TRUE(g.Scene().LblYomi->Visible);
    EXPECT_FLOAT_EQ(g.Scene().LblImi->Position.Y, g.Scene().LblKaitoMoji->Position.Y + g.Scene().LblKaitoMoji->Height);
    EXPECT_FLOAT_EQ(g.Scene().LblYomi->Position.Y, g.Scene().LblKaitoMoji->Position.Y - g.Scene().LblYomi->Height);
    // Across the width up to the help panel: at 800 x 600 the panel stands beside
    // the meaning, which would otherwise be centred into it.
    EXPECT_FLOAT_EQ(g.Scene().LblImi->Position.X, kLeftEdgeInset);
    EXPECT_FLOAT_EQ(g.Scene().LblImi->Position.X + g.Scene().LblImi->Width, g.Scene().RectSosaHoho->Position.X - kPanelClearance);
    EXPECT_EQ(g.Scene().LblScore->Text, "600点");
    EXPECT_TRUE(g.Scene().LblScore->Visible);
    EXPECT_EQ(g.Scene().ImgTitle->Bitmap.Path(), fx.programFolder + "Data/Png/seikai.png");
    ASSERT_FALSE(fx.effects.played().empty());
    EXPECT_EQ(fx.effects.played().back().path, fx.programFolder + "Data/Sound/Seikai1.wav");
    EXPECT_TRUE(fx.effects.played().back().synchronous);
    ASSERT_EQ(fx.speech.said.size(), 1u);
    EXPECT_EQ(fx.speech.said[0].speed, 100);
    // The idiom's speech text, a stop, the meaning's reviewed speech text (never
    // a machine reading of the meaning).
    const int q = g.GameBoard().MondaiNo()[s];
    ASSERT_LT(q, kBuiltInQuestions);
    const std::string idiom = *Cp932ToUtf8(g.Questions().At(q).SpeakMoji);
    const std::string meaning = *Cp932ToUtf8(g.Questions().At(q).ImiSpeakMoji);
    ASSERT_FALSE(meaning.empty());
    EXPECT_EQ(fx.speech.said[0].text, idiom + "。" + meaning);

    // The points wait two seconds, fly one, and land on the total.
    const float startY = g.Scene().LblScore->Position.Y;
    fx.Run(t0 + 2900 - fx.clock.NowMs());  // the answer's sound counts towards the wait
    EXPECT_TRUE(g.Scene().LblScore->Visible);
    EXPECT_EQ(g.Scene().LblTotalScore->Text, "SCORE:000000");
    fx.Run(200);
    EXPECT_FALSE(g.Scene().LblScore->Visible);
    EXPECT_FLOAT_EQ(g.Scene().LblScore->Position.Y, startY);
    EXPECT_EQ(g.Scene().LblTotalScore->Text, "SCORE:000600");
    EXPECT_TRUE(g.Scene().ImgTitle->Visible);
}

TEST_F(JudgingTest, StageEndsSetTheCheckpointAndTheLastQuestionEndsTheGame) {
    struct Case { int question; bool checkpoint; };
    for (Case c : {Case{9, false}, Case{10, true}, Case{20, true}, Case{30, false}}) {
        GameFixture local;
        TForm1& h = local.f();
        local.StartAt(0, c.question);
        local.Set().Record([](TDataRec& r) {
            r.TotalScore = 20000;
            r.OldTotalScore = 5000;
        });
        local.Set().progress().TakeHighScore(15000);
        local.HitBlockFromBelow(local.GapColumn(h.GameBoard().BallSeikaiMojiNo()));
        EXPECT_EQ(h.GameProgress().OldTotalScore(), c.checkpoint ? h.GameProgress().TotalScore() : 5000) << c.question;
        EXPECT_EQ(h.GameProgress().GameClear(), c.question == 30);
    }
}

TEST_F(JudgingTest, LastQuestionJudgesTheRecordOnTheFinalTotalAndSavesTheGame) {
    fx.StartAt(0, 30);
    fx.Set().Record([](TDataRec& r) {
        r.TotalScore = 20000;
        r.PadHitCount = 5;
    });
    fx.Set().progress().TakeHighScore(15000);
    fx.HitBlockFromBelow(GapOf(g.GameBoard().BallSeikaiMojiNo()));
    EXPECT_TRUE(g.GameProgress().GameClear());
    EXPECT_TRUE(g.GameProgress().ChangeHighScore());
    EXPECT_EQ(g.GameProgress().Score(), (45 - 5) * 4 * 4 * 10);            // ball factor 4, dealt character
    EXPECT_EQ(g.GameProgress().TotalScore(), 20000 + g.GameProgress().Score());
    EXPECT_EQ(g.GameProgress().HighScore(), g.GameProgress().TotalScore());        // with this question's points
    EXPECT_EQ(g.Scene().ImgTitle->Bitmap.Path(), fx.programFolder + "Data/Png/newrecord.png");
    EXPECT_FALSE(fx.Played("Data/Sound/Seikai1.wav"));
    EXPECT_EQ(fx.speech.said.size(), 1u);
    EXPECT_TRUE(std::filesystem::exists(fx.DataFile("newrecord.dat")));

    // Not beaten: the game-clear picture.
    GameFixture other;
    TForm1& h = other.f();
    other.StartAt(0, 30);
    other.Set().Record([](TDataRec& r) { r.TotalScore = 100; });
    other.Set().progress().TakeHighScore(15000);
    other.HitBlockFromBelow(other.GapColumn(h.GameBoard().BallSeikaiMojiNo()));
    EXPECT_FALSE(h.GameProgress().ChangeHighScore());
    EXPECT_EQ(h.GameProgress().HighScore(), 15000);
    EXPECT_EQ(h.Scene().ImgTitle->Bitmap.Path(), other.programFolder + "Data/Png/GameClear.png");
}

TEST_F(JudgingTest, WrongGapDropsAWrongAnswerStoneAndCostsNothingElse) {
    fx.StartAt(0, 1);
    const int wrong = (g.GameBoard().BallSeikaiMojiNo() + 1) % 4;
    fx.Set().Record([](TDataRec& r) { r.PadHitCount = 3; });
    fx.HitBlockFromBelow(GapOf(wrong));
    EXPECT_FALSE(g.GameProgress().Clear());
    EXPECT_EQ(g.GameBoard().MovingBallNo(), 0);
    EXPECT_EQ(g.GameProgress().PadHitCount(), 3);
    EXPECT_EQ(g.GameProgress().Score(), 0);
    EXPECT_TRUE(g.Scene().ImgStone[GapOf(wrong)]->Visible);
    EXPECT_EQ(g.Scene().ImgStone[GapOf(wrong)]->Bitmap.Path(), fx.programFolder + "Data/Png/stone2.png");
    EXPECT_TRUE(fx.Played("Data/Sound/Buzz.wav"));
    EXPECT_FLOAT_EQ(g.Scene().FloatAniBallY[0]->StopValue, g.ClientHeight());  // bounced down
}

TEST_F(JudgingTest, ScoreChallengeCopyTurnsBallsVioletOrBackToGold) {
    fx.StartAt(0, 11);  // stage 2: four special blocks in row 1
    const int dealt = g.GameBoard().FirstBallSeikaiMojiNo();
    const int other = (dealt + 1) % 4;
    auto specialOf = [&](int slot) {
        for (int c = 0; c < 16; ++c)
            if (g.GameBoard().SeikaiMojiNo()[16 + c] == slot) return 16 + c;
        return -1;
    };
    const int otherBlock = specialOf(other), dealtBlock = specialOf(dealt);
    ASSERT_GE(otherBlock, 0);
    ASSERT_GE(dealtBlock, 0);

    fx.HitBlockFromBelow(otherBlock);
    EXPECT_EQ(g.GameBoard().BallSeikaiMojiNo(), other);
    for (int b = 0; b <= 2; ++b) {
        EXPECT_EQ(g.Scene().TextBallMoji[b]->Text, g.SlotCharacter(other));
        EXPECT_EQ(g.Scene().TextBallMoji[b]->Color, Colors::Darkviolet);
    }
    EXPECT_EQ(g.Scene().LblKaitoMoji->Text, g.SlotCharacter(other));
    EXPECT_EQ(g.Scene().LblKaitoMoji->FontColor, Colors::Floralwhite);
    EXPECT_FALSE(g.Scene().FloatAniKaitoMoji->Running());
    EXPECT_FLOAT_EQ(g.Scene().LblKaitoMoji->Opacity, 1);
    EXPECT_EQ(g.Scene().LblImi->Text, g.SlotQuestion(other).Imi);
    EXPECT_EQ(g.Scene().LblYomi->Text, g.SlotQuestion(other).Yomi);
    EXPECT_EQ(fx.Played("Data/Sound/Copy.wav"), g.GameBoard().BlockKind()[otherBlock] != KindOfBlock::Stone);

    fx.HitBlockFromBelow(dealtBlock);
    EXPECT_EQ(g.GameBoard().BallSeikaiMojiNo(), dealt);
    EXPECT_EQ(g.Scene().TextBallMoji[0]->Color, Colors::Darkgoldenrod);
    EXPECT_EQ(g.Scene().LblKaitoMoji->FontColor, Colors::Gold);
    EXPECT_TRUE(g.Scene().FloatAniKaitoMoji->Running());

    // Answered with the copied character: no doubling.
    g.CharacterCopy(1, otherBlock - 16);  // the block itself is broken by now
    fx.Set().Record([](TDataRec& r) {
        r.PadHitCount = 10;
        r.MovingBallNo = 1;
    });
    fx.HitBlockFromBelow(GapOf(other));
    EXPECT_EQ(g.GameProgress().Score(), 800);
}

TEST_F(JudgingTest, StrokeChallengeCopySwapsWithTheLaterBall) {
    fx.StartAt(1, 1);
    const int later = g.GameBoard().BallMojiNo()[2];
    const int own = g.GameBoard().BallMojiNo()[0];
    int block = -1;
    for (int i = 16; i < 48 && block < 0; ++i)
        if (g.GameBoard().SeikaiMojiNo()[i] == later) block = i;
    ASSERT_GE(block, 0);
    fx.HitBlockFromBelow(block);
    EXPECT_EQ(g.GameBoard().BallMojiNo()[0], later);
    EXPECT_EQ(g.GameBoard().BallMojiNo()[2], own);
    EXPECT_EQ(g.Scene().TextBallMoji[0]->Text, g.SlotCharacter(later));
    EXPECT_EQ(g.Scene().TextBallMoji[2]->Text, g.SlotCharacter(own));
    EXPECT_EQ(g.Scene().LblKaitoMoji->Text, g.SlotCharacter(later));
}

TEST_F(JudgingTest, StrokeChallengeAnswerBlanksTheSlotsSpecialBlocksAndDropsTheNextBall) {
    fx.StartAt(1, 1);
    const int s = g.GameBoard().BallMojiNo()[0];
    fx.HitBlockFromBelow(GapOf(s));
    EXPECT_TRUE(g.GameProgress().Clear());
    EXPECT_EQ(g.GameBoard().MovingBallNo(), 1);
    EXPECT_TRUE(g.GameBoard().FirstBallDown());
    EXPECT_FLOAT_EQ(g.Scene().FloatAniBallY[1]->Duration, 3.0f);
    EXPECT_TRUE(g.Scene().FloatAniBallY[1]->Running());
    EXPECT_EQ(g.Scene().LblKaitoMoji->Text, g.SlotQuestion(s).Jukugo);
    EXPECT_TRUE(g.Scene().LblYomi->Visible);
    for (int i = 16; i < 48; ++i) EXPECT_NE(g.GameBoard().SeikaiMojiNo()[i], s);
    for (TText* t : g.Scene().TextSpecialBlockMoji)
        if (t->Text == g.SlotCharacter(s)) { EXPECT_FALSE(t->Visible); }
    ASSERT_EQ(fx.speech.said.size(), 1u);
    EXPECT_EQ(fx.speech.said[0].speed, 100);
    EXPECT_TRUE(fx.Played("Data/Sound/seikai.wav"));
}

TEST_F(JudgingTest, AnAdditionalQuestionSaysItsReadingAndHandsOnItsMeaningAsWritten) {
    fx.StartAt(0, 1);
    const int s = 0;
    // Without a speech text the reading is said; the meaning goes to the speech
    // engine as written, for its text analyser, not as a machine reading.
    fx.Set().board().DealSlot(s, g.Questions().Append({"一二三四", "いちにさんし", "数の並び、一から四まで", ""}));
    fx.Set().progress().AddAdditionalQuestion(false);
    fx.reading.table["数の並び、一から四まで"] = "かずのならびは、いちからよんまで";
    EXPECT_EQ(*Cp932ToUtf8(g.IdiomSpeechText(s)), "いちにさんし。数の並び、一から四まで");
    // With one, that is said instead of the reading.
    fx.Set().board().DealSlot(
        s, g.Questions().Append({"一二三四", "いちにさんし", "数の並び、一から四まで", *Utf8ToCp932("いちにさんし")}));
    fx.Set().progress().AddAdditionalQuestion(false);
    EXPECT_EQ(*Cp932ToUtf8(g.IdiomSpeechText(s)), "いちにさんし。数の並び、一から四まで");
}
