#include "game/progress.h"

#include <algorithm>

bool Progress::IsDealt(int q) const {
    if (q < 0) return false;
    if (q < kBuiltInQuestions) return builtInDealt_[q];
    const std::size_t a = static_cast<std::size_t>(q - kBuiltInQuestions);
    return a < additionalDealt_.size() && additionalDealt_[a];
}

void Progress::MarkDealt(int q, bool dealt) {
    if (q < 0) return;
    if (q < kBuiltInQuestions) {
        builtInDealt_[q] = dealt;
        return;
    }
    const std::size_t a = static_cast<std::size_t>(q - kBuiltInQuestions);
    if (a < additionalDealt_.size()) additionalDealt_[a] = dealt;
}

int Progress::BuiltInDealtCount() const {
    return static_cast<int>(std::count(builtInDealt_.begin(), builtInDealt_.end(), true));
}

int Progress::DealtCount() const {
    return BuiltInDealtCount() + static_cast<int>(std::count(additionalDealt_.begin(), additionalDealt_.end(), true));
}

void Progress::ResetQuestionPool() {
    builtInDealt_.fill(false);
    std::fill(additionalDealt_.begin(), additionalDealt_.end(), false);
}
