#include "settings_dialog/learning_view.h"

#include <algorithm>
#include <cstdio>

#include "game/learning_record.h"
#include "game/progress.h"
#include "voice/speech_text.h"

std::string FoldForSearch(const std::string& utf8) { return KatakanaToHiragana(utf8); }

std::vector<LearningEntry> BuildLearningEntries(const std::vector<LearningQuestion>& questions,
                                                const LearningRecord& record) {
    std::vector<LearningEntry> entries;
    entries.reserve(questions.size());
    for (std::size_t q = 0; q < questions.size(); ++q) {
        const LearningQuestion& question = questions[q];
        LearningEntry e;
        e.question = static_cast<int>(q);
        e.idiom = question.idiom;
        e.reading = question.reading;
        e.meaning = question.meaning;
        e.speech = question.speech;
        e.additional = static_cast<int>(q) >= kBuiltInQuestions;
        if (const LearningRow* row = record.Find(question.idiom, question.reading)) {
            e.met = true;
            e.dealt = row->dealt;
            e.right = row->right;
            e.missed = row->missed;
            e.hints = row->hints;
            e.box = row->box;
            e.streak = row->streak;
            e.last = row->last;
            e.due = row->due;
            e.firstRight = row->firstRight;
            e.firstSeen = row->firstSeen;
            e.days = row->days;
            e.weak = IsWeakIdiom(*row);
        }
        // A line break cannot be typed into the search box, so a match never spans two fields.
        e.searchKey = FoldForSearch(e.idiom + '\n' + e.reading + '\n' + e.meaning);
        entries.push_back(std::move(e));
    }
    return entries;
}

bool IsDueOn(const LearningEntry& e, const std::string& today) {
    return !today.empty() && !e.due.empty() && e.due <= today;
}

namespace {

bool Matches(const LearningEntry& e, const LearningFilter& f, const std::string& foldedSearch) {
    if (f.weakOnly && !e.weak) return false;
    if (f.dueOnly && !IsDueOn(e, f.today)) return false;
    return foldedSearch.empty() || e.searchKey.find(foldedSearch) != std::string::npos;
}

// <0, 0, >0 like strcmp. An empty review date sorts after every date.
int Compare(const LearningEntry& a, const LearningEntry& b, LearningColumn c) {
    auto cmp = [](const auto& x, const auto& y) { return x < y ? -1 : (y < x ? 1 : 0); };
    switch (c) {
        case LearningColumn::Idiom: return cmp(a.idiom, b.idiom);
        case LearningColumn::Reading: return cmp(a.reading, b.reading);
        case LearningColumn::Meaning: return cmp(a.meaning, b.meaning);
        case LearningColumn::Right: return cmp(a.right, b.right);
        case LearningColumn::Missed: return cmp(a.missed, b.missed);
        case LearningColumn::Hints: return cmp(a.hints, b.hints);
        case LearningColumn::Due:
            if (a.due.empty() != b.due.empty()) return a.due.empty() ? 1 : -1;
            return cmp(a.due, b.due);
        case LearningColumn::Speak: break;  // a button, nothing to sort by
    }
    return 0;
}

bool ReadDate(const std::string& date, int& y, int& m, int& d) {
    return std::sscanf(date.c_str(), "%4d-%2d-%2d", &y, &m, &d) == 3 && m >= 1 && m <= 12 && d >= 1 && d <= 31;
}

// 0 Sunday .. 6 Saturday (Sakamoto's method).
int Weekday(int y, int m, int d) {
    static const int offset[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    if (m < 3) y -= 1;
    return (y + y / 4 - y / 100 + y / 400 + offset[m - 1] + d) % 7;
}

std::string Times(int n) { return Format(LearningWindowText::Times, {{"n", std::to_string(n)}}); }

}  // namespace

std::vector<const LearningEntry*> VisibleEntries(const std::vector<LearningEntry>& entries,
                                                 const LearningFilter& filter, LearningColumn column,
                                                 bool ascending) {
    const std::string folded = FoldForSearch(filter.search);
    std::vector<const LearningEntry*> visible;
    visible.reserve(entries.size());
    for (const LearningEntry& e : entries)
        if (Matches(e, filter, folded)) visible.push_back(&e);
    std::stable_sort(visible.begin(), visible.end(), [&](const LearningEntry* a, const LearningEntry* b) {
        const int c = Compare(*a, *b, column);
        if (c != 0) return ascending ? c < 0 : c > 0;
        return a->question < b->question;
    });
    return visible;
}

LearningHeadline MakeHeadline(const std::vector<LearningEntry>& entries, const std::string& today,
                              int forecastDays) {
    LearningHeadline h;
    h.total = static_cast<int>(entries.size());
    h.forecast.assign(forecastDays, 0);
    std::vector<std::string> days;
    for (int d = 1; d <= forecastDays && !today.empty(); ++d) days.push_back(AddDays(today, d));
    for (const LearningEntry& e : entries) {
        h.due += IsDueOn(e, today);
        h.weak += e.weak;
        h.learned += e.right > 0;
        const auto day = std::find(days.begin(), days.end(), e.due);
        if (!e.due.empty() && day != days.end()) ++h.forecast[day - days.begin()];
    }
    return h;
}

std::string ShortDay(const std::string& date) {
    int y = 0, m = 0, d = 0;
    if (!ReadDate(date, y, m, d)) return date;
    return Format(LearningWindowText::ShortDate, {{"month", std::to_string(m)},
                                           {"day", std::to_string(d)},
                                           {"weekday", LearningWindowText::Weekdays[Weekday(y, m, d)]}});
}

std::string MonthDay(const std::string& dateOrTime) {
    int y = 0, m = 0, d = 0;
    if (!ReadDate(dateOrTime, y, m, d)) return dateOrTime;
    return std::to_string(m) + "/" + std::to_string(d);
}

namespace {
// "11/3 ○　11/21 ×", the last kCardDays; "…" before them when there were more.
std::string RecentAnswers(const std::vector<LearningDay>& days) {
    if (days.empty()) return LearningWindowText::NoAnswersYet;
    const std::size_t first = days.size() > kCardDays ? days.size() - kCardDays : 0;
    std::string out = first > 0 ? LearningWindowText::EarlierAnswers : "";
    for (std::size_t i = first; i < days.size(); ++i)
        out += Format(i > first ? LearningWindowText::NextAnswer : LearningWindowText::Answer,
                      {{"day", MonthDay(days[i].date)},
                       {"mark", days[i].right ? LearningWindowText::RightMark : LearningWindowText::MissedMark}});
    return out;
}
}  // namespace

std::vector<CardFact> CardFacts(const LearningEntry& e, const std::string& today) {
    if (!e.met) return {{LearningWindowText::Record, LearningWindowText::NotDealtYet}};
    std::string due = LearningWindowText::NoDate;
    if (!e.due.empty()) {
        due = ShortDay(e.due);
        if (IsDueOn(e, today)) due += e.due == today ? LearningWindowText::DueIsToday : LearningWindowText::DueSinceBefore;
    }
    return {
        {LearningWindowText::Dealt, Times(e.dealt)},
        {LearningWindowText::Right, Times(e.right)},
        {LearningWindowText::Missed, Times(e.missed)},
        {LearningWindowText::Hints, Times(e.hints)},
        {LearningWindowText::Streak, Times(e.streak)},
        {LearningWindowText::Box, Format(LearningWindowText::BoxOfFive, {{"box", std::to_string(e.box)}})},
        {LearningWindowText::FirstSeen, e.firstSeen.empty() ? LearningWindowText::NoDate : ShortDay(e.firstSeen)},
        {LearningWindowText::FirstRight, e.firstRight.empty() ? LearningWindowText::NotRightYet : ShortDay(e.firstRight)},
        {LearningWindowText::LastDealt, e.last.empty() ? LearningWindowText::NoDate : ShortDay(e.last)},
        {LearningWindowText::NextReview, due},
        {LearningWindowText::RecentAnswers, RecentAnswers(e.days)},
    };
}

std::vector<AccentPhrase> CardPitch(const LearningEntry& e) {
    if (e.additional && e.speech.find('\'') == std::string::npos) return {};
    return SpeltAsReading(AccentPattern(e.speech), e.reading);
}

std::vector<int> KnownIdiomsPerDay(const std::vector<LearningEntry>& entries, const LearningRecord& record,
                                   const std::string& today, int days) {
    std::vector<std::string> firsts;
    for (const LearningEntry& e : entries)
        if (const LearningRow* row = record.Find(e.idiom, e.reading); row && !row->firstRight.empty())
            firsts.push_back(row->firstRight);
    std::sort(firsts.begin(), firsts.end());
    std::vector<int> counts;
    counts.reserve(days);
    for (int d = days - 1; d >= 0; --d) {
        const std::string day = AddDays(today, -d);
        counts.push_back(static_cast<int>(std::upper_bound(firsts.begin(), firsts.end(), day) - firsts.begin()));
    }
    return counts;
}

std::vector<GameResult> GameResults(const HistoryTable& history, const std::string& mode, std::size_t count) {
    std::vector<GameResult> results;
    for (const HistoryRow& r : history.rows)
        if (r.mode == mode) results.push_back({r.when, r.result});
    if (results.size() > count) results.erase(results.begin(), results.end() - static_cast<std::ptrdiff_t>(count));
    return results;
}

int BestResult(const std::vector<GameResult>& results, bool fewerIsBetter) {
    int best = -1;
    for (int i = 0; i < static_cast<int>(results.size()); ++i) {
        // The earliest of equal results is the one that set the mark.
        const bool better = best < 0 || (fewerIsBetter ? results[i].value < results[best].value
                                                       : results[i].value > results[best].value);
        if (better) best = i;
    }
    return best;
}

std::vector<int> ScoreChallengeResults(const HistoryTable& history) {
    std::vector<int> scores;
    for (const GameResult& r : GameResults(history, "score", history.rows.size())) scores.push_back(r.value);
    return scores;
}

int AxisStep(int top, int ticks) {
    if (top <= 0 || ticks <= 0) return 1;
    for (long long power = 1;; power *= 10)
        for (int f : {1, 2, 5})
            if (f * power * ticks >= top) return static_cast<int>(f * power);
}
