#pragma once
// The question files: the compiled-in table of built-in questions and the
// player's file of additional questions. QuestionBank (question_bank.h) holds
// what they give, by question number.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text_codec.h"

// The built-in table as UTF-8 text: a header row "idiom reading speech meaning
// meaning_speech" and one tab-separated row per question, in question-number order. Generated at build
// time from game/questions.tsv.
extern const std::string_view kBuiltInQuestionTable;

struct BuiltInQuestion {
    std::string jukugo;  // the idiom
    std::string yomi;    // its reading in hiragana
    std::string speech;  // speech text in our notation, UTF-8
    std::string imi;     // its meaning
    std::string meaningSpeech;  // the meaning as a speech text in our notation, UTF-8
};

// Rows of the table text (the header is skipped). A row without exactly five fields
// is left out.
std::vector<BuiltInQuestion> ParseQuestionTable(std::string_view tsv);

struct AdditionalQuestion {
    std::string jukugo;     // UTF-8
    std::string yomi;       // UTF-8
    std::string imi;        // UTF-8
    std::string speakMoji;  // the reading in code page 932
};

// The line count of the header the additional-question file starts with.
constexpr int kAdditionalHeaderLines = 17;

// Removes leading and trailing characters up to U+0020 (spaces, tabs, control
// characters); the ideographic space U+3000 stays.
std::string_view TrimSpacesAndControls(std::string_view line);

// Additional questions from the already decoded (UTF-8) text of the player's file:
// 17 header lines ignored, blank lines dropped, then groups of idiom, reading and
// meaning. A group whose idiom is not 4 UTF-16 units long or is a built-in idiom is
// skipped without shifting the grouping.
std::vector<AdditionalQuestion> ParseAdditionalQuestions(
    std::string_view utf8Text, const std::function<bool(std::string_view)>& isBuiltInIdiom);

// Question files larger than this are no question file: not read, never replaced.
constexpr std::size_t kLargestQuestionFile = 16 * 1024 * 1024;

// The additional questions of the file at path: UTF-8 when it starts with a
// UTF-8 byte-order mark or is valid UTF-8 holding characters beyond ASCII (as
// Linux editors save it), else code page 932 (as the settings dialog writes it);
// see DecodeTextFile. nullopt when the file does not exist; an empty list when it
// cannot be read or decoded, is no regular file or is larger than
// kLargestQuestionFile (unreadable, when given, then tells so).
std::optional<std::vector<AdditionalQuestion>> ReadAdditionalQuestionFile(
    const std::string& path, const std::function<bool(std::string_view)>& isBuiltInIdiom,
    bool* unreadable = nullptr);
