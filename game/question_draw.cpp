#include "game/question_draw.h"

#include "game/review_deal.h"
#include "platform/text_codec.h"

void QuestionDraw::Draw() {
    // The used-marks come from the saved game while the additional questions may
    // have changed since: without four undealt questions the draw could never end.
    if (questions_.Count() - progress_.DealtCount() < kSlots) progress_.ResetQuestionPool();
    for (int k = 0; k < kSlots; ++k) DrawSlot(k);
    if (progress_.DealtCount() > questions_.Count() - kSlots) progress_.ResetQuestionPool();
}

bool QuestionDraw::HiddenCharacterClashes(int k, int p) const {
    // The same character hidden in an earlier slot would make two gaps alike.
    const std::string ch = Utf16UnitCharacter(questions_.At(board_.MondaiNo()[k]).Jukugo, p);
    for (int j = 0; j < k; ++j)
        if (ch == Utf16UnitCharacter(questions_.At(board_.MondaiNo()[j]).Jukugo, board_.UnVisibleMojiNo()[j])) return true;
    return false;
}

void QuestionDraw::DrawSlot(int k) {
    for (;;) {
        const int q = DrawUndealtQuestion(k);
        board_.DealSlot(k, q);
        // An idiom that repeats characters can leave no admissible gap next to
        // the earlier slots' hidden characters: then this slot takes another idiom.
        bool anyAdmissible = false;
        for (int p = 0; p < 4; ++p) anyAdmissible = anyAdmissible || !HiddenCharacterClashes(k, p);
        if (!anyAdmissible) continue;  // stays marked as dealt, like any question drawn
        do {
            board_.HideCharacter(k, random_.Random(4));
        } while (k > 0 && HiddenCharacterClashes(k, board_.UnVisibleMojiNo()[k]));
        return;
    }
}

int QuestionDraw::DrawUndealtQuestion(int k) {
    const int total = questions_.Count();
    int q = DueUndealtQuestion();
    if (q >= 0) {
        progress_.MarkDealt(q, true);
        return q;
    }
    do {
        if (progress_.DealtCount() >= questions_.Count()) {
            // Replaced idioms can use up the pool in the middle of a deal:
            // the slots dealt already stay marked, so no idiom comes twice.
            progress_.ResetQuestionPool();
            for (int j = 0; j < k; ++j) progress_.MarkDealt(board_.MondaiNo()[j], true);
        }
        q = random_.Random(total);
    } while (progress_.IsDealt(q));
    progress_.MarkDealt(q, true);
    return q;
}

int QuestionDraw::DueUndealtQuestion() {
    if (!learning_.reviewDeal || !learning_.Recording()) return -1;
    const std::string today = learning_.Today();
    std::vector<DueCandidate> candidates;
    for (int q = 0; q < questions_.Count(); ++q) {
        if (progress_.IsDealt(q)) continue;
        const LearningRow* row = learning_.Record().Find(questions_.At(q).Jukugo, questions_.At(q).Yomi);
        if (row && IsDue(*row, today)) candidates.push_back({q, row->due});
    }
    return PickDueQuestion(candidates, random_);
}
