#include "game/learning_record.h"

#include <cstdio>

namespace {

std::string Key(const std::string& idiom, const std::string& reading) { return idiom + '\t' + reading; }

// Days since 1970-01-01 of a civil date, and back (H. Hinnant's algorithms).
long DaysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long>(doe) - 719468;
}

void CivilFromDays(long z, int& y, int& m, int& d) {
    z += 719468;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yoe) + static_cast<int>(era) * 400 + (m <= 2);
}

}  // namespace

std::string AddDays(const std::string& date, int days) {
    int y = 0, m = 0, d = 0;
    if (std::sscanf(date.c_str(), "%d-%d-%d", &y, &m, &d) != 3) return date;
    CivilFromDays(DaysFromCivil(y, m, d) + days, y, m, d);
    char text[48];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", y, m, d);
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
    Row(idiom, reading, today).dealt += 1;
}

void LearningRecord::Right(const std::string& idiom, const std::string& reading, const std::string& today) {
    LearningRow& row = Row(idiom, reading, today);
    row.right += 1;
    row.streak += 1;
    if (row.firstRight.empty()) row.firstRight = today;
    row.box = row.box >= 5 ? 5 : row.box + 1;
    row.due = AddDays(today, ReviewIntervalDays(row.box));
}

void LearningRecord::Missed(const std::string& idiom, const std::string& reading, const std::string& today) {
    LearningRow& row = Row(idiom, reading, today);
    row.missed += 1;
    row.streak = 0;
    row.box = 1;
    row.due = today;
}

void LearningRecord::Hinted(const std::string& idiom, const std::string& reading, const std::string& today) {
    Row(idiom, reading, today).hints += 1;
}
