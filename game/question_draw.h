#pragma once
// The four idioms of a new board: questions not yet dealt in this pass (with the
// review option on, a due one first), each with its hidden character, no two
// hidden characters alike. Every draw goes through the one random generator.
#include "game/board.h"
#include "game/learning_log.h"
#include "game/progress.h"
#include "game/question_bank.h"
#include "platform/random.h"

class QuestionDraw {
public:
    QuestionDraw(const QuestionBank& questions, Progress& progress, Board& board, const LearningLog& learning,
                 RandomSource& random)
        : questions_(questions), progress_(progress), board_(board), learning_(learning), random_(random) {}
    // Fills the board's MondaiNo and UnVisibleMojiNo and marks the questions dealt.
    void Draw();

private:
    void DrawSlot(int k);
    int DrawUndealtQuestion(int k);  // marks it dealt
    bool HiddenCharacterClashes(int k, int p) const;
    // With the review option on, a due question not yet dealt (oldest due first,
    // ties at random); -1 otherwise, without drawing from the generator.
    int DueUndealtQuestion();

    const QuestionBank& questions_;
    Progress& progress_;
    Board& board_;
    const LearningLog& learning_;
    RandomSource& random_;
};
