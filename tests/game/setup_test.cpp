// Start-up, stage set-up and the deal.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "tests/test_support/game_fixture.h"

namespace {

using game_test::GameFixture;

TEST(ZeroPadTest, Table) {
    struct Case {
        int value, width;
        const char* expected;
    } cases[] = {
        {0, 6, "000000"}, {15000, 6, "015000"}, {123456, 6, "123456"}, {1234567, 6, "------"},
        {1000, 3, "---"},  {-5, 3, "-5"},        {0, 0, ""},           {42, 0, ""},
        {45, 3, "045"},    {7, 1, "7"},
    };
    for (const Case& c : cases) EXPECT_EQ(ZeroPad(c.value, c.width), c.expected) << c.value << "/" << c.width;
}

TEST(ImagesOverlapTest, EdgesAndRounding) {
    TForm form(800, 600);
    TImage* a = form.Create<TImage>(&form);
    TImage* b = form.Create<TImage>(&form);
    struct Case {
        float ax, ay, aw, ah, bx, by, bw, bh;
        bool overlap;
    } cases[] = {
        {0, 0, 20, 20, 0, 10, 20, 20, false},    // a's bottom 15 meets b's top 15: edges only touch
        {0, 0, 20, 20, 0, 9, 20, 20, true},      // one unit of penetration
        {0, 0, 20, 20, 10, 0, 20, 20, false},    // side by side, touching
        {0, 0, 10, 40, 0, 0, 40, 40, false},     // 10 units wide: an empty rectangle
        {0, 0, 20, 20, 0, 9.5f, 20, 20, true},   // b's top 14.5 rounds to even 14
        {0, 0, 20, 20, 0, 10.5f, 20, 20, false}, // b's top 15.5 rounds to even 16
    };
    for (const Case& c : cases) {
        a->SetBounds(c.ax, c.ay, c.aw, c.ah);
        b->SetBounds(c.bx, c.by, c.bw, c.bh);
        EXPECT_EQ(ImagesOverlap(a, b), c.overlap) << c.bx << "," << c.by;
        EXPECT_EQ(ImagesOverlap(b, a), c.overlap);
    }
}

TEST(StartUpTest, FirstStartOnANewAccount) {
    GameFixture fx;
    TForm1& f = fx.f();
    EXPECT_TRUE(std::filesystem::is_directory(fx.documentsFolder + "/みずうみ舎/TeramonData"));
    EXPECT_EQ(f.Scene().LblHighScore->Text, "HIGHSCORE:015000");
    EXPECT_EQ(f.Scene().LblMsg->Text, Msg::Start);
    EXPECT_TRUE(f.Scene().LblMsg->Visible);
    EXPECT_EQ(f.Scene().LblMode1HighScore->Text, "最小打数:030");
    EXPECT_FALSE(f.Scene().LblMode1HighScore->Visible);
    EXPECT_TRUE(f.Screens().Title);
    EXPECT_FALSE(f.Screens().GameLoading);
    EXPECT_FALSE(f.GameProgress().GameClear());  // cleared again by the first set-up
    EXPECT_EQ(f.GameProgress().Stage(), 1);
    EXPECT_EQ(f.Scene().LblTotalScore->Text, "SCORE:000000");
    EXPECT_EQ(f.Scene().LblMondaiCount->Text, "第1問");
    EXPECT_TRUE(f.Sound().IsMusic);
    EXPECT_NE(fx.music.openPath().find("Data/Sound/Stage1.mp3"), std::string::npos);

    // Blocks: 16 per row with 17 equal gaps; only the top row is in play at stage 1.
    EXPECT_NEAR(f.Scene().ImgBlock[0]->Position.X, 9.41f, 0.01f);
    EXPECT_NEAR(f.Scene().ImgBlock[5]->Position.X, 9.41f * 6 + 200, 0.05f);
    EXPECT_FLOAT_EQ(f.Scene().ImgBlock[0]->Position.Y, 60);
    EXPECT_FLOAT_EQ(f.Scene().ImgBlock[16]->Position.Y, 129);
    EXPECT_FLOAT_EQ(f.Scene().ImgBlock[32]->Position.Y, 198);
    EXPECT_TRUE(f.Scene().ImgBlock[15]->Visible);
    EXPECT_FALSE(f.Scene().ImgBlock[16]->Visible);
    for (int c = 0; c < 16; ++c) EXPECT_EQ(f.Scene().TextBlockMoji[c]->Text, "四");
    // Balls 0-2 stand at the left below the top row, ball 3 is not used.
    const float ys[] = {220, 185, 150};
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(f.Scene().ImgBall[i]->Visible);
        EXPECT_FLOAT_EQ(f.Scene().ImgBall[i]->Position.Y, ys[i]);
        EXPECT_FLOAT_EQ(f.Scene().ImgBall[i]->Position.X, 8);
    }
    EXPECT_FALSE(f.Scene().ImgBall[3]->Visible);
    // The help text: twelve lines and the learning window's, each ending with CR LF.
    EXPECT_EQ(std::count(f.Scene().LblSosaHoho->Text.begin(), f.Scene().LblSosaHoho->Text.end(), '\n'), 13);
    EXPECT_EQ(f.Scene().LblSosaHoho->Text.substr(f.Scene().LblSosaHoho->Text.size() - 2), "\r\n");
    EXPECT_LT(fx.host.cursorCounter, 0);  // the cursor is hidden
}

TEST(StartUpTest, BallsBeforeTheFirstSetUpStandBelowRowTwo) {
    GameFixture fx;
    // A fresh window without FormShow keeps the creation places.
    TForm1 other(*fx.services);
    other.FormCreate();
    const float ys[] = {328, 293, 258, 223};
    for (int i = 0; i < 4; ++i) EXPECT_FLOAT_EQ(other.Scene().ImgBall[i]->Position.Y, ys[i]);
}

// Sets up and deals the question that follows `previous` with the given outcome flags.
void DealQuestion(GameFixture& fx, int previous) {
    fx.Set().Record([&](TDataRec& r) {
        r.MondaiCount = previous;
        r.Stage = (previous - 1) / 10 + 1;
        r.Clear = 1;
        r.MovingBallNo = -1;
    });
    fx.Key(VK_SHIFT_KEY);
}

TEST(DealTest, EachStageDealsItsRowsSpecialAndGoldBlocks) {
    struct Case {
        int previous;
        int stage;
        const char* label;
        const char* allowance;
        const char* background;
    } cases[] = {
        {0, 1, "第1問", "015", "Data/haikei1.jpg"},
        {10, 2, "第11問", "030", "Data/haikei2.jpg"},
        {20, 3, "第21問", "045", "Data/haikei3.jpg"},
    };
    for (const Case& c : cases) {
        GameFixture fx;
        TForm1& f = fx.f();
        DealQuestion(fx, c.previous);
        EXPECT_EQ(f.GameProgress().Stage(), c.stage);
        EXPECT_EQ(f.Scene().LblMondaiCount->Text, c.label);
        EXPECT_EQ(f.Scene().LblPadHitCount->Text, c.allowance);
        EXPECT_NE(f.Fill.Path().find(c.background), std::string::npos) << f.Fill.Path();
        EXPECT_NE(fx.music.openPath().find("Stage" + std::to_string(c.stage) + ".mp3"), std::string::npos);
        EXPECT_EQ(f.Scene().LblMsg->Text, "5");
        EXPECT_EQ(f.Screens().ThinkingTimeCount, 5);
        for (int r = 0; r < 3; ++r)
            for (int col = 0; col < 16; ++col) EXPECT_EQ(f.Scene().ImgBlock[r * 16 + col]->Visible, r < c.stage);
        EXPECT_EQ(f.Scene().LblVisibleBlockCount1->Visible, c.stage >= 2);
        EXPECT_EQ(f.Scene().LblVisibleBlockCount2->Visible, c.stage >= 3);

        // One special block per slot in every lower row in play; in the score
        // challenge exactly one per row is gold and carries the dealt character.
        for (int r = 1; r < c.stage; ++r) {
            int special = 0, gold = 0;
            for (int col = 0; col < 16; ++col) {
                const int i = r * 16 + col;
                if (f.GameBoard().SeikaiMojiNo()[i] < 0) {
                    EXPECT_TRUE(f.GameBoard().BlockKind()[i] == KindOfBlock::Stone || f.GameBoard().BlockKind()[i] == KindOfBlock::Wood);
                    continue;
                }
                ++special;
                if (f.GameBoard().BlockKind()[i] == KindOfBlock::Gold) {
                    ++gold;
                    EXPECT_EQ(f.GameBoard().SeikaiMojiNo()[i], f.GameBoard().FirstBallSeikaiMojiNo());
                }
            }
            EXPECT_EQ(special, 4);
            EXPECT_EQ(gold, 1);
        }
        for (int i = 0; i < 16; ++i) EXPECT_EQ(f.GameBoard().SeikaiMojiNo()[i], -1);

        // Three balls carry the target's missing character; the gaps are empty.
        const std::string ch = f.SlotCharacter(f.GameBoard().BallSeikaiMojiNo());
        for (int b = 0; b < 3; ++b) {
            EXPECT_EQ(f.Scene().TextBallMoji[b]->Text, ch);
            EXPECT_TRUE(f.Scene().TextBallMoji[b]->Visible);
        }
        EXPECT_FALSE(f.Scene().ImgBall[3]->Visible);
        EXPECT_EQ(f.Scene().LblKaitoMoji->Text, ch);
        EXPECT_EQ(f.Scene().FloatAniKaitoMoji->Running(), c.stage >= 2);
        for (int s = 0; s < 4; ++s) EXPECT_TRUE(f.Scene().TextBlockMoji[s * 4 + f.GameBoard().UnVisibleMojiNo()[s]]->Text.empty());
        // The four hidden characters differ pairwise.
        for (int s = 0; s < 4; ++s)
            for (int t = s + 1; t < 4; ++t) EXPECT_NE(f.SlotCharacter(s), f.SlotCharacter(t));
    }
}

TEST(DealTest, StrokeChallengeGivesFourBallsFourCharacters) {
    GameFixture fx;
    TForm1& f = fx.f();
    fx.Key(VK_MENU_KEY);
    ASSERT_EQ(f.GameProgress().GameMode(), Challenge::Stroke);
    fx.Key(VK_SHIFT_KEY);
    EXPECT_EQ(f.GameProgress().Stage(), 3);
    EXPECT_EQ(f.Scene().LblPadHitCount->Text, "000");
    EXPECT_TRUE(f.Scene().LblImi->Visible);
    std::vector<int> slots(f.GameBoard().BallMojiNo().begin(), f.GameBoard().BallMojiNo().end());
    std::sort(slots.begin(), slots.end());
    EXPECT_EQ(slots, (std::vector<int>{0, 1, 2, 3}));
    for (int b = 0; b < 4; ++b) {
        EXPECT_TRUE(f.Scene().ImgBall[b]->Visible);
        EXPECT_EQ(f.Scene().TextBallMoji[b]->Text, f.SlotCharacter(f.GameBoard().BallMojiNo()[b]));
    }
    for (int i = 16; i < 48; ++i) EXPECT_NE(f.GameBoard().BlockKind()[i], KindOfBlock::Gold);
}

TEST(DealTest, PoolResetsAfterThe42ndDeal) {
    GameFixture fx;
    TForm1& f = fx.f();
    for (int deal = 1; deal <= 43; ++deal) {
        f.SetUpStage();
        f.DealQuestions();
        if (deal == 41) { EXPECT_EQ(f.GameProgress().BuiltInDealtCount(), 164); }
        if (deal == 42) { EXPECT_EQ(f.GameProgress().BuiltInDealtCount(), 0); }
        if (deal == 43) { EXPECT_EQ(f.GameProgress().BuiltInDealtCount(), 4); }
    }
}

TEST(DealTest, TooFewUndealtQuestionsAtTheStartResetThePoolFirst) {
    GameFixture fx;
    TForm1& f = fx.f();
    // Marks restored from a saved game can leave fewer than four questions.
    for (int q = 0; q < kBuiltInQuestions; ++q) GameStateSetUp(f).progress().MarkDealt(q, q != 3);
    f.SetUpStage();
    f.DealQuestions();  // must not loop for ever
    EXPECT_EQ(f.GameProgress().BuiltInDealtCount(), 4);
}

TEST(DealTest, AnIdiomWithNoAdmissibleGapIsReplaced) {
    GameFixture fx;
    TForm1& f = fx.f();
    // Slot 0: 三々五々 (147) with its gap on 三; slot 1 draws 三々五々 again first
    // (marked dealt by then, so force it through the additional table instead).
    f.Questions().SetAdditional({{"三三三三", "さんさんさんさん", "テスト", ""}});
    GameStateSetUp(f).progress().SetAdditionalQuestionCount(1);
    f.SetUpStage();
    fx.random.Clear();
    fx.random.Push(147);  // slot 0: 三々五々
    fx.random.Push(0);    // its gap: 三
    fx.random.Push(170);  // slot 1: 三三三三, no admissible gap
    fx.random.Push(5);    // another question for slot 1
    f.DealQuestions();
    EXPECT_EQ(f.GameBoard().MondaiNo()[0], 147);
    EXPECT_EQ(f.GameBoard().MondaiNo()[1], 5);
    for (int s = 0; s < 4; ++s)
        for (int t = s + 1; t < 4; ++t) EXPECT_NE(f.SlotCharacter(s), f.SlotCharacter(t));
}

TEST(DealTest, APoolUsedUpInTheMiddleOfADealDealsNoIdiomTwice) {
    GameFixture fx;
    TForm1& f = fx.f();
    // Only four questions are left undealt, one of which can take no gap next to
    // slot 0's: it is replaced, and the pool runs out before slot 3.
    for (int q = 0; q < kBuiltInQuestions; ++q) GameStateSetUp(f).progress().MarkDealt(q, true);
    f.Questions().SetAdditional({{"一二三四", "い", "い", ""},
                               {"一一一一", "ろ", "ろ", ""},
                               {"五六七八", "は", "は", ""},
                               {"九十百千", "に", "に", ""}});
    GameStateSetUp(f).progress().SetAdditionalQuestionCount(4);
    f.SetUpStage();
    fx.random.Clear();
    for (int v : {170, 0,        // slot 0: 一二三四, gap on 一
                  171,           // slot 1: 一一一一, no gap possible next to 一: replaced
                  172, 0,        // slot 1: 五六七八, gap on 五
                  173, 0,        // slot 2: 九十百千, gap on 九
                  170,           // slot 3, after the pool ran out: 一二三四 again
                  5, 0, 1, 2, 3})  // another question and its gap
        fx.random.Push(v);
    f.DealQuestions();
    for (int s = 0; s < 4; ++s)
        for (int t = s + 1; t < 4; ++t) {
            EXPECT_NE(f.GameBoard().MondaiNo()[s], f.GameBoard().MondaiNo()[t]) << "slots " << s << " and " << t;
            EXPECT_NE(f.SlotQuestion(s).Jukugo, f.SlotQuestion(t).Jukugo) << "slots " << s << " and " << t;
        }
    EXPECT_EQ(f.GameBoard().MondaiNo()[3], 5);
}

}  // namespace
