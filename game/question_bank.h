#pragma once
// Every question the game can deal, by number: the built-in ones first (0..169,
// from the compiled-in table), then the player's additional questions in the
// order of their file (and any a suspended game brought back with it).
#include <string>
#include <string_view>
#include <vector>

#include "game/progress.h"
#include "game/question_table.h"

struct Question {
    int number = -1;  // -1: no question has the number asked for
    bool additional = false;
    std::string Jukugo;  // the idiom, UTF-8
    std::string Yomi;    // its reading in hiragana, UTF-8
    std::string Imi;     // its meaning, UTF-8
    // The idiom as a speech text in our notation, code page 932. An additional
    // question may have none: its reading is said then.
    std::string SpeakMoji;
    // The meaning as a reviewed speech text, code page 932; built-in questions
    // only (an additional meaning is analysed as written).
    std::string ImiSpeakMoji;
};

class QuestionBank {
public:
    QuestionBank();  // the built-in questions, no additional ones

    // Question q; an empty question (number -1) when no question has that number.
    const Question& At(int q) const;
    bool Has(int q) const { return q >= 0 && q < Count(); }
    int Count() const { return static_cast<int>(questions_.size()); }
    int TuikaJukugos() const { return Count() - kBuiltInQuestions; }  // the additional ones
    bool IsBuiltInIdiom(std::string_view idiom) const;

    // The additional questions replaced by these.
    void SetAdditional(const std::vector<AdditionalQuestion>& additional);
    // One more additional question; its number.
    int Append(const AdditionalQuestion& question);

private:
    std::vector<Question> questions_;
};
