// The score challenge's run of questions as Progress keeps it: which question
// follows, the stage it belongs to, the total it starts from.
#include <gtest/gtest.h>

#include "tests/test_support/game_state_set_up.h"

namespace {

struct Before {
    int question, stage, total, stageStartTotal;
    bool cleared, lost, gameFinished;
};
struct After {
    int question, stage, total, stageStartTotal;
};

Progress ProgressAt(const Before& b) {
    Board board;
    Progress progress;
    GameStateSetUp::Record(board, progress, [&](TDataRec& r) {
        r.MondaiCount = b.question;
        r.Stage = b.stage;
        r.TotalScore = b.total;
        r.OldTotalScore = b.stageStartTotal;
        r.Clear = b.cleared;
        r.GameOver = b.lost;
        r.GameClear = b.gameFinished;
    });
    return progress;
}

}  // namespace

TEST(ProgressTest, NextScoreQuestionFollowsHowTheQuestionEnded) {
    struct Case {
        const char* name;
        Before before;
        After after;
    };
    const Case cases[] = {
        {"cleared, same stage", {9, 1, 900, 0, true, false, false}, {10, 1, 900, 0}},
        {"cleared, the next stage", {10, 1, 1000, 1000, true, false, false}, {11, 2, 1000, 1000}},
        {"lost: the stage again from its total", {15, 2, 3000, 1000, false, true, false}, {11, 2, 1000, 1000}},
        {"lost in stage 3", {29, 3, 9000, 5000, false, true, false}, {21, 3, 5000, 5000}},
        {"a whole game: anew", {30, 3, 9000, 5000, true, false, true}, {1, 1, 0, 0}},
        {"the first board after start-up", {1, 0, 0, 0, false, false, false}, {1, 1, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Progress p = ProgressAt(c.before);
        p.NextScoreQuestion();
        EXPECT_EQ(p.MondaiCount(), c.after.question);
        EXPECT_EQ(p.Stage(), c.after.stage);
        EXPECT_EQ(p.TotalScore(), c.after.total);
        EXPECT_EQ(p.OldTotalScore(), c.after.stageStartTotal);
        EXPECT_FALSE(p.GameClear());
        // A new game counts as following a cleared question: its first board shows stage 1's scenery.
        if (c.before.gameFinished) {
            EXPECT_TRUE(p.Clear());
        }
    }
}

TEST(ProgressTest, BeginQuestionKeepsAFinishedScoreGameOnlyOnTheTitle) {
    for (const bool onTitle : {false, true}) {
        SCOPED_TRACE(onTitle ? "on the title" : "in play");
        Progress p = ProgressAt({30, 3, 9000, 5000, true, true, true});
        p.CountContact();
        p.BeginQuestion(onTitle);
        EXPECT_EQ(p.GameClear(), onTitle);
        EXPECT_FALSE(p.Clear());
        EXPECT_FALSE(p.GameOver());
        EXPECT_EQ(p.PadHitCount(), 0);
        EXPECT_FALSE(p.HintHyoji());  // the score challenge hides the meaning until [Z]
        EXPECT_EQ(p.Score(), 0);
    }
}
