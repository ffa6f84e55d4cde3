// The help panel's command list, with today's reviews in the [R] row.
#include "game/help_panel.h"

#include <algorithm>

#include "game/tform1.h"

namespace {

const char* const kHelpLines[] = {
    "終了........................[Esc]キー",
    "画面最小化..................[D]キー",
    "ゲームスタート..............[Shift]キー",
    "ゲーム一時停止/再開.........[A]キー",
    "ブロック右移動..............マウス右ボタン",
    "ブロック左移動..............マウス左ボタン",
    "高速ブロック移動............[Ctrl]キー",
    "ゲームモード変更............[Alt]キー",
    "ヒント表示..................[Z]キー",
    "BGM ON/OFF..................[X]キー",
    "サウンド ON/OFF.............[C]キー",
    "声種の変更と追加問題の編集..[S]キー",
};
const char* const kLearningRow = "学習記録....................[R]キー";

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
    if (dueReviews <= 0) return kLearningRow;
    const std::string name = "学習記録（今日の復習 " + std::to_string(dueReviews) + "）";
    const int dots = std::max(kFewestDots, kKeyColumn - 1 - Columns(name));
    return name + std::string(dots, '.') + "[R]キー";
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
    for (const char* line : kHelpLines) text += std::string(line) + "\r\n";
    return text + LearningKeyRow(dueReviews) + "\r\n";
}

void TForm1::ShowDueReviews() {
    LblSosaHoho->Text = HelpPanelText(DueReviewCount(Learning.Record(), questions, Learning.Today()));
}
