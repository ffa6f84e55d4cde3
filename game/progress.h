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
    Challenge GameMode() const { return mode_; }
    int Stage() const { return stage_; }
    int MondaiCount() const { return mondaiCount_; }  // the question number, from 1

    int Score() const { return score_; }  // points of the answer being counted
    int TotalScore() const { return totalScore_; }
    int OldTotalScore() const { return oldTotalScore_; }  // the total the stage began with
    int HighScore() const { return highScore_; }
    int Mode1HighScore() const { return mode1HighScore_; }  // the stroke challenge's best (fewest strokes)
    bool ChangeHighScore() const { return changeHighScore_; }
    int PadHitCount() const { return padHitCount_; }
    bool HintHyoji() const { return hintHyoji_; }

    // How the question (and the game) ended.
    bool Clear() const { return clear_; }
    bool Mode1_Clear() const { return mode1Clear_; }
    bool GameOver() const { return gameOver_; }
    bool GameClear() const { return gameClear_; }

    // ---- Choosing a challenge ----
    // The stroke challenge begins anew, nothing of a round before it finished or lost.
    void StartStrokeChallenge() {
        mode_ = Challenge::Stroke;
        gameOver_ = false;
        mode1Clear_ = false;
    }
    void StartScoreChallenge() { mode_ = Challenge::Score; }
    // The game is over as a whole: the next board starts a new game at question 1.
    void MarkGameFinished() {
        gameClear_ = true;
        clear_ = true;
    }
    // At start-up: question 1 comes first, and no stage has been played.
    void ReadyFirstGame() { mondaiCount_ = 1; }
    // Whether the suspended game on file had been played to its end.
    void TakeSavedGameFinished(bool finished) { gameClear_ = finished; }
    // The best score and the stroke record, as the player's files keep them.
    void TakeHighScore(int best) { highScore_ = best; }
    void TakeStrokeRecord(int fewest) { mode1HighScore_ = fewest; }

    // ---- A new board ----
    // The score challenge's next question: the one after a cleared one, the first
    // of the stage again after a lost one (with the total the stage began with),
    // the first of all after a whole game. The stage follows the question number.
    void NextScoreQuestion() {
        if (clear_) mondaiCount_ += 1;
        if (gameOver_) {
            mondaiCount_ = (stage_ - 1) * 10 + 1;
            totalScore_ = oldTotalScore_;
        }
        if (gameClear_) {
            gameClear_ = false;
            clear_ = true;
            mondaiCount_ = 1;
            totalScore_ = 0;
            oldTotalScore_ = 0;
        }
        stage_ = (mondaiCount_ - 1) / 10 + 1;
    }
    // The stroke challenge's one board has every row in play.
    void PlayStrokeBoard() { stage_ = 3; }
    // Nothing of the question before counts. On the title the score challenge's
    // finished game stays finished, so that the first board starts a new one.
    void BeginQuestion(bool onTitle) {
        clear_ = false;
        gameOver_ = false;
        if (mode_ == Challenge::Score && !onTitle)
            gameClear_ = false;
        else
            mode1Clear_ = false;
        changeHighScore_ = false;
        padHitCount_ = 0;
        hintHyoji_ = mode_ != Challenge::Score;  // the stroke challenge shows the meaning from the start
        score_ = 0;
    }

    // ---- Play ----
    void CountContact() { ++padHitCount_; }
    void ShowHints() { hintHyoji_ = true; }
    void LoseQuestion() { gameOver_ = true; }
    // The ball's gap is filled. In the stroke challenge this holds only until the
    // next ball first meets the paddle (ReopenQuestion).
    void ClearQuestion() { clear_ = true; }
    void ReopenQuestion() { clear_ = false; }
    // An answer's points become Score and go onto the total, which stops at kLargestScore.
    void AddAnswerPoints(int points) {
        score_ = BoundedScore(points);
        totalScore_ = BoundedScore(static_cast<long long>(totalScore_) + score_);
    }
    // After the last question of stage 1 or 2 the total is what a lost question
    // of the next stage goes back to.
    void KeepStageStartTotal() {
        if (mondaiCount_ % 10 == 0 && mondaiCount_ < kQuestionsPerGame) oldTotalScore_ = totalScore_;
    }
    // The score challenge's last answer: the game is won, and a total above the
    // best becomes the best. Says whether it did.
    bool FinishScoreGame() {
        gameClear_ = true;
        if (totalScore_ <= highScore_) return false;
        highScore_ = totalScore_;
        changeHighScore_ = true;
        return true;
    }
    // The stroke challenge's fourth ball is home.
    void FinishStrokeRound() { mode1Clear_ = true; }
    // Fewer contacts than the stroke record become the record. Says whether they did.
    bool RecordStrokes() {
        if (padHitCount_ >= mode1HighScore_) return false;
        mode1HighScore_ = padHitCount_;
        changeHighScore_ = true;
        return true;
    }

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

private:
    friend struct RecordFields;  // the suspended-game record reads and writes the members it keeps

    Challenge mode_ = Challenge::Score;
    int stage_ = 0;
    int mondaiCount_ = 0;
    int score_ = 0;
    int totalScore_ = 0;
    int oldTotalScore_ = 0;
    int highScore_ = 0;
    int mode1HighScore_ = 0;
    bool changeHighScore_ = false;
    int padHitCount_ = 0;
    bool hintHyoji_ = false;
    bool clear_ = false;
    bool mode1Clear_ = false;
    bool gameOver_ = false;
    bool gameClear_ = false;

    std::array<bool, kBuiltInQuestions> builtInDealt_{};
    std::vector<bool> additionalDealt_;
};
