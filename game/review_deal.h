#pragma once
// The review option's draw: among questions due for review, the one due the
// longest, ties drawn at random.
#include <string>
#include <vector>

#include "platform/random.h"

struct DueCandidate {
    int question;
    std::string due;  // "YYYY-MM-DD", on or before today
};

// -1 when there is no candidate; the generator is asked only when the oldest
// due date is shared.
int PickDueQuestion(const std::vector<DueCandidate>& candidates, RandomSource& random);
