#include "persistence/learning_file.h"

#include <charconv>

#include "persistence/atomic_file.h"
#include "platform/text_codec.h"

namespace {

const std::vector<std::string> kLearningColumns = {"idiom", "reading", "dealt", "right", "missed",
                                                   "hints", "box",     "last",  "due"};
// Our own columns come after "due", so a reader that knows only the first nine
// finds those in place.
const char* const kStreakColumn = "streak";
const char* const kFirstRightColumn = "firstright";
const std::vector<std::string> kHistoryColumns = {"when", "mode", "result"};

std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> cells;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        cells.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos) return cells;
        start = tab + 1;
    }
}

// Lines without their LF; a missing LF at the end and a lone CR before LF are forgiven.
std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t lf = text.find('\n', start);
        if (lf == std::string::npos) lf = text.size();
        std::string line = text.substr(start, lf - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = lf + 1;
    }
    return lines;
}

bool ParseCount(const std::string& s, int& out) {
    if (s.empty()) return false;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return ec == std::errc() && p == s.data() + s.size() && out >= 0;
}

bool IsDateOrEmpty(const std::string& s) {
    if (s.empty()) return true;
    if (s.size() != 10 || s[4] != '-' || s[7] != '-') return false;
    for (int i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (s[i] < '0' || s[i] > '9') return false;
    return true;
}

// Checks the header's leading columns; what follows them is returned in `rest`.
bool HeaderStartsWith(const std::vector<std::string>& header, const std::vector<std::string>& known,
                      std::vector<std::string>& rest) {
    if (header.size() < known.size()) return false;
    for (std::size_t i = 0; i < known.size(); ++i)
        if (header[i] != known[i]) return false;
    rest.assign(header.begin() + known.size(), header.end());
    return true;
}

void AppendCells(std::string& out, const std::vector<std::string>& cells) {
    for (const std::string& c : cells) {
        out += '\t';
        out += c;
    }
}

LearningFileStatus StatusOf(const FileRead& read) {
    if (read.status == ReadStatus::Missing) return LearningFileStatus::Missing;
    if (read.status == ReadStatus::Ok) return LearningFileStatus::Ok;
    return LearningFileStatus::Unreadable;
}

template <typename Table, typename Parse>
LearningFileStatus ReadTable(const std::string& path, Table& table, Parse parse) {
    // One byte over the limit tells an oversized file from one just at it.
    FileRead read = ReadFileBytes(path, kLearningFileLimit + 1);
    if (read.status != ReadStatus::Ok) return StatusOf(read);
    if (read.bytes.size() > kLearningFileLimit) return LearningFileStatus::TooLarge;
    return parse(read.bytes, table);
}

}  // namespace

LearningFileStatus ParseLearningText(const std::string& text, LearningTable& out) {
    if (!IsValidUtf8(text)) return LearningFileStatus::NotText;
    const std::vector<std::string> lines = SplitLines(text);
    if (lines.empty()) return LearningFileStatus::NotText;
    LearningTable table;
    std::vector<std::string> after;
    if (!HeaderStartsWith(SplitTabs(lines[0]), kLearningColumns, after)) return LearningFileStatus::NotText;
    const bool hasStreak = !after.empty() && after[0] == kStreakColumn;
    const bool hasFirstRight = hasStreak && after.size() > 1 && after[1] == kFirstRightColumn;
    const std::size_t ours = (hasStreak ? 1 : 0) + (hasFirstRight ? 1 : 0);
    after.erase(after.begin(), after.begin() + ours);
    table.extraColumns = after;
    const std::size_t known = kLearningColumns.size() + ours;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        if (lines[i].empty()) continue;
        std::vector<std::string> cells = SplitTabs(lines[i]);
        if (cells.size() < kLearningColumns.size()) return LearningFileStatus::NotText;
        LearningRow row;
        row.idiom = cells[0];
        row.reading = cells[1];
        row.last = cells[7];
        row.due = cells[8];
        if (row.idiom.empty() || !ParseCount(cells[2], row.dealt) || !ParseCount(cells[3], row.right) ||
            !ParseCount(cells[4], row.missed) || !ParseCount(cells[5], row.hints) ||
            !ParseCount(cells[6], row.box) || row.box > 5 || !IsDateOrEmpty(row.last) || !IsDateOrEmpty(row.due))
            return LearningFileStatus::NotText;
        if (hasStreak && cells.size() > kLearningColumns.size() && !cells[9].empty() &&
            !ParseCount(cells[9], row.streak))
            return LearningFileStatus::NotText;
        if (hasFirstRight && cells.size() > 10) row.firstRight = cells[10];
        if (!IsDateOrEmpty(row.firstRight)) return LearningFileStatus::NotText;
        if (cells.size() > known) row.extra.assign(cells.begin() + known, cells.end());
        table.rows.push_back(std::move(row));
    }
    out = std::move(table);
    return LearningFileStatus::Ok;
}

std::string LearningText(const LearningTable& table) {
    std::string out;
    out.reserve(64 * (table.rows.size() + 1));
    for (std::size_t i = 0; i < kLearningColumns.size(); ++i) {
        if (i) out += '\t';
        out += kLearningColumns[i];
    }
    out += '\t';
    out += kStreakColumn;
    out += '\t';
    out += kFirstRightColumn;
    AppendCells(out, table.extraColumns);
    out += '\n';
    for (const LearningRow& r : table.rows) {
        out += r.idiom;
        out += '\t';
        out += r.reading;
        for (int n : {r.dealt, r.right, r.missed, r.hints, r.box}) {
            out += '\t';
            out += std::to_string(n);
        }
        out += '\t';
        out += r.last;
        out += '\t';
        out += r.due;
        out += '\t';
        out += std::to_string(r.streak);
        out += '\t';
        out += r.firstRight;
        AppendCells(out, r.extra);
        out += '\n';
    }
    return out;
}

LearningFileStatus ParseHistoryText(const std::string& text, HistoryTable& out) {
    if (!IsValidUtf8(text)) return LearningFileStatus::NotText;
    const std::vector<std::string> lines = SplitLines(text);
    if (lines.empty()) return LearningFileStatus::NotText;
    HistoryTable table;
    if (!HeaderStartsWith(SplitTabs(lines[0]), kHistoryColumns, table.extraColumns))
        return LearningFileStatus::NotText;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        if (lines[i].empty()) continue;
        std::vector<std::string> cells = SplitTabs(lines[i]);
        if (cells.size() < kHistoryColumns.size()) return LearningFileStatus::NotText;
        HistoryRow row{cells[0], cells[1], 0, {}};
        if (!ParseCount(cells[2], row.result)) return LearningFileStatus::NotText;
        row.extra.assign(cells.begin() + kHistoryColumns.size(), cells.end());
        table.rows.push_back(std::move(row));
    }
    out = std::move(table);
    return LearningFileStatus::Ok;
}

std::string HistoryText(const HistoryTable& table) {
    std::string out = "when\tmode\tresult";
    AppendCells(out, table.extraColumns);
    out += '\n';
    for (const HistoryRow& r : table.rows) {
        out += r.when + '\t' + r.mode + '\t' + std::to_string(r.result);
        AppendCells(out, r.extra);
        out += '\n';
    }
    return out;
}

LearningLoad ReadLearningFile(const std::string& path) {
    LearningLoad load;
    load.status = ReadTable(path, load.table, ParseLearningText);
    return load;
}

HistoryLoad ReadHistoryFile(const std::string& path) {
    HistoryLoad load;
    load.status = ReadTable(path, load.table, ParseHistoryText);
    return load;
}

bool WriteLearningFile(const std::string& path, const LearningTable& table) {
    return WriteFileAtomically(path, LearningText(table));
}

bool WriteHistoryFile(const std::string& path, const HistoryTable& table) {
    return WriteFileAtomically(path, HistoryText(table));
}

std::string LearningFileProblem(LearningFileStatus status) {
    switch (status) {
        case LearningFileStatus::Unreadable: return "学習記録のファイルを読めないため、記録していません。";
        case LearningFileStatus::NotText: return "学習記録のファイルの形式が正しくないため、記録していません。";
        case LearningFileStatus::TooLarge: return "学習記録のファイルが大きすぎるため、記録していません。";
        default: return {};
    }
}
