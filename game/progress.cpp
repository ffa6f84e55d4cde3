#include "game/progress.h"

#include <algorithm>

bool Progress::IsDealt(int q) const {
    return q >= kBuiltInQuestions ? static_cast<bool>(TuikaShutudaiSumi[q - kBuiltInQuestions]) : ShutudaiSumi[q];
}

void Progress::MarkDealt(int q, bool dealt) {
    if (q >= kBuiltInQuestions) {
        TuikaShutudaiSumi[q - kBuiltInQuestions] = dealt;
        TuikaShutudaiSumiCount += dealt ? 1 : -1;
    } else {
        ShutudaiSumi[q] = dealt;
        ShutudaiSumiCount += dealt ? 1 : -1;
    }
}

void Progress::ResetQuestionPool() {
    ShutudaiSumi.fill(false);
    std::fill(TuikaShutudaiSumi.begin(), TuikaShutudaiSumi.end(), false);
    ShutudaiSumiCount = 0;
    TuikaShutudaiSumiCount = 0;
}
