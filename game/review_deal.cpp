#include "game/review_deal.h"


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
