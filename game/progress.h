#pragma once
// Where the player stands in a game: the challenge, the stage and question, the
// scores and records, how the question ended, and which questions this pass has
// dealt. The window plays with it, the suspended-game record stores it; the marks
// of dealt questions keep their own count and size.
#include <array>
#include <vector>

constexpr int kBuiltInQuestions = 170;
constexpr int kQuestionsPerGame = 30;
constexpr int kDefaultHighScore = 15000;
constexpr int kDefaultMode1HighScore = 30;

// The largest score the game keeps: the six-digit SCORE and HIGHSCORE labels show
// no more, and newrecord.dat's best score is taken back only up to it.
constexpr int kLargestScore = 999999;
// A score held within 0..kLargestScore, so a total never wraps round to negative.
constexpr int BoundedScore(long long v) {
    return v < 0 ? 0 : v > kLargestScore ? kLargestScore : static_cast<int>(v);
}

// The two challenges.
enum class Challenge {
    Score,   // 得点挑戦: thirty questions in three stages
    Stroke,  // 打数挑戦: one board, four balls, the fewest contacts
};

class Progress {
public:
    Challenge GameMode = Challenge::Score;
    int Stage = 0;
    int MondaiCount = 0;  // the question number, from 1

    int Score = 0;  // points of the answer being counted
    int TotalScore = 0;
    int OldTotalScore = 0;
    int HighScore = 0;
    int Mode1HighScore = 0;  // the stroke challenge's best (fewest strokes)
    bool ChangeHighScore = false;
    int PadHitCount = 0;
    bool HintHyoji = false;

    // How the question (and the game) ended.
    bool Clear = false;
    bool Mode1_Clear = false;
    bool GameOver = false;
    bool GameClear = false;

    // The questions dealt in this pass: built-in ones by number, the additional
    // ones after them (by their place in the player's list). A number outside the
    // marks is never dealt and marking it does nothing.
    bool IsDealt(int q) const;
    void MarkDealt(int q, bool dealt);
    int DealtCount() const;
    int BuiltInDealtCount() const;
    void ResetQuestionPool();  // every question undealt again
    // Marks for the bank's additional questions, all undealt.
    void SetAdditionalQuestionCount(int n) { additionalDealt_.assign(n > 0 ? n : 0, false); }
    int AdditionalQuestionCount() const { return static_cast<int>(additionalDealt_.size()); }
    void AddAdditionalQuestion(bool dealt) { additionalDealt_.push_back(dealt); }  // one appended to the bank
    // The built-in questions' marks, as the record keeps them.
    const std::array<bool, kBuiltInQuestions>& BuiltInMarks() const { return builtInDealt_; }
    void TakeBuiltInMarks(const std::array<bool, kBuiltInQuestions>& marks) { builtInDealt_ = marks; }

    // An answer's points become Score and go onto the total, which stops at kLargestScore.
    void AddAnswerPoints(int points) {
        Score = BoundedScore(points);
        TotalScore = BoundedScore(static_cast<long long>(TotalScore) + Score);
    }

private:
    std::array<bool, kBuiltInQuestions> builtInDealt_{};
    std::vector<bool> additionalDealt_;
};
