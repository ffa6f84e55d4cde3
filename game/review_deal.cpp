#include "game/review_deal.h"

#include "game/tform1.h"

int PickDueQuestion(const std::vector<DueCandidate>& candidates, RandomSource& random) {
    std::vector<int> oldest;
    std::string oldestDue;
    for (const DueCandidate& c : candidates) {
        if (oldest.empty() || c.due < oldestDue) {
            oldest.assign(1, c.question);
            oldestDue = c.due;
        } else if (c.due == oldestDue) {
            oldest.push_back(c.question);
        }
    }
    if (oldest.empty()) return -1;
    if (oldest.size() == 1) return oldest[0];
    return oldest[random.Random(static_cast<int>(oldest.size()))];
}

int TForm1::DueUndealtQuestion() {
    if (!Learning.reviewDeal || !Learning.Recording()) return -1;
    const std::string today = Learning.Today();
    std::vector<DueCandidate> candidates;
    for (int q = 0; q < questions.Count(); ++q) {
        if (IsDealt(q)) continue;
        const LearningRow* row = Learning.Record().Find(questions.At(q).Jukugo, questions.At(q).Yomi);
        if (row && IsDue(*row, today)) candidates.push_back({q, row->due});
    }
    return PickDueQuestion(candidates, svc.random);
}
