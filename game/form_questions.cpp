// The main window's questions: the player's file of additional questions read
// into the bank, and the hidden character of each slot.
#include "game/tform1.h"
#include "platform/text_codec.h"

void TForm1::LoadAdditionalQuestions() {
    bool unreadable = false;
    const std::optional<std::vector<AdditionalQuestion>> loaded = ReadAdditionalQuestionFile(
        files.Path(PlayerFile::AdditionalQuestions),
        [this](std::string_view idiom) { return questions.IsBuiltInIdiom(idiom); }, &unreadable);
    if (!loaded) return;  // no file: the built-in questions alone
    if (unreadable)
        StartupNotices.push_back(FileNotice(PlayerFile::AdditionalQuestions, Msg::QuestionsUnreadable));
    questions.SetAdditional(*loaded);
    progress.SetAdditionalQuestionCount(questions.TuikaJukugos());
}

std::string TForm1::SlotCharacter(int s) const {
    if (s < 0 || s >= kSlots) return {};
    return Utf16UnitCharacter(SlotQuestion(s).Jukugo, board.UnVisibleMojiNo()[s]);
}
