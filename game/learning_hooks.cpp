// What the learning record hears of the play: the deal, answers, misses and
// hints, and the [R] key that opens the learning window.
#include "game/tform1.h"
#include "persistence/settings_file.h"
#include "platform/text_codec.h"

void TForm1::OpenLearningRecord() {
    Learning.Open(files.Path(PlayerFile::LearningRecord), files.Path(PlayerFile::ScoreHistory), svc.calendar);
    Learning.reviewDeal = ReadReviewOption(files.Path(PlayerFile::Settings));
    NoteLearningFiles();
}

void TForm1::RecordDeal() {
    for (int s = 0; s < kSlots; ++s) Learning.Dealt(SlotQuestion(s).Jukugo, SlotQuestion(s).Yomi);
}

void TForm1::LearningKey() {
    // Opens where the settings dialog may open, and stops the game the same way.
    ShowModalWindow(LearningForm ? [this] { LearningForm->ShowModal(); } : std::function<void()>());
}

std::vector<LearningQuestion> TForm1::LearningQuestions() const {
    std::vector<LearningQuestion> shown;
    shown.reserve(questions.Count());
    for (int q = 0; q < questions.Count(); ++q) {
        const Question& question = questions.At(q);
        shown.push_back({question.Jukugo, question.Yomi, question.Imi, Cp932ToUtf8(question.SpeakMoji).value_or("")});
    }
    return shown;
}

bool TForm1::SpeakQuestion(int q) {
    if (!sound.IsSound) return false;
    if (questions.Has(q)) sound.Say(QuestionSpeechText(q), 100);
    return true;
}

bool TForm1::SetReviewDeal(bool on) {
    if (!files.WriteReviewOption(on)) return false;
    Learning.reviewDeal = on;
    return true;
}

FreshStart TForm1::StartFreshLearningRecord() {
    FreshStart result = Learning.StartAfresh();
    NoteLearningFiles();
    return result;
}

void TForm1::LearningWindowShown() { ShowCursorUntilVisible(); }

void TForm1::LearningWindowClosed() { SettingsDialogClosed(); }
