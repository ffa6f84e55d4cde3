#pragma once
// "Gakushu.tsv", what the player has learnt of each idiom, and "Rireki.tsv",
// the final results of finished games. Both are UTF-8 text with LF line ends,
// a header line and tab-separated columns. Columns and rows this copy of the
// game does not know are carried through a read and a write unchanged, so an
// older or newer copy sharing the data folder loses nothing.
//
// Whatever a table holds, its text reads back as the same table:
// - Text cells (idiom, reading, dates, the history's when and mode, the cells
//   and names of unknown columns) escape a byte as "\xHH" (two upper-case hex
//   digits) when it is a control character (0x00-0x1F, 0x7F: tab, CR and LF
//   among them), a byte of a cell that is not UTF-8 (0x80-0xFF), or a
//   backslash that would otherwise read as such an escape (\x5C). Nothing else
//   is escaped, so an ordinary row is written as it always was; a reader turns
//   only those escapes back, so any other backslash in a file reads as itself.
// - Counts and results lie in 0..kLearningCountMax and the box in 0..5: the
//   writer clamps into those. The reader takes a count beyond them as the
//   nearest end (a negative one too: older copies wrote overflowed counts) and
//   refuses only a cell that is no number; a box outside 0..5 was never
//   written by any copy and is refused.
// - A date cell that is not "YYYY-MM-DD" is written empty.
// - The "days" cell lists the last answers and misses as "2026-12-01+ 2026-12-03-"
//   (+ right, - missed), oldest first; only the last kLearningDaysKept are kept.
#include <cstddef>
#include <limits>
#include <string>
#include <vector>

#include "persistence/atomic_file.h"

// Counts and results stop here instead of overflowing.
constexpr int kLearningCountMax = std::numeric_limits<int>::max();

// One answer or miss of an idiom, on its day.
struct LearningDay {
    std::string date;  // "YYYY-MM-DD"
    bool right = false;

    bool operator==(const LearningDay&) const = default;
};
// An idiom keeps this many of its last answers and misses, so its row stays short.
constexpr std::size_t kLearningDaysKept = 30;

// One idiom's row. Dates are "YYYY-MM-DD" (local), empty when not yet set.
struct LearningRow {
    std::string idiom, reading;  // UTF-8; together the row's key
    int dealt = 0;    // boards it was on
    int right = 0;    // answered correctly
    int missed = 0;   // lost while it was the target
    int hints = 0;    // its meaning shown on request
    int box = 0;      // review box 0..5
    std::string last; // the last day anything was recorded
    std::string due;  // next review; empty until answered or missed
    int streak = 0;   // correct answers in a row since the last miss
    std::string firstRight;  // the day of the first correct answer (the progress chart)
    std::string firstSeen;   // the day it was first dealt; empty in rows of older copies
    std::vector<LearningDay> days;  // the last answers and misses, oldest first
    // Columns after the known ones, as read (without their tabs).
    std::vector<std::string> extra;

    bool operator==(const LearningRow&) const = default;
};

struct LearningTable {
    // Names of the columns after the known ones, from the header.
    std::vector<std::string> extraColumns;
    std::vector<LearningRow> rows;

    bool operator==(const LearningTable&) const = default;
};

// One finished game: "2026-12-10 21:05" and the mode ("score" or "strokes").
struct HistoryRow {
    std::string when;
    std::string mode;
    int result = 0;   // the final score or the strokes
    std::vector<std::string> extra;

    bool operator==(const HistoryRow&) const = default;
};

struct HistoryTable {
    std::vector<std::string> extraColumns;
    std::vector<HistoryRow> rows;

    bool operator==(const HistoryTable&) const = default;
};

enum class LearningFileStatus { Ok, Missing, Unreadable, NotText, TooLarge };

// Larger files are not ours to replace: they are refused whole.
constexpr std::size_t kLearningFileLimit = 4 * 1024 * 1024;

struct LearningLoad {
    LearningFileStatus status = LearningFileStatus::Missing;
    LearningTable table;
};
struct HistoryLoad {
    LearningFileStatus status = LearningFileStatus::Missing;
    HistoryTable table;
};

// Text <-> table. Parsing fails (NotText) on invalid UTF-8, a wrong header or a
// row whose known columns do not parse. Parse(Text(t)) gives t back for every
// table whose counts, box and dates are already in range.
LearningFileStatus ParseLearningText(const std::string& text, LearningTable& out);
std::string LearningText(const LearningTable& table);
LearningFileStatus ParseHistoryText(const std::string& text, HistoryTable& out);
std::string HistoryText(const HistoryTable& table);

LearningLoad ReadLearningFile(const std::string& path);
HistoryLoad ReadHistoryFile(const std::string& path);
// Whole or nothing; false when nothing was written, with the reason in `why`
// when given (None after a write that succeeded).
bool WriteLearningFile(const std::string& path, const LearningTable& table, WriteError* why = nullptr);
bool WriteHistoryFile(const std::string& path, const HistoryTable& table, WriteError* why = nullptr);
