#pragma once
// What the learning window shows, apart from how it is drawn: one entry per
// question with its record, the 苦手だけ filter and the search, sorting by any
// column, and the two progress series. Kept free of ImGui so it can be tested.
#include <string>
#include <vector>

#include "game/learning_window_host.h"
#include "persistence/learning_file.h"

class LearningRecord;

struct LearningEntry {
    int question = 0;  // index into the host's questions
    std::string idiom, reading, meaning;
    int right = 0, missed = 0, hints = 0;
    std::string due;  // next review, empty when none
    bool weak = false;
};

enum class LearningColumn { Idiom, Reading, Meaning, Right, Missed, Hints, Due };

struct LearningFilter {
    bool weakOnly = false;
    std::string search;  // UTF-8; matched in idiom, reading and meaning
};

std::vector<LearningEntry> BuildLearningEntries(const std::vector<LearningQuestion>& questions,
                                                const LearningRecord& record);

// The entries the filter lets through, in the order of the column (then by
// question number, so equal values keep a fixed order).
std::vector<const LearningEntry*> VisibleEntries(const std::vector<LearningEntry>& entries,
                                                 const LearningFilter& filter, LearningColumn column,
                                                 bool ascending);

// For each of the `days` days up to today (oldest first), how many of the
// questions had been answered right at least once by the end of that day.
std::vector<int> KnownIdiomsPerDay(const std::vector<LearningEntry>& entries, const LearningRecord& record,
                                   const std::string& today, int days);

// The final scores of finished score-challenge games, oldest first.
std::vector<int> ScoreChallengeResults(const HistoryTable& history);
