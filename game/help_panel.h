#pragma once
// The help panel's text: the command list, whose [R] row also tells how many
// idioms are due for review today, when any are.
#include <string>

#include "game/learning_record.h"
#include "game/question_bank.h"

// Idioms of the question list whose review falls on `today` or earlier; 0
// without a date (nothing is recorded then).
int DueReviewCount(const LearningRecord& record, const QuestionBank& questions, const std::string& today);

// The panel's lines, each ending with CR LF; the [R] row names the count when it is above 0.
std::string HelpPanelText(int dueReviews);
