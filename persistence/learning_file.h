#pragma once
// "Gakushu.tsv", what the player has learnt of each idiom, and "Rireki.tsv",
// the final results of finished games. Both are UTF-8 text with LF line ends,
// a header line and tab-separated columns. Columns and rows this copy of the
// game does not know are carried through a read and a write unchanged, so an
// older or newer copy sharing the data folder loses nothing.
#include <cstddef>
#include <string>
#include <vector>

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
    // Columns after the known ones, as read (without their tabs).
    std::vector<std::string> extra;
};

struct LearningTable {
    // Names of the columns after the known ones, from the header.
    std::vector<std::string> extraColumns;
    std::vector<LearningRow> rows;
};

// One finished game: "2026-12-10 21:05" and the mode ("score" or "strokes").
struct HistoryRow {
    std::string when;
    std::string mode;
    int result = 0;
    std::vector<std::string> extra;
};

struct HistoryTable {
    std::vector<std::string> extraColumns;
    std::vector<HistoryRow> rows;
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
// row whose known columns do not parse.
LearningFileStatus ParseLearningText(const std::string& text, LearningTable& out);
std::string LearningText(const LearningTable& table);
LearningFileStatus ParseHistoryText(const std::string& text, HistoryTable& out);
std::string HistoryText(const HistoryTable& table);

LearningLoad ReadLearningFile(const std::string& path);
HistoryLoad ReadHistoryFile(const std::string& path);
// Whole or nothing; false when nothing was written.
bool WriteLearningFile(const std::string& path, const LearningTable& table);
bool WriteHistoryFile(const std::string& path, const HistoryTable& table);

// One line for the player on why the record is not kept (Japanese), empty for Ok/Missing.
std::string LearningFileProblem(LearningFileStatus status);
