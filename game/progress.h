#pragma once
// Where the player stands in a game: the challenge, the stage and question, the
// scores and records, how the question ended, and which questions this pass has
// dealt. Plain data: the window plays with it, the suspended-game record stores it.
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

struct Progress {
    int GameMode = 0;  // 0 the score challenge, 1 the stroke challenge
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

    // The questions dealt in this pass: built-in by number, additional by their
    // place in the player's list.
    std::array<bool, kBuiltInQuestions> ShutudaiSumi{};
    int ShutudaiSumiCount = 0;
    std::vector<bool> TuikaShutudaiSumi;
    int TuikaShutudaiSumiCount = 0;

    // Question q's mark (built-in ones by number, the additional ones after them).
    bool IsDealt(int q) const;
    void MarkDealt(int q, bool dealt);
    int DealtCount() const { return ShutudaiSumiCount + TuikaShutudaiSumiCount; }
    void ResetQuestionPool();  // every question undealt again

    // An answer's points become Score and go onto the total, which stops at kLargestScore.
    void AddAnswerPoints(int points) {
        Score = BoundedScore(points);
        TotalScore = BoundedScore(static_cast<long long>(TotalScore) + Score);
    }
};
