// Where a contact sends the ball, and the contacts a question allows: the pure
// rules, each draw checked for its range and order.
#include <gtest/gtest.h>

#include <vector>

#include "game/board.h"
#include "game/paddle_rules.h"

namespace {

// Answers each draw with the next scripted value and notes the range asked for.
struct NotingRandom : RandomSource {
    std::vector<int> answers, ranges;
    int Random(int n) override {
        ranges.push_back(n);
        const int v = answers.at(ranges.size() - 1);
        EXPECT_GE(v, 0);
        EXPECT_LT(v, n);
        return v;
    }
};

}  // namespace

TEST(PaddleRules, AimStopGoesOnInItsDirectionUpToTheMarginBeyondAnEdge) {
    struct Case {
        const char* name;
        float pos, legStart;
        int extent, margin, draw;
        int range;
        float stop;
    };
    const Case cases[] = {
        {"right: from x to width + 100 beyond", 300, 100, 800, 100, 0, 600, 300},
        {"right: the farthest", 300, 100, 800, 100, 599, 600, 899},
        {"standing still counts as forwards", 300, 300, 800, 100, 10, 600, 310},
        {"a position rounds ties to even", 300.5f, 0, 800, 100, 0, 600, 300.5f},
        {"left: down to 100 before 0", 300, 500, 800, 100, 0, 400, -100},
        {"left: the nearest", 300, 500, 800, 100, 399, 400, 299},
        {"up: down to 400 above the top", 250.4f, 600, 600, 400, 0, 650, -400},
        {"down: to 400 below the bottom", 250, 100, 600, 400, 749, 750, 999},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        NotingRandom random;
        random.answers = {c.draw};
        EXPECT_FLOAT_EQ(AimStop(c.pos, c.legStart, c.extent, c.margin, random), c.stop);
        EXPECT_EQ(random.ranges, std::vector<int>{c.range});
    }
}

TEST(PaddleRules, LegDurationsAndTheFirstFallsStop) {
    struct Case {
        bool firstFall;
        int draw, range;
        float seconds;
    };
    for (const Case& c : {Case{true, 0, 2, 1.0f}, Case{true, 1, 2, 1.2f}, Case{false, 0, 4, 1.0f},
                          Case{false, 3, 4, 4.0f}}) {
        NotingRandom random;
        random.answers = {c.draw};
        EXPECT_FLOAT_EQ(PaddleLegDuration(c.firstFall, random), c.seconds) << c.firstFall << " " << c.draw;
        EXPECT_EQ(random.ranges, std::vector<int>{c.range});
    }
    NotingRandom random;
    random.answers = {0, 1919, 2};
    EXPECT_FLOAT_EQ(FirstFallStopX(1920, random), 50);
    EXPECT_FLOAT_EQ(FirstFallStopX(1920, random), 1969);
    EXPECT_FLOAT_EQ(BlockLegDuration(random), 3);
    EXPECT_EQ(random.ranges, (std::vector<int>{1920, 1920, 4}));
}

TEST(PaddleRules, FifteenContactsAStage) {
    struct Case {
        int stage, contacts, left;
        bool usedUp;
    };
    for (const Case& c : {Case{1, 0, 15, false}, Case{1, 14, 1, false}, Case{1, 15, 0, true}, Case{2, 15, 15, false},
                          Case{3, 44, 1, false}, Case{3, 45, 0, true}, Case{1, 20, -5, true}}) {
        EXPECT_EQ(ContactsLeft(c.stage, c.contacts), c.left) << c.stage << " " << c.contacts;
        EXPECT_EQ(ContactsUsedUp(c.stage, c.contacts), c.usedUp) << c.stage << " " << c.contacts;
    }
}

TEST(BoardRules, GapsAndTargetSlots) {
    Board board;
    for (int k = 0; const int p : {0, 3, 1, 2}) board.HideCharacter(k++, p);
    std::vector<int> gaps;
    for (int c = 0; c < kBlocksPerRow; ++c)
        if (board.IsGap(c)) gaps.push_back(c);
    EXPECT_EQ(gaps, (std::vector<int>{0, 7, 9, 14}));

    board.DealBallsCharacter(2);
    for (int b = 0; const int k : {3, 1, 0, 2}) board.DealBallCharacter(b++, k);
    for (int b = 0; b < kBalls; ++b) {
        EXPECT_EQ(board.TargetSlot(false, b), 2) << b;  // one character for every ball
        EXPECT_EQ(board.TargetSlot(true, b), board.BallMojiNo()[b]) << b;
    }
}
