// The question bank of the main window: the built-in table, the player's additional
// questions, and the question-number rule every text lookup goes through.
#include <algorithm>

#include "game/question_table.h"
#include "game/tform1.h"
#include "platform/text_codec.h"

namespace {

const std::string& NoText() {
    static const std::string empty;
    return empty;
}

}  // namespace

void TForm1::FillBuiltInQuestions() {
    const std::vector<BuiltInQuestion> rows = ParseQuestionTable(kBuiltInQuestionTable);
    const std::size_t count = std::min<std::size_t>(rows.size(), kBuiltInQuestions);
    for (std::size_t q = 0; q < count; ++q) {
        Jukugo[q] = rows[q].jukugo;
        Imi[q] = rows[q].imi;
        Yomi[q] = rows[q].yomi;
        SpeakMoji[q] = Utf8ToCp932Lossy(rows[q].speech);
        ImiSpeakMoji[q] = Utf8ToCp932Lossy(rows[q].meaningSpeech);
    }
}

void TForm1::LoadAdditionalQuestions() {
    const auto isBuiltIn = [this](std::string_view idiom) {
        return std::find(Jukugo.begin(), Jukugo.end(), idiom) != Jukugo.end();
    };
    bool unreadable = false;
    const std::optional<std::vector<AdditionalQuestion>> loaded =
        ReadAdditionalQuestionFile(DataFile("NewTuikamondai.txt"), isBuiltIn, &unreadable);
    if (!loaded) return;  // no file: the built-in questions alone
    if (unreadable)
        StartupNotices.push_back("NewTuikamondai.txt を読めないので、追加問題なしで始めます。");

    TuikaJukugo.clear();
    TuikaYomi.clear();
    TuikaImi.clear();
    TuikaSpeakMoji.clear();
    for (const AdditionalQuestion& question : *loaded) {
        TuikaJukugo.push_back(question.jukugo);
        TuikaYomi.push_back(question.yomi);
        TuikaImi.push_back(question.imi);
        TuikaSpeakMoji.push_back(question.speakMoji);
    }
    TuikaJukugos = static_cast<int>(loaded->size());
    TuikaShutudaiSumi.assign(loaded->size(), false);
    TuikaShutudaiSumiCount = 0;
}

const std::string& TForm1::QuestionJukugo(int q) const {
    const std::string* text = TextOfQuestion(q, Jukugo, TuikaJukugo);
    return text ? *text : NoText();
}

const std::string& TForm1::QuestionImi(int q) const {
    const std::string* text = TextOfQuestion(q, Imi, TuikaImi);
    return text ? *text : NoText();
}

const std::string& TForm1::QuestionYomi(int q) const {
    const std::string* text = TextOfQuestion(q, Yomi, TuikaYomi);
    return text ? *text : NoText();
}

const std::string& TForm1::QuestionSpeakMoji(int q) const {
    const std::string* text = TextOfQuestion(q, SpeakMoji, TuikaSpeakMoji);
    return text ? *text : NoText();
}

std::string TForm1::SlotCharacter(int s) const {
    if (s < 0 || s >= kSlots) return {};
    return Utf16UnitCharacter(QuestionJukugo(MondaiNo[s]), UnVisibleMojiNo[s]);
}
