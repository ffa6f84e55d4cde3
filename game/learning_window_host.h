#pragma once
// What the learning window reads and changes of the game: the questions, the
// record, the review option, speaking an idiom, and handing the window back
// when it closes. The main window implements it (learning_hooks.cpp).
#include <string>
#include <vector>

class LearningLog;
struct FreshStart;

struct LearningQuestion {
    std::string idiom, reading, meaning;  // UTF-8
    std::string speech;  // the idiom in the speech notation (UTF-8); empty when it has none
};

class LearningWindowHost {
public:
    // The built-in questions in their order, then the additional ones.
    virtual std::vector<LearningQuestion> LearningQuestions() const = 0;
    virtual LearningLog& LearningRecordLog() = 0;
    // Says question q's idiom and meaning as after a correct answer; false when
    // the sound is off and nothing is said.
    virtual bool SpeakQuestion(int q) = 0;
    // Stores the option in Settei.ini; false when it could not be written.
    virtual bool SetReviewDeal(bool on) = 0;
    // Keeps the refused learning files under new names and starts them afresh
    // (LearningLog::StartAfresh); the title stops naming the files that work again.
    virtual FreshStart StartFreshLearningRecord() = 0;
    virtual void LearningWindowShown() = 0;
    virtual void LearningWindowClosed() = 0;

protected:
    ~LearningWindowHost() = default;
};
