// Rireki.tsv: whatever the reader accepts, the writer writes so that it reads
// back as the same table, also with a finished game added.
#include <string>

#include "persistence/learning_file.h"
#include "tests/fuzz/fuzz_target.h"

namespace {

void RequireRoundTrip(const HistoryTable& table) {
    const std::string text = HistoryText(table);
    HistoryTable back;
    FUZZ_CHECK(ParseHistoryText(text, back) == LearningFileStatus::Ok);
    FUZZ_CHECK(back == table);
    FUZZ_CHECK(HistoryText(back) == text);
}

}  // namespace

TM_FUZZ_TARGET(history_file) {
    HistoryTable table;
    if (ParseHistoryText(std::string(reinterpret_cast<const char*>(data), size), table) != LearningFileStatus::Ok)
        return 0;
    RequireRoundTrip(table);
    for (const HistoryRow& row : table.rows) FUZZ_CHECK(row.result >= 0);

    table.rows.push_back(HistoryRow{"2026-12-10 21:05", "score", kLearningCountMax, {}});
    table.rows.back().extra.assign(table.extraColumns.size(), std::string());
    RequireRoundTrip(table);
    return 0;
}
