#include "game/learning_record.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace {

// The idiom's length first, so a tab or any other byte inside the idiom cannot
// make two questions share a key ("a\tb" + "c" against "a" + "b\tc").
std::string Key(const std::string& idiom, const std::string& reading) {
    return std::to_string(idiom.size()) + ':' + idiom + reading;
}

void CountOne(int& count) {
    if (count < kLearningCountMax) ++count;
}

// Answers alike in a row on one day make one entry; beyond kLearningDaysKept
// the oldest entry goes.
void NoteDay(LearningRow& row, const std::string& today, bool right) {
    if (!row.days.empty() && row.days.back().date == today && row.days.back().right == right) return;
    row.days.push_back({today, right});
    if (row.days.size() > kLearningDaysKept) row.days.erase(row.days.begin());
}

int Digits(const std::string& s, std::size_t pos, std::size_t n) {
    int value = 0;
    for (std::size_t i = pos; i < pos + n; ++i) {
        if (s[i] < '0' || s[i] > '9') return -1;
        value = value * 10 + (s[i] - '0');
    }
    return value;
}

}  // namespace

std::string AddDays(const std::string& date, int days) {
    using namespace std::chrono;
    if (date.size() != 10 || date[4] != '-' || date[7] != '-') return date;
    const int y = Digits(date, 0, 4), m = Digits(date, 5, 2), d = Digits(date, 8, 2);
    if (y < 0 || m < 0 || d < 0) return date;
    const year_month_day from{year{y}, month{static_cast<unsigned>(m)}, day{static_cast<unsigned>(d)}};
    if (!from.ok()) return date;
    // The files hold four-digit years: the result stays within them.
    static constexpr sys_days kFirst{year{0} / January / 1}, kLast{year{9999} / December / 31};
    const year_month_day to{std::clamp(sys_days{from} + std::chrono::days{days}, kFirst, kLast)};
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(to.year()), static_cast<unsigned>(to.month()),
                  static_cast<unsigned>(to.day()));
    return text;
}

int ReviewIntervalDays(int box) {
    static const int kDays[] = {0, 1, 3, 7, 14, 30};
    return kDays[box < 0 ? 0 : box > 5 ? 5 : box];
}

bool IsWeakIdiom(const LearningRow& row) { return row.missed >= 1 && row.streak < 2; }

// Dates in the fixed "YYYY-MM-DD" form compare as text.
bool IsDue(const LearningRow& row, const std::string& today) { return !row.due.empty() && row.due <= today; }

LearningRecord::LearningRecord(LearningTable table) : table_(std::move(table)) {
    for (std::size_t i = 0; i < table_.rows.size(); ++i)
        index_.emplace(Key(table_.rows[i].idiom, table_.rows[i].reading), i);
}

const LearningRow* LearningRecord::Find(const std::string& idiom, const std::string& reading) const {
    auto it = index_.find(Key(idiom, reading));
    return it == index_.end() ? nullptr : &table_.rows[it->second];
}

LearningRow& LearningRecord::Row(const std::string& idiom, const std::string& reading, const std::string& today) {
    auto [it, added] = index_.emplace(Key(idiom, reading), table_.rows.size());
    if (added) {
        LearningRow row;
        row.idiom = idiom;
        row.reading = reading;
        // A row of a file with extra columns gets empty cells for them.
        row.extra.assign(table_.extraColumns.size(), std::string());
        table_.rows.push_back(std::move(row));
    }
    LearningRow& row = table_.rows[it->second];
    row.last = today;
    return row;
}

void LearningRecord::Dealt(const std::string& idiom, const std::string& reading, const std::string& today) {
    LearningRow& row = Row(idiom, reading, today);
    CountOne(row.dealt);
    if (row.firstSeen.empty()) row.firstSeen = today;
}

void LearningRecord::Right(const std::string& idiom, const std::string& reading, const std::string& today) {
    LearningRow& row = Row(idiom, reading, today);
    CountOne(row.right);
    CountOne(row.streak);
    if (row.firstRight.empty()) row.firstRight = today;
    NoteDay(row, today, true);
    row.box = row.box >= 5 ? 5 : row.box + 1;
    row.due = AddDays(today, ReviewIntervalDays(row.box));
}

void LearningRecord::Missed(const std::string& idiom, const std::string& reading, const std::string& today) {
    LearningRow& row = Row(idiom, reading, today);
    CountOne(row.missed);
    row.streak = 0;
    row.box = 1;
    row.due = today;
    NoteDay(row, today, false);
}

void LearningRecord::Hinted(const std::string& idiom, const std::string& reading, const std::string& today) {
    CountOne(Row(idiom, reading, today).hints);
}
