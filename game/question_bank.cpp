#include "game/question_bank.h"

#include <algorithm>

#include "platform/text_codec.h"

QuestionBank::QuestionBank() {
    const std::vector<BuiltInQuestion> rows = ParseQuestionTable(kBuiltInQuestionTable);
    questions_.resize(kBuiltInQuestions);
    for (int q = 0; q < kBuiltInQuestions; ++q) {
        Question& question = questions_[q];
        question.number = q;
        if (q >= static_cast<int>(rows.size())) continue;
        const BuiltInQuestion& row = rows[q];
        question.Jukugo = row.jukugo;
        question.Yomi = row.yomi;
        question.Imi = row.imi;
        question.SpeakMoji = Utf8ToCp932Lossy(row.speech);
        question.ImiSpeakMoji = Utf8ToCp932Lossy(row.meaningSpeech);
    }
}

const Question& QuestionBank::At(int q) const {
    static const Question none;
    return Has(q) ? questions_[q] : none;
}

bool QuestionBank::IsBuiltInIdiom(std::string_view idiom) const {
    return std::any_of(questions_.begin(), questions_.begin() + kBuiltInQuestions,
                       [idiom](const Question& q) { return q.Jukugo == idiom; });
}

void QuestionBank::SetAdditional(const std::vector<AdditionalQuestion>& additional) {
    questions_.resize(kBuiltInQuestions);
    for (const AdditionalQuestion& question : additional) Append(question);
}

int QuestionBank::Append(const AdditionalQuestion& question) {
    Question& added = questions_.emplace_back();
    added.number = Count() - 1;
    added.additional = true;
    added.Jukugo = question.jukugo;
    added.Yomi = question.yomi;
    added.Imi = question.imi;
    added.SpeakMoji = question.speakMoji;
    return added.number;
}
