// The help panel's command list, with today's reviews in the [R] row.
#include "game/help_panel.h"

#include <algorithm>

#include "game/tform1.h"

namespace {

// The key names start at this column of the fixed-pitch font (a full-width
// character takes two columns), after at least two dots.
constexpr int kKeyColumn = 29;
constexpr int kFewestDots = 2;

int Columns(const std::string& utf8) {
    int n = 0;
    for (unsigned char b : utf8) {
        if (b < 0x80) n += 1;
        else if ((b & 0xC0) != 0x80) n += 2;
    }
    return n;
}

std::string LearningKeyRow(int dueReviews) {
    if (dueReviews <= 0) return Msg::HelpLearningRow;
    const std::string name = Format(Msg::HelpLearningName, {{"due", std::to_string(dueReviews)}});
    const int dots = std::max(kFewestDots, kKeyColumn - 1 - Columns(name));
    return name + std::string(dots, '.') + Msg::HelpLearningKey;
}

}  // namespace

int DueReviewCount(const LearningRecord& record, const QuestionBank& questions, const std::string& today) {
    if (today.empty()) return 0;
    int due = 0;
    for (int q = 0; q < questions.Count(); ++q) {
        const LearningRow* row = record.Find(questions.At(q).Jukugo, questions.At(q).Yomi);
        due += row && IsDue(*row, today);
    }
    return due;
}

std::string HelpPanelText(int dueReviews) {
    std::string text;
    for (const char* line : Msg::HelpLines) text += std::string(line) + "\r\n";
    return text + LearningKeyRow(dueReviews) + "\r\n";
}

void TForm1::ShowDueReviews() {
    LblSosaHoho->Text = HelpPanelText(DueReviewCount(Learning.Record(), questions, Learning.Today()));
}
