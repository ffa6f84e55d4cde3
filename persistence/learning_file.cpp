#include "persistence/learning_file.h"

#include <algorithm>

#include "persistence/atomic_file.h"
#include "platform/text_codec.h"

namespace {

const std::vector<std::string> kLearningColumns = {"idiom", "reading", "dealt", "right", "missed",
                                                   "hints", "box",     "last",  "due"};
// Our own columns come after "due", so a reader that knows only the first nine
// finds those in place; a newer one is always added at their end, so a file of
// an older copy holds a leading part of them.
enum OwnColumn { kStreak, kFirstRight, kFirstSeen, kDays, kOwnColumns };
const char* const kOwnColumnNames[kOwnColumns] = {"streak", "firstright", "firstseen", "days"};
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

// Decimal digits after an optional minus sign, saturated; false when the cell is
// no number.
bool ParseNumber(const std::string& s, bool& negative, long long& value) {
    negative = !s.empty() && s[0] == '-';
    const std::size_t first = negative ? 1 : 0;
    if (s.size() == first) return false;
    value = 0;
    for (std::size_t i = first; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9') return false;
        value = std::min(value * 10 + (s[i] - '0'), static_cast<long long>(kLearningCountMax));
    }
    return true;
}

bool ParseCount(const std::string& s, int& out) {
    bool negative = false;
    long long value = 0;
    if (!ParseNumber(s, negative, value)) return false;
    out = negative ? 0 : static_cast<int>(value);
    return true;
}

bool ParseBox(const std::string& s, int& out) {
    bool negative = false;
    long long value = 0;
    if (!ParseNumber(s, negative, value) || (negative && value != 0) || value > 5) return false;
    out = static_cast<int>(value);
    return true;
}

std::string CountText(int n) { return std::to_string(std::clamp(n, 0, kLearningCountMax)); }

bool IsDateOrEmpty(const std::string& s) {
    if (s.empty()) return true;
    if (s.size() != 10 || s[4] != '-' || s[7] != '-') return false;
    for (int i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (s[i] < '0' || s[i] > '9') return false;
    return true;
}

int UpperHexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool IsEscapable(int byte) { return byte < 0x20 || byte == 0x7F || byte == '\\' || byte >= 0x80; }

// The byte an escape at `pos` stands for, or -1 when no escape starts there.
int EscapeAt(const std::string& text, std::size_t pos) {
    if (text.size() - pos < 4 || text[pos] != '\\' || text[pos + 1] != 'x') return -1;
    const int high = UpperHexValue(text[pos + 2]), low = UpperHexValue(text[pos + 3]);
    if (high < 0 || low < 0) return -1;
    const int byte = high * 16 + low;
    return IsEscapable(byte) ? byte : -1;
}

void AppendEscaped(std::string& out, const std::string& cell) {
    const bool utf8 = IsValidUtf8(cell);
    for (std::size_t i = 0; i < cell.size(); ++i) {
        const auto byte = static_cast<unsigned char>(cell[i]);
        const bool escape = byte < 0x20 || byte == 0x7F || (byte >= 0x80 && !utf8) ||
                            (byte == '\\' && EscapeAt(cell, i) >= 0);
        if (!escape) {
            out += cell[i];
            continue;
        }
        static const char kHex[] = "0123456789ABCDEF";
        out += "\\x";
        out += kHex[byte >> 4];
        out += kHex[byte & 15];
    }
}

std::string Unescaped(const std::string& cell) {
    if (cell.find('\\') == std::string::npos) return cell;
    std::string out;
    out.reserve(cell.size());
    for (std::size_t i = 0; i < cell.size();) {
        const int byte = EscapeAt(cell, i);
        if (byte < 0) {
            out += cell[i++];
        } else {
            out += static_cast<char>(byte);
            i += 4;
        }
    }
    return out;
}

std::vector<std::string> UnescapedCells(std::vector<std::string>::const_iterator first,
                                        std::vector<std::string>::const_iterator last) {
    std::vector<std::string> cells;
    for (; first != last; ++first) cells.push_back(Unescaped(*first));
    return cells;
}

// Checks the header's leading columns; what follows them is returned in `rest`.
bool HeaderStartsWith(const std::vector<std::string>& header, const std::vector<std::string>& known,
                      std::vector<std::string>& rest) {
    if (header.size() < known.size()) return false;
    for (std::size_t i = 0; i < known.size(); ++i)
        if (header[i] != known[i]) return false;
    rest = UnescapedCells(header.begin() + known.size(), header.end());
    return true;
}

void AppendCell(std::string& out, const std::string& cell) {
    out += '\t';
    AppendEscaped(out, cell);
}

void AppendCells(std::string& out, const std::vector<std::string>& cells) {
    for (const std::string& c : cells) AppendCell(out, c);
}

void AppendDate(std::string& out, const std::string& date) { AppendCell(out, IsDateOrEmpty(date) ? date : std::string()); }

// "2026-12-01+ 2026-12-03-": false when an entry is no date with + or - after it.
// Only the last kLearningDaysKept are kept.
bool ParseDays(const std::string& cell, std::vector<LearningDay>& days) {
    days.clear();
    std::size_t start = 0;
    while (start < cell.size()) {
        std::size_t end = cell.find(' ', start);
        if (end == std::string::npos) end = cell.size();
        const std::string entry = cell.substr(start, end - start);
        start = end + 1;
        if (entry.size() != 11 || (entry[10] != '+' && entry[10] != '-')) return false;
        LearningDay day{entry.substr(0, 10), entry[10] == '+'};
        if (!IsDateOrEmpty(day.date)) return false;  // ten characters: never empty
        days.push_back(std::move(day));
    }
    if (days.size() > kLearningDaysKept) days.erase(days.begin(), days.end() - kLearningDaysKept);
    return true;
}

// The last kLearningDaysKept entries that are dates.
std::string DaysText(const std::vector<LearningDay>& days) {
    std::vector<const LearningDay*> kept;
    for (const LearningDay& d : days)
        if (!d.date.empty() && IsDateOrEmpty(d.date)) kept.push_back(&d);
    if (kept.size() > kLearningDaysKept) kept.erase(kept.begin(), kept.end() - kLearningDaysKept);
    std::string out;
    for (const LearningDay* d : kept) {
        if (!out.empty()) out += ' ';
        out += d->date;
        out += d->right ? '+' : '-';
    }
    return out;
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
    std::size_t ours = 0;
    while (ours < kOwnColumns && ours < after.size() && after[ours] == kOwnColumnNames[ours]) ++ours;
    after.erase(after.begin(), after.begin() + ours);
    table.extraColumns = after;
    const std::size_t known = kLearningColumns.size() + ours;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        if (lines[i].empty()) continue;
        const std::vector<std::string> cells = SplitTabs(lines[i]);
        if (cells.size() < kLearningColumns.size()) return LearningFileStatus::NotText;
        // An empty idiom is a key like any other: refusing it would refuse a file we wrote.
        LearningRow row;
        row.idiom = Unescaped(cells[0]);
        row.reading = Unescaped(cells[1]);
        row.last = Unescaped(cells[7]);
        row.due = Unescaped(cells[8]);
        if (!ParseCount(cells[2], row.dealt) || !ParseCount(cells[3], row.right) ||
            !ParseCount(cells[4], row.missed) || !ParseCount(cells[5], row.hints) || !ParseBox(cells[6], row.box) ||
            !IsDateOrEmpty(row.last) || !IsDateOrEmpty(row.due))
            return LearningFileStatus::NotText;
        // The own columns of this file; a short row leaves the rest as they start.
        auto own = [&](OwnColumn c) -> const std::string* {
            const std::size_t at = kLearningColumns.size() + c;
            return static_cast<std::size_t>(c) < ours && at < cells.size() ? &cells[at] : nullptr;
        };
        if (const std::string* s = own(kStreak); s && !s->empty() && !ParseCount(*s, row.streak))
            return LearningFileStatus::NotText;
        if (const std::string* s = own(kFirstRight)) row.firstRight = Unescaped(*s);
        if (const std::string* s = own(kFirstSeen)) row.firstSeen = Unescaped(*s);
        if (!IsDateOrEmpty(row.firstRight) || !IsDateOrEmpty(row.firstSeen)) return LearningFileStatus::NotText;
        if (const std::string* s = own(kDays); s && !ParseDays(Unescaped(*s), row.days))
            return LearningFileStatus::NotText;
        if (cells.size() > known) row.extra = UnescapedCells(cells.begin() + known, cells.end());
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
    for (const char* name : kOwnColumnNames) {
        out += '\t';
        out += name;
    }
    AppendCells(out, table.extraColumns);
    out += '\n';
    for (const LearningRow& r : table.rows) {
        AppendEscaped(out, r.idiom);
        AppendCell(out, r.reading);
        for (int n : {r.dealt, r.right, r.missed, r.hints}) AppendCell(out, CountText(n));
        AppendCell(out, std::to_string(std::clamp(r.box, 0, 5)));
        AppendDate(out, r.last);
        AppendDate(out, r.due);
        AppendCell(out, CountText(r.streak));
        AppendDate(out, r.firstRight);
        AppendDate(out, r.firstSeen);
        AppendCell(out, DaysText(r.days));
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
        const std::vector<std::string> cells = SplitTabs(lines[i]);
        if (cells.size() < kHistoryColumns.size()) return LearningFileStatus::NotText;
        HistoryRow row{Unescaped(cells[0]), Unescaped(cells[1]), 0,
                       UnescapedCells(cells.begin() + kHistoryColumns.size(), cells.end())};
        if (!ParseCount(cells[2], row.result)) return LearningFileStatus::NotText;
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
        AppendEscaped(out, r.when);
        AppendCell(out, r.mode);
        AppendCell(out, CountText(r.result));
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

bool WriteLearningFile(const std::string& path, const LearningTable& table, WriteError* why) {
    if (why) *why = WriteError::None;
    return WriteFileAtomically(path, LearningText(table), why);
}

bool WriteHistoryFile(const std::string& path, const HistoryTable& table, WriteError* why) {
    if (why) *why = WriteError::None;
    return WriteFileAtomically(path, HistoryText(table), why);
}

