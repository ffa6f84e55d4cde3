// Gakushu.tsv: whatever the reader accepts, the writer writes so that it reads
// back as the same table, also after the record has counted on every row.
#include <string>

#include "game/learning_record.h"
#include "persistence/learning_file.h"
#include "tests/fuzz/fuzz_target.h"

namespace {

void RequireRoundTrip(const LearningTable& table) {
    const std::string text = LearningText(table);
    LearningTable back;
    FUZZ_CHECK(ParseLearningText(text, back) == LearningFileStatus::Ok);
    FUZZ_CHECK(back == table);
    FUZZ_CHECK(LearningText(back) == text);
}

}  // namespace

TM_FUZZ_TARGET(learning_file) {
    LearningTable table;
    if (ParseLearningText(std::string(reinterpret_cast<const char*>(data), size), table) != LearningFileStatus::Ok)
        return 0;
    RequireRoundTrip(table);

    // Every event on every row (the last day of the files' calendar included),
    // then a question the file did not have.
    LearningRecord record(table);
    for (const LearningRow& row : table.rows) {
        record.Dealt(row.idiom, row.reading, "9999-12-31");
        record.Hinted(row.idiom, row.reading, "9999-12-31");
        if (row.box % 2) record.Missed(row.idiom, row.reading, "2026-12-10");
        record.Right(row.idiom, row.reading, "9999-12-31");
        FUZZ_CHECK(record.Find(row.idiom, row.reading) != nullptr);
    }
    record.Right("独\t熟語", "どく\tじゅくご", "2026-12-10");
    FUZZ_CHECK(record.Table().rows.size() <= table.rows.size() + 1);
    RequireRoundTrip(record.Table());
    return 0;
}
