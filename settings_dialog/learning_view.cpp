#include "settings_dialog/learning_view.h"

#include <algorithm>

#include "game/learning_record.h"

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
        if (const LearningRow* row = record.Find(question.idiom, question.reading)) {
            e.right = row->right;
            e.missed = row->missed;
            e.hints = row->hints;
            e.due = row->due;
            e.weak = IsWeakIdiom(*row);
        }
        entries.push_back(std::move(e));
    }
    return entries;
}

namespace {

bool Matches(const LearningEntry& e, const LearningFilter& f) {
    if (f.weakOnly && !e.weak) return false;
    if (f.search.empty()) return true;
    return e.idiom.find(f.search) != std::string::npos || e.reading.find(f.search) != std::string::npos ||
           e.meaning.find(f.search) != std::string::npos;
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
    }
    return 0;
}

}  // namespace

std::vector<const LearningEntry*> VisibleEntries(const std::vector<LearningEntry>& entries,
                                                 const LearningFilter& filter, LearningColumn column,
                                                 bool ascending) {
    std::vector<const LearningEntry*> visible;
    visible.reserve(entries.size());
    for (const LearningEntry& e : entries)
        if (Matches(e, filter)) visible.push_back(&e);
    std::stable_sort(visible.begin(), visible.end(), [&](const LearningEntry* a, const LearningEntry* b) {
        const int c = Compare(*a, *b, column);
        if (c != 0) return ascending ? c < 0 : c > 0;
        return a->question < b->question;
    });
    return visible;
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

std::vector<int> ScoreChallengeResults(const HistoryTable& history) {
    std::vector<int> scores;
    for (const HistoryRow& r : history.rows)
        if (r.mode == "score") scores.push_back(r.result);
    return scores;
}
