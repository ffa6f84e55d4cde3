#include "game/learning_log.h"

#include "platform/calendar.h"

namespace {

bool Usable(LearningFileStatus s) { return s == LearningFileStatus::Ok || s == LearningFileStatus::Missing; }

std::string FileName(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }

}  // namespace

void LearningLog::Open(const std::string& recordPath, const std::string& historyPath, Calendar* calendar) {
    calendar_ = calendar;
    recordPath_ = recordPath;
    historyPath_ = historyPath;
    LearningLoad record = ReadLearningFile(recordPath_);
    recordStatus_ = record.status;
    recordUsable_ = Usable(record.status);
    record_ = LearningRecord(recordUsable_ ? std::move(record.table) : LearningTable{});
    HistoryLoad history = ReadHistoryFile(historyPath_);
    historyStatus_ = history.status;
    historyUsable_ = Usable(history.status);
    history_ = historyUsable_ ? std::move(history.table) : HistoryTable{};
    recordChanged_ = historyChanged_ = false;
}

std::string LearningLog::Problem() const {
    if (!Usable(recordStatus_)) return LearningFileProblem(recordStatus_) + "(" + FileName(recordPath_) + ")";
    if (!Usable(historyStatus_)) return LearningFileProblem(historyStatus_) + "(" + FileName(historyPath_) + ")";
    return {};
}

std::string LearningLog::Today() const { return calendar_ ? calendar_->Today() : std::string(); }

void LearningLog::Dealt(const std::string& idiom, const std::string& reading) {
    if (!Recording()) return;
    record_.Dealt(idiom, reading, calendar_->Today());
    recordChanged_ = true;
}

void LearningLog::Right(const std::string& idiom, const std::string& reading) {
    if (!Recording()) return;
    record_.Right(idiom, reading, calendar_->Today());
    recordChanged_ = true;
}

void LearningLog::Missed(const std::string& idiom, const std::string& reading) {
    if (!Recording()) return;
    record_.Missed(idiom, reading, calendar_->Today());
    recordChanged_ = true;
}

void LearningLog::Hinted(const std::string& idiom, const std::string& reading) {
    if (!Recording()) return;
    record_.Hinted(idiom, reading, calendar_->Today());
    recordChanged_ = true;
}

void LearningLog::GameFinished(const std::string& mode, int result) {
    if (!calendar_ || !historyUsable_) return;
    history_.rows.push_back(HistoryRow{calendar_->NowText(), mode, result, {}});
    history_.rows.back().extra.assign(history_.extraColumns.size(), std::string());
    historyChanged_ = true;
}

bool LearningLog::SaveIfChanged() {
    bool ok = true;
    if (recordChanged_ && recordUsable_) {
        if (WriteLearningFile(recordPath_, record_.Table()))
            recordChanged_ = false;
        else
            ok = false;
    }
    if (historyChanged_ && historyUsable_) {
        if (WriteHistoryFile(historyPath_, history_))
            historyChanged_ = false;
        else
            ok = false;
    }
    return ok;
}

bool LearningLog::Clear() {
    if (!recordUsable_ || !historyUsable_) return false;
    // The emptied tables keep the columns other copies of the game added.
    LearningTable emptyRecord;
    emptyRecord.extraColumns = record_.Table().extraColumns;
    HistoryTable emptyHistory;
    emptyHistory.extraColumns = history_.extraColumns;
    // Each file is replaced whole or not at all; what memory holds follows the
    // file, so a later save never brings back rows that were cleared.
    const bool recordCleared = WriteLearningFile(recordPath_, emptyRecord);
    if (recordCleared) {
        record_ = LearningRecord(std::move(emptyRecord));
        recordChanged_ = false;
    }
    const bool historyCleared = WriteHistoryFile(historyPath_, emptyHistory);
    if (historyCleared) {
        history_ = std::move(emptyHistory);
        historyChanged_ = false;
    }
    return recordCleared && historyCleared;
}
