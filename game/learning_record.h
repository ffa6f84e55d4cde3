#pragma once
// What the game learns about the player, idiom by idiom: the recording rules
// and the review schedule. Pure: dates come in as "YYYY-MM-DD" texts.
//
// The schedule is a Leitner one: a correct answer moves the idiom up one box
// (at most 5) and puts its next review 0, 1, 3, 7, 14 or 30 days ahead for
// boxes 0..5; a miss puts it back in box 1, due the same day. Counts stop at
// kLearningCountMax.
#include <string>
#include <unordered_map>

#include "persistence/learning_file.h"

// The date `days` days after `date` ("YYYY-MM-DD"); proleptic Gregorian, kept
// within 0000-01-01..9999-12-31. A text that is no such date comes back as it is.
std::string AddDays(const std::string& date, int days);
int ReviewIntervalDays(int box);

// Missed at least once and not yet answered right twice in a row since.
bool IsWeakIdiom(const LearningRow& row);
// Scheduled for review on `today` or earlier.
bool IsDue(const LearningRow& row, const std::string& today);

class LearningRecord {
public:
    LearningRecord() = default;
    explicit LearningRecord(LearningTable table);

    const LearningTable& Table() const { return table_; }
    const LearningRow* Find(const std::string& idiom, const std::string& reading) const;

    // On a board that was dealt.
    void Dealt(const std::string& idiom, const std::string& reading, const std::string& today);
    // The ball struck its gap.
    void Right(const std::string& idiom, const std::string& reading, const std::string& today);
    // The question ended lost while it was the target.
    void Missed(const std::string& idiom, const std::string& reading, const std::string& today);
    // Its meaning was shown on request.
    void Hinted(const std::string& idiom, const std::string& reading, const std::string& today);

private:
    LearningRow& Row(const std::string& idiom, const std::string& reading, const std::string& today);

    LearningTable table_;
    std::unordered_map<std::string, std::size_t> index_;  // Key(idiom, reading) -> row
};
