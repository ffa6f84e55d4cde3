#pragma once
// What the learning window shows, apart from how it is drawn: one entry per
// question with its record, the filters and the search, sorting by any column,
// the headline of today's work, an idiom's card, and the progress series.
// Kept free of ImGui so it can be tested.
#include <string>
#include <vector>

#include "game/learning_window_host.h"
#include "persistence/learning_file.h"
#include "settings_dialog/dialog_texts.h"
#include "voice/accent_pattern.h"

class LearningRecord;

struct LearningEntry {
    int question = 0;  // index into the host's questions
    std::string idiom, reading, meaning;
    std::string speech;  // the idiom in the speech notation, empty when none
    bool met = false;    // the record has a row for it
    bool additional = false;  // one of the player's own questions
    int dealt = 0, right = 0, missed = 0, hints = 0, box = 0, streak = 0;
    std::string last, due, firstRight, firstSeen;  // dates, empty when none
    std::vector<LearningDay> days;  // its last answers and misses, oldest first
    bool weak = false;
    std::string searchKey;  // idiom, reading and meaning folded for the search
};

// The learning table's columns; each value is also its column's id in the table.
enum class LearningColumn { Idiom, Reading, Meaning, Right, Missed, Hints, Due, Speak };

// How a column takes its width.
enum class ColumnWidth {
    Share,   // a share (`weight`) of what the fixed columns leave
    Fit,     // the header or `sample`, its widest value, whichever is wider, and the sort arrow
    Button,  // a button labelled `sample`
};
enum class ColumnSort { None, Sortable, First };  // First: sorted by it when the window first opens

// One column of the learning table. A new column is one more row in
// kLearningTableColumns and its cell in the table's row drawing.
struct LearningColumnSpec {
    LearningColumn column;
    const char* header;
    ColumnWidth width;
    float weight;        // for Share
    const char* sample;  // for Fit and Button
    ColumnSort sort;
};

// Left to right. The idiom's cell holds the row's selectable, which spans the row.
inline constexpr LearningColumnSpec kLearningTableColumns[] = {
    {LearningColumn::Idiom, LearningWindowText::Idiom, ColumnWidth::Share, 1.0f, "", ColumnSort::Sortable},
    {LearningColumn::Reading, LearningWindowText::Reading, ColumnWidth::Share, 1.6f, "", ColumnSort::Sortable},
    {LearningColumn::Meaning, LearningWindowText::Meaning, ColumnWidth::Share, 5.0f, "", ColumnSort::Sortable},
    {LearningColumn::Right, LearningWindowText::Right, ColumnWidth::Fit, 0, "9999", ColumnSort::Sortable},
    {LearningColumn::Missed, LearningWindowText::Missed, ColumnWidth::Fit, 0, "9999", ColumnSort::Sortable},
    {LearningColumn::Hints, LearningWindowText::Hints, ColumnWidth::Fit, 0, "9999", ColumnSort::Sortable},
    {LearningColumn::Due, LearningWindowText::NextReview, ColumnWidth::Fit, 0, "2026-12-31", ColumnSort::First},
    {LearningColumn::Speak, "", ColumnWidth::Button, 0, LearningWindowText::Listen, ColumnSort::None},
};

struct LearningFilter {
    bool weakOnly = false;
    std::string search;  // UTF-8; matched in idiom, reading and meaning, katakana as hiragana
    bool dueOnly = false;
    std::string today;  // what dueOnly compares with
};

// The search compares texts in this form: katakana as hiragana.
std::string FoldForSearch(const std::string& utf8);

std::vector<LearningEntry> BuildLearningEntries(const std::vector<LearningQuestion>& questions,
                                                const LearningRecord& record);

// The entries the filter lets through, in the order of the column (then by
// question number, so equal values keep a fixed order).
std::vector<const LearningEntry*> VisibleEntries(const std::vector<LearningEntry>& entries,
                                                 const LearningFilter& filter, LearningColumn column,
                                                 bool ascending);

bool IsDueOn(const LearningEntry& e, const std::string& today);

// Today's work at a glance.
struct LearningHeadline {
    int due = 0;      // due today or earlier
    int weak = 0;     // 苦手
    int learned = 0;  // answered right at least once
    int total = 0;
    std::vector<int> forecast;  // how many fall due on each of the days after today
};
LearningHeadline MakeHeadline(const std::vector<LearningEntry>& entries, const std::string& today,
                              int forecastDays = 7);

// "12/13(日)" for "2026-12-13"; the text as it is when it is no date.
std::string ShortDay(const std::string& date);
// "12/13" for "2026-12-13" or "2026-12-13 21:05".
std::string MonthDay(const std::string& dateOrTime);

// One line of an idiom's card: what, and its value as the player reads it.
struct CardFact {
    std::string label, value;
};
// The record of one idiom as its card lists it: its counts, its dates and its
// last answers and misses (at most kCardDays of them).
constexpr int kCardDays = 8;
std::vector<CardFact> CardFacts(const LearningEntry& e, const std::string& today);

// The pitch the card draws over the reading, spelt with the reading's kana. A
// built-in idiom's notation always says it (a phrase without a mark is flat);
// the player's own speech text only where it marks an accent, so a bare reading
// gets no line.
std::vector<AccentPhrase> CardPitch(const LearningEntry& e);

// For each of the `days` days up to today (oldest first), how many of the
// questions had been answered right at least once by the end of that day.
std::vector<int> KnownIdiomsPerDay(const std::vector<LearningEntry>& entries, const LearningRecord& record,
                                   const std::string& today, int days);

// A finished game of one mode, oldest first.
struct GameResult {
    std::string when;  // "2026-12-10 21:05"
    int value = 0;
};
// The last `count` results of a mode ("score" or "strokes").
std::vector<GameResult> GameResults(const HistoryTable& history, const std::string& mode, std::size_t count);
// The best of them: the highest score, or the fewest strokes; -1 when there are none.
int BestResult(const std::vector<GameResult>& results, bool fewerIsBetter);

// The final scores of finished score-challenge games, oldest first.
std::vector<int> ScoreChallengeResults(const HistoryTable& history);

// An axis step of 1, 2 or 5 times a power of ten giving at most `ticks`
// steps from 0 to top.
int AxisStep(int top, int ticks);
